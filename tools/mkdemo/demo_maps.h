#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/connections/connection_table.h"
#include "tools/mkdemo/interior_art.h"
#include "tools/mkdemo/map_canvas.h"
#include "tools/mkdemo/outdoor_art.h"
#include "tools/mkdemo/town_art.h"

namespace quillon::mkdemo {

// Every tileset of the demo, drawn as the maps ask for blocks.
struct DemoArt {
    OutdoorArt outdoor;
    TownArt town{outdoor};
    InteriorArt interior;
};

enum class Pair { Outdoor, Indoor };

// One map of the demo with everything its header needs.
struct DemoMap {
    int bank = 0, map = 0;
    std::string name;  // the map name it shows (index into the map names)
    MapCanvas canvas;
    Pair tilesets = Pair::Outdoor;
    std::uint8_t weather = 0, type = 0, showName = 0;
    std::uint16_t music = 0;
    std::optional<std::vector<Connection>> connections{};
};

// The seven maps: a town, two routes, a wood and a lakeside in bank 0, two houses in bank 1.
// The town joins the four outdoor maps at its edges, each with its way back; route 1 also
// names route 2 at its right edge, which has no way back.
std::vector<DemoMap> demoMaps(DemoArt& art);

// The map names in the order of their indices.
std::vector<std::string> demoMapNames();

}  // namespace quillon::mkdemo
