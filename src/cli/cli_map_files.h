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

// What insert does with a footer other maps share: refuse (neither set), write it anyway
// (sharedOk), or give the slot a footer of its own at the offset at.
struct InsertFooter {
    bool sharedOk = false;
    bool own = false;
    std::string at;
};
struct InsertPlaces {
    std::string gridAt;
    std::string eventsAt;
    InsertFooter footer;
    std::string fill = "FF";  // what free space holds at the places: FF, or 00
};

// Puts the map of mapFile (with the event file beside it when there is one) into slot "B.M":
// the grid into the space at gridAt (grid at gridAt + 8), events and event header at eventsAt,
// as the window's "Map Einfügen" does with those answers. A slot whose footer other maps share
// is refused naming them unless footer allows it. Prints the places as JSON.
void insertMap(Session& session, const std::filesystem::path& mapFile, const std::string& slot,
               const InsertPlaces& places, std::ostream& out);

}  // namespace cli
}  // namespace quillon
