#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/gfx/bitmap.h"
#include "core/gfx/tile_entry.h"

namespace quillon {

class TilesetPair;
class TPalette;

namespace blocks {

// The pictures of the block editor, drawn from the loaded tilesets without changing them.

// Every tile of the combined tile space in one palette, 16 tiles a row: 128 x 512 pixels,
// part 1's tiles on top and part 2's right below them.
Bitmap stackedTiles(const TilesetPair& tilesets, int palette);

// The eight entries of a record side by side, each opaque: the lower layer's quarters in the
// left 16 x 16, the upper layer's in the right 16 x 16 (32 x 16 pixels).
Bitmap layerPicture(const TilesetPair& tilesets, const std::array<std::uint8_t, 16>& record);

// The tile of one entry, mirrored as it says, 8 x 8.
Bitmap entryTile(const TilesetPair& tilesets, TileEntry entry);

// The block as the map shows it (the tileset pair's own block composition), 16 x 16.
Bitmap composedBlock(const TilesetPair& tilesets, const std::array<std::uint8_t, 16>& record);

// A tile picture as colour indices, one byte (0-15) per pixel, rows top to bottom.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// The tile picture of part 1 or 2 as the tiles hold it: 128 pixels wide, 8 per tile row.
// Throws IndexError for another part.
IndexedPicture partIndices(const TilesetPair& tilesets, int part);

// The same picture in colours: palette `palette` of colours.
Bitmap paintIndices(const IndexedPicture& picture, const TPalette& colours, int palette);

}  // namespace blocks
}  // namespace quillon
