#include "tools/mkdemo/sprite_art.h"

#include <array>
#include <initializer_list>

#include "tools/mkdemo/sprite_people.h"

namespace quillon::mkdemo {

namespace {

using Colours = std::array<std::uint16_t, 16>;

// Palette tags: people in warm and in cool colours, the player's (a copy of the warm one,
// for slot 1), the owl, and the hiker's colours reached through the special table.
constexpr std::uint16_t kWarmTag = 0x1100, kPlayerTag = 0x1101, kCoolTag = 0x1102, kOwlTag = 0x1103,
                        kHikerPaletteTag = 0x1105;
// The hiker's own tag, looked up in the special table (slot 10).
constexpr std::uint16_t kHikerSpecialTag = 0x1110;
constexpr std::uint8_t kSpecialSlot = 10;

struct SpriteRgb {
    int r, g, b;
};

// 8-bit components to the 15-bit colour word. Colour 0, the transparent one, is a teal that no
// drawing uses, since a pixel of the same colour as colour 0 is not drawn either.
Colours colours(std::initializer_list<SpriteRgb> list) {
    Colours out{};
    int i = 0;
    for (const SpriteRgb& c : list) {
        out[i++] = static_cast<std::uint16_t>((c.r >> 3) | (c.g >> 3) << 5 | (c.b >> 3) << 10);
    }
    return out;
}

// Skin, outline, white and shoes are the same for all people; hair A and B, clothes A and B
// and the legs differ.
Colours people(SpriteRgb hairA, SpriteRgb hairADark, SpriteRgb hairB, SpriteRgb hairBDark, SpriteRgb clothA, SpriteRgb clothADark,
               SpriteRgb clothB, SpriteRgb clothBDark, SpriteRgb legs, SpriteRgb legsDark) {
    return colours({{96, 184, 168},
                    {40, 32, 48},
                    {248, 216, 176},
                    {216, 160, 120},
                    hairA,
                    hairADark,
                    hairB,
                    hairBDark,
                    clothA,
                    clothADark,
                    clothB,
                    clothBDark,
                    legs,
                    legsDark,
                    {248, 248, 248},
                    {88, 72, 80}});
}

Colours warmPeople() {
    return people({144, 88, 48}, {96, 56, 32}, {240, 200, 88}, {192, 144, 48}, {224, 72, 64},
                  {160, 40, 48}, {88, 176, 96}, {48, 120, 64}, {72, 96, 176}, {40, 56, 120});
}

Colours coolPeople() {
    return people({64, 64, 80}, {32, 32, 48}, {208, 208, 216}, {152, 152, 168}, {80, 128, 216},
                  {48, 80, 160}, {232, 200, 80}, {176, 144, 48}, {136, 96, 64}, {96, 64, 40});
}

Colours hikerPeople() {
    return people({216, 112, 56}, {160, 72, 32}, {240, 152, 184}, {192, 96, 136}, {152, 96, 200},
                  {104, 56, 144}, {248, 160, 64}, {200, 104, 32}, {64, 112, 80}, {32, 72, 48});
}

Colours owlColours() {
    return colours({{96, 184, 168},
                    {48, 32, 24},
                    {208, 168, 120},
                    {168, 120, 80},
                    {112, 72, 48},
                    {248, 232, 200},
                    {200, 168, 128},
                    {232, 208, 168},
                    {32, 24, 24},
                    {248, 248, 248},
                    {240, 160, 48}});
}

}  // namespace

std::vector<SpriteArt> demoSprites() {
    std::vector<SpriteArt> sprites;
    sprites.push_back({drawBoy(), 0, kWarmTag});
    sprites.push_back({drawGirl(), 0, kWarmTag});
    sprites.push_back({drawMan(), 2, kCoolTag});
    sprites.push_back({drawGran(), 2, kCoolTag});
    sprites.push_back({drawOwl(), 3, kOwlTag});
    sprites.push_back({drawHiker(), kSpecialSlot, kHikerSpecialTag});
    return sprites;
}

std::vector<std::uint8_t> spriteTiles(const Canvas& canvas) {
    std::vector<std::uint8_t> bytes;
    for (int ty = 0; ty < canvas.height(); ty += 8) {
        for (int tx = 0; tx < canvas.width(); tx += 8) {
            for (int y = 0; y < 8; ++y) {
                for (int x = 0; x < 8; x += 2) {
                    const int left = canvas.at(tx + x, ty + y) & 0x0F;
                    const int right = canvas.at(tx + x + 1, ty + y) & 0x0F;
                    bytes.push_back(static_cast<std::uint8_t>(left | right << 4));
                }
            }
        }
    }
    return bytes;
}

void addDemoSprites(romkit::RomBuilder& builder) {
    for (const SpriteArt& art : demoSprites()) {
        romkit::SpriteSpec wanted;
        wanted.width = static_cast<std::uint16_t>(art.canvas.width());
        wanted.height = static_cast<std::uint16_t>(art.canvas.height());
        wanted.slot = art.slot;
        wanted.paletteTag = art.paletteTag;
        wanted.pixels = spriteTiles(art.canvas);
        builder.addSprite(wanted);
    }
    builder.addSpritePalette(kWarmTag, warmPeople());
    builder.addSpritePalette(kPlayerTag, warmPeople());
    builder.addSpritePalette(kCoolTag, coolPeople());
    builder.addSpritePalette(kOwlTag, owlColours());
    builder.addSpritePalette(kHikerPaletteTag, hikerPeople());
    builder.setSlotTags({kWarmTag, kPlayerTag, kCoolTag, kOwlTag, kWarmTag, kWarmTag, kWarmTag,
                         kWarmTag, kWarmTag, kWarmTag});
    builder.addSpecialPalette(kHikerSpecialTag, kHikerPaletteTag);
}

}  // namespace quillon::mkdemo
