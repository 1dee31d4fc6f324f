#include <cstdlib>

#include "tools/mkdemo/interior_art.h"
#include "tools/mkdemo/outdoor_art.h"
#include "tools/mkdemo/palettes.h"

namespace quillon::mkdemo {

namespace {

const std::initializer_list<Ink> kWoodInks{
    {'o', ink::kFurnLine}, {'D', ink::kOakDark}, {'w', ink::kOak}, {'L', ink::kOakLight}};

Canvas bedCanvas() {
    Canvas c(16, 32);
    c.fill(1, 0, 14, 6, ink::kOakDark);
    c.hline(2, 13, 1, ink::kOak);
    c.hline(2, 13, 2, ink::kOakLight);
    c.fill(2, 6, 12, 22, ink::kLinen);
    c.fill(3, 7, 10, 4, ink::kLinenShade);
    c.fill(3, 7, 10, 3, ink::kLinen);
    c.fill(2, 12, 12, 15, ink::kCloth);
    c.fill(2, 12, 12, 3, ink::kClothLight);
    c.hline(2, 13, 15, ink::kClothDark);
    c.vline(13, 16, 26, ink::kClothDark);
    for (int y = 18; y < 26; y += 4) {
        c.hline(4, 11, y, ink::kClothLight);
    }
    c.fill(1, 27, 14, 4, ink::kOak);
    c.hline(1, 14, 27, ink::kOakLight);
    c.outline(ink::kFurnLine);
    return c;
}

Canvas tableCanvas() {
    Canvas c(32, 16);
    c.fill(1, 2, 30, 8, ink::kOak);
    c.hline(1, 30, 2, ink::kOakLight);
    c.fill(1, 10, 30, 2, ink::kOakDark);
    c.fill(3, 12, 2, 3, ink::kOakDark);
    c.fill(27, 12, 2, 3, ink::kOakDark);
    paint(c, 11, 3, {" LLLL", "LllllL", " LLLL"}, {{'L', ink::kLinenShade}, {'l', ink::kLinen}});
    paint(c, 21, 3, {" gg", "gGGg", " pp"},
          {{'g', ink::kPlantDark}, {'G', ink::kPlant}, {'p', ink::kPot}});
    c.outline(ink::kFurnLine);
    return c;
}

Canvas chairCanvas() {
    Canvas c(16, 16);
    paint(c, 4, 1,
          {"DDDDDDDD", "DwwwwwwD", "DDDDDDDD", "D      D", "LLLLLLLL", "LwwwwwwL", "wwwwwwww",
           "DDDDDDDD", "D      D", "D      D", "D      D"},
          kWoodInks);
    c.outline(ink::kFurnLine);
    return c;
}

Canvas bookshelfCanvas() {
    Canvas c(32, 32);
    c.fill(1, 1, 30, 30, ink::kOakDark);
    c.fill(2, 2, 28, 2, ink::kOak);
    static constexpr std::uint8_t kBooks[] = {ink::kBookBlue, ink::kCloth,    ink::kBookGreen,
                                              ink::kBookGold, ink::kBookBlue, ink::kBookGreen};
    int book = 0;
    for (int shelf = 0; shelf < 3; ++shelf) {
        const int top = 5 + 8 * shelf;
        c.fill(3, top, 26, 6, ink::kFurnLine);
        for (int x = 3; x < 29; x += 3) {
            const int height = 4 + (x * 7 + shelf) % 3;
            c.fill(x, top + 6 - height, 2, height, kBooks[book++ % 6]);
            c.set(x, top + 6 - height, ink::kLinen);
        }
        c.hline(2, 29, top + 6, ink::kOakLight);
    }
    c.outline(ink::kFurnLine);
    return c;
}

Canvas plantCanvas() {
    Canvas c(16, 32);
    c.ellipse(8, 10, 6, 8, ink::kPlantDark);
    c.ellipse(5, 13, 4, 5, ink::kPlant);
    c.ellipse(11, 9, 4, 5, ink::kPlant);
    c.ellipse(7, 5, 3, 4, ink::kPlant);
    c.ellipse(9, 16, 5, 4, ink::kPlantDark);
    c.ellipse(8, 15, 3, 3, ink::kPlant);
    paint(c, 3, 20,
          {"pppppppppp", "PPPPPPPPPP", " pppppppp", " pppppppp", " PPPPPPPP", "  pppppp",
           "  pppppp", "  pppppp"},
          {{'p', ink::kPot}, {'P', ink::kOakDark}});
    c.outline(ink::kFurnLine);
    return c;
}

Canvas screenCanvas() {
    Canvas c(16, 16);
    paint(c, 1, 1,
          {"mmmmmmmmmmmmmm", "mssssssssssssm", "msSSssssssssm", "msSssssssssssm", "mssssssssssssm",
           "msssssssssSSsm", "mssssssssssssm", "mmmmmmmmmmmmmm", "MMMMMMMMMMMMMM", "  MMMMMMMMMM",
           "  M        M", "  M        M"},
          {{'m', ink::kMetal},
           {'s', ink::kScreen},
           {'S', ink::kScreenLight},
           {'M', ink::kMetalDark}});
    c.outline(ink::kRugLine);
    return c;
}

Canvas rugCanvas() {
    Canvas c(48, 32, ink::kRugDark);
    c.fill(1, 1, 46, 30, ink::kRugTrim);
    c.fill(2, 2, 44, 28, ink::kRug);
    for (int y = 4; y < 28; ++y) {
        for (int x = 4; x < 44; ++x) {
            const int dx = std::abs(x - 24), dy = std::abs(y - 16) * 2;
            if (dx + dy == 16 || dx + dy == 8) {
                c.set(x, y, ink::kRugLight);
            }
        }
    }
    return c;
}

}  // namespace

Piece InteriorArt::bed() {
    const Layer f = m_rooms.lowerOf(floor(false));
    return piece("bed", bedCanvas(), kFurniturePalette, {m_rooms.lowerOf(floor(true)), f},
                 {kBlocked, 0, 0});
}

Piece InteriorArt::table() {
    const Layer f = m_rooms.lowerOf(floor(false));
    return piece("table", tableCanvas(), kFurniturePalette, {f, f}, {kBlocked, 0, 0});
}

Piece InteriorArt::chair() {
    return piece("chair", chairCanvas(), kFurniturePalette, {m_rooms.lowerOf(floor(false))},
                 {kBlocked, 0, 0});
}

Piece InteriorArt::bookshelf() {
    const Layer top = m_rooms.lowerOf(wallTop());
    const Layer bottom = m_rooms.lowerOf(wallBottom());
    return piece("bookshelf", bookshelfCanvas(), kFurniturePalette, {top, top, bottom, bottom},
                 {kBlocked, 0, 0});
}

Piece InteriorArt::plant() {
    return piece("plant", plantCanvas(), kFurniturePalette,
                 {m_rooms.lowerOf(floor(true)), m_rooms.lowerOf(floor(false))}, {kBlocked, 0, 0});
}

Piece InteriorArt::screen() {
    return piece("screen", screenCanvas(), kRugPalette, {m_rooms.lowerOf(floor(true))},
                 {kBlocked, 0, 0});
}

Piece InteriorArt::rug() {
    const Layer f = m_rooms.lowerOf(floor(false));
    return piece("rug", rugCanvas(), kRugPalette, {f, f, f, f, f, f}, {kWalk, 0, 0});
}

}  // namespace quillon::mkdemo
