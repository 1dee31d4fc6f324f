#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <sstream>

#include "cli/cli_blocks.h"
#include "core/blocks/tileset_pictures.h"
#include "core/errors.h"
#include "tests/blocks/block_test_rom.h"
#include "tests/cli/cli_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void saveTileset(OpenRom& open, int part, int palette, const std::filesystem::path& file,
                 bool jasc = false) {
    std::ostringstream out;
    cli::saveTileset(open.session, "0.0", part, palette, file, jasc, out);
}

// The PNG's colour table is palette 3 exactly and its pixels are the tiles' colour indices,
// so an outside editor keeps the indices.
TEST(TilesetExport, IndexedPngHoldsThePaletteAndTheIndices) {
    OpenRom open(testing::buildBlockRom(romkit::Family::Rse));
    const auto file = open.dir.file("tiles.png");
    saveTileset(open, 2, 3, file);
    QImage image(QString::fromStdString(file.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    const QList<QRgb> expected = {0xFFF8F8F8, 0xFF000000, 0xFFF80000, 0xFF00F800,
                                  0xFF0000F8, 0xFF000000, 0xFF000000, 0xFF000000,
                                  0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
                                  0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000};
    EXPECT_EQ(image.colorTable(), expected);
    const blocks::IndexedPicture indices =
        blocks::partIndices(open.session.romState().tilesets(), 2);
    ASSERT_EQ(image.width(), indices.width);
    ASSERT_EQ(image.height(), indices.height);
    int differing = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            differing += image.pixelIndex(x, y) !=
                         indices.pixels[static_cast<std::size_t>(y * indices.width + x)];
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(image.pixelIndex(31, 0), 4);
    // 0x7FFF, 0x0000, 0x801F, ...: four bytes each, red, green, blue, 0.
    const std::string pal = fileText(open.dir.file("tiles.pal"));
    ASSERT_EQ(pal.size(), 64u);
    EXPECT_EQ(pal.substr(0, 12), std::string("\xF8\xF8\xF8\0\0\0\0\0\xF8\0\0\0", 12));
}

TEST(TilesetExport, BmpAndPaletteNameWithoutTheOldExtension) {
    OpenRom open(testing::buildBlockRom(romkit::Family::Frlg));
    saveTileset(open, 1, 3, open.dir.file("wald.DIB"));
    const std::string bmp = fileText(open.dir.file("wald.DIB"));
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp.at(28), 24) << "bits per pixel";
    QImage image(QString::fromStdString(open.dir.file("wald.DIB").string()), "BMP");
    EXPECT_EQ(image.height(), 8 * 40);
    EXPECT_EQ(image.pixel(24, 0), 0xFF00F800u);
    EXPECT_EQ(fileText(open.dir.file("wald.pal")).size(), 64u);
}

TEST(TilesetExport, JascTextByFlagOrName) {
    OpenRom open(testing::buildBlockRom(romkit::Family::Rse));
    saveTileset(open, 1, 3, open.dir.file("a.bmp"), true);
    saveTileset(open, 1, 3, open.dir.file("b.jasc.png"));
    for (const char* name : {"a.pal", "b.jasc.pal"}) {
        EXPECT_EQ(fileText(open.dir.file(name)).substr(0, 33),
                  "JASC-PAL\r\n0100\r\n16\r\n248 248 248\r\n")
            << name;
    }
}

// A palette file that cannot be written is reported, never passed over; a bad part writes
// nothing at all.
TEST(TilesetExport, FailuresAreReportedAndLeaveFilesAlone) {
    OpenRom open(testing::buildBlockRom(romkit::Family::Rse));
    std::filesystem::create_directory(open.dir.file("blocked.pal"));
    try {
        saveTileset(open, 1, 0, open.dir.file("blocked.bmp"));
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("blocked.pal"), std::string::npos) << e.what();
    }
    std::ofstream(open.dir.file("old.bmp")) << "old";
    EXPECT_THROW(saveTileset(open, 3, 0, open.dir.file("old.bmp")), Error);
    EXPECT_EQ(fileText(open.dir.file("old.bmp")), "old");
    EXPECT_FALSE(std::filesystem::exists(open.dir.file("old.pal")));
}

}  // namespace
}  // namespace quillon
