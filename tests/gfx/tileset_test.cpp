#include "core/gfx/tileset_pair.h"

#include <gtest/gtest.h>

#include "core/config/ini_file.h"
#include "core/errors.h"
#include "gfx_test_rom.h"

namespace quillon {
namespace {

using gfxtest::GfxRom;

constexpr std::uint32_t colourOf(std::uint16_t word) { return GbaColourToRgb(word); }
// The colour fillDistinctPalettes gives palette p, index i.
constexpr std::uint32_t distinct(int p, int i) {
    return colourOf(static_cast<std::uint16_t>(p << 10 | i << 5 | 1));
}

TEST(Palette, ConvertsGbaColours) {
    struct {
        std::uint16_t word;
        std::uint32_t rgb;
    } cases[] = {{0x7FFF, 0xFFF8F8F8}, {0x801F, 0xFFF80000}, {0x03E0, 0xFF00F800},
                 {0x7C00, 0xFF0000F8}, {0x0421, 0xFF080808}, {0x0000, 0xFF000000}};
    for (auto c : cases) {
        EXPECT_EQ(GbaColourToRgb(c.word), c.rgb) << std::hex << c.word;
    }
}

TEST(Palette, LoadsOnlyTheAskedRange) {
    GfxRom image;
    gfxtest::fillDistinctPalettes(image);
    TRom rom = image.rom();
    TPalette pal;
    pal.Colours[2][0] = 0x11;
    pal.Colours[9][15] = 0x22;
    pal.LoadFromRom(rom, GfxRom::kPalettes[0], 3, 8);
    EXPECT_EQ(pal.Colours[2][0], 0x11u);
    EXPECT_EQ(pal.Colours[9][15], 0x22u);
    EXPECT_EQ(pal.Colours[3][0], distinct(3, 0));
    EXPECT_EQ(pal.Colours[8][15], distinct(8, 15));
    EXPECT_THROW(pal.LoadFromRom(rom, 0x1FFF0, 0, 1), RomIoError);
}

TEST(Tgfx, DrawsLowNibbleFirstAndShortPicturesInColourZero) {
    TPalette pal;
    for (int i = 0; i < 16; ++i) {
        pal.Colours[2][i] = 0xFF000000u | static_cast<std::uint32_t>(i);
    }
    TGFX gfx;
    gfx.HeightTiles = 2;
    // Compressed: tile 0 row 0 = bytes 0x21 0x43 0x65 0x87; nothing else decoded.
    const std::uint8_t stream[] = {0x10, 4, 0, 0, 0x00, 0x21, 0x43, 0x65, 0x87};
    std::fill(gfx.Data.begin(), gfx.Data.end(), 0xEE);
    std::copy(std::begin(stream), std::end(stream), gfx.Data.begin());
    gfx.Compressed = true;
    gfx.Decompress();
    EXPECT_FALSE(gfx.Compressed);
    gfx.DrawPicture(pal, 2);
    ASSERT_EQ(gfx.Picture.width(), 128);
    ASSERT_EQ(gfx.Picture.height(), 16);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(gfx.Picture.pixel(x, 0), pal.Colours[2][x + 1]) << x;
    }
    EXPECT_EQ(gfx.Picture.pixel(0, 1), pal.Colours[2][0]);
    EXPECT_EQ(gfx.Picture.pixel(127, 15), pal.Colours[2][0]);
    gfx.DrawTile(0, 0, pal, 2);
    EXPECT_EQ(gfx.TileImage.pixel(7, 0), pal.Colours[2][8]);
}

class TilesetPairTest : public testing::Test {
protected:
    TilesetPairTest() { gfxtest::fillDistinctPalettes(image); }

    void load(int height = 32, int number1 = 1, int number2 = 2) {
        TRom rom = image.rom();
        gfxtest::loadBoth(pair, rom, image, ini, height, number1, number2);
    }
    std::uint32_t slotColour(int slot, int x = 0, int y = 0) const {
        const Bitmap* b = pair.blockImage(slot);
        return b ? b->pixel(x, y) : 0;
    }

