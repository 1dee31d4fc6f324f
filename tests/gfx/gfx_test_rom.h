#pragma once

// A small in-memory ROM with two tileset headers for the graphics tests: everything a test
// does not set is zero. Layout (file offsets):
//   0xA0 title, 0xAC game code; 0x100 / 0x118 tileset headers 1 / 2; 0x200 / 0x400 palettes;
//   0x1000 / 0x9000 tile pictures; 0x11000 / 0x14000 block tables; 0x19000 / 0x19800
//   behaviour tables; 0x1A000.. free for compressed streams.

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/gfx/tileset_pair.h"
#include "core/rom/numbers.h"
#include "core/rom/rom_file.h"
#include "core/rom/trom.h"

namespace quillon::gfxtest {

struct GfxRom {
    static constexpr std::uint32_t kHeader[2] = {0x100, 0x118};
    static constexpr std::uint32_t kPalettes[2] = {0x200, 0x400};
    static constexpr std::uint32_t kTiles[2] = {0x1000, 0x9000};
    static constexpr std::uint32_t kBlocks[2] = {0x11000, 0x14000};
    static constexpr std::uint32_t kBehaviour[2] = {0x19000, 0x19800};
    static constexpr std::uint32_t kFree = 0x1A000;

    std::vector<std::uint8_t> bytes;

    explicit GfxRom(const std::string& code = "AXVE", std::size_t size = 0x20000)
        : bytes(size) {
        std::memcpy(bytes.data() + 0xA0, "POKEMON TEST", 12);
        std::memcpy(bytes.data() + 0xAC, code.data(), std::min<std::size_t>(code.size(), 4));
        for (int part = 0; part < 2; ++part) {
            std::uint8_t* h = bytes.data() + kHeader[part];
            writeLe32(h + 4, 0x08000000u | kTiles[part]);
            writeLe32(h + 8, 0x08000000u | kPalettes[part]);
            writeLe32(h + 12, 0x08000000u | kBlocks[part]);
            writeLe32(h + 16, 0x08000000u | kBehaviour[part]);
        }
    }

    // part 0 or 1 below.
    std::array<std::uint8_t, 24> header(int part) const {
        std::array<std::uint8_t, 24> h{};
        std::memcpy(h.data(), bytes.data() + kHeader[part], 24);
        return h;
    }
    void setHeaderPointer(int part, int field, std::uint32_t offset) {
        writeLe32(bytes.data() + kHeader[part] + field, 0x08000000u | offset);
    }
    void setColour(int part, int palette, int index, std::uint16_t word) {
        writeLe16(bytes.data() + kPalettes[part] + 32 * palette + 2 * index, word);
    }
    // Every pixel of tile `tile` of a part's picture gets colour index pixel(x, y).
    template <class F>
    void setTile(int part, int tile, F pixel) {
        std::uint8_t* t = bytes.data() + kTiles[part] + 32 * tile;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; x += 2) {
                t[4 * y + x / 2] = static_cast<std::uint8_t>((pixel(x, y) & 15) |
                                                             ((pixel(x + 1, y) & 15) << 4));
            }
        }
    }
    void setTileIndex(int part, int tile, int index) {
        setTile(part, tile, [index](int, int) { return index; });
    }
    void setBlock(int part, int k, const std::array<std::uint16_t, 8>& entries) {
        for (int e = 0; e < 8; ++e) {
            writeLe16(bytes.data() + kBlocks[part] + 16 * k + 2 * e, entries[e]);
        }
    }
    // A block whose four lower quarters all show `tile` in `palette`, upper layer tile 0.
    void setPlainBlock(int part, int k, int tile, int palette) {
        const auto e = static_cast<std::uint16_t>(tile | (palette << 12));
        setBlock(part, k, {e, e, e, e, 0, 0, 0, 0});
    }

    TRom rom() const {
        TRom r;
        r.attach(std::make_unique<MemoryRomFile>(bytes), "test.gba");
        return r;
    }
};

// Distinct colours everywhere: palette p colour i = word p << 10 | i << 5 | 1.
inline void fillDistinctPalettes(GfxRom& rom) {
    for (int part = 0; part < 2; ++part) {
        for (int p = 0; p < 16; ++p) {
            for (int i = 0; i < 16; ++i) {
                rom.setColour(part, p, i, static_cast<std::uint16_t>(p << 10 | i << 5 | 1));
            }
        }
    }
}

// Loads both parts of rom as a first map after reset().
inline void loadBoth(TilesetPair& pair, TRom& rom, const GfxRom& image, const IniFile& ini,
                     int height = 32, int number1 = 1, int number2 = 2) {
    auto h1 = image.header(0);
    auto h2 = image.header(1);
    pair.LoadTilesets(rom, TilesetPair::kNoTileset, TilesetPair::kNoTileset, number1, number2,
                      h1, h2, ini, height);
}

}  // namespace quillon::gfxtest
