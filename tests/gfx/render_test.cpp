#include "core/gfx/map_renderer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/config/ini_file.h"
#include "core/errors.h"
#include "core/gfx/text_painter.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/block_grid.h"
#include "gfx_test_rom.h"

namespace quillon {
namespace {

using gfxtest::GfxRom;

// Records every label and marks its position with a white pixel.
class FakePainter final : public TextPainter {
public:
    struct Call {
        int x, y;
        std::string text;
    };
    void drawText(Bitmap& target, int x, int y, std::string_view text) override {
        calls.push_back({x, y, std::string(text)});
        target.setPixel(x, y, 0xFFFFFFFF);
    }
    std::vector<Call> calls;
};

std::uint32_t naiveBlend(std::uint32_t t, std::uint32_t m) {
    std::uint32_t out = 0xFF000000;
    for (int shift : {0, 8, 16}) {
        const std::uint32_t c = ((2 * ((t >> shift) & 0xFF) + ((m >> shift) & 0xFF)) / 3);
        out |= c << shift;
    }
    return out;
}

// Emerald tilesets whose block k is plain tile k % 16 (all index k % 16) in palette
// (k / 16) % 16, so neighbouring blocks differ and none is black.
class RenderTest : public testing::Test {
protected:
    RenderTest() : image("BPEE") {
        gfxtest::fillDistinctPalettes(image);
        for (int t = 0; t < 16; ++t) {
            image.setTileIndex(0, t, t);
        }
        for (int k = 0; k < 1025; ++k) {
            image.setPlainBlock(k < 512 ? 0 : 1, k < 512 ? k : k - 512, k % 16, (k / 16) % 16);
        }
        TRom rom = image.rom();
        gfxtest::loadBoth(pair, rom, image, ini);
    }
    BlockGrid grid(int w, int h, std::initializer_list<std::uint16_t> entries) {
        BlockGrid g;
        g.width = static_cast<std::uint16_t>(w);
        g.height = static_cast<std::uint16_t>(h);
        int i = 0;
        for (auto e : entries) {
            g.cells[static_cast<std::size_t>(i++)] = GridEntry{e};
        }
        return g;
    }
    std::uint32_t blockPixel(int slot, int x = 5, int y = 5) const {
        return pair.blockImage(slot)->pixel(x, y);
    }

