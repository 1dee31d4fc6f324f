#include "tools/mkdemo/map_canvas.h"

#include <algorithm>
#include <stdexcept>

#include "core/map/block_grid.h"
#include "tools/mkdemo/canvas.h"

namespace quillon::mkdemo {

MapCanvas::MapCanvas(int width, int height, Ground fill)
    : m_width(width), m_height(height), m_cells(static_cast<std::size_t>(width) * height) {
    ground(0, 0, width, height, fill);
}

const MapCanvas::Cell& MapCanvas::cell(int x, int y) const {
    x = std::clamp(x, 0, m_width - 1);
    y = std::clamp(y, 0, m_height - 1);
    return m_cells[static_cast<std::size_t>(y) * m_width + x];
}

void MapCanvas::ground(int x, int y, int w, int h, Ground g, int variant) {
    for (int j = std::max(y, 0); j < std::min(y + h, m_height); ++j) {
        for (int i = std::max(x, 0); i < std::min(x + w, m_width); ++i) {
            Cell& c = m_cells[static_cast<std::size_t>(j) * m_width + i];
            c.ground = g;
            c.variant = variant;
        }
    }
}

Ground MapCanvas::groundAt(int x, int y) const { return cell(x, y).ground; }

void MapCanvas::put(int x, int y, std::uint16_t block, std::optional<std::uint8_t> movement) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    Cell& c = m_cells[static_cast<std::size_t>(y) * m_width + x];
    c.block = block;
    c.movement = movement;
}

void MapCanvas::put(int x, int y, int w, const std::vector<std::uint16_t>& blocks) {
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        put(x + static_cast<int>(i) % w, y + static_cast<int>(i) / w, blocks[i]);
    }
}

bool MapCanvas::placed(int x, int y) const { return cell(x, y).block.has_value(); }

bool MapCanvas::sameGround(int x, int y, Ground g) const {
    const Ground other = groundAt(x, y);
    if (other == g) {
        return true;
    }
    // A bridge continues both the water under it and the path that leads onto it.
    return other == Ground::Bridge && (g == Ground::Path || g == Ground::Water);
}

unsigned MapCanvas::edges(int x, int y, Ground g) const {
    unsigned e = 0;
    e |= sameGround(x, y - 1, g) ? 0 : kNorth;
    e |= sameGround(x + 1, y, g) ? 0 : kEast;
    e |= sameGround(x, y + 1, g) ? 0 : kSouth;
    e |= sameGround(x - 1, y, g) ? 0 : kWest;
    // A corner matters only where both sides next to it continue the ground.
    const struct {
        unsigned bit, sides;
        int dx, dy;
    } corners[] = {{kNorthEast, kNorth | kEast, 1, -1},
                   {kSouthEast, kSouth | kEast, 1, 1},
                   {kSouthWest, kSouth | kWest, -1, 1},
                   {kNorthWest, kNorth | kWest, -1, -1}};
    for (const auto& k : corners) {
        if ((e & k.sides) == 0 && !sameGround(x + k.dx, y + k.dy, g)) {
            e |= k.bit;
        }
    }
    return e;
}

std::uint16_t MapCanvas::groundBlock(OutdoorArt& art, int x, int y) const {
    const Cell& c = cell(x, y);
    switch (c.ground) {
        case Ground::TallGrass:
            return art.tallGrass();
        case Ground::Path:
            return art.path(edges(x, y, Ground::Path));
        case Ground::Water:
            return art.water(edges(x, y, Ground::Water));
        case Ground::Flowers:
            return art.flowers(c.variant);
        case Ground::Bridge:
            return art.bridge();
        case Ground::Grass:
            break;
    }
    const std::uint32_t h = cellHash(x, y, 7) % 100;
    return art.grass(h < 76 ? 0 : h < 84 ? 1 : h < 90 ? 2 : 3);
}

std::vector<std::uint16_t> MapCanvas::grid(
    OutdoorArt* art, const std::function<BlockInfo(std::uint16_t)>& info) const {
    std::vector<std::uint16_t> out;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const Cell& c = cell(x, y);
            if (!c.block && art == nullptr) {
                throw std::logic_error("a cell of an indoor map has no block");
            }
            const std::uint16_t block = c.block ? *c.block : groundBlock(*art, x, y);
            const std::uint8_t movement = c.movement ? *c.movement : info(block).movement;
            out.push_back(GridEntry{block}.withMovement(movement).raw);
        }
    }
    return out;
}

}  // namespace quillon::mkdemo
