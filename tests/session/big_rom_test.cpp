// Expanded ROMs of 32 MiB: data that moves above 16 MiB is pointed at with 0x09xxxxxx pointers
// and read back from there, never from 16 MiB lower.

#include <gtest/gtest.h>

#include "core/session/map_saving.h"
#include "core/session/session.h"
#include "core/writers/event_counts.h"
#include "core/writers/map_resize.h"
#include "tests/events/event_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBigRom = 32u << 20;
constexpr std::uint32_t kHigh = 0x1800000;  // above 16 MiB; kHigh - 16 MiB holds 0xFF too

void put32(Bytes& image, std::uint32_t at, std::uint32_t value) {
    for (std::uint32_t i = 0; i < 4; ++i) {
        image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

class BigRom : public ::testing::Test {
protected:
    void SetUp() override {
        RomBuilder b = eventRomBuilder(kBigRom);
        MapSpec m = eventMap(0, 0);
        m.persons = {personRecord(1, 3, 1, 1), personRecord(2, 4, 6, 4)};
        m.warps = {warpRecord(3, 2, 1, 1, 0)};
        b.addMap(m);
        m_built = b.build();
        writeProgramFolder(m_dir.path(), m_built);
        writeRomFile(m_dir.file("big.gba"), m_built);
        m_session.openRom(m_dir.file("big.gba"));
        m_session.openMap("0.0", "t");
    }
    Bytes file() { return testing::fileBytes(m_dir.file("big.gba")); }
    const BuiltMap& built() const { return m_built.maps.at({0, 0}); }

    TempDir m_dir;
    BuiltRom m_built;
    Session m_session{m_dir.path()};
};

TEST_F(BigRom, EventTablesMovedAbove16MiBAreReadBackFromThere) {
    const Bytes before = file();
    const EventCounts counts{3, 1, 0, 2};
    const EventLayout layout = applyEventCounts(m_session.rom(), m_session.mapState(), counts, kHigh);

    // Only the new tables and the header's events pointer changed.
    Bytes expected = before;
    const Bytes after = file();
    std::copy(after.begin() + kHigh, after.begin() + kHigh + eventSpace(counts),
              expected.begin() + kHigh);
    put32(expected, built().header + 4, 0x08000000u + layout.header);
    EXPECT_TRUE(after == expected);

    m_session.openMap("0.0", "t");
    EXPECT_EQ(eventCounts(m_session.mapState().events()), counts);
    EXPECT_EQ(m_session.mapState().events().record(EventKind::Person, 1)[0], 2) << "person 2 kept";
}

TEST_F(BigRom, AGridMovedAbove16MiBIsSavedThereAfterPainting) {
    const std::uint32_t grid = resizeMap(m_session.rom(), m_session.romState().profile(),
                                         m_session.mapState(), 10, 7, kHigh);
    ASSERT_EQ(grid, kHigh + 8);
    const Bytes resized = file();
    EXPECT_EQ(resized[built().footer + 15], 0x09) << "the grid pointer's top byte";

    m_session.mapState().editor().selectBlock(1);
    m_session.mapState().editor().paint(3, 2);
    saveOpenMap(m_session.rom(), m_session.mapState());
    Bytes expected = resized;
    expected[grid + 2 * (2 * 10 + 3)] = 1;
    EXPECT_TRUE(file() == expected) << "only the painted cell changed, 16 MiB up";

    m_session.openMap("0.0", "t");
    EXPECT_EQ(m_session.mapState().grid().width, 10);
    EXPECT_EQ(m_session.mapState().grid().at(3, 2).block(), 1);
}

}  // namespace
}  // namespace quillon
