#include "core/writers/event_counts.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/errors.h"
#include "core/mapfile/map_file.h"
#include "core/mapfile/map_from_file.h"
#include "core/session/map_saving.h"
#include "core/session/session.h"
#include "tests/events/event_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;
using Bytes = std::vector<std::uint8_t>;

void append(Bytes& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Map 0.0: persons 1 and 2, a warp, a script trigger and a signpost, and a fly position.
class EventCountsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RomBuilder b = eventRomBuilder();
        MapSpec m = eventMap(0, 0);
        m.persons = {personRecord(1, 3, 1, 1, 0, 0, 2), personRecord(2, 4, 6, 4)};
        m.warps = {warpRecord(3, 2, 1, 1, 0)};
        m.scripts = {scriptRecord(4, 2, 0x300)};
        m.signposts = {signpostRecord(5, 2, 3, 0x400)};
        b.addMap(m);
        b.addFlyRecord(0, 0, 2, 5);
        m_built = b.build();
        writeProgramFolder(m_dir.path(), m_built);
        writeRomFile(m_dir.file("e.gba"), m_built);
        m_session.openRom(m_dir.file("e.gba"));
        m_session.openMap("0.0", "t");
        m_free = (m_built.freeSpace + 0x100) & ~0xFFu;
    }
    Bytes file() { return testing::fileBytes(m_dir.file("e.gba")); }
    EventLayout apply(EventCounts counts, std::uint32_t offset) {
        return applyEventCounts(m_session.rom(), m_session.mapState(), counts, offset);
    }
    const BuiltMap& built() const { return m_built.maps.at({0, 0}); }
    Bytes original(EventKind kind, int index) const {
        const std::uint32_t table = kind == EventKind::Person          ? built().persons
                                    : kind == EventKind::Warp          ? built().warps
                                    : kind == EventKind::ScriptTrigger ? built().scripts
                                                                       : built().signposts;
        const auto size = static_cast<std::size_t>(recordSize(kind));
        return bytesAt(m_built.bytes, table + static_cast<std::uint32_t>(index) * size, size);
    }
    EventEditor& ev() { return m_session.mapState().eventEditor(); }

    TempDir m_dir;
    BuiltRom m_built;
    Session m_session{m_dir.path()};
    std::uint32_t m_free = 0;
};

TEST(EventCountsSpace, CountsEveryRecordAndTheHeader) {
    EXPECT_EQ(eventSpace({1, 1, 0, 0}), 52u);
    EXPECT_EQ(eventSpace({0, 0, 0, 0}), 20u);
    EXPECT_EQ(eventSpace({255, 255, 255, 255}), 255u * 60 + 20);
    const EventLayout l = eventLayout({1, 1, 0, 0}, 0x1000);
    EXPECT_EQ(l.tables, (std::array<std::uint32_t, 4>{0x1000, 0x1018, 0x1020, 0x1020}));
    EXPECT_EQ(l.header, 0x1020u);
}

// For each new set of counts the file gains exactly the new tables and header at F and the
// map header's new pointer; records kept come from the old tables, new persons get numbers
// (2 -> 4 persons: records 2 and 3 are numbered 3 and 4).
TEST_F(EventCountsTest, WritesTablesHeaderAndPointerAndNothingElse) {
    const EventCounts cases[] = {{4, 1, 1, 1}, {2, 1, 1, 1}, {1, 1, 0, 0},
                                 {0, 1, 1, 1}, {2, 0, 1, 1}, {2, 1, 0, 1},
                                 {2, 1, 1, 0}, {0, 0, 0, 0}, {1, 3, 2, 2}};
    for (const EventCounts& c : cases) {
        SCOPED_TRACE(std::to_string(c.persons) + "," + std::to_string(c.warps) + "," +
                     std::to_string(c.scripts) + "," + std::to_string(c.signposts));
        SetUp();
        const Bytes before = file();
        Bytes data;
        std::array<std::uint32_t, 4> starts{};
        const std::pair<EventKind, int> tables[] = {{EventKind::Person, c.persons},
                                                    {EventKind::Warp, c.warps},
                                                    {EventKind::ScriptTrigger, c.scripts},
                                                    {EventKind::Signpost, c.signposts}};
        for (std::size_t t = 0; t < 4; ++t) {
            starts[t] = m_free + static_cast<std::uint32_t>(data.size());
            const auto [kind, count] = tables[t];
            for (int i = 0; i < count; ++i) {
                Bytes record(static_cast<std::size_t>(recordSize(kind)), 0);
                if (i < m_session.mapState().events().count(kind)) {
                    record = original(kind, i);
                } else if (kind == EventKind::Person) {
                    record[0] = static_cast<std::uint8_t>(i + 1);
                }
                append(data, record);
            }
        }
        const auto header = static_cast<std::uint32_t>(m_free + data.size());
        Bytes expected = before;
        std::copy(data.begin(), data.end(), expected.begin() + m_free);
        Bytes eventHeader = {
            static_cast<std::uint8_t>(c.persons), static_cast<std::uint8_t>(c.warps),
            static_cast<std::uint8_t>(c.scripts), static_cast<std::uint8_t>(c.signposts)};
        for (std::uint32_t start : starts) {
            append(eventHeader,
                   Bytes{static_cast<std::uint8_t>(start), static_cast<std::uint8_t>(start >> 8),
                         static_cast<std::uint8_t>(start >> 16), 0x08});
        }
        std::copy(eventHeader.begin(), eventHeader.end(), expected.begin() + header);
        const Bytes pointer = {static_cast<std::uint8_t>(header),
                               static_cast<std::uint8_t>(header >> 8),
                               static_cast<std::uint8_t>(header >> 16), 0x08};
        std::copy(pointer.begin(), pointer.end(), expected.begin() + built().header + 4);

        const EventLayout layout = apply(c, m_free);
        EXPECT_EQ(layout.header, header);
        EXPECT_EQ(layout.tables, starts);
        EXPECT_TRUE(file() == expected);

        // The open map and the map read back both have the new tables.
        for (bool reopened : {false, true}) {
            if (reopened) {
                m_session.openMap("0.0", "t");
            }
            EXPECT_EQ(m_session.mapState().map().eventsOffset, header);
            EXPECT_EQ(m_session.mapState().map().header.eventsOffset(), header);
            EXPECT_EQ(eventCounts(m_session.mapState().events()), c);
            EXPECT_EQ(m_session.mapState().events().tableOffset(EventKind::Warp), starts[1]);
        }
    }
}

