#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace quillon {

class Session;

namespace cli {

// Opens map id and prints its header attributes as JSON: music, name_index, name, weather,
// type, show_name, tileset1, tileset2 (whole 24-byte steps from the table),
// tileset1_header, tileset2_header ("$" offsets of the headers the footer points at), width,
// height and the offsets of header, footer, grid, events and connections.
void printHeader(Session& session, const std::string& id, std::ostream& out);

// Opens map id and writes KEY=VALUE settings (music, weather, type, name_index, show_name,
// tilesets=T1,T2, tileset1=T, tileset2=T; a tileset is a number of the table or a header's
// "$" offset) as the Header tab does. Every value is checked against the ROM (tileset headers
// of their part, a name index the name table holds) before the first write.
void setHeader(Session& session, const std::string& id, const std::vector<std::string>& settings);

// Writes text as the new name of map id's name (Ruby/Sapphire/Emerald) at offset and prints
// the name read back as JSON.
void renameMap(Session& session, const std::string& id, const std::string& text,
               const std::string& offset, std::ostream& out, const std::string& fill = "FF");

}  // namespace cli
}  // namespace quillon
