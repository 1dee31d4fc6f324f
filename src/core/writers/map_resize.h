#pragma once

#include <cstdint>

#include "core/map/block_grid.h"
#include "core/rom/placement.h"

namespace quillon {

class MapState;
class TRom;
struct GameProfile;

// A map gets another width and height. The re-laid grid seldom fits where the old one lay, so
// it goes to a place the user chose: the space asked for there is the grid with 8 bytes before
// it and 24 after it, which stay untouched (width x height x 2 + 32 bytes); the grid itself
// starts at offset + 8 and, being read as 16-bit words, on an even address. The old grid's
// bytes stay in the ROM, no longer referred to.

// Bytes of the space a map of width x height needs (25 x 30: 1532).
std::uint32_t resizeSpace(int width, int height);
// Refuses a width or height below 1, or more cells than the editor holds, with an Error.
void checkMapSize(int width, int height);

// The grid at the new size: cell (x, y) keeps its entry and movement value where both sizes
// have it; every other cell is entry 0 with movement value 0.
BlockGrid relaidGrid(const BlockGrid& grid, int width, int height);

// Everything resizeMap checks before its first byte: the size, the map (it needs a footer of
// its own), the grid's alignment and its place through the placement check: the grid
// (offset + 8, width x height x 2 bytes) lies on free bytes of fill or on the map's old grid
// and meets nothing else of the map (header, footer, border, events, connections). The 8
// bytes before the grid and the 24 after it are not written and not checked. Throws Error.
void checkResizePlace(TRom& rom, const MapState& state, int width, int height,
                      std::uint32_t offset, std::uint8_t fill = kFreeFill);

// Gives the open map of state the new size after checkResizePlace; then writes the re-laid
// grid (cells painted but not saved included) at offset + 8 and after it the footer's width,
// height and grid pointer (border and tileset pointers stay as the ROM holds them), and brings
// it onto the disk.
std::uint32_t resizeMap(TRom& rom, const GameProfile& profile, MapState& state, int width,
                        int height, std::uint32_t offset, std::uint8_t fill = kFreeFill);

}  // namespace quillon
