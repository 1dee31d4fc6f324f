#pragma once

#include <cstdint>
#include <vector>

#include "romkit/rom_builder.h"

namespace quillon::testing {

// Slot i of a kind of map m: levels and species that differ from slot to slot and map to map.
inline std::vector<wild::Slot> wildSlots(int count, int seed) {
    std::vector<wild::Slot> made;
    for (int i = 0; i < count; ++i) {
        made.push_back({static_cast<std::uint8_t>(2 + i), static_cast<std::uint8_t>(5 + i + seed),
                        static_cast<std::uint16_t>(10 * seed + i + 1)});
    }
    return made;
}

// Two banks (maps 0.0-0.2, 1.0) and a wild table: 0.1 has all four kinds with the game's slot
// counts (rates 20, 4, 10, 30), 0.2 grass only, 1.0 water only; 0.0 has no entry. Species
// names "MON1".. for the first 20 species.
inline romkit::BuiltRom buildWildRom(romkit::Family family = romkit::Family::Rse) {
    romkit::RomBuilder b(family, "QUILLON WILD", family == romkit::Family::Frlg ? "BPRE" : "QTSE",
                         1 << 20);
    romkit::TilesetSpec tiles;
    tiles.tiles.assign(64, 0x11);
    tiles.palettes.push_back({0x0000, 0x001F});
    tiles.blocks.push_back({1, 1, 1, 1, 0, 0, 0, 0});
    b.addTileset(tiles);
    b.addTileset(tiles);
    for (auto [bank, map] : {std::pair{0, 0}, {0, 1}, {0, 2}, {1, 0}}) {
        romkit::MapSpec m;
        m.bank = bank;
        m.map = map;
        m.width = 2;
        m.height = 2;
        b.addMap(m);
    }
    for (int i = 1; i <= 20; ++i) {
        b.addPokemonName("MON" + std::to_string(i));
    }
    romkit::WildSpec full{0, 1, {}};
    const std::uint32_t rates[] = {20, 4, 10, 30};
    for (wild::Kind kind : wild::kKinds) {
        const auto k = static_cast<std::size_t>(kind);
        full.kinds[k] = romkit::WildKindSpec{
            rates[k], wildSlots(wild::slotCount(kind), static_cast<int>(k) + 1)};
    }
    b.addWild(full);
    romkit::WildSpec grass{0, 2, {}};
    grass.kinds[0] = romkit::WildKindSpec{25, wildSlots(12, 7)};
    b.addWild(grass);
    romkit::WildSpec water{1, 0, {}};
    water.kinds[1] = romkit::WildKindSpec{2, wildSlots(5, 8)};
    b.addWild(water);
    return b.build();
}

}  // namespace quillon::testing
