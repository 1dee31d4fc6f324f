#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/gfx/map_renderer.h"
#include "core/gfx/text_painter.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/block_grid.h"
#include "gfx_test_rom.h"

namespace quillon {
namespace {

// Records every label and marks its position with a white pixel.
class FakePainter final : public TextPainter {
public:
    void drawText(Bitmap& target, int x, int y, std::string_view text) override {
        calls.push_back({x, y, std::string(text)});
        target.setPixel(x, y, 0xFFFFFFFF);
    }
    struct Call {
        int x, y;
        std::string text;
    };
    std::vector<Call> calls;
};

std::uint32_t naiveBlend(std::uint32_t t, std::uint32_t m) {
    std::uint32_t out = 0xFF000000;
    for (int shift : {0, 8, 16}) {
        out |= ((2 * ((t >> shift) & 0xFF) + ((m >> shift) & 0xFF)) / 3) << shift;
    }
    return out;
}

// Emerald tilesets whose block k is tile k % 16 (all index k % 16) in palette (k / 16) % 16:
// neighbouring blocks differ and none is black.
class RenderTest : public ::testing::Test {
protected:
    RenderTest() : image("BPEE") {
        for (int t = 0; t < 16; ++t) {
            image.setTileIndex(0, t, t);
        }
        for (int k = 0; k < 1025; ++k) {
            image.setPlainBlock(k < 512 ? 0 : 1, k % 512 + (k == 1024 ? 512 : 0), k % 16,
                                (k / 16) % 16);
        }
        TRom rom = image.rom();
        gfxtest::loadBoth(pair, rom, image, ini);
    }
    static BlockGrid grid(int w, int h, std::initializer_list<std::uint16_t> entries) {
        BlockGrid g;
        g.width = static_cast<std::uint16_t>(w);
        g.height = static_cast<std::uint16_t>(h);
        std::size_t i = 0;
        for (auto e : entries) {
            g.cells[i++] = GridEntry{e};
        }
        return g;
    }
    std::uint32_t block(int slot, int x = 5, int y = 5) const {
        return pair.blockImage(slot)->pixel(x, y);
    }

