#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace quillon {

class Session;

namespace cli {

// "Title:", "Family:", "Profile:", "Maps:" lines of an opened ROM.
void printInfo(Session& session, std::ostream& out);
// One line per map of the header part: "<bank>.<map>\t<name>".
void printMaps(Session& session, std::ostream& out);

enum class View { Map, Movement, Events };

// Opens map id and writes its picture (BMP for .bmp, else PNG). Throws quillon::Error.
void renderMap(Session& session, const std::string& id, const std::filesystem::path& file,
               bool grid, View view);

// Opens map id and prints its events as JSON: "persons", "warps", "scripts", "signposts" (one
// object of named fields per record, with its file offset), "fly" (null when the map has no
// fly position) and "tables" (the file offset of each table).
void printEvents(Session& session, const std::string& id, std::ostream& out);

// Opens map id and writes the block palette of its tilesets, width blocks a row.
void renderBlocks(Session& session, const std::string& id, const std::filesystem::path& file,
                  int width, bool grid);

}  // namespace cli
}  // namespace quillon
