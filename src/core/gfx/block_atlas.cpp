#include "core/gfx/block_atlas.h"

#include <algorithm>
#include <cstring>

#include "core/gfx/bitmap.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/block_grid.h"

namespace quillon {

namespace {

constexpr int kSide = BlockAtlas::kBlockSide;
constexpr std::size_t kMaxColours = 256;

// The palettes' colours have five bits a component, each times 8, and full alpha: those fit
// the 15-bit table. Anything else never comes from a palette.
bool fifteenBit(std::uint32_t colour) { return (colour & 0xFF070707u) == 0xFF000000u; }

std::size_t key(std::uint32_t colour) {
    return ((colour >> 9) & 0x7C00u) | ((colour >> 6) & 0x03E0u) | ((colour >> 3) & 0x001Fu);
}

}  // namespace

int BlockAtlas::indexOf(std::uint32_t colour) {
    if (!fifteenBit(colour)) {
        return -1;
    }
    std::uint16_t& entry = m_lookup[key(colour)];
    if (entry == 0) {
        if (m_colours.size() == kMaxColours) {
            return -1;
        }
        m_colours.push_back(colour);
        entry = static_cast<std::uint16_t>(m_colours.size());
    }
    return entry - 1;
}

bool BlockAtlas::update(const TilesetPair& tilesets) {
    if (m_version != tilesets.imagesVersion() || m_pixels.empty()) {
        m_usable = take(tilesets);
        m_version = tilesets.imagesVersion();
    }
    return m_usable;
}

bool BlockAtlas::take(const TilesetPair& tilesets) {
    m_colours.clear();
    m_lookup.fill(0);
    m_pixels.assign(static_cast<std::size_t>(TilesetPair::kSlots) * kBlockPixels, 0);
    std::vector<int> emptySlots;
    for (int s = 0; s < TilesetPair::kSlots; ++s) {
        const Bitmap* image = tilesets.blockImage(s);
        if (image == nullptr) {
            emptySlots.push_back(s);
        } else if (!takeImage(*image, blockPixels(s))) {
            return false;
        }
    }
    // Black for empty slots and grid lines; a pair whose images already use 256 other colours
    // has no room for it, which only matters when a slot is empty or lines are drawn.
    const int black = indexOf(kBlack);
    m_hasBlack = black >= 0;
    m_black = static_cast<std::uint8_t>(std::max(black, 0));
    if (!emptySlots.empty() && !m_hasBlack) {
        return false;
    }
    for (int s : emptySlots) {
        std::fill(blockPixels(s), blockPixels(s) + kBlockPixels, m_black);
    }
    return true;
}

bool BlockAtlas::takeImage(const Bitmap& image, std::uint8_t* out) {
    if (image.width() != kSide || image.height() != kSide) {
        return false;
    }
    // Neighbouring pixels mostly share a colour: the last one found is tried first.
    std::uint32_t last = image.data()[0] ^ 1u;
    int lastIndex = 0;
    for (int i = 0; i < kBlockPixels; ++i) {
        const std::uint32_t colour = image.data()[i];
        if (colour != last) {
            lastIndex = indexOf(colour);
            if (lastIndex < 0) {
                return false;
            }
            last = colour;
        }
        out[i] = static_cast<std::uint8_t>(lastIndex);
    }
    return true;
}

namespace {

// Cell row by row: each of the 16 pixel rows of a row of cells is copied 16 bytes a cell.
void drawCells(const BlockAtlas& atlas, const BlockGrid& grid, IndexedBitmap& out) {
    for (int y = 0; y < grid.height; ++y) {
        const GridEntry* cells = grid.cells.data() + static_cast<std::size_t>(y) * grid.width;
        for (int r = 0; r < kSide; ++r) {
            std::uint8_t* dest = out.row(y * kSide + r);
            for (int x = 0; x < grid.width; ++x) {
                std::memcpy(dest + x * kSide, atlas.blockRow(cells[x].block(), r), kSide);
            }
        }
    }
}

void drawGridLines(const BlockGrid& grid, std::uint8_t black, IndexedBitmap& out) {
    for (int y = 0; y < out.height; ++y) {
        std::uint8_t* row = out.row(y);
        if (y % kSide == 0) {
            std::fill(row, row + out.width, black);
            continue;
        }
        for (int x = 0; x < grid.width; ++x) {
            row[x * kSide] = black;
        }
    }
}

}  // namespace

bool drawIndexedMap(const BlockAtlas& atlas, const BlockGrid& grid, bool gridLines,
                    IndexedBitmap& out) {
    const auto cells = static_cast<std::size_t>(grid.cellCount());
    if (!atlas.usable() || cells == 0 || cells > grid.cells.size() ||
        cells > grid.movement.size() || (gridLines && cells > 1 && !atlas.hasBlack())) {
        return false;
    }
    out.width = grid.width * kSide;
    out.height = grid.height * kSide;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    out.colours = atlas.colours();
    if (cells == 1) {
        // A single cell shows block 0, as the 32-bit picture does.
        for (int r = 0; r < kSide; ++r) {
            std::memcpy(out.row(r), atlas.blockRow(0, r), kSide);
        }
        return true;
    }
    drawCells(atlas, grid, out);
    if (gridLines) {
        drawGridLines(grid, atlas.black(), out);
    }
    return true;
}

}  // namespace quillon
