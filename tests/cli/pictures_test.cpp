#include <gtest/gtest.h>

#include "cli/cli_pictures.h"
#include "tests/cli/cli_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

// A map with a warp at cell (2, 3) and a signpost at (5, 1).
romkit::BuiltRom warpRom() {
    romkit::RomBuilder b = testing::twoPairBuilder();
    romkit::MapSpec m = testing::chequerMap(0, 0, 0);
    m.warps = {romkit::warpRecord(2, 3, 0, 0, 0)};
    m.signposts = {romkit::signpostRecord(5, 1, 0, 0)};
    b.addMap(m);
    return b.build();
}

bool cellDiffers(const Bitmap& a, const Bitmap& b, int cellX, int cellY) {
    for (int y = cellY * 16; y < cellY * 16 + 16; ++y) {
        for (int x = cellX * 16; x < cellX * 16 + 16; ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return true;
            }
        }
    }
    return false;
}

// The command line shows every kind of event unless asked for persons only, whatever the
// editor's view settings say.
TEST(CliPictures, EventsViewFollowsTheCommandLineNotTheEditorSettings) {
    OpenRom open(warpRom());
    cli::PictureMaker maker(open.session);
    const Bitmap plain = maker.render("0.0", {});
    for (bool hideOthers : {true, false}) {
        for (bool sprites : {true, false}) {
            SCOPED_TRACE(std::to_string(hideOthers) + std::to_string(sprites));
            open.session.settings().setFlag(Settings::Flag::HideOtherEvents, hideOthers);
            open.session.settings().setFlag(Settings::Flag::ShowSprites, sprites);
            const Bitmap all = maker.render("0.0", {cli::View::Events, false, false});
            EXPECT_TRUE(cellDiffers(all, plain, 2, 3)) << "no warp marker";
            EXPECT_TRUE(cellDiffers(all, plain, 5, 1)) << "no signpost marker";
            const Bitmap persons = maker.render("0.0", {cli::View::Events, false, true});
            EXPECT_FALSE(cellDiffers(persons, plain, 2, 3)) << "a warp among persons only";
            EXPECT_FALSE(cellDiffers(persons, plain, 5, 1));
        }
    }
}

TEST(CliPictures, GridLinesOnlyWhenAsked) {
    OpenRom open(warpRom());
    open.session.settings().setFlag(Settings::Flag::Grid, true);
    cli::PictureMaker maker(open.session);
    const Bitmap plain = maker.render("0.0", {});
    const Bitmap grid = maker.render("0.0", {cli::View::Map, true, false});
    EXPECT_TRUE(cellDiffers(plain, grid, 0, 0));
    EXPECT_EQ(maker.render("0.0", {}), plain);
}

}  // namespace
}  // namespace quillon
