#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/rom/trom.h"
#include "romkit/rom_builder.h"
#include "tests/support/program_folder.h"

namespace quillon::testing {

// A builder with one tileset pair of two one-colour blocks, for maps that carry events.
inline romkit::RomBuilder eventRomBuilder(std::size_t size = 1 << 20) {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON TEST", "QTSE", size);
    romkit::TilesetSpec t;
    t.tiles.assign(32, 0x00);
    t.tiles.insert(t.tiles.end(), 32, 0x11);
    t.palettes.push_back({0x0000, 0x03E0});
    t.blocks.push_back({1, 1, 1, 1, 0, 0, 0, 0});
    t.blocks.push_back({0, 0, 0, 0, 0, 0, 0, 0});
    b.addTileset(t);
    b.addTileset(t);
    return b;
}

// An empty 8 x 6 map.
inline romkit::MapSpec eventMap(int bank, int map) {
    romkit::MapSpec m;
    m.bank = bank;
    m.map = map;
    m.width = 8;
    m.height = 6;
    return m;
}

inline void patch32(romkit::BuiltRom& rom, std::uint32_t offset, std::uint32_t value) {
    for (std::uint32_t i = 0; i < 4; ++i) {
        rom.bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline std::vector<std::uint8_t> bytesAt(const std::vector<std::uint8_t>& image,
                                         std::uint32_t offset, std::size_t count) {
    return {image.begin() + offset, image.begin() + offset + static_cast<long>(count)};
}

inline std::vector<std::uint8_t> toVector(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

}  // namespace quillon::testing