TEST_F(EventCountsTest, UnsavedEditsGoIntoTheNewTablesAndTheMapStaysModified) {
    ev().select(EventKind::Person, 1);
    ev().setField(PersonFields::Picture, 9);
    ev().select(EventKind::Warp, 0);
    ev().setField(WarpFields::TargetBank, 7);
    const Bytes before = file();
    apply({2, 1, 1, 1}, m_free);
    const Bytes after = file();
    EXPECT_EQ(after[m_free + 24 + 1], 9) << "person 1's picture";
    EXPECT_EQ(after[m_free + 48 + 7], 7) << "the warp's target bank";
    EXPECT_TRUE(bytesAt(after, built().persons, 48) == bytesAt(before, built().persons, 48))
        << "the old tables keep their bytes";
    EXPECT_TRUE(m_session.mapState().modified());

    saveOpenMap(m_session.rom(), m_session.mapState());
    apply({2, 1, 1, 1}, m_free + 0x100);
    EXPECT_FALSE(m_session.mapState().modified()) << "an unmodified map stays unmodified";
}

// Undo after new counts acts on the new tables in memory, and saving writes there; steps of
// records that were dropped are forgotten, so a record made anew is never overwritten.
TEST_F(EventCountsTest, UndoNeverReachesTheOldTables) {
    ev().select(EventKind::Person, 0);
    ev().setField(PersonFields::Picture, 9);
    const Bytes before = file();
    apply({2, 1, 1, 1}, m_free);
    m_session.mapState().editor().undo();
    EXPECT_EQ(m_session.mapState().events().record(EventKind::Person, 0)[1], 3);
    saveOpenMap(m_session.rom(), m_session.mapState());
    const Bytes saved = file();
    EXPECT_TRUE(bytesAt(saved, built().persons, 48) == bytesAt(before, built().persons, 48));
    EXPECT_EQ(saved[m_free + 1], 3) << "the undone picture is saved into the new table";

    ev().select(EventKind::Person, 1);
    ev().setField(PersonFields::Picture, 8);
    apply({1, 1, 1, 1}, m_free + 0x100);
    EXPECT_FALSE(m_session.mapState().editor().canRedo());
    apply({2, 1, 1, 1}, m_free + 0x200);
    m_session.mapState().editor().undo();
    Bytes fresh(24, 0);
    fresh[0] = 2;
    EXPECT_TRUE(toVector(m_session.mapState().events().record(EventKind::Person, 1)) == fresh)
        << "the edit of the dropped person does not come back";
}

TEST_F(EventCountsTest, RefusalsLeaveTheFileAndTheTablesAsTheyWere) {
    struct Case {
        EventCounts counts;
        std::uint32_t offset;
        std::string says;
    };
    const auto end = static_cast<std::uint32_t>(m_built.bytes.size());
    const Case cases[] = {
        {{256, 0, 0, 0}, m_free, "Anzahl People"},
        {{0, -1, 0, 0}, m_free, "Anzahl Warp"},
        {{0, 0, 300, 0}, m_free, "Anzahl Script"},
        {{0, 0, 0, 999}, m_free, "Anzahl Singpost"},
        {{1, 1, 0, 0}, end - 48, "Dateiende"},
        {{1, 1, 0, 0}, 0x80, "Rom-Header"},
        {{1, 1, 0, 0}, m_free + 2, "$" + IntToHex(m_free + 4, 6)},
        {{1, 1, 0, 0}, m_free + 1, "$" + IntToHex(m_free + 4, 6)},
    };
    const Bytes before = file();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        try {
            apply(c.counts, c.offset);
            ADD_FAILURE() << "not refused";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        EXPECT_TRUE(file() == before);
        EXPECT_EQ(eventCounts(m_session.mapState().events()), (EventCounts{2, 1, 1, 1}));
        EXPECT_EQ(m_session.mapState().map().eventsOffset, built().events);
    }
}