    GfxRom image;
    IniFile ini;
    TilesetPair pair;
};

TEST_F(RenderTest, MapShowsBlocksAndStoresMovement) {
    BlockGrid g = grid(3, 2, {0x0C05, 1, 2, 0x03FF, 0xFC00 | 512, 7});
    Bitmap out;
    UpdateMap(pair, g, false, out);
    ASSERT_EQ(out.width(), 48);
    ASSERT_EQ(out.height(), 32);
    EXPECT_EQ(out.pixel(5, 5), blockPixel(5));
    EXPECT_EQ(g.movement[0], 3);
    EXPECT_EQ(out.pixel(5, 16 + 5), blockPixel(1023));
    EXPECT_EQ(out.pixel(16 + 5, 16 + 5), blockPixel(512));
    EXPECT_EQ(g.movement[4], 63);
    EXPECT_EQ(out.pixel(0, 0), blockPixel(5, 0, 0));  // no grid lines
}

TEST_F(RenderTest, OneCellMapShowsBlockZero) {
    BlockGrid g = grid(1, 1, {0x0C05});
    g.movement[0] = 9;
    Bitmap out;
    UpdateMap(pair, g, true, out);
    ASSERT_EQ(out.width(), 16);
    EXPECT_EQ(out.pixel(0, 0), blockPixel(0, 0, 0));  // no grid either
    EXPECT_EQ(out.pixel(7, 7), blockPixel(0, 7, 7));
    EXPECT_EQ(g.movement[0], 9);
}

TEST_F(RenderTest, MapGridHasTopAndLeftEdgesAndCellRepaintMatches) {
    BlockGrid g = grid(3, 2, {1, 2, 3, 4, 5, 6});
    Bitmap full;
    UpdateMap(pair, g, true, full);
    EXPECT_EQ(full.pixel(20, 0), kBlack);
    EXPECT_EQ(full.pixel(0, 20), kBlack);
    EXPECT_EQ(full.pixel(32, 5), kBlack);
    EXPECT_EQ(full.pixel(47, 31), blockPixel(6, 15, 15));  // no right or bottom edge

    g.at(2, 1) = GridEntry{700};
    const PixelRect r = drawCell(pair, g, 2, 1, true, full);
    EXPECT_EQ(r, (PixelRect{32, 16, 16, 16}));
    Bitmap fresh;
    UpdateMap(pair, g, true, fresh);
    EXPECT_EQ(full, fresh);
    EXPECT_EQ(drawCell(pair, g, 3, 0, true, full), PixelRect{});
}

TEST_F(RenderTest, EmptySlotLeavesItsCellBlack) {
    GfxRom ruby("AXVE");
    ini.writeInteger("2", "Blocks", 10);  // slots 0..522
    TilesetPair rubyPair;
    TRom rom = ruby.rom();
    gfxtest::loadBoth(rubyPair, rom, ruby, ini);
    BlockGrid g = grid(2, 1, {600, 600});
    Bitmap out(32, 16, 0xFF00FF00);
    UpdateMap(rubyPair, g, false, out);
    EXPECT_EQ(out.pixel(3, 3), kBlack);
}

TEST_F(RenderTest, BlockPaletteSizeAndGrid) {
    Bitmap out;
    UpdateBlockPalette(pair, 8, true, out);
    ASSERT_EQ(out.width(), 128);
    ASSERT_EQ(out.height(), 129 * 16);
    int blackRows = 0;
    for (int y = 0; y < out.height(); ++y) {
        int black = 0;
        for (int x = 0; x < out.width(); ++x) {
            black += out.pixel(x, y) == kBlack;
        }
        blackRows += black == out.width();
    }
    // 128 lines, and the last row's empty cells are no lines.
    EXPECT_EQ(blackRows, 128);
    int blackColumns = 0;
    for (int x = 0; x < out.width(); ++x) {
        blackColumns += out.pixel(x, 5) == kBlack && out.pixel(x, 16 * 100 + 5) == kBlack;
    }
    EXPECT_EQ(blackColumns, 7);
    EXPECT_EQ(out.pixel(0, 0), blockPixel(0, 0, 0));
    EXPECT_EQ(out.pixel(17, 16 * 128 + 1), kBlack);  // slot 1025 does not exist
    EXPECT_EQ(out.pixel(1, 16 * 128 + 1), blockPixel(1024, 1, 1));
    EXPECT_EQ(blockPaletteBlockAt(8, 17, 33), 17);

    const std::uint32_t* buffer = out.data();
    UpdateBlockPalette(pair, 9, false, out);  // 144 x 1824: fewer pixels than before
    EXPECT_EQ(out.data(), buffer);            // resized in place
    EXPECT_EQ(out.pixel(16 * 8 + 2, 16 * 3 + 2), blockPixel(35, 2, 2));
    EXPECT_THROW(UpdateBlockPalette(pair, 0, false, out), Error);
    EXPECT_THROW(UpdateBlockPalette(pair, -4, false, out), Error);
}

TEST(MovementTiles, LabelsAndColours) {
    struct {
        int value;
        const char* label;
        int x;
    } cases[] = {{0, "0", 4},   {15, "F", 4},  {16, "10", 2}, {17, "11", 3},
                 {18, "12", 1}, {0x1A, "1A", 1}, {31, "1F", 1}, {32, "20", 0}, {63, "3F", 0}};
    for (auto c : cases) {
        FakePainter painter;
        Bitmap tile = MovementTile(c.value, painter);
        ASSERT_EQ(painter.calls.size(), 1u);
        EXPECT_EQ(painter.calls[0].text, c.label);
        EXPECT_EQ(painter.calls[0].x, c.x) << c.label;
        EXPECT_EQ(painter.calls[0].y, 0);
        EXPECT_EQ(tile.pixel(15, 15), kMovementColours[static_cast<std::size_t>(c.value)]);
    }
    // The table is indexed by the value itself: 0x19 is AB2951, 0x1A the one after it.
    EXPECT_EQ(kMovementColours[0x19], 0xFFAB2951u);
    EXPECT_EQ(kMovementColours[0x1A], 0xFF9FE897u);
    EXPECT_EQ(kMovementColours[0], 0xFF0000FFu);
    EXPECT_EQ(kMovementColours[63], 0xFF1A665Au);
    FakePainter painter;
    EXPECT_THROW(MovementTile(64, painter), IndexError);
}

TEST(MovementTiles, PaletteStacksTheTilesOnce) {
    FakePainter painter;
    MovementTileCache cache(painter);
    EXPECT_EQ(painter.calls.size(), 64u);
    Bitmap palette;
    buildMovementPalette(cache, palette);
    ASSERT_EQ(palette.width(), 16);
    ASSERT_EQ(palette.height(), 1024);
    EXPECT_EQ(palette.pixel(10, 0x19 * 16 + 10), 0xFFAB2951u);
    EXPECT_EQ(palette.pixel(1, 0x19 * 16), 0xFFFFFFFFu);  // the label's mark
    EXPECT_EQ(painter.calls.size(), 64u);
}

TEST(MovementBlend, MatchesChannelArithmetic) {
    std::mt19937 rng(3);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs = {
        {0xFFFFFFFF, 0xFFFFFFFF}, {0xFF000000, 0xFFFFFFFF}, {0xFFFFFFFF, 0xFF000000},
        {0xFF010203, 0xFFFEFDFC}, {0xFFAB2951, 0xFF808080}};
    for (int i = 0; i < 10000; ++i) {
        pairs.emplace_back(0xFF000000u | (rng() & 0xFFFFFF), 0xFF000000u | (rng() & 0xFFFFFF));
    }
    for (auto [t, m] : pairs) {
        ASSERT_EQ(blendMovementPixel(t, m), naiveBlend(t, m)) << std::hex << t << " " << m;
    }
}

TEST_F(RenderTest, MovementViewBlendsEachCellAndCellUpdatesMatch) {
    BlockGrid g = grid(3, 2, {0x0C05, 0x0001, 0xFC02, 3, 4, 0x6805});
    Bitmap map;
    UpdateMap(pair, g, true, map);
    FakePainter painter;
    MovementTileCache cache(painter);
    Bitmap view;
    buildMovementView(map, g, cache, view);
    ASSERT_EQ(view.width(), map.width());
    ASSERT_EQ(view.height(), map.height());
    for (auto [x, y] : {std::pair{5, 5}, {0, 0}, {40, 3}, {47, 31}, {20, 0}}) {
        const int v = g.movement[static_cast<std::size_t>((y / 16) * 3 + x / 16)];
        EXPECT_EQ(view.pixel(x, y), naiveBlend(cache.tile(v).pixel(x % 16, y % 16),
                                               map.pixel(x, y)))
            << x << "," << y;
    }

    g.movement[4] = 0x1A;
    EXPECT_EQ(UpdateGehBlock(1, 1, g, map, cache, view), (PixelRect{16, 16, 16, 16}));
    Bitmap fresh;
    buildMovementView(map, g, painter, fresh);
    EXPECT_EQ(view, fresh);
    EXPECT_EQ(UpdateGehBlock(3, 0, g, map, cache, view), PixelRect{});
}

}  // namespace
}  // namespace quillon
