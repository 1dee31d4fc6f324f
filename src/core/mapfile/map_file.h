#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/map/block_grid.h"

namespace quillon {

class EventTables;
class TRom;
struct CurrentMap;
struct GameProfile;

// A map kept outside the ROM, in two files of the editor's own.
//
// Map file (little-endian): the 8 border bytes (the ROM's border data), the W x H 16-bit grid
// entries row by row, then W, H, tileset 1 and tileset 2 as 32-bit values: 24 + 2WH bytes.
// A tileset value below 0x08000000 is a number of the ROM's tileset table (the header at
// TilesetHeader + 24 n); a tileset header that no number names (one off the table's 24-byte
// steps) is written as its ROM pointer (0x08000000 and above, never a number) and read back
// as that header.
// Event file: the person (24 bytes each), warp (8), script trigger (16) and signpost (12)
// records as the ROM holds them, then the four counts as one byte each: the last 4 bytes.
struct MapFileContents {
    std::array<std::uint8_t, 8> border{};
    BlockGrid grid;
    int tileset1 = 0;  // tileset values as the file holds them (see above)
    int tileset2 = 0;
};

// The records of the four event tables, in the event header's order (persons, warps, script
// triggers, signposts).
using EventRecords = std::array<std::vector<std::uint8_t>, 4>;

namespace map_file {

inline constexpr std::size_t kBorderBytes = 8;
inline constexpr std::size_t kTrailerBytes = 16;
// The longest files there can be: a grid of BlockGrid::kMaxCells cells; 255 records of each
// kind of event.
inline constexpr std::size_t kMaxMapFileBytes =
    kBorderBytes + kTrailerBytes + 2 * static_cast<std::size_t>(BlockGrid::kMaxCells);
inline constexpr std::size_t kMaxEventFileBytes = 4 + 255 * (24 + 8 + 16 + 12);

std::vector<std::uint8_t> encodeMap(const MapFileContents& map);
// Refuses with a DataError naming the file (name): fewer than 24 bytes, a width or height of
// 0, more than 8001 cells, a length other than 24 + 2WH, a tileset number above 2^31 - 1.
MapFileContents decodeMap(std::span<const std::uint8_t> bytes, const std::string& name);

std::vector<std::uint8_t> encodeEvents(const EventRecords& records);
// Refuses with a DataError naming the file: fewer than 4 bytes, or a length other than the
// one its counts give (24 n1 + 8 n2 + 16 n3 + 12 n4 + 4).
EventRecords decodeEvents(std::span<const std::uint8_t> bytes, const std::string& name);

// The value a map file keeps for the tileset header at header: its number when one names it
// exactly, else its ROM pointer.
int tilesetValue(const GameProfile& profile, std::uint32_t header);
// The tileset header a map file's value names for part (1 or 2), checked as
// tileset_choice::checkedHeader checks a choice. Throws Error naming the part.
std::uint32_t tilesetHeader(TRom& rom, const GameProfile& profile, int value, int part);

// The event file beside a map file: its extension replaced by ".Evt" (Town.map: Town.Evt).
std::filesystem::path eventFileName(const std::filesystem::path& mapFile);
// A name chosen for saving: kept when it ends in ".map" (any case), else ".Map" appended.
std::filesystem::path withMapExtension(const std::filesystem::path& name);

// Reads a map file and the event file beside it (no event file: no events). Throws Error for
// a missing map file, RomIoError for a file that cannot be read or is no ordinary file (a
// folder), DataError for a malformed one (a file longer than any map or event file is refused
// before it is read).
struct MapFiles {
    MapFileContents map;
    EventRecords events;
};
MapFiles read(const std::filesystem::path& mapFile);

// Writes the map file and the event file of a map: border and tileset values (of the headers
// the footer copy of map points at) of map, grid, the records of events. Both are replaced
// together (see replaceFiles): a failed write keeps the previous pair.
void write(const std::filesystem::path& mapFile, const CurrentMap& map, const BlockGrid& grid,
           const EventTables& events, const GameProfile& profile);

}  // namespace map_file
}  // namespace quillon
