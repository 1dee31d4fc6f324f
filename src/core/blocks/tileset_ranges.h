#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/rom/placement.h"

namespace quillon {

struct CurrentMap;
struct GameProfile;
class TilesetPair;
class TRom;

namespace blocks {

// Palettes 0 to split - 1 belong to part 1, split to 15 to part 2: 7 on FireRed/LeafGreen,
// else 6.
int paletteSplit(bool frlg);

// File offset of part 1's or 2's tileset header: what the open map's footer points at.
std::uint32_t tilesetHeaderOffset(const CurrentMap& map, int part);

// The 24 header bytes at offset. Throws Error when they lie outside the file.
std::array<std::uint8_t, 24> readTilesetHeader(TRom& rom, std::uint32_t offset);

// What the open map's two tilesets keep besides their tile data: each part's header, its
// palettes, block table and attribute table, named "Paletten von Tileset 3". A field that
// holds no ROM pointer gives no range. Reads the headers from the ROM.
std::vector<RomRange> tilesetTables(TRom& rom, const TilesetPair& tilesets, const CurrentMap& map);

// Where the data of every tileset of the ROM's table start (each header and what its pointers
// at +4 to +20 name). Raw tile data, whose header names no size, end before the next of these.
std::vector<std::uint32_t> tableDataStarts(TRom& rom, const GameProfile& profile);

}  // namespace blocks
}  // namespace quillon
