// The band around maps whose footer gives them no cells.
#include <gtest/gtest.h>

#include "core/base/numbers.h"
#include "core/neighbours.h"
#include "core/session.h"
#include "romkit/rom_files.h"
#include "tests/connections/connection_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

// Map 0.0 of the connection ROM (neighbours below, right and left) with the footer's width
// and height replaced.
struct SizeCase {
    std::uint32_t width;
    std::uint32_t height;
    bool band;  // whether a band is drawn around it
};

class NeighbourBandSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(NeighbourBandSizeTest, OnlyAMapWithCellsGetsABand) {
    const SizeCase c = GetParam();
    romkit::BuiltRom built = testing::connectionRomBuilder().build();
    const std::uint32_t footer = built.maps.at({0, 0}).footer;
    writeLe32(&built.bytes[footer], c.width);
    writeLe32(&built.bytes[footer + 4], c.height);
    testing::TempDir dir;
    romkit::writeProgramFolder(dir.path(), built);
    Session session(dir.path());
    session.settings().setPersistent(false);
    session.openRom(built.memoryFile(), "test.gba");
    session.openMap("0.0", "0.0");

    const NeighbourBand band = drawNeighbourBand(session.rom(), session.romState(),
                                                 session.data(), session.mapState());
    const int margin = c.band ? kNeighbourBandCells : 0;
    EXPECT_EQ(band.margin, margin);
    EXPECT_EQ(band.picture.width(), static_cast<int>(c.width + 2 * margin) * 16);
    EXPECT_EQ(band.picture.height(), static_cast<int>(c.height + 2 * margin) * 16);
    EXPECT_EQ(band.neighbours.size(), c.band ? 3u : 0u);
    Bitmap composed;
    composeNeighbourPicture(band, session.mapPicture(), composed);
    EXPECT_EQ(composed.width(), band.picture.width());
}

INSTANTIATE_TEST_SUITE_P(Sizes, NeighbourBandSizeTest,
                         ::testing::Values(SizeCase{0, 4000, false}, SizeCase{4000, 0, false},
                                           SizeCase{0, 0, false}, SizeCase{2, 3, true}));

}  // namespace
}  // namespace quillon