// The tables grown at their own place: over data (here the map header right behind the event
// header) refused; over free bytes (tables moved first) accepted, changing only the new tables,
// the event header and the map header's pointer.
TEST_F(EventCountsTest, GrowingInPlaceNeedsFreeBytesBehindTheTables) {
    const Bytes before = file();
    try {
        apply({3, 1, 1, 1}, built().persons);
        ADD_FAILURE() << "grown over the map header";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("dort liegt Map-Header von 0.0 (" +
                                             hexOffset(built().header) + ", 28 Bytes)"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(file() == before);

    apply({2, 1, 1, 1}, m_free);
    const Bytes moved = file();
    const EventLayout grown = apply({3, 1, 1, 1}, m_free);
    const Bytes after = file();
    for (std::size_t i = 0; i < after.size(); ++i) {
        const bool written = (i >= m_free && i < m_free + grown.size) ||
                             (i >= built().header + 4 && i < built().header + 8);
        if (!written) {
            ASSERT_EQ(after[i], moved[i]) << "byte " << hexOffset(i);
        }
    }
    m_session.openMap("0.0", "t");
    EXPECT_EQ(m_session.mapState().map().eventsOffset, m_free + 72 + 8 + 16 + 12);
    EXPECT_TRUE(toVector(m_session.mapState().events().record(EventKind::Person, 1)) ==
                original(EventKind::Person, 1));
    EXPECT_EQ(m_session.mapState().events().record(EventKind::Person, 2)[0], 3);
    EXPECT_TRUE(toVector(m_session.mapState().events().record(EventKind::Signpost, 0)) ==
                original(EventKind::Signpost, 0));
}

// A map from a map file or made new has no place in the ROM: its tables get the new counts in
// memory (records kept as edited, new ones zero, new persons numbered), the ROM stays as it
// was, and the map is modified until "Map Speichern" writes the event file.
TEST_F(EventCountsTest, AMapOutsideTheRomGetsNewCountsInMemoryOnly) {
    DetachedMap parts = newDetachedMap(4, 3, 0, 1, "Neu", {});
    parts.events[0] = original(EventKind::Person, 1);
    m_session.openDetachedMap(std::move(parts));
    ev().select(EventKind::Person, 0);
    ev().setField(PersonFields::Picture, 9);
    m_session.mapState().history().markSaved();
    const Bytes before = file();

    applyEventCountsInMemory(m_session.mapState(), {3, 1, 0, 2});
    EXPECT_TRUE(file() == before) << "nothing written to the ROM";
    EXPECT_TRUE(m_session.rom().history().entries().empty());
    EXPECT_EQ(eventCounts(m_session.mapState().events()), (EventCounts{3, 1, 0, 2}));
    EXPECT_TRUE(m_session.mapState().modified());
    Bytes person = original(EventKind::Person, 1);
    person[1] = 9;
    EXPECT_TRUE(toVector(m_session.mapState().events().record(EventKind::Person, 0)) == person);
    EXPECT_EQ(m_session.mapState().events().record(EventKind::Person, 2)[0], 3)
        << "numbered index + 1";
    EXPECT_TRUE(toVector(m_session.mapState().events().record(EventKind::Signpost, 1)) ==
                Bytes(12, 0));
    m_session.mapState().editor().undo();
    EXPECT_EQ(m_session.mapState().events().record(EventKind::Person, 0)[1],
              original(EventKind::Person, 1)[1])
        << "undo acts on the resized table";
    EXPECT_TRUE(m_session.mapState().modified()) << "no undo leads back to the old counts";

    const std::filesystem::path saved = m_dir.file("Neu.map");
    saveMapFiles(m_session.mapState(), m_session.romState().profile(), saved);
    EXPECT_FALSE(m_session.mapState().modified());
    const Bytes events = fileBytes(map_file::eventFileName(saved));
    ASSERT_EQ(events.size(), 3u * 24 + 8 + 2 * 12 + 4);
    EXPECT_TRUE(Bytes(events.end() - 4, events.end()) == Bytes({3, 1, 0, 2}));
    EXPECT_EQ(events[2 * 24], 3);

    // The same counts again change nothing; a ROM map is refused.
    applyEventCountsInMemory(m_session.mapState(), {3, 1, 0, 2});
    EXPECT_FALSE(m_session.mapState().modified());
    EXPECT_THROW(applyEventCountsInMemory(m_session.mapState(), {256, 0, 0, 0}), Error);
    m_session.openMap("0.0", "t");
    EXPECT_THROW(applyEventCountsInMemory(m_session.mapState(), {1, 1, 1, 1}), Error);
    EXPECT_EQ(eventCounts(m_session.mapState().events()), (EventCounts{2, 1, 1, 1}));
    EXPECT_TRUE(file() == before);
}

}  // namespace
}  // namespace quillon
