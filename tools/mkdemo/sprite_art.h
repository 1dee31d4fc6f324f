#pragma once

#include <cstdint>
#include <vector>

#include "romkit/rom_builder.h"
#include "tools/mkdemo/canvas.h"

namespace quillon::mkdemo {

// Picture numbers of the demo's overworld sprites, in the order they are added.
namespace picture {
inline constexpr std::uint8_t kBoy = 0, kGirl = 1, kMan = 2, kGran = 3, kOwl = 4, kHiker = 5;
}

// One overworld sprite as drawn (facing down, colour 0 transparent) and how the ROM files it.
struct SpriteArt {
    Canvas canvas;
    std::uint8_t slot;
    std::uint16_t paletteTag;
};

// Every sprite of the demo in picture order.
std::vector<SpriteArt> demoSprites();

// The canvas as 4bpp tiles of 8 x 8 pixels, row by row (the left pixel in the low nibble).
std::vector<std::uint8_t> spriteTiles(const Canvas& canvas);

// Adds the sprites, the sprite palettes, the palette tags of slots 0-9 and the special entry
// through which the hiker (slot 10) finds its palette.
void addDemoSprites(romkit::RomBuilder& builder);

}  // namespace quillon::mkdemo
