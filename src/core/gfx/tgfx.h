#pragma once

#include <cstdint>
#include <vector>

#include "core/gfx/bitmap.h"
#include "core/gfx/palette.h"

namespace quillon {

// The tile picture of one tileset part: 4 bits per pixel, 32 bytes per tile, 16 tiles per
// row. In a tile, pixel row y starts at byte 4 * y; byte x / 2 holds pixel x (even x in the
// low nibble, odd x in the high nibble), a colour index into the drawing palette.
struct TGFX {
    static constexpr std::size_t kDataSize = 65536;
    static constexpr int kTileBytes = 32;
    static constexpr int kMaxTiles = static_cast<int>(kDataSize) / kTileBytes;

    // The tile picture, or while Compressed is set, an LZ77 stream.
    std::vector<std::uint8_t> Data = std::vector<std::uint8_t>(kDataSize);
    int WidthTiles = 16;
    int HeightTiles = 32;
    // The whole part in one palette, WidthTiles * 8 x HeightTiles * 8 pixels.
    Bitmap Picture;
    // The last tile drawn by DrawTile, 8 x 8.
    Bitmap TileImage = Bitmap(8, 8);
    bool Compressed = false;

    // Bytes the picture occupies, WidthTiles * HeightTiles * 32, limited to Data's size.
    std::size_t pictureBytes() const;
    // Tiles the picture holds, limited to what Data holds.
    int tileCount() const { return static_cast<int>(pictureBytes()) / kTileBytes; }

    // When Compressed: expands the stream in Data (its whole 64 KiB is the input window) to
    // the start of Data, zeroes the rest of the picture's bytes and clears Compressed.
    // Throws DataError for a broken stream (Data and Compressed are then unchanged).
    void Decompress();

    // Draws every tile into Picture in palette `palette` (0-15) of colours.
    void DrawPicture(const TPalette& colours, int palette);
    // Draws tile row * WidthTiles + column into TileImage. A tile outside Data draws colour 0.
    void DrawTile(int column, int row, const TPalette& colours, int palette);

    // The 32 bytes of tile t, or nullptr when t lies outside Data.
    const std::uint8_t* tile(int t) const {
        return t >= 0 && t < kMaxTiles ? Data.data() + static_cast<std::size_t>(t) * kTileBytes
                                       : nullptr;
    }
};

// Draws the 8 x 8 tile `tile` (32 bytes, nullptr = all colour 0) in the 16 colours `colours`
// with its top-left pixel at dest, rows `stride` pixels apart, mirrored as asked. keyed
// leaves out every pixel whose colour value equals colours[0] (whatever its index).
// Unchecked: dest must hold the tile.
void drawTilePixels(const std::uint8_t* tile, const std::uint32_t* colours, bool flipX, bool flipY,
                    bool keyed, std::uint32_t* dest, int stride);

}  // namespace quillon
