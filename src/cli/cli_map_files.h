#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace quillon {

class Session;

namespace cli {

// Writes map id into the map file out (".Map" appended when its name does not end in ".map")
// and the event file beside it, as the window's "Map Speichern unter" does.
void exportMap(Session& session, const std::string& id, const std::filesystem::path& out,
               std::ostream& log);

// Puts the map of mapFile (with the event file beside it when there is one) into slot "B.M":
// the grid into the space at gridAt (grid at gridAt + 8), events and event header at eventsAt,
// as the window's "Map Einfügen" does with those answers. Prints the places as JSON.
void insertMap(Session& session, const std::filesystem::path& mapFile, const std::string& slot,
               const std::string& gridAt, const std::string& eventsAt, std::ostream& out,
               const std::string& fill = "FF");

}  // namespace cli
}  // namespace quillon
