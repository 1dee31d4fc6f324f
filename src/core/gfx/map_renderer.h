#pragma once

#include "core/gfx/bitmap.h"
// The movement view is drawn from the map picture; its functions come with this header.
#include "core/gfx/movement_view.h"

namespace quillon {

class TilesetPair;
struct BlockGrid;

// Redraws the map picture from the block grid: W * 16 x H * 16 pixels, the block image of
// each entry's block() at (16x, 16y), and refills the movement array (its movement()). A map of
// 0 or 1 cells shows block image 0 only and leaves the movement array alone. With grid, black
// lines at every multiple of 16 from 0 (the top and left edges included). A cell whose slot
// is empty stays black. The caller keeps the "map picture current" flag.
// Throws DataError when the grid's size exceeds its arrays.
void UpdateMap(const TilesetPair& tilesets, BlockGrid& grid, bool gridLines, Bitmap& out);

// Redraws cell (x, y) of a map picture UpdateMap drew (after painting) and returns the pixel
// rectangle it changed (empty for a cell outside the map).
PixelRect drawCell(const TilesetPair& tilesets, const BlockGrid& grid, int x, int y, bool gridLines,
                   Bitmap& out);

// Redraws the block palette: width blocks per row, lastBlock / width + 1 rows, block s at
// ((s mod width) * 16, (s / width) * 16); empty slots stay black. The grid has lines between
// the blocks only (not on the outer edges). The picture is resized in place.
// Throws Error for a width outside 1..kMaxBlockPaletteWidth (callers refuse such a width
// before they get here).
constexpr int kMaxBlockPaletteWidth = 1025;
void UpdateBlockPalette(const TilesetPair& tilesets, int width, bool gridLines, Bitmap& out);

// The block under pixel (px, py) of the undoubled block palette picture drawn with width.
inline int blockPaletteBlockAt(int width, int px, int py) { return width * (py / 16) + px / 16; }

}  // namespace quillon
