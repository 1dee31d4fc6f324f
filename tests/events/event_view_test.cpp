#include "core/events/event_view.h"

#include <gtest/gtest.h>

#include "core/config/game_profile.h"
#include "core/events/event_tables.h"
#include "core/gfx/event_markers.h"
#include "core/gfx/sprites.h"
#include "core/rom/trom.h"
#include "tests/events/event_test_rom.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;

constexpr std::uint32_t kMapColour = 0xFF406080u;

int red(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
int green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int blue(std::uint32_t c) { return static_cast<int>(c & 0xFF); }

TEST(EventMarkers, FiveLettersOnTheirGradients) {
    const EventMarkers markers;
    // Inside the bevel the gradient runs from the top-left colour to the bottom-right one.
    const std::uint32_t corners[5][2] = {{0xFFC613BE, 0xFF3A16DA},
                                         {0xFFF52F0A, 0xFFF5B30A},
                                         {0xFFD3ED0F, 0xFF14EEC8},
                                         {0xFF107518, 0xFF3EE311},
                                         {0xFFF5095A, 0xFFF56A0A}};
    std::vector<std::vector<bool>> ink;  // where the yellow letter is
    for (int k = 0; k < EventMarkers::kKinds; ++k) {
        const Bitmap& m = markers.marker(k);
        ASSERT_EQ(m.width(), 32);
        for (int i = 0; i < 2; ++i) {
            const std::uint32_t want = corners[k][i];
            const std::uint32_t got = m.pixel(2 + 27 * i, 2 + 27 * i);
            EXPECT_NEAR(red(got), red(want), 16) << k;
            EXPECT_NEAR(green(got), green(want), 16) << k;
            EXPECT_NEAR(blue(got), blue(want), 16) << k;
        }
        ink.emplace_back();
        for (int p = 0; p < 32 * 32; ++p) {
            ink.back().push_back(m.pixel(p % 32, p / 32) == 0xFFF0E020u);
        }
    }
    // W, S, P, S, F: the two signpost and script trigger letters alike, the others apart.
    for (int a = 0; a < 5; ++a) {
        for (int b = 0; b < 5; ++b) {
            EXPECT_EQ(ink[a] == ink[b], a == b || (a + b == 4 && a % 2 == 1)) << a << " " << b;
        }
    }
}

TEST(EventMarkers, BlendHalfAndHalfInsideThePictureOnly) {
    const EventMarkers markers;
    Bitmap dark(48, 32, 0xFF000000u);
    Bitmap light(48, 32, 0xFFFEFEFEu);
    ASSERT_TRUE(markers.DrawEventMarker(dark, 32, 16, 2));
    ASSERT_TRUE(markers.DrawEventMarker(light, 32, 16, 2));
    for (int y = 16; y < 32; ++y) {
        for (int x = 32; x < 48; ++x) {
            // (m + 254) / 2 - (m + 0) / 2 is 127 for every component m.
            const std::uint32_t d = dark.pixel(x, y);
            const std::uint32_t l = light.pixel(x, y);
            ASSERT_EQ(red(l) - red(d), 127);
            ASSERT_EQ(green(l) - green(d), 127);
            ASSERT_EQ(blue(l) - blue(d), 127);
        }
    }
    EXPECT_EQ(dark.pixel(31, 16), 0xFF000000u);
    EXPECT_EQ(dark.pixel(32, 15), 0xFF000000u);

    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {33, 0}, {0, 17}, {48, 0}}) {
        Bitmap p(48, 32, kMapColour);
        EXPECT_FALSE(markers.DrawEventMarker(p, x, y, 0)) << x << "," << y;
        EXPECT_EQ(p, Bitmap(48, 32, kMapColour));
    }
}

