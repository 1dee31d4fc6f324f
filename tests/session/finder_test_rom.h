#pragma once

#include <cstdint>
#include <string>

#include "romkit/rom_builder.h"
#include "romkit/table_references.h"

namespace quillon::testing {

// Where a finder ROM's structures lie and what it holds.
struct FinderLayout {
    romkit::Family family = romkit::Family::Rse;
    std::uint32_t dataStart = 0x1000;  // 0x1070: as a later release; above 16 MiB: grown ROM
    std::size_t romSize = 1 << 20;
    int revision = 0;
    int firstName = 0;  // name index of the first map; the maps use firstName + 0..2
};

// A game of the family with every table the search looks for: two primary and two secondary
// tilesets, three banks of maps, map names up to firstName + 2, species names, a wild table,
// three sprites and their two palettes. No literal pool: buildWithReferences adds one.
inline romkit::RomBuilder finderRomBuilder(const FinderLayout& layout) {
    const bool frlg = layout.family == romkit::Family::Frlg;
    romkit::RomBuilder b(layout.family, "QUILLON FIND", frlg ? "BPRE" : "AXVE", layout.romSize);
    b.setRevision(static_cast<std::uint8_t>(layout.revision));
    b.setDataStart(layout.dataStart);
    romkit::TilesetSpec tiles;
    tiles.tiles.assign(64, 0x11);
    tiles.palettes.push_back({0x0000, 0x001F});
    tiles.blocks.push_back({1, 1, 1, 1, 0, 0, 0, 0});
    for (int i = 0; i < 4; ++i) {
        b.addTileset(tiles);  // 0 and 2 primary, 1 and 3 secondary
    }
    for (int i = 0; i <= layout.firstName + 2; ++i) {
        b.addMapName("PLACE " + std::to_string(i));
    }
    for (int bank = 0; bank < 3; ++bank) {
        for (int map = 0; map < 2 + bank; ++map) {
            romkit::MapSpec m;
            m.bank = bank;
            m.map = map;
            m.width = static_cast<std::uint16_t>(2 + map);
            m.height = 2;
            m.primary = bank == 2 ? 2 : 0;
            m.secondary = bank == 2 ? 3 : 1;
            m.nameIndex = static_cast<std::uint8_t>(layout.firstName + (bank + map) % 3);
            b.addMap(m);
        }
    }
    for (int i = 1; i <= 30; ++i) {
        b.addPokemonName("MON" + std::to_string(i));
    }
    romkit::WildSpec grass{0, 1, {}};
    grass.kinds[0] = romkit::WildKindSpec{20, {{2, 5, 1}, {3, 6, 2}}};
    b.addWild(grass);
    romkit::WildSpec water{2, 0, {}};
    water.kinds[1] = romkit::WildKindSpec{4, {{10, 20, 3}}};
    b.addWild(water);
    for (int i = 0; i < 3; ++i) {
        romkit::SpriteSpec sprite;
        sprite.paletteTag = static_cast<std::uint16_t>(0x1100 + i % 2);
        b.addSprite(sprite);
    }
    b.addSpritePalette(0x1100, {0x0000, 0x001F});
    b.addSpritePalette(0x1101, {0x0000, 0x03E0});
    return b;
}

inline romkit::BuiltRom buildFinderRom(const FinderLayout& layout = {}) {
    return romkit::buildWithReferences(finderRomBuilder(layout));
}

}  // namespace quillon::testing
