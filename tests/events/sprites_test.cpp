#include "core/gfx/sprites.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/config/game_profile.h"
#include "core/base/numbers.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "tests/events/event_test_rom.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;

constexpr std::uint32_t kBackground = 0xFF102030u;
using IndexAt = std::function<int(int, int)>;

// Never colour index 0; index 5 shows up on every fifteenth diagonal.
int pattern(int x, int y) { return 1 + (x + 2 * y) % 15; }

// 4bpp tiles, row by row, of a w x h pixel picture.
std::vector<std::uint8_t> tilesOf(int w, int h, const IndexAt& index) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(w * h / 2));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int tile = (y / 8) * (w / 8) + x / 8;
            const auto at = static_cast<std::size_t>(tile * 32 + (y % 8) * 4 + (x % 8) / 2);
            bytes[at] |= static_cast<std::uint8_t>(index(x, y) << (x % 2 == 0 ? 0 : 4));
        }
    }
    return bytes;
}

// Palette i: colour c is a grey of level c + 8i; colour 5 equals colour 0 in every palette.
std::array<std::uint16_t, 16> palette(int i) {
    std::array<std::uint16_t, 16> p{};
    for (int c = 0; c < 16; ++c) {
        const int level = (c == 5 ? 0 : c) + 8 * i;
        p[static_cast<std::size_t>(c)] =
            static_cast<std::uint16_t>(level | level << 5 | level << 10);
    }
    return p;
}

std::uint32_t colourOf(int paletteIndex, int index) {
    return GbaColourToRgb(palette(paletteIndex)[static_cast<std::size_t>(index)]);
}

SpriteSpec sprite(std::uint16_t w, std::uint16_t h, std::uint8_t slot, std::uint16_t tag = 0x1100) {
    return {w, h, slot, tag, tilesOf(w, h, pattern)};
}

// Pictures: 0 16x32 slot 0; 1 32x32; 2 64x128; 3 64x96; 4 slot 1; 5 slot 10 with a special
// palette (palette 2); 6 slot 10 without; 7 slot 2 (palette 1).
BuiltRom buildSpriteRom() {
    RomBuilder b = eventRomBuilder();
    b.addMap(eventMap(0, 0));
    b.addSprite(sprite(16, 32, 0));
    b.addSprite(sprite(32, 32, 0));
    b.addSprite(sprite(64, 128, 0));
    b.addSprite(sprite(64, 96, 0));
    b.addSprite(sprite(16, 32, 1));
    b.addSprite(sprite(16, 16, 10, 0x2000));
    b.addSprite(sprite(16, 16, 10, 0x3000));
    b.addSprite(sprite(16, 16, 2));
    b.addSpritePalette(0x1100, palette(0));
    b.addSpritePalette(0x1101, palette(1));
    b.addSpritePalette(0x1105, palette(2));
    b.setSlotTags({0x1100, 0x1101, 0x1101, 0, 0, 0, 0, 0, 0, 0});
    b.addSpecialPalette(0x2000, 0x1105);
    return b.build();
}

GameProfile profileOf(const BuiltRom& built) {
    GameProfile p;
    p.spriteHeader = static_cast<std::int32_t>(built.spriteHeader);
    p.spritePalettes = static_cast<std::int32_t>(built.spritePalettes);
    p.spritePaletteCount = built.spritePaletteCount;
    p.spritePalHeader = static_cast<std::int32_t>(built.spritePalHeader);
    p.specialPalHeader = static_cast<std::int32_t>(built.spezialPalHeader);
    return p;
}

// What drawing a w x h picture of `pattern` in palette p at cell pixel (x, y) must give.
Bitmap expected(int targetW, int targetH, int w, int h, int p, int x, int y) {
    Bitmap out(targetW, targetH, kBackground);
    const int left = x - ((w / 8 - 2) / 2) * 8;
    const int top = y + (2 - h / 8) * 8;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const std::uint32_t c = colourOf(p, pattern(i, j));
            if (c != colourOf(p, 0)) {
                out.setPixel(left + i, top + j, c);
            }
        }
    }
    return out;
}

struct Sprites {
    explicit Sprites(const BuiltRom& built) {
        built.attachTo(rom);
        set.prepare(rom, profileOf(built));
    }
    TRom rom;
    SpriteSet set;
};

TEST(Sprites, PlacementClippingAndTransparency) {
    const BuiltRom built = buildSpriteRom();
    Sprites s(built);
    // A 32 x 32 picture for the person on cell (3, 5) starts at pixel (40, 64).
    Bitmap big(128, 128, kBackground);
    ASSERT_TRUE(s.set.DrawPersonSprite(1, 48, 80, big));
    EXPECT_EQ(big, expected(128, 128, 32, 32, 0, 48, 80));
    EXPECT_EQ(big.pixel(40, 64), colourOf(0, pattern(0, 0)));
    EXPECT_EQ(big.pixel(39, 64), kBackground);

    // Cut on every side of a small picture; index 5 (colour 0's colour) never drawn.
    for (int x : {-24, -8, 0, 8, 16, 24, 40}) {
        for (int y : {-24, 0, 8, 24, 40}) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            Bitmap small(32, 24, kBackground);
            s.set.DrawPersonSprite(0, x, y, small);
            ASSERT_EQ(small, expected(32, 24, 16, 32, 0, x, y));
        }
    }
}

