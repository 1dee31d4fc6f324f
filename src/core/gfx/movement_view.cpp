#include "core/gfx/movement_view.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/gfx/bitmap.h"
#include "core/gfx/text_painter.h"
#include "core/map/block_grid.h"

namespace quillon {

namespace {


// Blending works byte by byte on 0xFFRRGGBB pixels (alpha stays 0xFF: (2 * 255 + 255) / 3).
// A full 16-pixel row has a fixed length and unaliased pointers, so the compiler turns it into
// vector code; that keeps a full movement view of the largest map within a few milliseconds.
inline std::uint8_t blendByte(std::uint8_t tile, std::uint8_t map) {
    return static_cast<std::uint8_t>((2u * tile + map) / 3u);
}

void blendFullRow(const std::uint8_t* __restrict tile, const std::uint8_t* __restrict map,
                  std::uint8_t* __restrict dest) {
    for (int i = 0; i < kBlockPixels * 4; ++i) {
        dest[i] = blendByte(tile[i], map[i]);
    }
}

void checkMovementGrid(const BlockGrid& grid) {
    if (static_cast<std::size_t>(grid.cellCount()) > grid.movement.size()) {
        throw DataError(message("picture.grid_larger",
                                {std::to_string(grid.width), std::to_string(grid.height)}));
    }
}

// Blends one tile over the map picture's cell at (px, py) into view; returns the rect.
PixelRect blendCell(const Bitmap& tile, const Bitmap& map, int px, int py, Bitmap& view) {
    PixelRect r = clipRect({px, py, kBlockPixels, kBlockPixels}, std::min(map.width(), view.width()),
                           std::min(map.height(), view.height()));
    for (int j = 0; j < r.height; ++j) {
        const std::uint32_t* t = tile.row(r.y - py + j) + (r.x - px);
        const std::uint32_t* m = map.row(r.y + j) + r.x;
        std::uint32_t* d = view.row(r.y + j) + r.x;
        if (r.width == kBlockPixels && d != m) {
            blendFullRow(reinterpret_cast<const std::uint8_t*>(t),
                         reinterpret_cast<const std::uint8_t*>(m),
                         reinterpret_cast<std::uint8_t*>(d));
            continue;
        }
        for (int i = 0; i < r.width; ++i) {
            d[i] = blendMovementPixel(t[i], m[i]);
        }
    }
    return r;
}

void copyCell(const Bitmap& map, int px, int py, Bitmap& view) {
    PixelRect r = clipRect({px, py, kBlockPixels, kBlockPixels}, std::min(map.width(), view.width()),
                           std::min(map.height(), view.height()));
    for (int j = 0; j < r.height; ++j) {
        std::copy_n(map.row(r.y + j) + r.x, r.width, view.row(r.y + j) + r.x);
    }
}

}  // namespace

const std::array<std::uint32_t, kMovementValues> kMovementColours = [] {
    constexpr std::uint32_t rgb[kMovementValues] = {
        0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x400080, 0x800000,
        0x808000, 0x008000, 0x008080, 0x000080, 0x800080, 0xFF0080, 0x804000, 0xFF8000,
        0x4AA22D, 0x1AE64D, 0x800040, 0x281F61, 0x005300, 0x7DA6BD, 0xD59B24, 0x562929,
        0x156A62, 0xAB2951, 0x9FE897, 0x2E84B8, 0x7035BF, 0x6175D6, 0x325061, 0xACCA35,
        0xFFFF00, 0x658040, 0xCC6868, 0x008040, 0x4E70F8, 0x3159A4, 0xEC9A20, 0x005151,
        0xB4DE21, 0xF54B50, 0x204020, 0x80FF00, 0x1EAC68, 0xBE7641, 0xE4D61B, 0x2FD7A0,
        0x14EBA5, 0x804040, 0x804000, 0xE3F775, 0xC8AB37, 0x3EC165, 0x71962C, 0x804000,
        0x00FFFF, 0xBC0AC0, 0x356916, 0xF3EF5C, 0x5355AC, 0x456FDA, 0x39C692, 0x1A665A,
    };
    std::array<std::uint32_t, kMovementValues> colours{};
    for (int v = 0; v < kMovementValues; ++v) {
        colours[static_cast<std::size_t>(v)] = 0xFF000000u | rgb[v];
    }
    return colours;
}();

std::uint32_t blendMovementPixel(std::uint32_t tile, std::uint32_t map) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        out |= static_cast<std::uint32_t>(blendByte(static_cast<std::uint8_t>(tile >> shift),
                                                    static_cast<std::uint8_t>(map >> shift)))
               << shift;
    }
    return out;
}

std::string movementLabel(int value) { return IntToHex(value, 1); }

int movementLabelX(int value) {
    if (value <= 15) {
        return 4;
    }
    if (value == 16) {
        return 2;
    }
    if (value == 17) {
        return 3;
    }
    return value <= 31 ? 1 : 0;
}

Bitmap MovementTile(int value, TextPainter& painter) {
    if (value < 0 || value >= kMovementValues) {
        throw IndexError(value);
    }
    Bitmap tile(kBlockPixels, kBlockPixels, kMovementColours[static_cast<std::size_t>(value)]);
    painter.drawText(tile, movementLabelX(value), 0, movementLabel(value));
    return tile;
}

MovementTileCache::MovementTileCache(TextPainter& painter) {
    for (int v = 0; v < kMovementValues; ++v) {
        m_tiles[static_cast<std::size_t>(v)] = MovementTile(v, painter);
    }
}

void buildMovementPalette(const MovementTileCache& tiles, Bitmap& out) {
    out.resize(kBlockPixels, kBlockPixels * kMovementValues);
    for (int v = 0; v < kMovementValues; ++v) {
        out.blit(tiles.tile(v), 0, v * kBlockPixels);
    }
}

void buildMovementView(const Bitmap& mapPicture, const BlockGrid& grid,
                       const MovementTileCache& tiles, Bitmap& out) {
    checkMovementGrid(grid);
    out.resize(mapPicture.width(), mapPicture.height());
    if (out.width() > grid.width * kBlockPixels || out.height() > grid.height * kBlockPixels) {
        // Pixels no cell covers (a picture larger than the grid) show the map picture.
        std::copy_n(mapPicture.data(), static_cast<std::size_t>(out.width()) * out.height(),
                    out.data());
    }
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            const int v = grid.movement[static_cast<std::size_t>(y * grid.width + x)];
            if (v < kMovementValues) {
                blendCell(tiles.tile(v), mapPicture, x * kBlockPixels, y * kBlockPixels, out);
            } else {
                copyCell(mapPicture, x * kBlockPixels, y * kBlockPixels, out);
            }
        }
    }
}

PixelRect UpdateGehBlock(int x, int y, const BlockGrid& grid, const Bitmap& mapPicture,
                         const MovementTileCache& tiles, Bitmap& view) {
    checkMovementGrid(grid);
    if (!grid.contains(x, y)) {
        return {};
    }
    const int v = grid.movement[static_cast<std::size_t>(y * grid.width + x)];
    if (v >= kMovementValues) {
        return {};
    }
    return blendCell(tiles.tile(v), mapPicture, x * kBlockPixels, y * kBlockPixels, view);
}

}  // namespace quillon
