#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "gfx_test_rom.h"

namespace quillon {
namespace {

using gfxtest::distinct;
using gfxtest::GfxRom;

TEST(Palette, ConvertsGbaColours) {
    struct {
        std::uint16_t word;
        std::uint32_t rgb;
    } cases[] = {{0x7FFF, 0xFFF8F8F8},
                 {0x801F, 0xFFF80000},
                 {0x03E0, 0xFF00F800},
                 {0x7C00, 0xFF0000F8},
                 {0x0421, 0xFF080808}};
    for (auto c : cases) {
        EXPECT_EQ(GbaColourToRgb(c.word), c.rgb) << std::hex << c.word;
    }
}

class TilesetPairTest : public ::testing::Test {
protected:
    void load(int height = 32) {
        TRom rom = image.rom();
        gfxtest::loadBoth(pair, rom, image, ini, height);
    }
    std::uint32_t slotColour(int slot) const { return pair.blockImage(slot)->pixel(0, 0); }

    GfxRom image;
    IniFile ini;
    TilesetPair pair;
};

TEST_F(TilesetPairTest, TileSpaceFollowsTilesethoehe) {
    image.setTileIndex(0, 639, 9);  // part 1, tile (15, 39)
    image.setTileIndex(1, 0, 5);    // part 2, tile (0, 0)
    load(40);
    EXPECT_EQ(pair.DrawTileNumber(639, 4).pixel(3, 3), distinct(4, 9));
    EXPECT_EQ(pair.DrawTileNumber(640, 4).pixel(3, 3), distinct(4, 5));
    EXPECT_EQ(pair.gfx(2).HeightTiles, 24);
    EXPECT_EQ(pair.gfx(1).Picture.pixel(15 * 8, 39 * 8), distinct(2, 9));  // drawn in palette 2
    EXPECT_THROW(pair.DrawTileNumber(1024, 0), IndexError);
}

TEST_F(TilesetPairTest, RubyBlocksValueSetsTheLastBlock) {
    image.setTileIndex(0, 1, 3);
    image.setPlainBlock(1, 256, 1, 8);  // slot 768: the 257th record, at table + 4096
    struct {
        int blocks;
        int lastBlock;
    } cases[] = {{256, 768}, {5000, 1024}, {0, 512}, {-7, 512}};
    for (auto c : cases) {
        ini.writeInteger("2", "Blocks", c.blocks);
        pair = TilesetPair();
        load();
        EXPECT_EQ(pair.lastBlock(), c.lastBlock) << c.blocks;
        EXPECT_EQ(pair.blockImage(c.lastBlock + 1), nullptr) << c.blocks;
    }
    ini.writeInteger("2", "Blocks", 256);
    load();
    EXPECT_EQ(slotColour(768), distinct(8, 3));
}

TEST(TilesetPair, GameFamiliesSplitBlocksAndPalettes) {
    struct {
        const char* code;
        int p;
        int firstPart2Palette;
    } cases[] = {{"BPRE", 640, 7}, {"BPGE", 640, 7}, {"BPEE", 512, 6}};
    IniFile ini;
    ini.writeInteger("2", "Blocks", 3);  // ignored: these games always have 1024 blocks
    for (auto c : cases) {
        GfxRom image(c.code);
        for (int p = 0; p < 16; ++p) {
            image.setColour(0, p, 0, 1);
            image.setColour(1, p, 0, 2);
        }
        TilesetPair pair;
        TRom rom = image.rom();
        gfxtest::loadBoth(pair, rom, image, ini);
        EXPECT_EQ(pair.blocksPart1(), c.p) << c.code;
        EXPECT_EQ(pair.lastBlock(), 1024) << c.code;
        const auto& colours = pair.palette().Colours;
        EXPECT_EQ(colours[c.firstPart2Palette - 1][0], GbaColourToRgb(1)) << c.code;
        EXPECT_EQ(colours[c.firstPart2Palette][0], GbaColourToRgb(2)) << c.code;
    }
}

TEST_F(TilesetPairTest, UnchangedPartIsNotReadAgain) {
    image.setTileIndex(0, 1, 3);
    image.setPlainBlock(1, 0, 1, 2);
    ini.writeInteger("1", "Start Pal", 4);
    load();
    EXPECT_EQ(pair.startPalette(), 4);

    // Next map: part 1 changes; part 2 keeps its number, and its header now points past the
    // end of the file, so any read of it would throw.
    image.setPlainBlock(0, 0, 1, 5);
    image.setPlainBlock(1, 0, 1, 6);
    GfxRom broken = image;
    broken.setHeaderPointer(1, 4, 0x7FFFFF);
    broken.setHeaderPointer(1, 12, 0x7FFFFF);
    auto h1 = image.header(0);
    auto h2 = broken.header(1);
    TRom rom = image.rom();
    EXPECT_TRUE(pair.LoadTilesets(rom, {3, h1}, {2, h2}, ini, 32));
    EXPECT_TRUE(pair.partUnchanged(2));
    EXPECT_EQ(slotColour(0), distinct(5, 3));
    EXPECT_EQ(slotColour(512), distinct(2, 3));  // part 2's first block as before
    EXPECT_EQ(pair.startPalette(), 0);           // section "3" has none
    EXPECT_FALSE(pair.LoadTilesets(rom, {3, h1}, {2, h2}, ini, 32));
}

TEST_F(TilesetPairTest, EveryTilesetNumberLoadsOnTheFirstMapAndAfterAFailure) {
    // Any number a footer can name is real, so a fresh pair loads whatever comes first.
    image.setTileIndex(0, 1, 3);
    image.setPlainBlock(0, 0, 1, 5);
    auto h1 = image.header(0);
    auto h2 = image.header(1);
    TRom rom = image.rom();
    for (int number : {0, 100, 0xFFFF}) {
        TilesetPair fresh;
        EXPECT_FALSE(fresh.tilesetNumber(1).has_value());
        EXPECT_TRUE(fresh.LoadTilesets(rom, {number, h1}, {number + 1, h2}, ini, 32)) << number;
        EXPECT_EQ(fresh.tilesetNumber(1), number);
        ASSERT_NE(fresh.blockImage(0), nullptr);
        EXPECT_EQ(fresh.blockImage(0)->pixel(0, 0), distinct(5, 3)) << number;
    }
    // A part that fails leaves nothing counted as loaded: the same request reads again.
    GfxRom broken = image;
    broken.setHeaderPointer(1, 12, 0x7FFFFF);
    auto bad = broken.header(1);
    EXPECT_THROW(pair.LoadTilesets(rom, {7, h1}, {8, bad}, ini, 32), RomIoError);
    EXPECT_FALSE(pair.tilesetNumber(1).has_value());
    EXPECT_TRUE(pair.LoadTilesets(rom, {7, h1}, {8, h2}, ini, 32));
    EXPECT_FALSE(pair.partUnchanged(1));
}

TEST_F(TilesetPairTest, CompressedPictureAtTheEndOfTheFile) {
    // Header byte 0 is 1: a 4-byte picture compressed into the file's last 9 bytes; the rest
    // of the part shows colour 0. Byte 0 = 2 leaves part 2 raw.
    const auto at = static_cast<std::uint32_t>(image.bytes.size()) - 9;
    const std::uint8_t stream[] = {0x10, 4, 0, 0, 0x00, 0x21, 0x43, 0x65, 0x87};
    std::copy(std::begin(stream), std::end(stream), image.bytes.begin() + at);
    image.setHeaderPointer(0, 4, at);
    image.bytes[GfxRom::kHeader[0]] = 1;
    image.bytes[GfxRom::kHeader[1]] = 2;
    image.setTileIndex(1, 0, 6);
    load();
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(pair.gfx(1).Picture.pixel(x, 0), distinct(2, x + 1)) << x;  // low nibble first
    }
    EXPECT_EQ(pair.gfx(1).Picture.pixel(0, 1), distinct(2, 0));
    EXPECT_EQ(pair.gfx(2).Picture.pixel(0, 0), distinct(2, 6));

