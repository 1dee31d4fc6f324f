#include "core/writers/map_resize.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/errors.h"
#include "core/session/map_saving.h"
#include "core/session/session.h"
#include "tests/events/event_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;
using Bytes = std::vector<std::uint8_t>;

constexpr int kSide = 20;

// The entry of cell (x, y) of the original map: block and movement value differ per cell.
std::uint16_t originalEntry(int x, int y) {
    return static_cast<std::uint16_t>(((y * 37 + x) & 0x3FF) | (((x + 3 * y) % 64) << 10));
}

void put32(Bytes& image, std::uint32_t at, std::uint32_t value) {
    for (std::uint32_t i = 0; i < 4; ++i) {
        image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Map 0.0: 20 x 20 with its tilesets crossed (part 1 is tileset 1, part 2 tileset 0), so the
// footer's tileset pointers differ from each other and from the defaults.
class MapResize : public ::testing::Test {
protected:
    void SetUp() override {
        RomBuilder b = eventRomBuilder();
        MapSpec m = eventMap(0, 0);
        m.width = m.height = kSide;
        m.primary = 1;
        m.secondary = 0;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                m.grid.push_back(originalEntry(x, y));
            }
        }
        m.persons = {personRecord(1, 0, 1, 1)};
        b.addMap(m);
        m_built = b.build();
        writeProgramFolder(m_dir.path(), m_built);
        writeRomFile(m_dir.file("r.gba"), m_built);
        m_session.openRom(m_dir.file("r.gba"));
        m_session.openMap("0.0", "t");
        // An even offset inside the free space at the end of the image.
        m_free = (m_built.freeSpace + 0x100) & ~0xFFu;
    }
    Bytes file() { return testing::fileBytes(m_dir.file("r.gba")); }
    std::uint32_t resize(int width, int height, std::uint32_t offset) {
        return resizeMap(m_session.rom(), m_session.romState().profile(), m_session.mapState(),
                         width, height, offset);
    }
    const BuiltMap& built() const { return m_built.maps.at({0, 0}); }

    // The whole file as it must be after a resize to width x height at offset, given the
    // entry each new cell must hold.
    template <class Entry>
    Bytes expectedAfter(const Bytes& before, int width, int height, std::uint32_t offset,
                        Entry entry) {
        Bytes image = before;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t at = offset + 8 + 2 * static_cast<std::uint32_t>(y * width + x);
                image[at] = static_cast<std::uint8_t>(entry(x, y));
                image[at + 1] = static_cast<std::uint8_t>(entry(x, y) >> 8);
            }
        }
        put32(image, built().footer, static_cast<std::uint32_t>(width));
        put32(image, built().footer + 4, static_cast<std::uint32_t>(height));
        put32(image, built().footer + 12, 0x08000000u + offset + 8);
        put32(image, built().footer + 16, 0x08000000u + m_built.tilesets[1].header);
        put32(image, built().footer + 20, 0x08000000u + m_built.tilesets[0].header);
        return image;
    }

    TempDir m_dir;
    BuiltRom m_built;
    Session m_session{m_dir.path()};
    std::uint32_t m_free = 0;
};

TEST(MapResizeSpace, IsTheGridAndThirtyTwoBytes) {
    EXPECT_EQ(resizeSpace(25, 30), 1532u);
    EXPECT_EQ(resizeSpace(1, 1), 34u);
    EXPECT_EQ(resizeSpace(8001, 1), 16034u);
}

