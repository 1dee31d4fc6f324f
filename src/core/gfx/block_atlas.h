#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quillon {

class Bitmap;
class TilesetPair;
struct BlockGrid;

// A picture of colour indices: one byte a pixel, rows top to bottom without padding, and the
// colours (0xFFRRGGBB, at most 256) the indices stand for. A map picture drawn this way is a
// quarter of the size of its 32-bit form and is written as a palette PNG.
struct IndexedBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint32_t> colours;

    bool empty() const { return width == 0 || height == 0; }
    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const std::uint8_t* row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * width;
    }
    // The colour of pixel (x, y), unchecked.
    std::uint32_t colour(int x, int y) const { return colours[row(y)[x]]; }
};

// The block images of a tileset pair as colour indices, for drawing the pictures of many maps
// that share the pair: built once when the pair's images change, then each map cell is copied
// from it row by row. The colours are those of the images (the palettes' colours as they are
// drawn) plus black, the colour of empty slots and grid lines, where it fits; pixels match the
// 32-bit images exactly.
class BlockAtlas {
public:
    static constexpr int kBlockSide = 16;
    static constexpr int kBlockPixels = kBlockSide * kBlockSide;

    // Takes the pair's images unless they are the ones taken last (TilesetPair::imagesVersion).
    // Returns false when they cannot be indexed: more than 256 colours (with black when a slot
    // is empty), a colour no palette holds, or an image that is not 16 x 16.
    bool update(const TilesetPair& tilesets);
    bool usable() const { return m_usable; }

    const std::vector<std::uint32_t>& colours() const { return m_colours; }
    // Whether black has an index (it has unless the images use 256 other colours).
    bool hasBlack() const { return m_hasBlack; }
    std::uint8_t black() const { return m_black; }
    // Row r (0-15) of slot s (0-1024): 16 indices; an empty slot's rows are black.
    const std::uint8_t* blockRow(int slot, int r) const {
        return m_pixels.data() + static_cast<std::size_t>(slot) * kBlockPixels +
               static_cast<std::size_t>(r) * kBlockSide;
    }

private:
    bool take(const TilesetPair& tilesets);
    bool takeImage(const Bitmap& image, std::uint8_t* out);
    int indexOf(std::uint32_t colour);
    std::uint8_t* blockPixels(int slot) {
        return m_pixels.data() + static_cast<std::size_t>(slot) * kBlockPixels;
    }

    std::uint64_t m_version = 0;
    bool m_usable = false;
    std::vector<std::uint8_t> m_pixels;
    std::vector<std::uint32_t> m_colours;
    // The index of each 15-bit colour (5 bits a component, as the palettes hold them) + 1;
    // 0 while the colour has none.
    std::array<std::uint16_t, 32768> m_lookup{};
    bool m_hasBlack = false;
    std::uint8_t m_black = 0;
};

// Draws the map picture as UpdateMap does (same size, cells, single-cell maps and grid lines),
// as indices into atlas.colours(). Returns false, drawing nothing, when the atlas is not
// usable, lines are asked for and black has no index, the map has no cells or its grid is
// smaller than its size says: the 32-bit drawing then decides (and reports) what the picture is.
bool drawIndexedMap(const BlockAtlas& atlas, const BlockGrid& grid, bool gridLines,
                    IndexedBitmap& out);

}  // namespace quillon
