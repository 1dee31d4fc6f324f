#include "tools/mkdemo/town_art.h"

#include <string>
#include <vector>

#include "tools/mkdemo/palettes.h"

namespace quillon::mkdemo {

namespace {

// Shingled roof from y = top to y = bottom, rounded at the upper corners.
void drawRoof(Canvas& c, int left, int right, int top, int bottom) {
    c.fill(left, top, right - left + 1, bottom - top + 1, ink::kRoof);
    for (int i = 0; i < 3; ++i) {  // round the upper corners
        c.hline(left, left + 2 - i, top + i, 0);
        c.hline(right - 2 + i, right, top + i, 0);
    }
    c.hline(left + 3, right - 3, top, ink::kRoofShine);
    c.hline(left + 2, right - 2, top + 1, ink::kRoofLight);
    for (int row = 0, y = top + 5; y < bottom - 2; ++row, y += 5) {
        c.hline(left, right, y, ink::kRoofDark);
        c.hline(left + 1, right - 1, y + 1, ink::kRoofLight);
        for (int x = left + 3 + (row % 2) * 4; x < right - 1; x += 8) {
            c.vline(x, y + 2, y + 4, ink::kRoofDark);
        }
    }
    c.fill(right - 2, top + 3, 2, bottom - top - 3, ink::kRoofDark);
    c.vline(left + 1, top + 3, bottom - 2, ink::kRoofLight);
    c.hline(left, right, bottom - 1, ink::kRoofDark);
    c.hline(left, right, bottom, ink::kHouseLine);
}

void drawWindow(Canvas& c, int x, int y) {
    paint(c, x, y,
          {"tttttttttttttt", "tgggggtggggggt", "tGGgggtGGggggt", "tgGGggtggGGggt", "tggGGgtgggGGgt",
           "tttttttttttttt", "tgggggtggggggt", "tggggGtggggGGt", "tgggGGtgggGGgt", "tttttttttttttt",
           "  bbbbbbbbbb"},
          {{'t', ink::kTrim}, {'g', ink::kGlass}, {'G', ink::kGlassLight}, {'b', ink::kWallDark}});
}

void drawDoor(Canvas& c, int x, int y) {
    paint(c, x, y,
          {"tttttttttttt", "tddddddddddt", "tdDDDddDDDdt", "tdDDDddDDDdt", "tdDDDddDDDdt",
           "tddddddddddt", "tdDDDddDDDdt", "tdDDDddDDkdt", "tdDDDddDDDdt", "tdDDDddDDDdt",
           "tddddddddddt", "tdDDDddDDDdt", "tdDDDddDDDdt", "tddddddddddt", "wwwwwwwwwwww"},
          {{'t', ink::kTrim},
           {'d', ink::kDoorDark},
           {'D', ink::kDoor},
           {'k', ink::kRoofShine},
           {'w', ink::kWallDark}});
}

Canvas buildingCanvas(int width, int height, bool hall) {
    const int w = 16 * width, h = 16 * height;
    const int roofBottom = hall ? 40 : 34;
    Canvas c(w, h);
    // Walls: siding lines, the eave's shadow under the roof, a darker base.
    c.fill(4, roofBottom, w - 8, h - roofBottom, ink::kWallLight);
    for (int y = roofBottom + 4; y < h - 2; y += 4) {
        c.hline(4, w - 5, y, ink::kWall);
    }
    c.hline(4, w - 5, roofBottom + 1, ink::kWallDark);
    c.fill(4, h - 2, w - 8, 2, ink::kWallDark);
    c.fill(w - 8, roofBottom + 1, 4, h - roofBottom - 1, ink::kWall);
    drawRoof(c, 1, w - 2, 5, roofBottom);
    // Chimney above the right half of the roof.
    paint(c, w - 26, 0,
          {"hhhhhhhh", "hbbbbbbh", "hBBBBBBh", "hBbBBbBh", "hBBBBBBh", "hBBbBBbh", "hBBBBBBh",
           "hBbBBbBh", "hhhhhhhh"},
          {{'h', ink::kHouseLine}, {'B', ink::kBrick}, {'b', ink::kRoofDark}});
    const int doorColumn = width / 2;
    drawDoor(c, 16 * doorColumn + 2, h - 15);
    const std::vector<int> windows =
        hall ? std::vector<int>{10, 28, w - 42, w - 24} : std::vector<int>{10, w - 24};
    for (int x : windows) {
        drawWindow(c, x, h - 22);
    }
    if (hall) {
        paint(c, 16 * doorColumn - 4, roofBottom + 3,
              {"tttttttttttttttttttttttt", "tRRRRRRRRRRRRRRRRRRRRRRt", "tRkkRkRRkRkkRkRkkRRkkRRt",
               "tRRRRRRRRRRRRRRRRRRRRRRt", "tttttttttttttttttttttttt"},
              {{'t', ink::kTrim}, {'R', ink::kRoofDark}, {'k', ink::kRoofShine}});
    }
    c.outline(ink::kHouseLine);
    return c;
}

}  // namespace

TownArt::TownArt(OutdoorArt& outdoor) : m_outdoor(outdoor), m_art(512, 512, 512, 512) {}

Building TownArt::building(const char* name, int width, int height, int palette, bool hall) {
    Building result{width, height, width / 2, {}};
    const Canvas c = buildingCanvas(width, height, hall);
    const Layer grass = m_outdoor.grassLayer();
    for (int by = 0; by < height; ++by) {
        for (int bx = 0; bx < width; ++bx) {
            const bool door = by == height - 1 && bx == result.doorColumn;
            const BlockInfo info =
                door ? BlockInfo{kWalk, kBehaviourDoor, 0}
                     : BlockInfo{kBlocked, 0, by < 2 ? kCovered : std::uint8_t{0}};
            const std::string key =
                std::string(name) + ":" + std::to_string(bx) + "," + std::to_string(by);
            result.blocks.push_back(
                m_art.block(key, grass, m_art.layer(c, palette, 16 * bx, 16 * by), info));
        }
    }
    return result;
}

Building TownArt::redHouse() { return building("redhouse", 5, 4, kRedHousePalette, false); }

Building TownArt::blueHouse() { return building("bluehouse", 5, 4, kBlueHousePalette, false); }

Building TownArt::hall() { return building("hall", 7, 5, kTealHousePalette, true); }

std::uint16_t TownArt::mailbox() {
    if (auto b = m_art.find("mailbox")) {
        return *b;
    }
    Canvas c(16, 16);
    paint(c, 3, 2,
          {"  hhhhhh", " hRRRRRRh", "hRrrrrrRRh", "hRrRRRRrRh", "hRRRRRRRRh", "hRRRRRRRRh",
           " hhhhhhhh", "    hDh", "    hDh", "    hDh", "   hhDhh", "  eeeeeee"},
          {{'h', ink::kHouseLine},
           {'R', ink::kRoof},
           {'r', ink::kRoofShine},
           {'D', ink::kDoorDark},
           {'e', ink::kEaveShadow}});
    return m_art.block("mailbox", m_outdoor.grassLayer(), m_art.layer(c, kRedHousePalette),
                       {kBlocked, 0, 0});
}

}  // namespace quillon::mkdemo
