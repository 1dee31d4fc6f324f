#pragma once

#include "romkit/rom_builder.h"

namespace quillon::testing {

// Block attribute words of the FireRed/LeafGreen test tilesets: besides the behaviour (bits
// 0-8) and the layer type (29-30) they carry terrain, encounter type and bit 31, which a save
// must keep.
constexpr std::uint32_t kFrlgWord = 0x87003E05u;  // behaviour 005, layer 0, other bits set

// A ROM of the family with two tilesets and map 0.0 (2 x 1: block 3, block P + 5). Tile t
// (1-3) holds colour indices t and t + 1 in turns (even pixels t); palette 0 is black, red,
// green, blue, white; palette 3 is white, black, .... Each tileset has 8 blocks; block k's
// entry e is tile (k + e) % 4 in palette k % 2. Ruby/Sapphire/Emerald attributes: behaviour
// 0x10 + k, background 0x20 + k; FireRed/LeafGreen: kFrlgWord + k.
inline romkit::BuiltRom buildBlockRom(romkit::Family family) {
    const bool frlg = family == romkit::Family::Frlg;
    romkit::RomBuilder b(family, "QUILLON TEST", frlg ? "BPRE" : "AXVE", 1 << 20);
    romkit::TilesetSpec tileset;
    tileset.tiles.assign(32, 0);
    for (int t = 1; t <= 3; ++t) {
        tileset.tiles.insert(tileset.tiles.end(), 32, static_cast<std::uint8_t>(t | (t + 1) << 4));
    }
    tileset.palettes.push_back({0x0000, 0x001F, 0x03E0, 0x7C00, 0x7FFF});
    tileset.palettes.push_back({});
    tileset.palettes.push_back({});
    tileset.palettes.push_back({0x7FFF, 0x0000, 0x801F, 0x03E0, 0x7C00});
    for (int k = 0; k < 8; ++k) {
        std::array<std::uint16_t, 8> block{};
        for (int e = 0; e < 8; ++e) {
            block[static_cast<std::size_t>(e)] =
                static_cast<std::uint16_t>((k + e) % 4 | (k % 2) << 12);
        }
        tileset.blocks.push_back(block);
        tileset.behaviours.push_back(static_cast<std::uint8_t>(0x10 + k));
        tileset.behaviours.push_back(static_cast<std::uint8_t>(0x20 + k));
        tileset.attributes.push_back(kFrlgWord + static_cast<std::uint32_t>(k));
    }
    if (!frlg) {
        tileset.attributes.clear();
    }
    b.addTileset(tileset);
    b.addTileset(tileset);
    const int p = romkit::traitsOf(family).primaryBlocks;
    romkit::MapSpec map;
    map.width = 2;
    map.grid = {3, static_cast<std::uint16_t>(p + 5)};
    b.addMap(map);
    return b.build();
}

}  // namespace quillon::testing
