#include <algorithm>
#include <stdexcept>

#include "core/gfx/lz77_compress.h"
#include "romkit/rom_builder_parts.h"

namespace quillon::romkit::detail {

namespace {

constexpr int kPalettes = 16;
constexpr std::size_t kPaletteBytes = 32;
constexpr std::size_t kTilesetHeaderSize = 24;

// Every tileset stores a whole block of 16 palettes: the game loads part 1's palettes from
// the front of its block and part 2's from the back of its own, each at its own index.
std::vector<std::uint8_t> paletteBlock(const TilesetSpec& wanted) {
    if (wanted.palettes.size() > kPalettes) {
        throw std::invalid_argument("a tileset holds at most 16 palettes");
    }
    std::vector<std::uint8_t> bytes(kPalettes * kPaletteBytes, 0);
    for (std::size_t p = 0; p < wanted.palettes.size(); ++p) {
        for (std::size_t c = 0; c < 16; ++c) {
            bytes[p * kPaletteBytes + 2 * c] = static_cast<std::uint8_t>(wanted.palettes[p][c]);
            bytes[p * kPaletteBytes + 2 * c + 1] =
                static_cast<std::uint8_t>(wanted.palettes[p][c] >> 8);
        }
    }
    return bytes;
}

std::vector<std::uint8_t> blockTable(const TilesetSpec& wanted) {
    std::vector<std::uint8_t> bytes;
    for (const auto& block : wanted.blocks) {
        for (std::uint16_t entry : block) {
            bytes.push_back(static_cast<std::uint8_t>(entry));
            bytes.push_back(static_cast<std::uint8_t>(entry >> 8));
        }
    }
    return bytes;
}

std::vector<std::uint8_t> behaviourTable(const TilesetSpec& wanted) {
    std::vector<std::uint8_t> bytes = wanted.behaviours;
    if (bytes.size() < 2 * wanted.blocks.size()) {
        bytes.resize(2 * wanted.blocks.size(), 0);
    }
    return bytes;
}

// FireRed/LeafGreen keep 32 bits per block: the behaviour in bits 0-8 and the layer type in
// bits 29-30, which the 2-byte form has in the high nibble of its second byte. Words given
// as such are taken as they are.
std::vector<std::uint8_t> attributeTable(const TilesetSpec& wanted) {
    std::vector<std::uint32_t> words = wanted.attributes;
    if (words.empty()) {
        const std::vector<std::uint8_t> behaviours = behaviourTable(wanted);
        for (std::size_t i = 0; i + 1 < behaviours.size(); i += 2) {
            words.push_back(behaviours[i] | ((behaviours[i + 1] >> 4) & 0x3u) << 29);
        }
    }
    words.resize(std::max(words.size(), wanted.blocks.size()), 0);
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t word : words) {
        for (int k = 0; k < 4; ++k) {
            bytes.push_back(static_cast<std::uint8_t>(word >> (8 * k)));
        }
    }
    return bytes;
}

BuiltTileset layData(RomImage& image, Family family, const TilesetSpec& wanted) {
    BuiltTileset built{};
    const std::vector<std::uint8_t> tiles = wanted.compressed ? lz77Compress(wanted.tiles) : wanted.tiles;
    built.storedTileBytes = tiles.size();
    built.blockCount = static_cast<int>(wanted.blocks.size());
    built.tiles = image.place(tiles);
    built.palettes = image.place(paletteBlock(wanted));
    built.blocks = image.place(blockTable(wanted));
    if (family == Family::Frlg) {
        built.attributes = image.place(attributeTable(wanted));
    } else {
        built.behaviours = image.place(behaviourTable(wanted));
    }
    return built;
}

}  // namespace

// Header: +0 compressed flag (1 = LZ77), +1 secondary flag, +4 tiles, +8 palettes, +12 block
// table; Ruby/Sapphire/Emerald: +16 the 2-byte attribute table, +20 a null code pointer;
// FireRed/LeafGreen: +16 a code pointer into the code area, +20 the 4-byte attribute table.
std::vector<BuiltTileset> layTilesets(RomImage& image, Family family,
                                      const std::vector<TilesetSpec>& tilesets,
                                      const std::vector<bool>& secondary) {
    std::vector<BuiltTileset> built;
    for (const TilesetSpec& wanted : tilesets) {
        built.push_back(layData(image, family, wanted));
    }
    for (std::size_t i = 0; i < built.size(); ++i) {
        BuiltTileset& t = built[i];
        for (std::uint32_t gap = 0; gap < tilesets[i].bytesBefore; gap += 4) {
            image.putPointer(image.reserve(4), t.tiles);
        }
        t.header = image.reserve(kTilesetHeaderSize);
        image.put32(t.header, tilesets[i].compressed ? 1u : 0u);
        image.put8(t.header + 1, secondary[i] ? 1 : 0);
        image.putPointer(t.header + 4, t.tiles);
        image.putPointer(t.header + 8, t.palettes);
        image.putPointer(t.header + 12, t.blocks);
        if (family == Family::Frlg) {
            image.putPointer(t.header + 16, kFrlgCodePointer);
            image.putPointer(t.header + 20, t.attributes);
        } else {
            image.putPointer(t.header + 16, t.behaviours);
            image.put32(t.header + 20, 0);
        }
    }
    return built;
}

}  // namespace quillon::romkit::detail