TEST_F(MapResize, OldCellsStayTopLeftAndNewCellsAreZero) {
    struct Case {
        int width, height;
    };
    for (Case c : {Case{25, 30}, Case{10, 10}, Case{40, 10}, Case{20, 20}, Case{1, 1}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        SetUp();
        const Bytes before = file();
        const auto entry = [](int x, int y) -> std::uint16_t {
            return x < kSide && y < kSide ? originalEntry(x, y) : 0;
        };
        EXPECT_EQ(resize(c.width, c.height, m_free), m_free + 8);
        EXPECT_TRUE(file() == expectedAfter(before, c.width, c.height, m_free, entry));

        // The open map is the new one already, and reading it back gives the same.
        for (bool reopened : {false, true}) {
            if (reopened) {
                m_session.openMap("0.0", "t");
            }
            const BlockGrid& grid = m_session.mapState().grid();
            ASSERT_EQ(grid.width, c.width);
            ASSERT_EQ(grid.height, c.height);
            EXPECT_EQ(m_session.mapState().map().gridOffset, m_free + 8);
            for (int y = 0; y < c.height; ++y) {
                for (int x = 0; x < c.width; ++x) {
                    ASSERT_EQ(grid.at(x, y).raw, entry(x, y)) << x << "," << y;
                    ASSERT_EQ(grid.movement[static_cast<std::size_t>(grid.index(x, y))],
                              entry(x, y) >> 10);
                }
            }
        }
    }
}

TEST_F(MapResize, RefusalsLeaveTheFileAndTheMapAsTheyWere) {
    struct Case {
        int width, height;
        std::uint32_t offset;
        const char* says;
    };
    const auto end = static_cast<std::uint32_t>(m_built.bytes.size());
    const Case cases[] = {
        {0, 5, m_free, "mindestens 1"},
        {5, 0, m_free, "mindestens 1"},
        {-3, 5, m_free, "mindestens 1"},
        {90, 90, m_free, "8001"},
        {8002, 1, m_free, "8001"},
        {10, 10, end - 207, "Dateiende"},  // the grid (at + 8, 200 bytes) one byte past the end
        {10, 10, end + 2, "Dateiende"},
        {10, 10, 0x40, "Rom-Header"},
    };
    const Bytes before = file();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " at " +
                     std::to_string(c.offset));
        try {
            resize(c.width, c.height, c.offset);
            ADD_FAILURE() << "not refused";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        EXPECT_TRUE(file() == before);
        EXPECT_EQ(m_session.mapState().grid().width, kSide);
        EXPECT_EQ(m_session.mapState().map().gridOffset, built().grid);
    }
    EXPECT_NO_THROW(resize(10, 10, end - 208)) << "the grid ends at the file's last byte";
}

TEST_F(MapResize, AnOddOffsetIsRefusedNamingTheNextEvenOne) {
    const Bytes before = file();
    try {
        resize(10, 10, m_free + 1);
        FAIL() << "not refused";
    } catch (const Error& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("$" + IntToHex(m_free + 1, 6)), std::string::npos) << text;
        EXPECT_NE(text.find("$" + IntToHex(m_free + 2, 6)), std::string::npos) << text;
        EXPECT_NE(text.find("gerade"), std::string::npos) << text;
    }
    EXPECT_TRUE(file() == before);
}

TEST_F(MapResize, TilesetHeadersOffTheTablesStepsAreKept) {
    // Some games keep tileset headers between the table's 24-byte steps, where no tileset
    // number names them: the footer's pointer must survive a resize exactly.
    BuiltRom moved = m_built;
    const std::uint32_t copy = m_free + 0x400 + 8;
    std::copy_n(moved.bytes.begin() + m_built.tilesets[0].header, 24, moved.bytes.begin() + copy);
    put32(moved.bytes, built().footer + 20, 0x08000000u + copy);
    writeRomFile(m_dir.file("r.gba"), moved);
    m_session.openRom(m_dir.file("r.gba"));
    m_session.openMap("0.0", "t");

    const Bytes before = file();
    resize(12, 9, m_free);
    Bytes expected = expectedAfter(before, 12, 9, m_free, [](int x, int y) -> std::uint16_t {
        return x < kSide && y < kSide ? originalEntry(x, y) : 0;
    });
    put32(expected, built().footer + 20, 0x08000000u + copy);
    EXPECT_TRUE(file() == expected);
}

