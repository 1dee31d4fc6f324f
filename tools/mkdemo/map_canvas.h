#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tools/mkdemo/outdoor_art.h"

namespace quillon::mkdemo {

enum class Ground : std::uint8_t { Grass, TallGrass, Path, Water, Flowers, Bridge };

// A map being laid out: the ground of every cell, and blocks placed on top of it (trees,
// buildings, furniture). Grounds become blocks at the end, paths and water with their banks
// matched to the neighbours; a cell off the map counts as its nearest cell on the map.
class MapCanvas {
public:
    MapCanvas(int width, int height, Ground fill = Ground::Grass);

    int width() const { return m_width; }
    int height() const { return m_height; }
    void ground(int x, int y, int w, int h, Ground g, int variant = 0);
    Ground groundAt(int x, int y) const;
    void put(int x, int y, std::uint16_t block, std::optional<std::uint8_t> movement = {});
    // Blocks of a w-wide stamp, row by row, with (x, y) as the top left.
    void put(int x, int y, int w, const std::vector<std::uint16_t>& blocks);
    bool placed(int x, int y) const;

    // The block grid: block | movement << 10. info gives a block's movement value; ground
    // cells are drawn by art (which may be null when every cell has a block).
    std::vector<std::uint16_t> grid(OutdoorArt* art,
                                    const std::function<BlockInfo(std::uint16_t)>& info) const;

private:
    struct Cell {
        Ground ground = Ground::Grass;
        int variant = 0;
        std::optional<std::uint16_t> block;
        std::optional<std::uint8_t> movement;
    };
    const Cell& cell(int x, int y) const;
    bool sameGround(int x, int y, Ground g) const;
    unsigned edges(int x, int y, Ground g) const;
    std::uint16_t groundBlock(OutdoorArt& art, int x, int y) const;

    int m_width;
    int m_height;
    std::vector<Cell> m_cells;
};

}  // namespace quillon::mkdemo
