#include <cmath>
#include <string>

#include "tools/mkdemo/outdoor_art.h"
#include "tools/mkdemo/palettes.h"

namespace quillon::mkdemo {

namespace {

struct Clump {
    double cx, cy, r;
};

// A round leaf clump lit from the upper left, with a dark rim where it overlaps the clumps
// behind it.
void drawClump(Canvas& c, const Clump& k) {
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            const double dx = x + 0.5 - k.cx, dy = y + 0.5 - k.cy;
            const double dist = std::hypot(dx, dy);
            if (dist > k.r) {
                continue;
            }
            const double light = -(dx * 0.6 + dy * 0.8) / k.r;  // 1 toward the upper left
            std::uint8_t colour = ink::kLeaf;
            if (dist > k.r - 1.2 && light < 0.3) {
                colour = ink::kLeafDark;
            } else if (light > 0.55 && dist < k.r - 1.5) {
                colour = light > 0.75 && dist > k.r * 0.45 ? ink::kLeafShine : ink::kLeafLight;
            } else if (light < -0.45) {
                colour = ink::kLeafDark;
            }
            c.set(x, y, colour);
        }
    }
}

Canvas treeCanvas() {
    Canvas tree(32, 32);
    // Trunk first: the canopy hangs over its top.
    tree.fill(13, 20, 6, 9, ink::kTrunk);
    tree.vline(13, 20, 28, ink::kTrunkLight);
    tree.vline(17, 20, 28, ink::kTrunkDark);
    tree.vline(18, 20, 28, ink::kTrunkDark);
    tree.set(12, 28, ink::kTrunkDark);
    tree.set(19, 28, ink::kTrunkDark);
    for (const Clump& k : {Clump{16, 8.5, 8}, Clump{8.5, 12, 7}, Clump{23.5, 12, 7},
                           Clump{16, 14, 8.5}, Clump{10.5, 17.5, 6.5}, Clump{21.5, 17.5, 6.5}}) {
        drawClump(tree, k);
    }
    tree.outline(ink::kTreeLine);
    Canvas shadowed(32, 32);
    shadowed.ellipse(16, 29.5, 12, 2.8, ink::kShadow);
    shadowed.blit(tree, 0, 0);
    return shadowed;
}

Canvas fenceCanvas(int kind) {
    Canvas c(16, 16);
    const std::initializer_list<Ink> wood{
        {'L', ink::kWoodLight}, {'w', ink::kWood}, {'d', ink::kWoodDark}};
    if (kind == 0) {
        c.fill(0, 5, 16, 2, ink::kWood);
        c.hline(0, 15, 5, ink::kWoodLight);
        c.fill(0, 9, 16, 2, ink::kWood);
        c.hline(0, 15, 9, ink::kWoodLight);
        for (int x : {1, 9}) {
            paint(c, x, 2,
                  {"LLw", "Lwd", "Lwd", "Lwd", "Lwd", "Lwd", "Lwd", "Lwd", "Lwd", "Lwd", "ddd"},
                  wood);
        }
    } else if (kind == 1) {
        c.fill(6, 0, 4, 16, ink::kWood);
        c.vline(6, 0, 15, ink::kWoodLight);
        c.vline(9, 0, 15, ink::kWoodDark);
        for (int y : {1, 9}) {
            paint(c, 5, y, {"LLLLLL", "LwwwwL", "dwwwwd", "dddddd"}, wood);
        }
    } else {
        paint(c, 5, 4,
              {"LLLLLL", "LwwwwL", "Lwwwwd", "Lwwwwd", "Lwwwwd", "Lwwwwd", "Lwwwwd", "Lwwwwd",
               "dddddd"},
              wood);
    }
    c.outline(ink::kTreeLine);
    return c;
}

Canvas signCanvas() {
    Canvas c(16, 16);
    c.ellipse(8, 14.5, 4, 1.5, ink::kShadow);
    paint(c, 2, 2,
          {"LLLLLLLLLLLL", "LwwwwwwwwwwL", "LwddwdddwwwL", "LwwwwwwwwwwL", "LwdddwddwdwL",
           "LwwwwwwwwwwL", "dddddddddddd", "     Lw", "     Lw", "     Lw", "     Lw"},
          {{'L', ink::kWoodLight}, {'w', ink::kWood}, {'d', ink::kWoodDark}});
    Canvas outlined = c;
    outlined.outline(ink::kTreeLine);
    return outlined;
}

Canvas rockCanvas() {
    Canvas c(16, 16);
    c.ellipse(8, 13.5, 7, 2.2, ink::kShadow);
    Canvas rock(16, 16);
    rock.ellipse(8, 8.5, 6.5, 5.5, ink::kStone);
    rock.shade(6, 6.5, 4, 3, ink::kStone, ink::kStoneLight);
    rock.shade(11, 12, 5, 3, ink::kStone, ink::kStoneDark);
    rock.set(5, 5, ink::kWoodLight);
    rock.outline(ink::kTreeLine);
    c.blit(rock, 0, 0);
    return c;
}

Canvas bridgeCanvas() {
    Canvas c(16, 16, ink::kWood);
    for (int x = 0; x < 16; x += 4) {
        c.vline(x, 0, 15, ink::kWoodLight);
        c.vline(x + 3, 0, 15, ink::kWoodDark);
    }
    c.set(5, 7, ink::kWoodDark);
    c.set(13, 10, ink::kWoodDark);
    c.fill(0, 0, 16, 2, ink::kWoodDark);
    c.hline(0, 15, 0, ink::kTrunkDark);
    c.fill(0, 14, 16, 2, ink::kWoodDark);
    c.hline(0, 15, 15, ink::kTrunkDark);
    return c;
}

}  // namespace

std::uint16_t OutdoorArt::tree(int quarter) {
    const std::string key = "tree:" + std::to_string(quarter);
    if (auto b = m_art.find(key)) {
        return *b;
    }
    const Layer upper =
        m_art.layer(treeCanvas(), kTreePalette, 16 * (quarter % 2), 16 * (quarter / 2));
    // The canopy's top half covers whoever walks behind the tree.
    const std::uint8_t background = quarter < 2 ? kCovered : 0;
    return m_art.block(key, grassLayer(), upper, {kBlocked, 0, background});
}

std::uint16_t OutdoorArt::fence(int kind) {
    return onGrass("fence:" + std::to_string(kind), fenceCanvas(kind), {kBlocked, 0, 0});
}

std::uint16_t OutdoorArt::sign() { return onGrass("sign", signCanvas(), {kBlocked, 0, 0}); }

std::uint16_t OutdoorArt::rock() { return onGrass("rock", rockCanvas(), {kBlocked, 0, 0}); }

std::uint16_t OutdoorArt::bridge() {
    if (auto b = m_art.find("bridge")) {
        return *b;
    }
    return m_art.block("bridge", m_art.layer(bridgeCanvas(), kTreePalette), kEmptyLayer,
                       {kWalk, 0, 0});
}

}  // namespace quillon::mkdemo
