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
              {"", "", "   l", "  l l", "           l", "          l l", "", "", "",
               "      l", "     l l", "", "             l", "            l l"},
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

// Distance from a pixel to the nearest differing neighbour ground; negative inside it.
double edgeDistance(int x, int y, unsigned edges) {
    double d = 99;
    const double px = x + 0.5, py = y + 0.5;
    if (edges & kNorth) d = std::min(d, py - bankDepth(x));
    if (edges & kSouth) d = std::min(d, (16 - py) - bankDepth(x + 5));
    if (edges & kWest) d = std::min(d, px - bankDepth(y + 9));
    if (edges & kEast) d = std::min(d, (16 - px) - bankDepth(y + 2));
    struct Corner {
        unsigned bit;
        double cx, cy;
    };
    for (const Corner& k : {Corner{kNorthEast, 16, 0}, Corner{kSouthEast, 16, 16},
                            Corner{kSouthWest, 0, 16}, Corner{kNorthWest, 0, 0}}) {
        if (edges & k.bit) {
            d = std::min(d, std::hypot(px - k.cx, py - k.cy) - 4.0);
        }
    }
    // Two sides meeting: round the outer corner.
    const struct {
        unsigned sides;
        double cx, cy;
    } outer[] = {{kNorth | kEast, 9, 7}, {kSouth | kEast, 9, 9}, {kSouth | kWest, 7, 9},
                 {kNorth | kWest, 7, 7}};
    for (const auto& o : outer) {
        if ((edges & o.sides) == o.sides && (px - 8) * (o.cx - 8) > 0 && (py - 8) * (o.cy - 8) > 0) {
            d = std::min(d, 8.5 - std::hypot(px - o.cx, py - o.cy) - 1.5);
        }
    }
    return d;
}

Canvas sandCanvas() {
    Canvas c(16, 16, ink::kSand);
    paint(c, 0, 0,
          {"", "  l        l", "", "       p", "             l", "    l", "", "          p",
           "  l", "", "        l", "", "   p         l", "", "       l"},
          {{'l', ink::kSandLight}, {'p', ink::kSandDark}});
    return c;
}

Canvas waterCanvas() {
    Canvas c(16, 16, ink::kWater);
    paint(c, 0, 0,
          {"", "", "  lll", " l   l", "", "          lll", "         l   l", "", "", "",
           "   lll", "  l   l", "", "", "            ll", "           l  l"},
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

}  // namespace

OutdoorArt::OutdoorArt() : m_art(0, 512, 0, 512) {
    // Block 0 is plain grass: the first block the editor shows and a safe default.
    grass(0);
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
    const std::initializer_list<std::string_view> clump = {
        "l   l   ", "gl lgl l", "dglgdglg", "ddgdddgd", "Dddd Ddd", "DDdDDDdD", " DDDD DD",
        "dD  dD  "};
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
    return m_art.block(key, m_art.layer(c, kWaterPalette), kEmptyLayer,
                       {kSurf, kBehaviourPond, 0});
}

}  // namespace quillon::mkdemo
