#pragma once

#include <cstdint>
#include <vector>

#include "tools/mkdemo/outdoor_art.h"
#include "tools/mkdemo/tileset_art.h"

namespace quillon::mkdemo {

// A building as blocks, row by row, and the column of its door in the bottom row.
struct Building {
    int width = 0, height = 0;
    int doorColumn = 0;
    std::vector<std::uint16_t> blocks;
};

// The town secondary tileset: houses and a larger hall drawn over the primary's grass.
class TownArt {
public:
    explicit TownArt(OutdoorArt& outdoor);

    TilesetArt& tiles() { return m_art; }
    Building redHouse();
    Building blueHouse();
    Building hall();  // 7 x 5 with a sign over the door
    std::uint16_t mailbox();

private:
    Building building(const char* name, int width, int height, int palette, bool hall);

    OutdoorArt& m_outdoor;
    TilesetArt m_art;
};

}  // namespace quillon::mkdemo