// Map 0.0 (8 x 6): person 0 at (1, 1) with picture 0, person 1 at (9, 1) outside the map, a warp
// at (3, 2), a script trigger at (4, 2), a signpost at (5, 2); the fly position at (6, 2).
struct ViewFixture {
    ViewFixture() {
        RomBuilder b = eventRomBuilder();
        MapSpec m = eventMap(0, 0);
        m.persons = {personRecord(1, 0, 1, 1), personRecord(2, 0, 9, 1)};
        m.warps = {warpRecord(3, 2, 0, 0, 0)};
        m.scripts = {scriptRecord(4, 2, 0)};
        m.signposts = {signpostRecord(5, 2, 0, 0)};
        b.addMap(m);
        b.addSprite({16, 16, 0, 0x1100, std::vector<std::uint8_t>(128, 0x11)});
        b.addSpritePalette(0x1100, {0, 0x7FFF});
        b.setSlotTags({0x1100, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        b.addFlyRecord(0, 0, 6, 2);
        built = b.build();
        built.attachTo(rom);
        GameProfile p;
        p.spriteHeader = static_cast<std::int32_t>(built.spriteHeader);
        p.spritePalettes = static_cast<std::int32_t>(built.spritePalettes);
        p.spritePaletteCount = built.spritePaletteCount;
        p.spritePalHeader = static_cast<std::int32_t>(built.spritePalHeader);
        sprites.prepare(rom, p);
        events.load(rom, built.maps.at({0, 0}).events, static_cast<std::int32_t>(built.flyTable), 0,
                    0);
    }
    std::optional<EventMessage> draw(EventViewOptions o, EventRef selected = {}) {
        return DrawEvents(map, events, selected, o, sprites, markers, picture);
    }
    bool cellIsMap(int cx, int cy) const {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (picture.pixel(16 * cx + x, 16 * cy + y) != kMapColour) {
                    return false;
                }
            }
        }
        return true;
    }
    BuiltRom built;
    TRom rom;
    SpriteSet sprites;
    EventMarkers markers;
    EventTables events;
    Bitmap map = Bitmap(128, 96, kMapColour);
    Bitmap picture;
};

TEST(DrawEvents, TheDisplaySwitches) {
    ViewFixture f;
    struct Case {
        EventViewOptions options;
        bool othersDrawn;
        std::optional<EventMessage> message;
    };
    const std::vector<Case> cases = {
        {{false, false, false}, true, EventMessage::SomeOutside},  // person 1 lies outside
        {{false, true, false}, true, EventMessage::SomeOutside},   // hiding needs the sprites on
        {{true, false, false}, true, std::nullopt},                // pictures are clipped
        {{true, true, false}, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.options.showSprites) + std::to_string(c.options.hideOthers));
        EXPECT_EQ(f.draw(c.options), c.message);
        ASSERT_EQ(f.picture.width(), 128);
        ASSERT_EQ(f.picture.height(), 96);
        EXPECT_FALSE(f.cellIsMap(1, 1)) << "the person";
        // The sprite's colour 1 is white; a marker blends.
        EXPECT_EQ(f.picture.pixel(16 + 8, 16 + 8) == 0xFFF8F8F8u, c.options.showSprites);
        for (int x : {3, 4, 5, 6}) {
            EXPECT_EQ(f.cellIsMap(x, 2), !c.othersDrawn) << x;
        }
        EXPECT_TRUE(f.cellIsMap(0, 0));
    }
    f.events.setPosition({EventKind::Person, 1}, 7, 5);
    EXPECT_EQ(f.draw({false, false, false}), EventMessage::Ok);
    f.events.setFlyIndex(EventTables::kNoFly);
    f.draw({false, false, false});
    EXPECT_TRUE(f.cellIsMap(6, 2)) << "no fly position, no marker";
    f.events.clear();
    EXPECT_EQ(f.draw({false, false, true}), EventMessage::NoEvents);
    EXPECT_EQ(f.picture, f.map);
}

TEST(DrawEvents, RedSquareAroundTheSelectedCell) {
    ViewFixture f;
    const auto square = [&](int cx, int cy) {
        int red = 0;
        for (int i = 0; i < 16; ++i) {
            for (auto [x, y] : {std::pair{i, 0}, {i, 15}, {0, i}, {15, i}}) {
                red += f.picture.pixel(16 * cx + x, 16 * cy + y) == 0xFFFF0000u;
            }
        }
        return red;
    };
    f.draw({true, true, true}, {EventKind::Warp, 0});
    EXPECT_EQ(square(3, 2), 64) << "drawn for a hidden kind too (every edge pixel)";
    EXPECT_EQ(f.picture.pixel(16 * 3 + 1, 16 * 2 + 1), kMapColour);
    f.draw({true, true, false}, {EventKind::Warp, 0});
    EXPECT_EQ(square(3, 2), 0);
    f.draw({true, true, true}, {EventKind::Person, 0});
    EXPECT_EQ(square(1, 1), 64);
    f.events.setFlyIndex(EventTables::kNoFly);
    f.draw({false, false, true}, {EventKind::Fly, 0});
    EXPECT_EQ(square(6, 2), 0) << "the fly record of another map";
}

}  // namespace
}  // namespace quillon
