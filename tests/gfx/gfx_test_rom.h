#pragma once

// A small in-memory ROM with two tileset headers for the graphics tests; all else is zero.
// Palette p colour i is the word p << 10 | i << 5 | 1 (distinct, never black).

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/gfx/tileset_pair.h"
#include "core/base/numbers.h"
#include "core/rom/rom_file.h"
#include "core/rom/trom.h"

namespace quillon::gfxtest {

constexpr std::uint32_t distinct(int p, int i) {
    return GbaColourToRgb(static_cast<std::uint16_t>(p << 10 | i << 5 | 1));
}

// Parts are 0 and 1 here. Offsets: headers, palettes, tiles, block tables of each part.
struct GfxRom {
    static constexpr std::uint32_t kHeader[2] = {0x100, 0x118};
    static constexpr std::uint32_t kPalettes[2] = {0x200, 0x400};
    static constexpr std::uint32_t kTiles[2] = {0x1000, 0x9000};
    static constexpr std::uint32_t kBlocks[2] = {0x11000, 0x14000};

    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(0x20000);

    explicit GfxRom(const std::string& code = "AXVE") {
        std::memcpy(bytes.data() + 0xA0, "POKEMON TEST", 12);  // title, then game code
        std::memcpy(bytes.data() + 0xAC, code.data(), 4);
        for (int part = 0; part < 2; ++part) {
            setHeaderPointer(part, 4, kTiles[part]);
            setHeaderPointer(part, 8, kPalettes[part]);
            setHeaderPointer(part, 12, kBlocks[part]);
            for (int p = 0; p < 16; ++p) {
                for (int i = 0; i < 16; ++i) {
                    setColour(part, p, i, static_cast<std::uint16_t>(p << 10 | i << 5 | 1));
                }
            }
        }
    }
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
    // Pixel (x, y) of the part's tile gets colour index pixel(x, y).
    template <class F>
    void setTile(int part, int tile, F pixel) {
        std::uint8_t* t = bytes.data() + kTiles[part] + 32 * tile;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; x += 2) {
                t[4 * y + x / 2] = static_cast<std::uint8_t>(pixel(x, y) | pixel(x + 1, y) << 4);
            }
        }
    }
    void setTileIndex(int part, int tile, int index) {
        setTile(part, tile, [index](int, int) { return index; });
    }
    // Block k of the part: all four lower quarters `tile` in `palette`, upper layer tile 0.
    void setPlainBlock(int part, int k, int tile, int palette) {
        const auto e = static_cast<std::uint16_t>(tile | palette << 12);
        for (int q = 0; q < 4; ++q) {
            writeLe16(bytes.data() + kBlocks[part] + 16 * k + 2 * q, e);
        }
    }
    TRom rom() const {
        TRom r;
        r.attach(std::make_unique<MemoryRomFile>(bytes), "test.gba");
        return r;
    }
};

// Loads both parts as the first map after a ROM was opened (tileset numbers 1 and 2).
inline void loadBoth(TilesetPair& pair, TRom& rom, const GfxRom& image, const IniFile& ini,
                     int height = 32) {
    auto h1 = image.header(0);
    auto h2 = image.header(1);
    pair.reset();
    pair.LoadTilesets(rom, {1, h1}, {2, h2}, ini, height);
}

}  // namespace quillon::gfxtest
