#include "tools/mkdemo/tileset_art.h"

#include <stdexcept>

#include "core/gfx/tile_entry.h"

namespace quillon::mkdemo {

namespace {

// 4 bits a pixel, two pixels a byte, the left one in the low nibble.
std::array<std::uint8_t, 32> tileBytes(const Canvas& canvas, int x0, int y0, bool flipX,
                                       bool flipY) {
    std::array<std::uint8_t, 32> bytes{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int sx = x0 + (flipX ? 7 - x : x);
            const int sy = y0 + (flipY ? 7 - y : y);
            const std::uint8_t value = canvas.at(sx, sy) & 0x0F;
            bytes[4 * y + x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? value : value << 4);
        }
    }
    return bytes;
}

}  // namespace

TilesetArt::TilesetArt(int firstTile, int tileCapacity, int firstBlock, int blockCapacity)
    : m_firstTile(firstTile),
      m_tileCapacity(tileCapacity),
      m_firstBlock(firstBlock),
      m_blockCapacity(blockCapacity) {
    if (firstTile == 0) {
        // Tile 0 stays empty: upper layers with nothing to draw point at it.
        m_tiles.push_back({});
        m_tileIndex[{}] = 0;
    }
}

std::uint16_t TilesetArt::tileEntry(const Canvas& canvas, int x, int y, int palette) {
    const TileBytes plain = tileBytes(canvas, x, y, false, false);
    if (plain == TileBytes{}) {
        return TileEntry::make(0, false, false, palette).raw;  // the primary's empty tile 0
    }
    for (int flips = 0; flips < 4; ++flips) {
        // If the stored tile equals this one mirrored, this one is the stored one mirrored.
        const bool flipX = (flips & 1) != 0;
        const bool flipY = (flips & 2) != 0;
        const TileBytes variant = tileBytes(canvas, x, y, flipX, flipY);
        if (auto it = m_tileIndex.find(variant); it != m_tileIndex.end()) {
            return TileEntry::make(it->second, flipX, flipY, palette).raw;
        }
    }
    const auto number = static_cast<std::uint16_t>(m_firstTile + m_tiles.size());
    m_tiles.push_back(plain);
    m_tileIndex[plain] = number;
    return TileEntry::make(number, false, false, palette).raw;
}

Layer TilesetArt::layer(const Canvas& canvas, int palette, int x, int y) {
    return {tileEntry(canvas, x, y, palette), tileEntry(canvas, x + 8, y, palette),
            tileEntry(canvas, x, y + 8, palette), tileEntry(canvas, x + 8, y + 8, palette)};
}

std::uint16_t TilesetArt::block(const std::string& key, const Layer& lower, const Layer& upper,
                                BlockInfo info) {
    if (auto it = m_names.find(key); it != m_names.end()) {
        return it->second;
    }
    const auto number = static_cast<std::uint16_t>(m_firstBlock + m_blocks.size());
    m_blocks.push_back(
        {lower[0], lower[1], lower[2], lower[3], upper[0], upper[1], upper[2], upper[3]});
    m_infos.push_back(info);
    m_names[key] = number;
    return number;
}

std::optional<std::uint16_t> TilesetArt::find(const std::string& key) const {
    if (auto it = m_names.find(key); it != m_names.end()) {
        return it->second;
    }
    return std::nullopt;
}

bool TilesetArt::owns(std::uint16_t block) const {
    return block >= m_firstBlock && block < m_firstBlock + blockCount();
}

const BlockInfo& TilesetArt::info(std::uint16_t block) const {
    return m_infos.at(block - m_firstBlock);
}

Layer TilesetArt::lowerOf(std::uint16_t block) const {
    const auto& record = m_blocks.at(block - m_firstBlock);
    return {record[0], record[1], record[2], record[3]};
}

romkit::TilesetSpec TilesetArt::finish(
    bool compressed, const std::vector<std::array<std::uint16_t, 16>>& palettes) const {
    if (tileCount() > m_tileCapacity || blockCount() > m_blockCapacity) {
        throw std::length_error("tileset art needs " + std::to_string(tileCount()) + " tiles and " +
                                std::to_string(blockCount()) + " blocks");
    }
    romkit::TilesetSpec wanted;
    wanted.compressed = compressed;
    wanted.palettes = palettes;
    for (const TileBytes& tile : m_tiles) {
        wanted.tiles.insert(wanted.tiles.end(), tile.begin(), tile.end());
    }
    wanted.tiles.resize(static_cast<std::size_t>(m_tileCapacity) * 32, 0);
    wanted.blocks = m_blocks;
    wanted.blocks.resize(m_blockCapacity, std::array<std::uint16_t, 8>{});
    for (int b = 0; b < m_blockCapacity; ++b) {
        const BlockInfo info = b < blockCount() ? m_infos[b] : BlockInfo{0x01, 0, 0};
        wanted.behaviours.push_back(info.behaviour);
        wanted.behaviours.push_back(info.background);
    }
    return wanted;
}

}  // namespace quillon::mkdemo
