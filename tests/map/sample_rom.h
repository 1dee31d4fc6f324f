#pragma once

#include "romkit/rom_builder.h"
#include "tests/support/program_folder.h"

namespace quillon::testing {

// A small ROM of either family: one tileset pair, bank 0 with three maps, bank 1 with two.
// Block i is one colour, 1 + i % 4. Map (b, m) is (4 + m) x (3 + b) blocks; cell i of its
// grid holds block i % 16 and movement value (b + m) so the tests can tell maps and cells
// apart. offStep adds a third tileset, a secondary one 8 bytes off the table's 24-byte steps
// (as some games keep theirs), which map 1.1 uses.
inline romkit::BuiltRom buildSampleRom(romkit::Family family = romkit::Family::Rse,
                                       int extraNames = 0, bool offStep = false) {
    romkit::RomBuilder b(family, "QUILLON TEST", family == romkit::Family::Frlg ? "BPRE" : "QTSE",
                         1 << 20);
    romkit::TilesetSpec primary;
    for (int t = 0; t < 5; ++t) {  // tile t is all colour t; tile 0 is see-through
        primary.tiles.insert(primary.tiles.end(), 32, static_cast<std::uint8_t>(t * 0x11));
    }
    primary.palettes.push_back({0x0000, 0x001F, 0x03E0, 0x7C00, 0x7FFF});
    for (int i = 0; i < 16; ++i) {
        // Lower layer: tile 1 + i % 4 in every quarter; upper layer: the see-through tile.
        const auto t = static_cast<std::uint16_t>(1 + i % 4);
        primary.blocks.push_back({t, t, t, t, 0, 0, 0, 0});
    }
    romkit::TilesetSpec secondary = primary;
    secondary.compressed = true;
    b.addTileset(primary);
    b.addTileset(secondary);
    if (offStep) {
        romkit::TilesetSpec third = primary;
        third.bytesBefore = 8;
        b.addTileset(third);
    }
    b.addMapName("PALLET");
    b.addMapName("ROUTE");
    for (int i = 0; i < extraNames; ++i) {
        b.addMapName("EXTRA");
    }
    for (int bank = 0; bank < 2; ++bank) {
        for (int map = 0; map < 3 - bank; ++map) {
            romkit::MapSpec m;
            m.bank = bank;
            m.map = map;
            m.width = static_cast<std::uint16_t>(4 + map);
            m.height = static_cast<std::uint16_t>(3 + bank);
            for (int i = 0; i < m.width * m.height; ++i) {
                m.grid.push_back(static_cast<std::uint16_t>((i % 16) | ((bank + map) << 10)));
            }
            m.nameIndex = static_cast<std::uint8_t>(map % 2);
            m.weather = 2;
            m.type = 3;
            m.showName = 2;
            m.music = 0x012C;
            m.secondary = offStep && bank == 1 && map == 1 ? 2 : 1;
            b.addMap(m);
        }
    }
    return b.build();
}

inline void put32(romkit::BuiltRom& rom, std::uint32_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        rom.bytes.at(offset + static_cast<std::uint32_t>(i)) =
            static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace quillon::testing
