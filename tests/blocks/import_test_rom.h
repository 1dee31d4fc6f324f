#pragma once

#include <algorithm>
#include <vector>

#include "core/blocks/tileset_pictures.h"
#include "core/gfx/lz77.h"
#include "core/session/session.h"
#include "romkit/rom_builder.h"

namespace quillon::testing {

constexpr int kImportTiles = 64;

// 64 tiles of a simple pattern: pixel (x, y) of tile t is colour (t + x * y) % 16; tile 0 is
// blank (colour 0), so an upper layer of tile 0 leaves the lower one seen.
inline std::vector<std::uint8_t> patternTiles() {
    std::vector<std::uint8_t> tiles(kImportTiles * 32, 0);
    for (int t = 1; t < kImportTiles; ++t) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const auto colour = static_cast<std::uint8_t>((t + x * y) % 16);
                tiles[static_cast<std::size_t>(t * 32 + 4 * y + x / 2)] |=
                    static_cast<std::uint8_t>(x % 2 == 0 ? colour : colour << 4);
            }
        }
    }
    return tiles;
}

// A ROM of the family whose two tilesets hold patternTiles(), raw or LZ77, palettes 0-15 in
// distinct colours (palette p colour c: red c * 2, green p, blue 31 - c), two blocks each, and
// map 0.0 (2 x 1: block 1 and part 2's block 1, whose lower layers draw each part's tile 1, in
// palette 2 and 8).
inline romkit::BuiltRom buildImportRom(romkit::Family family, bool compressed) {
    const bool frlg = family == romkit::Family::Frlg;
    romkit::RomBuilder b(family, "QUILLON TEST", frlg ? "BPRE" : "AXVE", 1 << 20);
    romkit::TilesetSpec tileset;
    tileset.compressed = compressed;
    tileset.tiles = patternTiles();
    for (int p = 0; p < 16; ++p) {
        std::array<std::uint16_t, 16> colours{};
        for (int c = 0; c < 16; ++c) {
            colours[static_cast<std::size_t>(c)] =
                static_cast<std::uint16_t>((c * 2) | p << 5 | (31 - c) << 10);
        }
        tileset.palettes.push_back(colours);
    }
    const std::uint16_t entry1 = 1 | 2 << 12;
    const int partTiles = romkit::traitsOf(family).tilesethoehe * 16;
    const auto entry2 = static_cast<std::uint16_t>((partTiles + 1) | 8 << 12);
    tileset.blocks.push_back({});
    tileset.blocks.push_back({entry1, entry1, entry1, entry1, 0, 0, 0, 0});
    romkit::TilesetSpec second = tileset;
    second.blocks[1] = {entry2, entry2, entry2, entry2, 0, 0, 0, 0};
    b.addTileset(tileset);
    b.addTileset(second);
    romkit::MapSpec map;
    map.width = 2;
    map.grid = {1, static_cast<std::uint16_t>(romkit::traitsOf(family).primaryBlocks + 1)};
    b.addMap(map);
    return b.build();
}

// The tile data of a built tileset decoded from the ROM image at offset (raw: 64 tiles).
inline std::vector<std::uint8_t> tilesAt(const std::vector<std::uint8_t>& image,
                                         std::uint32_t offset, bool compressed) {
    const auto from = image.begin() + offset;
    if (compressed) {
        return lz77Decompress(std::span(&*from, image.size() - offset), 65536);
    }
    return {from, from + kImportTiles * 32};
}

}  // namespace quillon::testing
