#include "tools/mkdemo/outdoor_art.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/mkdemo/palettes.h"

namespace quillon::mkdemo {

namespace {

// Grass drawn with letters: '.' grass, 'l' light, 'd' dark, 'D' deepest.
struct GrassInks {
    std::uint8_t grass, light, dark, deep;
};
constexpr GrassInks kTerrainGrass{ink::kGrass, ink::kGrassLight, ink::kGrassDark, ink::kGrassDeep};
// The water palette repeats the grass colours at 9 to 11 for the shores.
constexpr GrassInks kShoreGrass{10, 9, 11, 11};

Canvas grassCanvas(int variant, const GrassInks& g) {
    Canvas c(16, 16, g.grass);
    const std::initializer_list<Ink> inks{{'l', g.light}, {'d', g.dark}, {'D', g.deep}};
    if (variant == 0 || variant == 3) {
        paint(c, 0, 0,
              {"", "", "   l", "  l l", "           l", "          l l", "", "", "", "      l",
               "     l l", "", "             l", "            l l"},
              inks);
    }
    if (variant == 1 || variant == 2) {
        paint(c, variant == 1 ? 3 : 8, variant == 1 ? 4 : 8,
              {" l   l", "ld l dl", "dDldlDd", " dDdDd"}, inks);
    }
    if (variant == 2) {
        paint(c, 1, 1, {" l", "ldl", "dDd"}, inks);
    }
    if (variant == 3) {
        paint(c, 0, 0, {"", "", "", "", "", "", "", "  dd", "", "", "", "         dd"}, inks);
    }
    return c;
}

// How far a bank reaches into the cell at position t along its side: 2 to 4 pixels.
double bankDepth(int t) {
    static constexpr int kWobble[16] = {3, 3, 4, 4, 3, 2, 3, 3, 4, 3, 3, 2, 3, 4, 4, 3};
    return kWobble[t & 15];
}

double sideDistance(double px, double py, unsigned edges) {
    double d = 99;
    if (edges & kNorth) {
        d = std::min(d, py - bankDepth(static_cast<int>(px)));
    }
    if (edges & kSouth) {
        d = std::min(d, (16 - py) - bankDepth(static_cast<int>(px) + 5));
    }
    if (edges & kWest) {
        d = std::min(d, px - bankDepth(static_cast<int>(py) + 9));
    }
    if (edges & kEast) {
        d = std::min(d, (16 - px) - bankDepth(static_cast<int>(py) + 2));
    }
    return d;
}

double cornerDistance(double px, double py, unsigned edges) {
    struct Corner {
        unsigned bits;  // a lone corner, or the two sides that meet there
        double cx, cy;
    };
    double d = 99;
    // A differing corner cell bites a quarter circle out of the cell.
    for (const Corner& k : {Corner{kNorthEast, 16, 0}, Corner{kSouthEast, 16, 16},
                            Corner{kSouthWest, 0, 16}, Corner{kNorthWest, 0, 0}}) {
        if (edges & k.bits) {
            d = std::min(d, std::hypot(px - k.cx, py - k.cy) - 4.0);
        }
    }
    // Two differing sides meet in a rounded outer corner.
    for (const Corner& k : {Corner{kNorth | kEast, 9, 7}, Corner{kSouth | kEast, 9, 9},
                            Corner{kSouth | kWest, 7, 9}, Corner{kNorth | kWest, 7, 7}}) {
        const bool inQuarter = (px - 8) * (k.cx - 8) > 0 && (py - 8) * (k.cy - 8) > 0;
        if ((edges & k.bits) == k.bits && inQuarter) {
            d = std::min(d, 7.0 - std::hypot(px - k.cx, py - k.cy));
        }
    }
    return d;
}

// Distance from a pixel to the nearest differing neighbour ground; negative inside it.
double edgeDistance(int x, int y, unsigned edges) {
    const double px = x + 0.5, py = y + 0.5;
    return std::min(sideDistance(px, py, edges), cornerDistance(px, py, edges));
}

Canvas sandCanvas() {
    Canvas c(16, 16, ink::kSand);
    paint(c, 0, 0,
          {"", "  l        l", "", "       p", "             l", "    l", "", "          p", "  l",
           "", "        l", "", "   p         l", "", "       l"},
          {{'l', ink::kSandLight}, {'p', ink::kSandDark}});
    return c;
}

Canvas waterCanvas() {
    Canvas c(16, 16, ink::kWater);
    paint(c, 0, 0,
          {"", "", "  lll", " l   l", "", "          lll", "         l   l", "", "", "", "   lll",
           "  l   l", "", "", "            ll", "           l  l"},
          {{'l', ink::kWaterLight}});
    return c;
}

// Ground with banks: the neighbour's grass where d < 0, then rim bands, then the ground.
struct Bands {
    std::uint8_t rim, inner, foam;
};

Canvas banked(const Canvas& ground, const Canvas& grass, unsigned edges, const Bands& b,
              bool wide) {
    Canvas c = ground;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const double d = edgeDistance(x, y, edges);
            if (d < 0) {
                c.set(x, y, grass.at(x, y));
            } else if (d < 1) {
                c.set(x, y, b.rim);
            } else if (wide && d < 3) {
                c.set(x, y, d < 2 ? b.inner : b.foam);
            } else if (d < 2 && !wide) {
                c.set(x, y, b.inner);
            } else if (wide && d < 4) {
                c.set(x, y, b.foam);
            }
        }
    }
    return c;
}

