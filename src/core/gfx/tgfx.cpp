#include "core/gfx/tgfx.h"

#include <algorithm>
#include <cstring>

#include "core/gfx/lz77.h"

namespace quillon {

namespace {

const std::uint8_t kBlankTile[TGFX::kTileBytes] = {};

}  // namespace

void drawTilePixels(const std::uint8_t* tile, const std::uint32_t* colours, bool flipX, bool flipY,
                    bool keyed, std::uint32_t* dest, int stride) {
    if (!tile) {
        tile = kBlankTile;
    }
    const std::uint32_t key = colours[0];
    for (int y = 0; y < 8; ++y) {
        std::uint32_t* d = dest + static_cast<std::ptrdiff_t>(flipY ? 7 - y : y) * stride;
        const std::uint8_t* src = tile + 4 * y;
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t c = colours[(src[x >> 1] >> ((x & 1) * 4)) & 0x0F];
            if (!keyed || c != key) {
                d[flipX ? 7 - x : x] = c;
            }
        }
    }
}

std::size_t TGFX::pictureBytes() const {
    if (WidthTiles <= 0 || HeightTiles <= 0) {
        return 0;
    }
    const long long bytes = static_cast<long long>(WidthTiles) * HeightTiles * kTileBytes;
    return static_cast<std::size_t>(std::min<long long>(bytes, kDataSize));
}

void TGFX::Decompress() {
    if (!Compressed) {
        return;
    }
    std::vector<std::uint8_t> plain(kDataSize);
    const std::size_t size = lz77Decompress(Data, plain);
    std::memcpy(Data.data(), plain.data(), size);
    // A picture that decodes short shows its missing tiles in colour 0.
    if (size < pictureBytes()) {
        std::fill(Data.begin() + static_cast<std::ptrdiff_t>(size),
                  Data.begin() + static_cast<std::ptrdiff_t>(pictureBytes()), 0);
    }
    Compressed = false;
}

void TGFX::DrawPicture(const TPalette& colours, int palette) {
    const int width = std::max(WidthTiles, 0);
    const int height = std::max(HeightTiles, 0);
    Picture.resize(width * 8, height * 8);
    const std::uint32_t* pal = colours.Colours[static_cast<std::size_t>(palette & 15)].data();
    for (int r = 0; r < height; ++r) {
        for (int q = 0; q < width; ++q) {
            drawTilePixels(tile(r * width + q), pal, false, false, false,
                           Picture.row(8 * r) + 8 * q, Picture.width());
        }
    }
}

void TGFX::DrawTile(int column, int row, const TPalette& colours, int palette) {
    const std::uint32_t* pal = colours.Colours[static_cast<std::size_t>(palette & 15)].data();
    const bool inside = column >= 0 && column < WidthTiles && row >= 0;
    TileImage.resize(8, 8);
    drawTilePixels(inside ? tile(row * WidthTiles + column) : nullptr, pal, false, false, false,
                   TileImage.data(), 8);
}

}  // namespace quillon
