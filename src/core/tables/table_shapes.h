#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/tables/rom_bytes.h"
#include "core/text/message.h"

namespace quillon {
struct GameProfile;
}

namespace quillon::tables {

// The tables of a game profile whose shape can be checked in the ROM.
enum class Table { Banks, Tilesets, MapNames, SpeciesNames, Wild, Sprites, SpritePalettes };
inline constexpr std::array<Table, 7> kTables = {
    Table::Banks, Table::Tilesets, Table::MapNames,      Table::SpeciesNames,
    Table::Wild,  Table::Sprites,  Table::SpritePalettes};

// The profile key ("MapBankHeader") and the table's name in a sentence ("die Bank-Tabelle",
// message "table.name.banks").
const char* profileKey(Table table);
Message tableName(Table table);
// The profile's offset of the table, and a profile without it (the offset 0: the editor then
// lists, reads and writes nothing through it).
std::int32_t profileOffset(const GameProfile& profile, Table table);
void clearTable(GameProfile& profile, Table table);
void setTable(GameProfile& profile, Table table, std::int32_t offset);

// What the checks need to know beyond the offset.
struct ShapeContext {
    bool frlg = false;      // FireRed/LeafGreen lay out tilesets and map names apart
    int nameLength = 11;    // bytes of a species name record
    int mapNameCount = 86;  // highest map name index (AnzMapNamen)
    int spritePaletteCount = 27;
    // The check when a ROM opens asks only whether the table lies at the offset, not whether
    // every record is whole: a damaged record there is told by the part that reads it. So a
    // bank's map table may start with maps that are no map (any of its first few entries
    // leads to a map header), tileset and wild pointers need only be ROM pointers, and wild
    // records may all be empty but one. The table search leaves it false.
    bool tolerant = false;
};

// The verdict on one table. ok: the records checked all have the table's shape; why: what the
// bytes at the offset are not, as the end of a sentence ("enthält keine Map-Tabellen",
// message "table.why.no_map_tables");
// records: how many records in a row have the shape (up to the depth asked for).
struct Shape {
    bool ok = false;
    Message why;
    int records = 0;
};

// Checks the table at offset as the profile gives it (the species names from record 1,
// the map names as the base of index 0) for the shape of its kind, looking at depth records:
// a few when a ROM opens, the whole table for the table search.
//   Banks: ROM pointers to map tables whose first entry leads to a map header whose footer
//     holds a size and border and grid pointers.
//   Tilesets: 24-byte headers, flags 0/1, padding 0, tile, palette, block and attribute
//     pointers into the file; the first one primary.
//   MapNames: records (8 bytes, pointer at +4; FireRed/LeafGreen 4 bytes) up to the highest
//     index, checked from it downwards, pointing at text that ends within 32 bytes.
//   SpeciesNames: records of nameLength bytes, each a non-empty name ended by 0xFF.
//   Wild: 20-byte records of bank, map, two zero bytes and four pointers (null or to an 8-byte
//     record whose slot pointer leads into the file), at least one set, ended by FF FF.
//   Sprites: pointers to 36-byte sprite records (tile tag 0xFFFF, a frame table pointer).
//   SpritePalettes: 8-byte records of a pointer to 32 bytes of colours and a 16-bit tag.
Shape checkShape(const RomBytes& rom, Table table, std::uint32_t offset,
                 const ShapeContext& context, int depth);

// Whether offset starts a map table: depth entries (or up to the first that is none) each a
// pointer to a map header whose footer has the footer's shape; the number of such entries.
int mapTableEntries(const RomBytes& rom, std::uint32_t offset, int depth);
// Whether offset holds a whole map header whose first word points to a plausible footer.
bool isMapHeader(const RomBytes& rom, std::uint32_t offset);
// Whether offset holds a 24-byte tileset header of the family; secondary its byte 1.
std::optional<bool> tilesetHeaderAt(const RomBytes& rom, std::uint32_t offset, bool frlg);

}  // namespace quillon::tables