TEST_F(MapResize, UnsavedPaintMovesWithTheGridAndASaveKeepsTheOldGrid) {
    m_session.mapState().editor().selectBlock(5);
    m_session.mapState().editor().paint(2, 3);
    ASSERT_TRUE(m_session.mapState().modified());
    const Bytes before = file();
    resize(25, 30, m_free);
    const Bytes resized = file();
    const std::uint32_t cell = m_free + 8 + 2 * (3 * 25 + 2);
    EXPECT_EQ(resized[cell] | ((resized[cell + 1] & 0x03) << 8), 5) << "the painted block";
    EXPECT_TRUE(m_session.mapState().modified()) << "the map stays modified";
    EXPECT_FALSE(m_session.mapState().editor().canUndo())
        << "steps on cells of the old layout are forgotten";

    // Saving writes where the grid now lies: the old grid keeps its bytes.
    saveOpenMap(m_session.rom(), m_session.mapState());
    EXPECT_TRUE(file() == resized);
    EXPECT_TRUE(bytesAt(file(), built().grid, 800) == bytesAt(before, built().grid, 800));
    EXPECT_FALSE(m_session.mapState().modified());
}

TEST_F(MapResize, EventStepsSurviveAResize) {
    m_session.mapState().editor().selectBlock(5);
    m_session.mapState().editor().paint(0, 0);
    m_session.mapState().eventEditor().select(EventKind::Person, 0);
    m_session.mapState().eventEditor().setField(PersonFields::Picture, 9);
    resize(10, 10, m_free);
    ASSERT_TRUE(m_session.mapState().editor().canUndo());
    m_session.mapState().editor().undo();
    EXPECT_EQ(m_session.mapState().events().record(EventKind::Person, 0)[1], 0);
    EXPECT_EQ(m_session.mapState().grid().at(0, 0).block(), 5) << "the paint is not undone";
    EXPECT_FALSE(m_session.mapState().editor().canUndo());
    EXPECT_TRUE(m_session.mapState().modified())
        << "the grid in the ROM differs from the last save";
}

// Growing at the grid's own place (offset = grid - 8) is fine over free bytes behind it, and
// refused where data follows: in this ROM the footer lies right behind the grid.
TEST_F(MapResize, GrowingInPlaceNeedsFreeBytesBehindTheGrid) {
    const auto entry = [](int x, int y) -> std::uint16_t {
        return x < kSide && y < kSide ? originalEntry(x, y) : 0;
    };
    const Bytes before = file();
    const std::uint32_t own = built().grid - 8;
    try {
        resize(kSide, kSide + 1, own);
        ADD_FAILURE() << "grown over the footer";
    } catch (const Error& e) {
        const std::string expected = "Block-Grid (" + hexOffset(built().grid) +
                                     ", 840 Bytes) ist bei " + hexOffset(built().footer) +
                                     " nicht frei: dort liegt Map-Footer von 0.0";
        EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
    EXPECT_TRUE(file() == before);

    // Moved where free space follows, the grid grows in place by one row.
    resize(kSide, kSide, m_free);
    const Bytes moved = file();
    resize(kSide, kSide + 1, m_free);
    EXPECT_TRUE(file() == expectedAfter(moved, kSide, kSide + 1, m_free, entry));
    m_session.openMap("0.0", "t");
    EXPECT_EQ(m_session.mapState().grid().height, kSide + 1);
}

// A cell painted but not saved, a resize refused at the grid's own place: the save writes the
// grid where it lies at its size, and the footer stays whole.
TEST_F(MapResize, ASaveAfterARefusedResizeKeepsTheFooter) {
    m_session.mapState().editor().selectBlock(5);
    m_session.mapState().editor().paint(2, 3);
    EXPECT_THROW(resize(kSide, kSide + 2, built().grid - 8), Error);
    const Bytes before = file();
    saveOpenMap(m_session.rom(), m_session.mapState());
    Bytes expected = before;
    const std::uint32_t cell = built().grid + 2 * (3 * kSide + 2);
    expected[cell] = static_cast<std::uint8_t>(5);
    expected[cell + 1] = static_cast<std::uint8_t>((before[cell + 1] & 0xFC));
    EXPECT_TRUE(file() == expected);
    m_session.openMap("0.0", "t");
    EXPECT_EQ(m_session.mapState().grid().width, kSide);
    EXPECT_EQ(m_session.mapState().grid().height, kSide);
    EXPECT_EQ(m_session.mapState().grid().at(2, 3).block(), 5);
}

}  // namespace
}  // namespace quillon
