#include <gtest/gtest.h>

#include <random>

#include "core/base/ini_file.h"
#include "core/gfx/block_atlas.h"
#include "core/gfx/map_renderer.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/block_grid.h"
#include "gfx_test_rom.h"

namespace quillon {
namespace {

using gfxtest::GfxRom;

// The colours an indexed picture stands for, as a 32-bit picture.
Bitmap expand(const IndexedBitmap& picture) {
    Bitmap out(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            out.row(y)[x] = picture.colour(x, y);
        }
    }
    return out;
}

BlockGrid randomGrid(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    BlockGrid g;
    g.width = static_cast<std::uint16_t>(width);
    g.height = static_cast<std::uint16_t>(height);
    for (int i = 0; i < width * height; ++i) {
        g.cells[static_cast<std::size_t>(i)] = GridEntry{static_cast<std::uint16_t>(random())};
    }
    return g;
}

// Tiles 0-15 each of one colour index, blocks with flips, keyed upper layers and the palettes
// the test asks for.
GfxRom pairImage(const std::string& code, int palettes) {
    GfxRom image(code);
    for (int part = 0; part < 2; ++part) {
        for (int t = 0; t < 16; ++t) {
            image.setTile(part, t, [t](int x, int y) { return (x + y) % 3 == 0 ? 0 : t; });
        }
        for (int k = 0; k < 512; ++k) {
            for (int e = 0; e < 8; ++e) {
                const int tile = (k + e * 5) % 16;
                const int palette = (k / 16 + e) % palettes;
                writeLe16(image.bytes.data() + GfxRom::kBlocks[part] + 16 * k + 2 * e,
                          static_cast<std::uint16_t>(tile | (e & 3) << 10 | palette << 12));
            }
        }
    }
    return image;
}

// Every map picture drawn from the atlas shows exactly the pixels of the 32-bit map picture:
// Ruby with 100 blocks in part 2 (slots past 612 empty, so black), Emerald with every slot
// filled; maps of one cell, one row, one column and many cells, with and without lines.
TEST(BlockAtlas, IndexedMapsShowTheMapPicturesPixels) {
    struct Pair {
        const char* code;
        int blocks;  // "Blocks" of part 2 (Ruby only)
    } pairs[] = {{"AXVE", 100}, {"BPEE", 512}};
    struct Shape {
        int width, height;
    } shapes[] = {{1, 1}, {7, 1}, {1, 9}, {23, 17}, {80, 20}};
    for (const Pair& p : pairs) {
        const GfxRom image = pairImage(p.code, 12);
        IniFile ini;
        ini.writeInteger("2", "Blocks", p.blocks);
        TilesetPair tilesets;
        TRom rom = image.rom();
        gfxtest::loadBoth(tilesets, rom, image, ini);
        BlockAtlas atlas;
        ASSERT_TRUE(atlas.update(tilesets)) << p.code;
        for (const Shape& s : shapes) {
            for (bool lines : {false, true}) {
                SCOPED_TRACE(std::string(p.code) + " " + std::to_string(s.width) + "x" +
                             std::to_string(s.height) + (lines ? " lines" : ""));
                BlockGrid g = randomGrid(s.width, s.height, 3);
                IndexedBitmap indexed;
                ASSERT_TRUE(drawIndexedMap(atlas, g, lines, indexed));
                EXPECT_LE(indexed.colours.size(), 256u);
                Bitmap expected;
                UpdateMap(tilesets, g, lines, expected);
                EXPECT_EQ(expand(indexed), expected);
            }
        }
    }
}

// All 256 palette colours distinct and in use: black has no index left. Without lines every
// slot filled still draws; lines, or an empty slot, leave the picture to the 32-bit drawing.
TEST(BlockAtlas, TwoHundredFiftySixColoursLeaveNoRoomForBlack) {
    GfxRom image("BPEE");  // palette p colour i: p << 10 | i << 5 | 1, never black
    for (int t = 0; t < 16; ++t) {
        image.setTileIndex(0, t, t);
    }
    for (int k = 0; k < 1025; ++k) {
        image.setPlainBlock(k < 512 ? 0 : 1, k % 512 + (k == 1024 ? 512 : 0), k % 16,
                            (k / 16) % 16);
    }
    IniFile ini;
    TilesetPair tilesets;
    TRom rom = image.rom();
    gfxtest::loadBoth(tilesets, rom, image, ini);
    BlockAtlas atlas;
    ASSERT_TRUE(atlas.update(tilesets));
    EXPECT_EQ(atlas.colours().size(), 256u);
    EXPECT_FALSE(atlas.hasBlack());
    BlockGrid g = randomGrid(30, 20, 5);
    IndexedBitmap indexed;
    ASSERT_TRUE(drawIndexedMap(atlas, g, false, indexed));
    Bitmap expected;
    UpdateMap(tilesets, g, false, expected);
    EXPECT_EQ(expand(indexed), expected);
    EXPECT_FALSE(drawIndexedMap(atlas, g, true, indexed));

    ini.writeInteger("2", "Blocks", 3);  // Ruby: slots past 515 empty
    GfxRom ruby = image;
    std::memcpy(ruby.bytes.data() + 0xAC, "AXVE", 4);
    TilesetPair rubyTilesets;
    TRom rubyRom = ruby.rom();
    gfxtest::loadBoth(rubyTilesets, rubyRom, ruby, ini);
    EXPECT_FALSE(atlas.update(rubyTilesets));
    EXPECT_FALSE(drawIndexedMap(atlas, g, false, indexed));
}

// The atlas follows the pair: a block written into it, or the next map's tilesets, show in
// the next picture; maps without cells or with a grid shorter than their size are left to the
// 32-bit drawing, which reports them.
TEST(BlockAtlas, FollowsThePairsImagesAndRefusesBrokenGrids) {
    const GfxRom image = pairImage("BPEE", 8);
    IniFile ini;
    TilesetPair tilesets;
    TRom rom = image.rom();
    gfxtest::loadBoth(tilesets, rom, image, ini);
    BlockAtlas atlas;
    ASSERT_TRUE(atlas.update(tilesets));
    BlockGrid g = randomGrid(12, 10, 8);
    g.cells[0] = GridEntry{5};

    std::array<std::uint8_t, 16> record{};
    record[0] = 9;  // tile 9, palette 0 in the top-left quarter; the rest tile 0
    tilesets.replaceBlock(5, record);
    ASSERT_TRUE(atlas.update(tilesets));
    IndexedBitmap indexed;
    ASSERT_TRUE(drawIndexedMap(atlas, g, false, indexed));
    Bitmap expected;
    UpdateMap(tilesets, g, false, expected);
    EXPECT_EQ(expand(indexed), expected);

    const GfxRom other = pairImage("BPEE", 5);
    TRom otherRom = other.rom();
    gfxtest::loadBoth(tilesets, otherRom, other, ini);
    ASSERT_TRUE(atlas.update(tilesets));
    ASSERT_TRUE(drawIndexedMap(atlas, g, false, indexed));
    UpdateMap(tilesets, g, false, expected);
    EXPECT_EQ(expand(indexed), expected);

    BlockGrid empty = g;
    empty.width = 0;
    EXPECT_FALSE(drawIndexedMap(atlas, empty, false, indexed));
    BlockGrid shortGrid = g;
    shortGrid.cells.resize(5);
    EXPECT_FALSE(drawIndexedMap(atlas, shortGrid, false, indexed));
}

}  // namespace
}  // namespace quillon
