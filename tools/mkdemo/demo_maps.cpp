#include "tools/mkdemo/demo_maps.h"

namespace quillon::mkdemo {

// Weather, map type and music values of the headers.
namespace {
constexpr std::uint8_t kSunny = 0x02, kShade = 0x0B;
constexpr std::uint8_t kTownType = 0x01, kRouteType = 0x03;

struct Painter {
    MapCanvas& map;
    OutdoorArt& art;

    void tree(int x, int y) {
        for (int q = 0; q < 4; ++q) {
            map.put(x + q % 2, y + q / 2, art.tree(q));
        }
    }
    // Trees on a grid of 2 x 2 cells filling the rectangle.
    void trees(int x, int y, int w, int h) {
        for (int j = y; j + 1 < y + h; j += 2) {
            for (int i = x; i + 1 < x + w; i += 2) {
                tree(i, j);
            }
        }
    }
    void fenceAlong(int x0, int x1, int y) {
        for (int x = x0; x <= x1; ++x) {
            map.put(x, y, art.fence(x == x0 || x == x1 ? 2 : 0));
        }
    }
    void fenceAcross(int x, int y0, int y1) {
        for (int y = y0; y <= y1; ++y) {
            map.put(x, y, art.fence(y == y1 ? 2 : 1));
        }
    }
    void path(int x, int y, int w, int h) { map.ground(x, y, w, h, Ground::Path); }
};

MapCanvas quillonTown(DemoArt& art) {
    MapCanvas m(30, 24);
    Painter p{m, art.outdoor};
    p.path(14, 0, 2, 8);
    p.path(0, 8, 30, 2);
    p.path(14, 19, 2, 5);
    p.path(6, 7, 1, 1);
    p.path(23, 7, 1, 1);
    p.path(19, 10, 2, 9);
    p.path(9, 17, 10, 2);
    m.ground(22, 12, 6, 7, Ground::Water);
    m.ground(3, 18, 5, 2, Ground::Flowers, 1);
    m.ground(9, 4, 1, 2, Ground::Flowers, 2);
    m.ground(19, 4, 1, 2, Ground::Flowers, 0);
    m.ground(11, 11, 2, 1, Ground::Flowers, 0);
    m.ground(16, 11, 2, 1, Ground::Flowers, 2);
    p.trees(0, 0, 14, 2);
    p.trees(16, 0, 14, 2);
    p.trees(0, 22, 14, 2);
    p.trees(16, 22, 14, 2);
    p.trees(0, 2, 2, 6);
    p.trees(0, 10, 2, 12);
    p.trees(28, 2, 2, 6);
    p.trees(28, 10, 2, 12);
    p.tree(2, 12);
    p.tree(24, 19);
    m.put(4, 3, 5, art.town.redHouse().blocks);
    m.put(21, 3, 5, art.town.blueHouse().blocks);
    m.put(11, 12, 7, art.town.hall().blocks);
    m.put(9, 6, art.town.mailbox());
    m.put(20, 6, art.town.mailbox());
    m.put(16, 4, art.outdoor.sign());
    m.put(21, 16, art.outdoor.sign());
    p.fenceAlong(2, 8, 16);
    p.fenceAcross(2, 17, 20);
    p.fenceAcross(8, 17, 20);
    m.put(26, 10, art.outdoor.rock());
    m.put(4, 11, art.outdoor.rock());
    return m;
}

MapCanvas route1(DemoArt& art) {
    MapCanvas m(20, 40);
    Painter p{m, art.outdoor};
    p.path(9, 32, 2, 8);
    p.path(6, 30, 5, 2);
    p.path(6, 20, 2, 10);
    p.path(6, 18, 7, 2);
    p.path(11, 8, 2, 10);
    p.path(9, 6, 4, 2);
    p.path(9, 0, 2, 6);
    m.ground(12, 26, 4, 8, Ground::TallGrass);
    m.ground(4, 9, 6, 8, Ground::TallGrass);
    m.ground(13, 3, 3, 9, Ground::TallGrass);
    m.ground(12, 20, 4, 4, Ground::Water);
    m.ground(4, 4, 2, 3, Ground::Flowers, 0);
    m.ground(13, 16, 3, 2, Ground::Flowers, 2);
    m.ground(8, 26, 3, 2, Ground::Flowers, 1);
    p.trees(0, 0, 4, 40);
    p.trees(16, 0, 4, 40);
    p.trees(4, 0, 4, 2);
    p.trees(12, 0, 4, 2);
    p.tree(4, 34);
    p.tree(13, 35);
    p.tree(8, 12);
    p.fenceAcross(8, 21, 24);
    m.put(11, 37, art.outdoor.sign());
    m.put(5, 28, art.outdoor.rock());
    m.put(14, 14, art.outdoor.rock());
    return m;
}

MapCanvas route2(DemoArt& art) {
    MapCanvas m(60, 40);
    Painter p{m, art.outdoor};
    m.ground(28, 0, 4, 40, Ground::Water);
    m.ground(32, 30, 5, 6, Ground::Water);
    m.ground(28, 18, 4, 2, Ground::Bridge);
    p.path(0, 18, 28, 2);
    p.path(32, 18, 9, 2);
    p.path(39, 10, 2, 8);
    p.path(39, 10, 21, 2);
    m.ground(6, 6, 11, 8, Ground::TallGrass);
    m.ground(10, 23, 13, 9, Ground::TallGrass);
    m.ground(42, 20, 11, 11, Ground::TallGrass);
    m.ground(46, 4, 10, 5, Ground::TallGrass);
    m.ground(3, 22, 3, 3, Ground::Flowers, 1);
    m.ground(44, 13, 3, 3, Ground::Flowers, 0);
    m.ground(24, 14, 3, 2, Ground::Flowers, 2);
    p.trees(0, 0, 28, 4);
    p.trees(32, 0, 28, 4);
    p.trees(0, 36, 28, 4);
    p.trees(32, 36, 28, 4);
    p.trees(0, 4, 2, 14);
    p.trees(0, 20, 2, 16);
    p.trees(58, 4, 2, 6);
    p.trees(58, 12, 2, 24);
    p.trees(20, 6, 6, 6);
    p.trees(50, 14, 6, 4);
    p.trees(34, 24, 4, 4);
    p.fenceAlong(4, 12, 16);
    p.fenceAlong(42, 50, 13);
    m.put(26, 16, art.outdoor.sign());
    m.put(3, 16, art.outdoor.sign());
    for (const auto& [x, y] : {std::pair{18, 15}, {36, 21}, {54, 33}, {8, 33}, {44, 33}}) {
        m.put(x, y, art.outdoor.rock());
    }
    return m;
}

// The wood: trees everywhere but in the clearings and along the paths.
MapCanvas whisperWoods(DemoArt& art) {
    MapCanvas m(24, 20);
    Painter p{m, art.outdoor};
    std::vector<bool> open(24 * 20, false);
    const auto clear = [&](int x, int y, int w, int h) {
        for (int j = y; j < y + h; ++j) {
            for (int i = x; i < x + w; ++i) {
                open[j * 24 + i] = true;
            }
        }
    };
    clear(11, 13, 2, 7);
    clear(6, 6, 12, 8);
    clear(15, 0, 2, 6);
    clear(2, 9, 4, 6);
    p.path(11, 13, 2, 7);
    p.path(15, 0, 2, 6);
    p.path(12, 10, 5, 3);
    p.path(15, 6, 2, 4);
    m.ground(7, 7, 5, 4, Ground::TallGrass);
    m.ground(2, 10, 3, 4, Ground::Water);
    m.ground(12, 7, 3, 2, Ground::Flowers, 2);
    m.ground(6, 12, 3, 1, Ground::Flowers, 0);
    for (int y = 0; y + 1 < 20; y += 2) {
        for (int x = 0; x + 1 < 24; x += 2) {
            if (!open[y * 24 + x] && !open[y * 24 + x + 1] && !open[(y + 1) * 24 + x] &&
                !open[(y + 1) * 24 + x + 1]) {
                p.tree(x, y);
            }
        }
    }
    m.put(13, 15, art.outdoor.sign());
    m.put(9, 12, art.outdoor.rock());
    return m;
}

// West of the town: a pond, tall grass and the path in from the town.
MapCanvas lakeside(DemoArt& art) {
    MapCanvas m(20, 20);
    Painter p{m, art.outdoor};
    p.path(6, 8, 14, 2);
    p.path(6, 10, 2, 3);
    m.ground(3, 13, 8, 4, Ground::Water);
    m.ground(12, 11, 5, 5, Ground::TallGrass);
    m.ground(3, 3, 4, 2, Ground::Flowers, 1);
    m.ground(12, 4, 3, 2, Ground::Flowers, 2);
    p.trees(0, 0, 20, 2);
    p.trees(0, 18, 20, 2);
    p.trees(0, 2, 2, 16);
    p.trees(18, 2, 2, 6);
    p.trees(18, 10, 2, 8);
    p.tree(8, 3);
    p.tree(15, 4);
    m.put(12, 7, art.outdoor.sign());
    m.put(10, 11, art.outdoor.rock());
    return m;
}

// Connection records: direction (1 down, 2 up, 3 left, 4 right), offset along the edge, bank
// and map. Each town exit meets its neighbour's path: route 1's south path (x 9) above the
// town's north one (x 14), route 2's west path (y 18) beside the town's east one (y 8), the
// wood's north path (x 15) below the town's south one (x 14), the lakeside's east path level
// with the town's west one.
std::vector<Connection> links(std::initializer_list<Connection> records) { return records; }

}  // namespace

MapCanvas playerHouse(DemoArt& art);
MapCanvas neighbourHouse(DemoArt& art);

std::vector<std::string> demoMapNames() {
    return {"QUILLON TOWN", "ROUTE 1", "ROUTE 2", "WHISPER WOODS", "LAKESIDE"};
}

std::vector<DemoMap> demoMaps(DemoArt& art) {
    std::vector<DemoMap> maps;
    maps.push_back({0, 0, "QUILLON TOWN", quillonTown(art), Pair::Outdoor, kSunny, kTownType, 1, 0x0170,
                    links({{2, 5, 0, 1}, {4, -10, 0, 2}, {1, -1, 0, 3}, {3, 0, 0, 4}})});
    maps.push_back({0, 1, "ROUTE 1", route1(art), Pair::Outdoor, kSunny, kRouteType, 1, 0x0171,
                    links({{1, -5, 0, 0}, {4, 0, 0, 2}})});
    maps.push_back({0, 2, "ROUTE 2", route2(art), Pair::Outdoor, kSunny, kRouteType, 1, 0x0172,
                    links({{3, 10, 0, 0}})});
    maps.push_back({0, 3, "WHISPER WOODS", whisperWoods(art), Pair::Outdoor, kShade, kRouteType, 1,
                    0x0173, links({{2, 1, 0, 0}})});
    maps.push_back({0, 4, "LAKESIDE", lakeside(art), Pair::Outdoor, kSunny, kRouteType, 1, 0x0175,
                    links({{4, 0, 0, 0}})});
    maps.push_back({1, 0, "QUILLON TOWN", playerHouse(art), Pair::Indoor, 0, 0x08, 0, 0x0174});
    maps.push_back({1, 1, "QUILLON TOWN", neighbourHouse(art), Pair::Indoor, 0, 0x08, 0, 0x0174});
    return maps;
}

}  // namespace quillon::mkdemo
