#include "tools/mkdemo/interior_art.h"

#include <string>

#include "tools/mkdemo/outdoor_art.h"
#include "tools/mkdemo/palettes.h"

namespace quillon::mkdemo {

namespace {

Canvas wallpaper(int width) {
    Canvas c(width, 16, ink::kPaper);
    for (int x = 0; x < width; x += 4) {
        c.vline(x, 0, 15, ink::kPaperLight);
    }
    for (int x = 2; x < width; x += 8) {
        c.set(x, 7, ink::kPaperDark);
        c.set(x + 4, 13, ink::kPaperDark);
    }
    return c;
}

Canvas wallTopCanvas(int width) {
    Canvas c = wallpaper(width);
    c.hline(0, width - 1, 0, ink::kRoomLine);
    c.hline(0, width - 1, 1, ink::kSkirting);
    c.hline(0, width - 1, 2, ink::kSkirting);
    c.hline(0, width - 1, 3, ink::kPaperDark);
    return c;
}

Canvas wallBottomCanvas() {
    Canvas c = wallpaper(16);
    c.hline(0, 15, 10, ink::kPaperDark);
    c.fill(0, 11, 16, 4, ink::kSkirting);
    c.hline(0, 15, 11, ink::kFloorLight);
    c.hline(0, 15, 15, ink::kRoomLine);
    return c;
}

Canvas floorCanvas(int width, bool shaded) {
    Canvas c(width, 16, ink::kFloor);
    for (int row = 0; row < 4; ++row) {
        const int y = 4 * row;
        c.hline(0, width - 1, y, ink::kFloorLight);
        c.hline(0, width - 1, y + 3, ink::kFloorDark);
        for (int x = (row * 5 + 3) % 8; x < width; x += 8) {
            c.vline(x, y, y + 2, ink::kFloorDark);
        }
    }
    if (shaded) {
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < width; ++x) {
                c.set(x, y,
                      y == 2 && c.at(x, y) == ink::kFloorLight ? ink::kFloor : ink::kFloorDark);
            }
        }
    }
    return c;
}

}  // namespace

InteriorArt::InteriorArt() : m_rooms(0, 512, 0, 512), m_furniture(512, 512, 512, 512) {
    // Block 0: the black outside of the room, which is also the map border.
    room("void", Canvas(16, 16, ink::kVoid), {kBlocked, 0, 0});
}

std::uint16_t InteriorArt::room(const char* name, const Canvas& art, BlockInfo info) {
    if (auto b = m_rooms.find(name)) {
        return *b;
    }
    return m_rooms.block(name, m_rooms.layer(art, kRoomPalette), kEmptyLayer, info);
}

std::uint16_t InteriorArt::wallTop() {
    return room("walltop", wallTopCanvas(16), {kBlocked, 0, 0});
}

std::uint16_t InteriorArt::wallBottom() {
    return room("wallbottom", wallBottomCanvas(), {kBlocked, 0, 0});
}

std::uint16_t InteriorArt::floor(bool shaded) {
    return room(shaded ? "floorshade" : "floor", floorCanvas(16, shaded), {kWalk, 0, 0});
}

std::uint16_t InteriorArt::window(int half) {
    Canvas c = wallTopCanvas(32);
    paint(c, 4, 3,
          {"ffffffffffffffffffffffff", "fppppppppppffppppppppppf", "fpPPpppppppffpPPpppppppf",
           "fppPPppppppffppPPppppppf", "fpppPPpppppffpppPPpppppf", "fppppppppppffppppppppppf",
           "fppppppppppffppppppppppf", "fpppppppPPpffpppppppPPpf", "fppppppPPppffppppppPPppf",
           "ffffffffffffffffffffffff", " ssssssssssssssssssssss"},
          {{'f', ink::kFrame}, {'p', ink::kPane}, {'P', ink::kPaneLight}, {'s', ink::kSkirting}});
    const std::string key = "window:" + std::to_string(half);
    if (auto b = m_rooms.find(key)) {
        return *b;
    }
    const std::uint16_t left = m_rooms.block("window:0", m_rooms.layer(c, kRoomPalette, 0, 0),
                                             kEmptyLayer, {kBlocked, 0, 0});
    const std::uint16_t right = m_rooms.block("window:1", m_rooms.layer(c, kRoomPalette, 16, 0),
                                              kEmptyLayer, {kBlocked, 0, 0});
    return half == 0 ? left : right;
}

std::uint16_t InteriorArt::mat(int half) {
    Canvas c = floorCanvas(32, false);
    c.fill(3, 3, 26, 11, ink::kMatDark);
    c.fill(4, 4, 24, 9, ink::kMat);
    for (int x = 6; x < 26; x += 3) {
        c.vline(x, 6, 10, ink::kMatLight);
    }
    const std::uint16_t left = m_rooms.block("mat:0", m_rooms.layer(c, kRoomPalette, 0, 0),
                                             kEmptyLayer, {kWalk, kBehaviourSouthWarp, 0});
    const std::uint16_t right = m_rooms.block("mat:1", m_rooms.layer(c, kRoomPalette, 16, 0),
                                              kEmptyLayer, {kWalk, kBehaviourSouthWarp, 0});
    return half == 0 ? left : right;
}

std::uint16_t InteriorArt::clock() {
    Canvas c = wallTopCanvas(16);
    c.ellipse(8, 9, 5, 5, ink::kRoomLine);
    c.ellipse(8, 9, 4, 4, ink::kFrame);
    c.vline(8, 6, 9, ink::kRoomLine);
    c.hline(8, 10, 9, ink::kRoomLine);
    return room("clock", c, {kBlocked, 0, 0});
}

Piece InteriorArt::piece(const char* name, const Canvas& art, int palette,
                         const std::vector<Layer>& lowers, BlockInfo info) {
    Piece p{art.width() / 16, art.height() / 16, {}};
    for (int by = 0; by < p.height; ++by) {
        for (int bx = 0; bx < p.width; ++bx) {
            const std::string key =
                std::string(name) + ":" + std::to_string(bx) + "," + std::to_string(by);
            const Layer upper = m_furniture.layer(art, palette, 16 * bx, 16 * by);
            p.blocks.push_back(m_furniture.block(key, lowers[by * p.width + bx], upper, info));
        }
    }
    return p;
}

}  // namespace quillon::mkdemo