std::string edgeKey(const char* kind, unsigned edges) {
    return std::string(kind) + ":" + std::to_string(edges);
}

// Bank pieces a user needs to paint paths and ponds by hand: the middle, the sides and outer
// corners clockwise from the top left, the inner corners, the narrow pieces, a single cell.
constexpr unsigned kHandPaintedBanks[] = {0,
                                          kNorth | kWest,
                                          kNorth,
                                          kNorth | kEast,
                                          kNorthWest,
                                          kNorthEast,
                                          kWest,
                                          kEast,
                                          kSouth | kWest,
                                          kSouth,
                                          kSouth | kEast,
                                          kSouthWest,
                                          kSouthEast,
                                          kNorth | kSouth,
                                          kEast | kWest,
                                          kNorth | kEast | kSouth | kWest};

}  // namespace

OutdoorArt::OutdoorArt() : m_art(0, 512, 0, 512) {
    // The blocks a user paints by hand come first, in rows of eight as the block palette
    // shows them: block 0 is plain grass, trees keep their 2 x 2 shape. Banks the maps need
    // beyond these follow as the maps ask for them.
    for (int v = 0; v < 4; ++v) {
        grass(v);
    }
    tallGrass();
    for (int k = 0; k < 3; ++k) {
        flowers(k);
    }
    tree(0);
    tree(1);
    for (int k = 0; k < 3; ++k) {
        fence(k);
    }
    sign();
    rock();
    bridge();
    tree(2);
    tree(3);
    for (unsigned edges : kHandPaintedBanks) {
        path(edges);
    }
    for (unsigned edges : kHandPaintedBanks) {
        water(edges);
    }
}

Layer OutdoorArt::grassLayer() { return m_art.lowerOf(grass(0)); }

std::uint16_t OutdoorArt::grass(int variant) {
    const std::string key = "grass:" + std::to_string(variant);
    if (auto b = m_art.find(key)) {
        return *b;
    }
    const Layer lower = m_art.layer(grassCanvas(variant, kTerrainGrass), kTerrainPalette);
    return m_art.block(key, lower, kEmptyLayer);
}

std::uint16_t OutdoorArt::onGrass(const std::string& key, const Canvas& upper, BlockInfo info) {
    if (auto b = m_art.find(key)) {
        return *b;
    }
    const Layer lower = grassLayer();
    return m_art.block(key, lower, m_art.layer(upper, kTreePalette), info);
}

std::uint16_t OutdoorArt::tallGrass() {
    if (auto b = m_art.find("tallgrass")) {
        return *b;
    }
    Canvas c(16, 16, ink::kGrassDark);
    const std::initializer_list<std::string_view> clump = {"l   l   ", "gl lgl l", "dglgdglg",
                                                           "ddgdddgd", "Dddd Ddd", "DDdDDDdD",
                                                           " DDDD DD", "dD  dD  "};
    const std::initializer_list<Ink> inks{{'l', ink::kGrassLight},
                                          {'g', ink::kGrass},
                                          {'d', ink::kGrassDark},
                                          {'D', ink::kGrassDeep}};
    for (int y = 0; y < 16; y += 8) {
        for (int x = 0; x < 16; x += 8) {
            paint(c, x, y, clump, inks);
        }
    }
    const Layer lower = m_art.layer(c, kTerrainPalette);
    return m_art.block("tallgrass", lower, kEmptyLayer, {kWalk, kBehaviourTallGrass, 0});
}

std::uint16_t OutdoorArt::flowers(int kind) {
    const std::string key = "flowers:" + std::to_string(kind);
    if (auto b = m_art.find(key)) {
        return *b;
    }
    static constexpr std::uint8_t kPetals[3][2] = {
        {ink::kRed, ink::kWhite}, {ink::kYellow, ink::kWhite}, {ink::kPink, ink::kWhite}};
    Canvas c = grassCanvas(3, kTerrainGrass);
    const std::initializer_list<std::string_view> flower = {" p", "pcp", " p", " s"};
    const int spots[4][3] = {{2, 1, 0}, {10, 3, 1}, {5, 9, 1}, {12, 11, 0}};
    for (const auto& s : spots) {
        paint(c, s[0], s[1], flower,
              {{'p', kPetals[kind][s[2]]},
               {'c', s[2] == 0 ? ink::kYellow : ink::kOrange},
               {'s', ink::kGrassDark}});
    }
    return m_art.block(key, m_art.layer(c, kTerrainPalette), kEmptyLayer);
}

std::uint16_t OutdoorArt::path(unsigned edges) {
    const std::string key = edgeKey("path", edges);
    if (auto b = m_art.find(key)) {
        return *b;
    }
    const Canvas c = banked(sandCanvas(), grassCanvas(0, kTerrainGrass), edges,
                            {ink::kGrassDark, ink::kSandEdge, ink::kSandEdge}, false);
    return m_art.block(key, m_art.layer(c, kTerrainPalette), kEmptyLayer);
}

std::uint16_t OutdoorArt::water(unsigned edges) {
    const std::string key = edgeKey("water", edges);
    if (auto b = m_art.find(key)) {
        return *b;
    }
    const Canvas c = banked(waterCanvas(), grassCanvas(0, kShoreGrass), edges,
                            {ink::kShoreDark, ink::kShore, ink::kFoam}, true);
    return m_art.block(key, m_art.layer(c, kWaterPalette), kEmptyLayer, {kSurf, kBehaviourPond, 0});
}

}  // namespace quillon::mkdemo
