#include "core/blocks/tileset_pictures.h"

#include <gtest/gtest.h>

#include "core/blocks/palette_file.h"
#include "core/gfx/palette.h"
#include "tests/blocks/block_test_rom.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using romkit::Family;
using testing::OpenedRom;

constexpr std::uint32_t kWhite = 0xFFF8F8F8u;
constexpr std::uint32_t kGreen = 0xFF00F800u;

// Tile t (1-3) holds indices t (even x) and t + 1 (odd x); tile 0 is all 0.
TEST(TilesetPictures, PartIndicesAreTheTilesColourIndices) {
    for (Family family : {Family::Rse, Family::Frlg}) {
        OpenedRom o(testing::buildBlockRom(family), "0.0");
        const TilesetPair& pair = o.session().romState().tilesets();
        const int h = family == Family::Frlg ? 40 : 32;
        for (int part : {1, 2}) {
            const blocks::IndexedPicture picture = blocks::partIndices(pair, part);
            EXPECT_EQ(picture.width, 128);
            EXPECT_EQ(picture.height, 8 * (part == 1 ? h : 64 - h));
            const auto at = [&](int x, int y) {
                return picture.pixels[static_cast<std::size_t>(y * picture.width + x)];
            };
            EXPECT_EQ(at(0, 0), 0);
            EXPECT_EQ(at(8, 0), 1);
            EXPECT_EQ(at(9, 7), 2);
            EXPECT_EQ(at(16 + 4, 3), 2);
            EXPECT_EQ(at(24 + 7, 0), 4);
            const Bitmap painted = blocks::paintIndices(picture, pair.palette(), 3);
            EXPECT_EQ(painted.pixel(0, 0), kWhite);       // palette 3, colour 0 (0x7FFF)
            EXPECT_EQ(painted.pixel(9, 0), 0xFFF80000u);  // colour 2 (0x801F, bit 15 ignored)
            EXPECT_EQ(painted.pixel(24, 0), kGreen);      // colour 3
        }
    }
}

// Part 2's first tile sits right below part 1's last row in the stacked picture.
TEST(TilesetPictures, StackedTilesPutPartTwoBelowPartOne) {
    for (Family family : {Family::Rse, Family::Frlg}) {
        OpenedRom o(testing::buildBlockRom(family), "0.0");
        const TilesetPair& pair = o.session().romState().tilesets();
        const int h = family == Family::Frlg ? 40 : 32;
        const Bitmap stacked = blocks::stackedTiles(pair, 3);
        EXPECT_EQ(stacked.width(), 128);
        EXPECT_EQ(stacked.height(), 512);
        EXPECT_EQ(stacked.pixel(24, 0), kGreen) << "part 1, tile 3";
        EXPECT_EQ(stacked.pixel(24, 8 * h), kGreen) << "part 2, tile 3";
        EXPECT_EQ(stacked.pixel(0, 8 * h), kWhite) << "part 2, tile 0";
    }
}

// The layer box shows the upper layer opaque on the right, the map's block keys it.
TEST(TilesetPictures, LayerPictureShowsBothLayersOpaque) {
    OpenedRom o(testing::buildBlockRom(Family::Rse), "0.0");
    const TilesetPair& pair = o.session().romState().tilesets();
    std::array<std::uint8_t, 16> record{};
    record[8] = 0x03;  // entry 4: tile 3, palette 3, X flip
    record[9] = 0x34;
    const Bitmap layers = blocks::layerPicture(pair, record);
    EXPECT_EQ(layers.width(), 32);
    EXPECT_EQ(layers.pixel(0, 0), 0xFF000000u) << "entry 0: tile 0 in palette 0";
    EXPECT_EQ(layers.pixel(16, 0), 0xFF0000F8u) << "flipped: pixel 0 is index 4";
    EXPECT_EQ(layers.pixel(17, 0), kGreen);
    EXPECT_EQ(blocks::entryTile(pair, TileEntry{0x3403}).pixel(0, 0), 0xFF0000F8u);
    const Bitmap composed = blocks::composedBlock(pair, record);
    EXPECT_EQ(composed.pixel(0, 0), 0xFF0000F8u) << "upper layer over the lower one";
}

TEST(PaletteFile, SixteenColoursOfFourBytes) {
    TPalette colours;
    colours.Colours[7][0] = GbaColourToRgb(0x7FFF);
    colours.Colours[7][1] = GbaColourToRgb(0x801F);
    colours.Colours[7][15] = GbaColourToRgb(0x03E0 | 0x0008);
    // Red, green, blue and a 0 each (bit 15 of 0x801F ignored); the other colours black.
    std::array<std::uint8_t, 64> bytes{0xF8, 0xF8, 0xF8, 0, 0xF8};
    bytes[60] = 0x40;
    bytes[61] = 0xF8;
    EXPECT_EQ(blocks::paletteFileBytes(colours, 7), bytes);

    std::string text = "JASC-PAL\r\n0100\r\n16\r\n248 248 248\r\n248 0 0\r\n";
    for (int i = 2; i < 15; ++i) {
        text += "0 0 0\r\n";
    }
    EXPECT_EQ(blocks::jascPaletteText(colours, 7), text + "64 248 0\r\n");
}

TEST(PaletteFile, NameReplacesThePicturesExtension) {
    const std::pair<const char*, const char*> cases[] = {{"wald.DIB", "wald.pal"},
                                                         {"tileset", "tileset.pal"},
                                                         {"dir.v2/tileset", "dir.v2/tileset.pal"},
                                                         {"a/b.jasc.png", "a/b.jasc.pal"},
                                                         {"x.pal", "x.pal.pal"},
                                                         {"t.bmp", "t.pal"}};
    for (const auto& [picture, palette] : cases) {
        EXPECT_EQ(blocks::paletteFileName(picture), palette) << picture;
    }
    EXPECT_TRUE(blocks::isJascName("a/b.JASC.pal"));
    EXPECT_FALSE(blocks::isJascName("jasc.pal"));
    EXPECT_TRUE(blocks::isPngName("x.PNG"));
    EXPECT_FALSE(blocks::isPngName("png"));
}

}  // namespace
}  // namespace quillon
