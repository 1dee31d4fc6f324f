#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "romkit/rom_builder.h"
#include "tools/mkdemo/canvas.h"

namespace quillon::mkdemo {

// The four tile entries of one layer of a block: top left, top right, bottom left, bottom right.
using Layer = std::array<std::uint16_t, 4>;
// A layer of tile 0 (the empty tile of the primary tileset): nothing drawn.
inline constexpr Layer kEmptyLayer{0, 0, 0, 0};

// What the maps need to know of a block besides its looks.
struct BlockInfo {
    std::uint8_t movement = 0x0C;  // walkable ground
    std::uint8_t behaviour = 0x00;
    std::uint8_t background = 0x00;
};

// One tileset as it is drawn: 8 x 8 tiles collected from canvases (a tile that equals a stored
// one, also mirrored, is shared) and blocks registered under names. Tile and block numbers are
// those of the whole tile and block space (a secondary tileset starts at 512 in both).
class TilesetArt {
public:
    TilesetArt(int firstTile, int tileCapacity, int firstBlock, int blockCapacity);

    // The tile entries for the 16 x 16 square at (x, y) of canvas in palette.
    Layer layer(const Canvas& canvas, int palette, int x = 0, int y = 0);
    // Registers a block under key, or returns the block already registered under it.
    std::uint16_t block(const std::string& key, const Layer& lower, const Layer& upper,
                        BlockInfo info = {});
    std::optional<std::uint16_t> find(const std::string& key) const;

    bool owns(std::uint16_t block) const;
    const BlockInfo& info(std::uint16_t block) const;
    Layer lowerOf(std::uint16_t block) const;
    int tileCount() const { return static_cast<int>(m_tiles.size()); }
    int blockCount() const { return static_cast<int>(m_blocks.size()); }

    // The tileset for the ROM, tiles and blocks padded to the full capacity (unused blocks draw
    // tile 0). Throws std::length_error when the art outgrew the capacity.
    romkit::TilesetSpec finish(bool compressed,
                               const std::vector<std::array<std::uint16_t, 16>>& palettes) const;

private:
    using TileBytes = std::array<std::uint8_t, 32>;
    std::uint16_t tileEntry(const Canvas& canvas, int x, int y, int palette);

    int m_firstTile;
    int m_tileCapacity;
    int m_firstBlock;
    int m_blockCapacity;
    std::vector<TileBytes> m_tiles;
    std::map<TileBytes, std::uint16_t> m_tileIndex;  // tile -> entry (number and mirror bits)
    std::vector<std::array<std::uint16_t, 8>> m_blocks;
    std::vector<BlockInfo> m_infos;
    std::map<std::string, std::uint16_t> m_names;
};

}  // namespace quillon::mkdemo