    GfxRom image;
    IniFile ini;
    TilesetPair pair;
};

TEST_F(TilesetPairTest, TileSpaceFollowsTilesethoehe) {
    image.setTileIndex(0, 639, 9);  // part 1, tile (15, 39)
    image.setTileIndex(1, 0, 5);    // part 2, tile (0, 0)
    load(40);
    EXPECT_EQ(pair.gfx(1).HeightTiles, 40);
    EXPECT_EQ(pair.gfx(2).HeightTiles, 24);
    EXPECT_EQ(pair.DrawTileNumber(639, 4).pixel(3, 3), distinct(4, 9));
    EXPECT_EQ(pair.DrawTileNumber(640, 4).pixel(3, 3), distinct(4, 5));
    EXPECT_EQ(&pair.DrawTileNumber(640, 4), &pair.gfx(2).TileImage);
    EXPECT_THROW(pair.DrawTileNumber(1024, 0), IndexError);
    // Both pictures were drawn in palette 2.
    EXPECT_EQ(pair.gfx(1).Picture.pixel(15 * 8, 39 * 8), distinct(2, 9));
}

TEST_F(TilesetPairTest, RubyBlocksValueSetsTheLastBlock) {
    struct {
        int blocks;
        int lastBlock;
    } cases[] = {{256, 768}, {5000, 1024}, {0, 512}, {-7, 512}};
    for (auto c : cases) {
        ini.writeInteger("2", "Blocks", c.blocks);
        TilesetPair fresh;
        TRom rom = image.rom();
        gfxtest::loadBoth(fresh, rom, image, ini);
        EXPECT_EQ(fresh.blocksPart1(), 512);
        EXPECT_EQ(fresh.lastBlock(), c.lastBlock) << c.blocks;
        EXPECT_NE(fresh.blockImage(c.lastBlock), nullptr);
        EXPECT_EQ(fresh.blockImage(c.lastBlock + 1), nullptr);
    }
}

TEST_F(TilesetPairTest, PartTwoFillsThroughTheLastBlockRecord) {
    ini.writeInteger("2", "Blocks", 256);
    image.setTileIndex(0, 1, 3);
    image.setPlainBlock(1, 0, 1, 7);    // slot 512
    image.setPlainBlock(1, 256, 1, 8);  // slot 768, at table + 4096
    image.setPlainBlock(0, 511, 1, 9);
    load();
    EXPECT_EQ(slotColour(512), distinct(7, 3));
    EXPECT_EQ(slotColour(768), distinct(8, 3));
    EXPECT_EQ(slotColour(511), distinct(9, 3));
}

TEST_F(TilesetPairTest, GameFamiliesSplitBlocksAndPalettes) {
    struct {
        const char* code;
        int p;
        int firstPart2Palette;
    } cases[] = {{"BPRE", 640, 7}, {"BPGE", 640, 7}, {"BPEE", 512, 6}};
    for (auto c : cases) {
        GfxRom img(c.code);
        // Each part's palettes carry their part in the red bits.
        for (int p = 0; p < 16; ++p) {
            img.setColour(0, p, 0, 1);
            img.setColour(1, p, 0, 2);
        }
        ini.writeInteger("2", "Blocks", 3);  // ignored: these games always have 1024
        TilesetPair fresh;
        TRom rom = img.rom();
        gfxtest::loadBoth(fresh, rom, img, ini);
        EXPECT_EQ(fresh.blocksPart1(), c.p) << c.code;
        EXPECT_EQ(fresh.lastBlock(), 1024) << c.code;
        EXPECT_EQ(fresh.palette().Colours[c.firstPart2Palette - 1][0], colourOf(1)) << c.code;
        EXPECT_EQ(fresh.palette().Colours[c.firstPart2Palette][0], colourOf(2)) << c.code;
    }
}

TEST_F(TilesetPairTest, UnchangedPartIsNotReadAgain) {
    image.setTileIndex(0, 1, 3);
    image.setPlainBlock(0, 0, 1, 1);
    image.setPlainBlock(1, 0, 1, 2);
    ini.writeInteger("1", "Start Pal", 4);
    load();
    EXPECT_EQ(pair.startPalette(), 4);
    EXPECT_EQ(pair.blockTableOffset(2), static_cast<std::int32_t>(GfxRom::kBlocks[1]));
    EXPECT_EQ(pair.behaviourTableOffset(1), static_cast<std::int32_t>(GfxRom::kBehaviour[0]));

    // Next map: part 1 changes, part 2 stays; its header now points past the file's end.
    image.setPlainBlock(0, 0, 1, 5);
    image.setPlainBlock(1, 0, 1, 6);
    auto h1 = image.header(0);
    GfxRom broken = image;
    broken.setHeaderPointer(1, 4, 0x7FFFFF);
    broken.setHeaderPointer(1, 12, 0x7FFFFF);
    auto h2 = broken.header(1);
    TRom rom = image.rom();
    EXPECT_TRUE(pair.LoadTilesets(rom, 1, 2, 3, 2, h1, h2, ini, 32));
    EXPECT_FALSE(pair.partUnchanged(1));
    EXPECT_TRUE(pair.partUnchanged(2));
    EXPECT_EQ(pair.tilesetNumber(1), 3);
    EXPECT_EQ(slotColour(0), distinct(5, 3));
    EXPECT_EQ(slotColour(512), distinct(2, 3));  // part 2's first block as before
    EXPECT_EQ(pair.startPalette(), 0);           // section "3" has none

    // Nothing changed: nothing is read or rebuilt.
    EXPECT_FALSE(pair.LoadTilesets(rom, 3, 2, 3, 2, h1, h2, ini, 32));
}

TEST_F(TilesetPairTest, CompressedPictureAtTheEndOfTheFile) {
    // A 4-byte picture compressed into the file's last 9 bytes; byte 0 of the header is 1.
    const std::uint32_t at = static_cast<std::uint32_t>(image.bytes.size()) - 9;
    const std::uint8_t stream[] = {0x10, 4, 0, 0, 0x00, 0x11, 0x11, 0x11, 0x11};
    std::copy(std::begin(stream), std::end(stream), image.bytes.begin() + at);
    image.setHeaderPointer(0, 4, at);
    image.bytes[GfxRom::kHeader[0]] = 1;
    image.bytes[GfxRom::kHeader[1]] = 2;  // not 1: part 2 stays raw
    image.setTileIndex(1, 0, 6);
    load();
    EXPECT_EQ(pair.gfx(1).Data[0], 0x11);
    EXPECT_EQ(pair.gfx(1).Data[4], 0x00);
    EXPECT_EQ(pair.gfx(1).Picture.pixel(0, 0), distinct(2, 1));
    EXPECT_EQ(pair.gfx(1).Picture.pixel(0, 1), distinct(2, 0));
    EXPECT_EQ(pair.gfx(2).Picture.pixel(0, 0), distinct(2, 6));

    image.setHeaderPointer(0, 4, static_cast<std::uint32_t>(image.bytes.size()));
    TilesetPair fresh;
    TRom rom = image.rom();
    EXPECT_THROW(gfxtest::loadBoth(fresh, rom, image, ini), RomIoError);
}

TEST_F(TilesetPairTest, ComposesLayersWithFlipsAndKeyByValue) {
    // Tile 1: index (x + 2y) & 15, different under every flip; tile 2: index 7 everywhere but
    // the top-left pixel (index 1). Palette 3 has colour 7 equal to colour 0.
    image.setTile(0, 1, [](int x, int y) { return (x + 2 * y) & 15; });
    image.setTile(0, 2, [](int x, int y) { return x == 0 && y == 0 ? 1 : 7; });
    image.setColour(0, 3, 7, image.bytes[GfxRom::kPalettes[0] + 96] |
                                 image.bytes[GfxRom::kPalettes[0] + 97] << 8);
    load();
    auto e = [](int tile, bool fx, bool fy, int pal) {
        return static_cast<std::uint16_t>(tile | fx << 10 | fy << 11 | pal << 12);
    };
    // Lower: plain, X flip, Y flip, both. Upper: tile 2 in palette 3 over the top-left only.
    std::array<std::uint8_t, 16> record{};
    const std::uint16_t entries[8] = {e(1, 0, 0, 4), e(1, 1, 0, 4), e(1, 0, 1, 4), e(1, 1, 1, 4),
                                      e(2, 0, 0, 3), e(0, 0, 0, 5), e(0, 0, 0, 5), e(0, 0, 0, 5)};
    for (int i = 0; i < 8; ++i) {
        writeLe16(record.data() + 2 * i, entries[i]);
    }
    Bitmap block;
    pair.composeBlock(record, block);
    auto lower = [](int x, int y) { return distinct(4, (x + 2 * y) & 15); };
    EXPECT_EQ(block.pixel(0, 0), distinct(3, 1));  // upper pixel of index 1 drawn
    EXPECT_EQ(block.pixel(1, 0), lower(1, 0));     // upper index 7 == colour 0: see-through
    EXPECT_EQ(block.pixel(8 + 0, 0), lower(7, 0));
    EXPECT_EQ(block.pixel(8 + 2, 1), lower(5, 1));
    EXPECT_EQ(block.pixel(1, 8 + 0), lower(1, 7));
    EXPECT_EQ(block.pixel(8 + 1, 8 + 2), lower(6, 5));
    // Upper tile 0 is all index 0 in palette 5: fully transparent; lower index 0 stays.
    EXPECT_EQ(block.pixel(8, 8 + 7), lower(7, 0));
}

}  // namespace
}  // namespace quillon
