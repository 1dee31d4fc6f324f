#include "core/blocks/tileset_pictures.h"

#include <span>

#include "core/errors.h"
#include "core/gfx/bitmap.h"
#include "core/gfx/palette.h"
#include "core/gfx/tileset_pair.h"

namespace quillon::blocks {

namespace {

constexpr int kTileSpace = 1024;

}  // namespace

Bitmap stackedTiles(const TilesetPair& tilesets, int palette) {
    Bitmap out(kTilesPerRow * 8, kTileSpace / kTilesPerRow * 8);
    for (int n = 0; n < kTileSpace; ++n) {
        tilesets.drawEntry(TileEntry::make(n, false, false, palette), false, out,
                           8 * (n % kTilesPerRow), 8 * (n / kTilesPerRow));
    }
    return out;
}

Bitmap layerPicture(const TilesetPair& tilesets, const std::array<std::uint8_t, 16>& record) {
    Bitmap out(32, 16);
    for (int e = 0; e < 8; ++e) {
        const int quarter = e & 3;
        const int x = 8 * (quarter & 1) + (e >= 4 ? 16 : 0);
        const TileEntry entry{static_cast<std::uint16_t>(record[2 * e] | record[2 * e + 1] << 8)};
        tilesets.drawEntry(entry, false, out, x, 8 * (quarter >> 1));
    }
    return out;
}

Bitmap entryTile(const TilesetPair& tilesets, TileEntry entry) {
    Bitmap out(8, 8);
    tilesets.drawEntry(entry, false, out, 0, 0);
    return out;
}

Bitmap composedBlock(const TilesetPair& tilesets, const std::array<std::uint8_t, 16>& record) {
    Bitmap out;
    tilesets.composeBlock(std::span<const std::uint8_t, 16>(record), out);
    return out;
}

IndexedPicture partIndices(const TilesetPair& tilesets, int part) {
    const TGFX& gfx = tilesets.gfx(part);
    IndexedPicture picture;
    picture.width = gfx.WidthTiles * 8;
    picture.height = gfx.HeightTiles * 8;
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, 0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* tile = gfx.tile((y / 8) * gfx.WidthTiles + x / 8);
            if (tile == nullptr) {
                continue;  // past the tile data: colour 0
            }
            const std::uint8_t pair = tile[4 * (y % 8) + (x % 8) / 2];
            picture.pixels[static_cast<std::size_t>(y) * picture.width + x] =
                static_cast<std::uint8_t>(x % 2 == 0 ? pair & 0x0F : pair >> 4);
        }
    }
    return picture;
}

Bitmap paintIndices(const IndexedPicture& picture, const TPalette& colours, int palette) {
    Bitmap out(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        std::uint32_t* row = out.row(y);
        for (int x = 0; x < picture.width; ++x) {
            row[x] = colours.colour(
                palette, picture.pixels[static_cast<std::size_t>(y) * picture.width + x]);
        }
    }
    return out;
}

}  // namespace quillon::blocks