    image.setHeaderPointer(0, 4, static_cast<std::uint32_t>(image.bytes.size()));
    pair = TilesetPair();
    EXPECT_THROW(load(), RomIoError);
}

TEST_F(TilesetPairTest, ComposesLayersWithFlipsAndKeyByValue) {
    // Tile 1: index (x + 2y) & 15, different under every flip. Tile 2: index 7 but for its
    // top-left pixel (index 1). Palette 3's colour 7 equals its colour 0.
    image.setTile(0, 1, [](int x, int y) { return (x + 2 * y) & 15; });
    image.setTile(0, 2, [](int x, int y) { return x == 0 && y == 0 ? 1 : 7; });
    image.setColour(0, 3, 7, static_cast<std::uint16_t>(3 << 10 | 0 << 5 | 1));
    load();
    auto e = [](int tile, int fx, int fy, int pal) {
        return static_cast<std::uint16_t>(tile | fx << 10 | fy << 11 | pal << 12);
    };
    // Lower: plain, X flip, Y flip, both. Upper: tile 2 (palette 3) top-left, then tile 0.
    const std::uint16_t entries[8] = {e(1, 0, 0, 4), e(1, 1, 0, 4), e(1, 0, 1, 4), e(1, 1, 1, 4),
                                      e(2, 0, 0, 3), e(0, 0, 0, 5), e(0, 0, 0, 5), e(0, 0, 0, 5)};
    std::array<std::uint8_t, 16> record{};
    for (int i = 0; i < 8; ++i) {
        writeLe16(record.data() + 2 * i, entries[i]);
    }
    Bitmap block;
    pair.composeBlock(record, block);
    auto lower = [](int x, int y) { return distinct(4, (x + 2 * y) & 15); };
    EXPECT_EQ(block.pixel(0, 0), distinct(3, 1));
    EXPECT_EQ(block.pixel(1, 0), lower(1, 0));  // index 7 has colour 0's value: see-through
    EXPECT_EQ(block.pixel(8 + 2, 1), lower(5, 1));
    EXPECT_EQ(block.pixel(1, 8 + 0), lower(1, 7));
    EXPECT_EQ(block.pixel(8 + 1, 8 + 2), lower(6, 5));
    EXPECT_EQ(block.pixel(8, 8 + 7), lower(7, 0));  // lower colour 0 stays opaque
}

// Blocks of one part draw tiles and palettes of the other: when only the other part changes
// from one map to the next, the kept part's blocks must show the new part's data, exactly as
// a pair that loads both afresh shows them.
TEST(TilesetPair, AKeptPartsBlocksFollowTheOtherPart) {
    struct Case {
        const char* what;
        int changedPart;  // 0 or 1: the part whose header the second map swaps
        int slot;         // a block of the kept part that uses the changed part's data
    } cases[] = {{"secondary block on a primary tile", 0, 512},
                 {"primary block in a secondary palette", 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GfxRom image;  // Ruby: palettes 6-15 come from part 2
        image.setTileIndex(0, 1, 3);
        image.setPlainBlock(0, 0, 1, 9);  // slot 0: primary tile 1 in palette 9
        image.setPlainBlock(1, 0, 1, 2);  // slot 512: primary tile 1 in palette 2
        // A second header of the changed part: other tiles (tile 1 in colour 7) for part 1,
        // other palettes (palette 9 colour 3 another colour) for part 2.
        constexpr std::uint32_t kOther = 0x130, kOtherData = 0x17000;
        std::uint8_t* bytes = image.bytes.data();
        std::memcpy(bytes + kOther, bytes + GfxRom::kHeader[c.changedPart], 24);
        writeLe32(bytes + kOther + (c.changedPart == 0 ? 4 : 8), 0x08000000u | kOtherData);
        if (c.changedPart == 0) {
            std::memset(bytes + kOtherData + 32, 0x77, 32);  // tile 1: colour 7
        } else {
            std::memcpy(bytes + kOtherData, bytes + GfxRom::kPalettes[1], 512);
            writeLe16(bytes + kOtherData + 32 * 9 + 2 * 3, 0x1234);
        }
        std::array<std::uint8_t, 24> other{};
        std::memcpy(other.data(), image.bytes.data() + kOther, 24);
        std::array<std::uint8_t, 24> h[2] = {image.header(0), image.header(1)};
        TRom rom = image.rom();
        IniFile ini;
        TilesetPair pair;
        pair.LoadTilesets(rom, {1, h[0]}, {2, h[1]}, ini, 32);
        TilesetRequest second[2] = {{1, h[0]}, {2, h[1]}};
        second[c.changedPart] = {3 + c.changedPart, other};
        ASSERT_TRUE(pair.LoadTilesets(rom, second[0], second[1], ini, 32));
        TilesetPair fresh;
        fresh.LoadTilesets(rom, second[0], second[1], ini, 32);
        EXPECT_EQ(*pair.blockImage(c.slot), *fresh.blockImage(c.slot));
        const std::uint32_t before = c.changedPart == 0 ? distinct(2, 3) : distinct(9, 3);
        EXPECT_NE(*pair.blockImage(c.slot), Bitmap(16, 16, before));
    }
}

}  // namespace
}  // namespace quillon