TEST(Sprites, PictureNumbersSizeLimitAndSlots) {
    const BuiltRom built = buildSpriteRom();
    Sprites s(built);
    struct Case {
        int number;
        bool drawn;
        int w, h, palette;
    };
    const std::vector<Case> cases = {
        {2, false, 0, 0, 0},     // 64 x 128: 4,096 bytes of pixels
        {3, true, 64, 96, 0},    // 3,072 bytes: the largest drawn
        {4, true, 16, 32, 0},    // slot 1 is drawn in slot 0
        {7, true, 16, 16, 1},    // slot 2 holds the palette tagged 0x1101
        {245, true, 16, 16, 2},  // 245 - 240 = 5
        {230, true, 16, 16, 2},  // past 217: picture 5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        Bitmap b(96, 96, kBackground);
        EXPECT_EQ(s.set.DrawPersonSprite(c.number, 32, 64, b), c.drawn);
        EXPECT_EQ(b, c.drawn ? expected(96, 96, c.w, c.h, c.palette, 32, 64)
                             : Bitmap(96, 96, kBackground));
    }
}

TEST(Sprites, SlotTenTakesTheSpecialPaletteAndKeepsIt) {
    const BuiltRom built = buildSpriteRom();
    Sprites s(built);
    for (int c = 0; c < 16; ++c) {
        ASSERT_EQ(s.set.paletteSlots().colour(10, c), colourOf(0, c)) << "a copy of slot 0";
        ASSERT_EQ(s.set.paletteSlots().colour(12, c), colourOf(1, c)) << "a copy of slot 2";
    }
    Bitmap b(32, 32, kBackground);
    s.set.DrawPersonSprite(6, 8, 16, b);  // no special entry: slot 10 as it is
    EXPECT_EQ(b, expected(32, 32, 16, 16, 0, 8, 16));
    s.set.DrawPersonSprite(5, 8, 16, b);
    EXPECT_EQ(b, expected(32, 32, 16, 16, 2, 8, 16));
    b.fill(kBackground);
    s.set.DrawPersonSprite(6, 8, 16, b);
    EXPECT_EQ(b, expected(32, 32, 16, 16, 2, 8, 16)) << "slot 10 keeps the last special palette";
}

TEST(Sprites, BadDataSkipsThePictureWithoutThrowing) {
    BuiltRom built = buildSpriteRom();
    const auto size = static_cast<std::uint32_t>(built.bytes.size());
    // Picture 0's record pointer and picture 1's pixel pointer lead past the end of the file;
    // picture 5's special palette tag pointer too.
    patch32(built, built.spriteHeader, 0x08000000u | (size - 20));
    const std::uint32_t frames = readPointerField(&built.bytes[built.spriteRecords[1] + 28]);
    patch32(built, frames, 0x08000000u | (size - 64));
    const std::uint32_t special = built.spezialPalHeader;
    patch32(built, special + 4, 0x08000000u | (size - 1));
    Sprites s(built);
    for (int n : {0, 1, 5}) {
        Bitmap b(64, 64, kBackground);
        EXPECT_FALSE(s.set.DrawPersonSprite(n, 16, 32, b)) << n;
        EXPECT_EQ(b, Bitmap(64, 64, kBackground)) << n;
    }
    Bitmap b(64, 64);
    for (int n = 0; n < 256; ++n) {
        EXPECT_NO_THROW(s.set.DrawPersonSprite(n, 16, 16, b)) << n;
    }
}

TEST(Sprites, PaletteTablesAreReadWithinLimits) {
    RomBuilder b = eventRomBuilder();
    b.addMap(eventMap(0, 0));
    for (int i = 0; i < 26; ++i) {
        b.addSpritePalette(0x1200, palette(3));
    }
    b.addSpritePalette(0x1100, palette(2));  // entry 27, the last one read
    b.addSpritePalette(0x1100, palette(1));  // entry 28 would win if it were read
    b.setSlotTags({0x1100, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const BuiltRom built = b.build();
    TRom rom;
    built.attachTo(rom);
    SpriteSet set;
    GameProfile p = profileOf(built);
    p.spritePaletteCount = 100;
    set.prepare(rom, p);
    EXPECT_EQ(set.paletteSlots().colour(0, 3), colourOf(2, 3));
    // Tables past the end of the file: no colours and nothing thrown.
    p.spritePalettes = p.spritePalHeader = p.specialPalHeader =
        static_cast<std::int32_t>(built.bytes.size()) - 2;
    EXPECT_NO_THROW(set.prepare(rom, p));
    EXPECT_EQ(set.paletteSlots().colour(0, 3), 0u);
}

}  // namespace
}  // namespace quillon