    gfxtest::GfxRom image;
    IniFile ini;
    TilesetPair pair;
};

TEST_F(RenderTest, MapShowsBlocksAndStoresMovement) {
    BlockGrid g = grid(3, 2, {0x0C05, 1, 2, 0x03FF, 0xFC00 | 512, 7});
    Bitmap out;
    UpdateMap(pair, g, false, out);
    ASSERT_EQ(out.width(), 48);
    ASSERT_EQ(out.height(), 32);
    EXPECT_EQ(out.pixel(0, 0), block(5, 0, 0));
    EXPECT_EQ(out.pixel(5, 16 + 5), block(1023));
    EXPECT_EQ(out.pixel(16 + 5, 16 + 5), block(512));
    EXPECT_EQ(g.movement[0], 3);
    EXPECT_EQ(g.movement[4], 63);

    BlockGrid single = grid(1, 1, {0x0C05});
    single.movement[0] = 9;
    UpdateMap(pair, single, true, out);
    ASSERT_EQ(out.width(), 16);
    EXPECT_EQ(out.pixel(0, 0), block(0, 0, 0));  // block 0, no grid
    EXPECT_EQ(single.movement[0], 9);
}

TEST_F(RenderTest, MapGridHasTopAndLeftEdgesAndCellRepaintMatches) {
    BlockGrid g = grid(3, 2, {1, 2, 3, 4, 5, 6});
    Bitmap full;
    UpdateMap(pair, g, true, full);
    EXPECT_EQ(full.pixel(20, 0), kBlack);
    EXPECT_EQ(full.pixel(0, 20), kBlack);
    EXPECT_EQ(full.pixel(32, 5), kBlack);
    EXPECT_EQ(full.pixel(47, 31), block(6, 15, 15));  // no right or bottom edge

    g.at(2, 1) = GridEntry{700};
    EXPECT_EQ(drawCell(pair, g, 2, 1, true, full), (PixelRect{32, 16, 16, 16}));
    Bitmap fresh;
    UpdateMap(pair, g, true, fresh);
    EXPECT_EQ(full, fresh);
    EXPECT_EQ(drawCell(pair, g, 3, 0, true, full), PixelRect{});
}

TEST_F(RenderTest, BlockPaletteSizeAndGrid) {
    Bitmap out;
    UpdateBlockPalette(pair, 8, true, out);
    ASSERT_EQ(out.width(), 128);
    ASSERT_EQ(out.height(), 129 * 16);
    int lineRows = 0;
    for (int y = 0; y < out.height(); ++y) {
        lineRows += out.pixel(1, y) == kBlack && out.pixel(127, y) == kBlack;
    }
    int lineColumns = 0;
    for (int x = 0; x < out.width(); ++x) {
        lineColumns += out.pixel(x, 1) == kBlack && out.pixel(x, out.height() - 1) == kBlack;
    }
    EXPECT_EQ(lineRows, 128);
    EXPECT_EQ(lineColumns, 7);
    EXPECT_EQ(out.pixel(1, 16 * 128 + 1), block(1024, 1, 1));
    EXPECT_EQ(out.pixel(17, 16 * 128 + 1), kBlack);  // past the last block

    const std::uint32_t* buffer = out.data();
    UpdateBlockPalette(pair, 9, false, out);  // 144 x 1824: fewer pixels than before
    EXPECT_EQ(out.data(), buffer);
    EXPECT_EQ(out.pixel(16 * 8 + 2, 16 * 3 + 2), block(35, 2, 2));
    EXPECT_THROW(UpdateBlockPalette(pair, 0, false, out), Error);
}

TEST(MovementTiles, LabelsColoursAndPalette) {
    struct {
        int value;
        const char* label;
        int x;
    } cases[] = {{0, "0", 4},     {15, "F", 4},  {16, "10", 2}, {17, "11", 3},
                 {0x1A, "1A", 1}, {31, "1F", 1}, {32, "20", 0}, {63, "3F", 0}};
    FakePainter painter;
    MovementTileCache cache(painter);
    ASSERT_EQ(painter.calls.size(), 64u);
    for (auto c : cases) {
        const auto& call = painter.calls[static_cast<std::size_t>(c.value)];
        EXPECT_EQ(call.text, c.label);
        EXPECT_EQ(call.x, c.x) << c.label;
        EXPECT_EQ(call.y, 0);
    }
    // The colour table is indexed by the value itself.
    EXPECT_EQ(kMovementColours[0x19], 0xFFAB2951u);
    EXPECT_EQ(kMovementColours[0x1A], 0xFF9FE897u);
    Bitmap palette;
    buildMovementPalette(cache, palette);
    ASSERT_EQ(palette.height(), 1024);
    EXPECT_EQ(palette.pixel(10, 0x1A * 16 + 10), 0xFF9FE897u);
    EXPECT_EQ(palette.pixel(1, 0x1A * 16), 0xFFFFFFFFu);  // the label's mark
}

TEST_F(RenderTest, MovementViewBlendsEachCellAndCellUpdatesMatch) {
    std::mt19937 rng(3);
    for (int i = 0; i < 10000; ++i) {
        const std::uint32_t t = 0xFF000000u | (rng() & 0xFFFFFF);
        const std::uint32_t m = 0xFF000000u | (rng() & 0xFFFFFF);
        ASSERT_EQ(blendMovementPixel(t, m), naiveBlend(t, m)) << std::hex << t << " " << m;
    }
    BlockGrid g = grid(3, 2, {0x0C05, 0x0001, 0xFC02, 3, 4, 0x6805});
    Bitmap map;
    UpdateMap(pair, g, true, map);
    FakePainter painter;
    MovementTileCache cache(painter);
    Bitmap view;
    buildMovementView(map, g, cache, view);
    ASSERT_EQ(view.width(), map.width());
    for (int y = 0; y < map.height(); ++y) {
        for (int x = 0; x < map.width(); ++x) {
            const int v = g.movement[static_cast<std::size_t>((y / 16) * 3 + x / 16)];
            ASSERT_EQ(view.pixel(x, y),
                      naiveBlend(cache.tile(v).pixel(x % 16, y % 16), map.pixel(x, y)))
                << x << "," << y;
        }
    }
    g.movement[4] = 0x1A;
    EXPECT_EQ(UpdateGehBlock(1, 1, g, map, cache, view), (PixelRect{16, 16, 16, 16}));
    Bitmap fresh;
    buildMovementView(map, g, MovementTileCache(painter), fresh);
    EXPECT_EQ(view, fresh);
}

}  // namespace
}  // namespace quillon
