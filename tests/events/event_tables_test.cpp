#include "core/events/event_tables.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/rom/trom.h"
#include "tests/events/event_test_rom.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;

// Map 0.0 with two persons, a warp, a script trigger and a signpost; map 0.1 with a person;
// the fly table names map 1.0 first, then 0.0.
BuiltRom buildRom() {
    RomBuilder b = eventRomBuilder();
    MapSpec m = eventMap(0, 0);
    m.persons = {personRecord(1, 7, 2, 3, 0, 0, 0, 0, 0x1234), personRecord(2, 9, 4, 5)};
    m.warps = {warpRecord(1, 1, 0, 7, 1)};
    m.scripts = {scriptRecord(6, 2, 0x4000)};
    m.signposts = {signpostRecord(0, 5, 7, 0x5000)};
    b.addMap(m);
    MapSpec other = eventMap(0, 1);
    other.persons = {personRecord(5, 1, 1, 1)};
    b.addMap(other);
    b.addFlyRecord(1, 0, 9, 9);
    b.addFlyRecord(0, 0, 3, 4);
    return b.build();
}

struct Loaded {
    explicit Loaded(const BuiltRom& built) { built.attachTo(rom); }
    void load(const BuiltRom& built, int bank, int map) {
        tables.load(rom, built.maps.at({bank, map}).events,
                    static_cast<std::int32_t>(built.flyTable), bank, map);
    }
    TRom rom;
    EventTables tables;
};

TEST(EventTables, LoadsTheFourTablesAndFindsTheFlyRecord) {
    const BuiltRom built = buildRom();
    Loaded l(built);
    l.load(built, 0, 0);
    const BuiltMap& m = built.maps.at({0, 0});
    const EventTables& t = l.tables;
    EXPECT_TRUE(t.hasEvents());
    EXPECT_EQ(t.count(EventKind::Person), 2);
    EXPECT_EQ(t.count(EventKind::Warp), 1);
    EXPECT_EQ(t.tableOffset(EventKind::Signpost), m.signposts);
    EXPECT_EQ(t.recordOffset(EventKind::Person, 1), m.persons + 24);
    EXPECT_EQ(toVector(t.record(EventKind::Person, 1)), bytesAt(built.bytes, m.persons + 24, 24));
    EXPECT_EQ(toVector(t.record(EventKind::Signpost, 0)), bytesAt(built.bytes, m.signposts, 12));
    EXPECT_EQ(t.field(0, PersonFields::Script), 0x08001234u);
    EXPECT_EQ(t.flyIndex(), 1);
    EXPECT_EQ(t.recordOffset(EventKind::Fly, 0), built.flyTable + 8);
    EXPECT_EQ(t.position({EventKind::Fly, 0}).y, 4);

    l.load(built, 0, 1);
    EXPECT_EQ(t.count(EventKind::Warp), 0);
    EXPECT_FALSE(t.contains({EventKind::Fly, 0})) << "no fly record names 0.1";
    EXPECT_THROW(t.record(EventKind::Warp, 0), IndexError);
}

TEST(EventTables, MapsWithoutEvents) {
    RomBuilder b = eventRomBuilder();
    MapSpec none = eventMap(0, 0);
    none.noEventHeader = true;
    b.addMap(none);
    b.addMap(eventMap(0, 1));  // a header with four zero counts
    MapSpec pointerless = eventMap(0, 2);
    pointerless.persons = {personRecord(1, 0, 0, 0)};
    b.addMap(pointerless);
    BuiltRom built = b.build();
    // Counts above 0, all four table pointers null.
    const std::uint32_t header = built.maps.at({0, 2}).events;
    std::fill_n(built.bytes.begin() + header + 4, 16, 0);

    Loaded l(built);
    for (int map = 0; map < 2; ++map) {
        SCOPED_TRACE(map);
        l.load(built, 0, map);
        EXPECT_FALSE(l.tables.hasEvents());
    }
    // A null pointer with records would read (and later write) the cartridge header.
    try {
        l.load(built, 0, 2);
        FAIL() << "a table at offset 0 was taken";
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("Person-Tabelle ($000000)"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(l.tables.eventsOffset(), built.maps.at({0, 1}).events) << "the previous map stays";
}

TEST(EventTables, FlySearchStopsAtTheEndOfTheTable) {
    struct Case {
        const char* what;
        int filler;                                        // records of map 3.3 first
        std::vector<std::array<std::uint8_t, 3>> records;  // bank, map, word at 6
        bool unterminated;
        int index;  // expected fly index, 255 none
    };
    const std::vector<Case> cases = {
        {"found behind another map", 0, {{1, 1, 0}, {0, 0, 0}}, false, 1},
        {"the first record ends the table", 0, {{0, 0, 1}}, false, 255},
        {"a match behind the end", 0, {{2, 2, 5}, {0, 0, 0}}, false, 255},
        {"no end and no match", 0, {{1, 1, 0}}, true, 255},
        {"record 254", 254, {{0, 0, 0}}, false, 254},
        {"record 255 is beyond the index", 255, {{0, 0, 0}}, false, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RomBuilder b = eventRomBuilder();
        b.addMap(eventMap(0, 0));
        for (int i = 0; i < c.filler; ++i) {
            b.addFlyRecord(3, 3, 0, 0);
        }
        for (const auto& r : c.records) {
            b.addFlyRecord(r[0], r[1], 1, 2, r[2]);
        }
        b.setFlyTableUnterminated(c.unterminated);
        const BuiltRom built = b.build();
        Loaded l(built);
        l.load(built, 0, 0);
        EXPECT_EQ(l.tables.flyIndex(), c.index);
        EXPECT_EQ(l.tables.tableOffset(EventKind::Fly),
                  c.index == 255 ? 0u : built.flyTable + 8u * c.index);
    }

    // A table at 0, outside the file or cut off by its end: no fly position.
    RomBuilder b = eventRomBuilder();
    b.addMap(eventMap(0, 0));
    BuiltRom built = b.build();
    std::fill(built.bytes.end() - 8, built.bytes.end(), 0);  // a record for 0.0
    Loaded l(built);
    const auto size = static_cast<std::int32_t>(built.bytes.size());
    for (std::int32_t fly : {0, size - 4, size, -8, size - 8}) {
        l.tables.load(l.rom, built.maps.at({0, 0}).events, fly, 0, 0);
        EXPECT_EQ(l.tables.hasFlyPosition(), fly == size - 8) << fly;
    }
}

TEST(EventTables, HeadersAndTablesPastTheEndThrowAndKeepTheEventsLoaded) {
    const BuiltRom good = buildRom();
    const auto size = static_cast<std::uint32_t>(good.bytes.size());
    const std::uint32_t header = good.maps.at({0, 0}).events;
    struct Case {
        const char* what;
        std::uint32_t eventsOffset;
        std::uint32_t at;  // patch: 4 bytes at this offset (0: none)
        std::uint32_t value;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"header", size - 19, 0, 0, "Der Event-Header ($0FFFED) liegt hinter dem Dateiende."},
        {"persons", header, header + 4, 0x08000000u | (size - 24),
         "Die Person-Tabelle ($0FFFE8, 2 Einträge) liegt hinter dem Dateiende."},
        {"warps", header, header + 8, 0x08000000u | size,
         "Die Warp-Tabelle ($100000, 1 Eintrag) liegt hinter dem Dateiende."},
        {"signposts", header, header + 16, 0x08FFFFF0u, "Signpost-Tabelle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BuiltRom bad = good;
        if (c.at != 0) {
            patch32(bad, c.at, c.value);
        }
        TRom rom;
        bad.attachTo(rom);
        EventTables tables;
        tables.load(rom, good.maps.at({0, 1}).events, 0, 0, 1);
        try {
            tables.load(rom, c.eventsOffset, 0, 0, 0);
            ADD_FAILURE() << "no error";
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(tables.count(EventKind::Person), 1) << "map 0.1's events stay";
        EXPECT_EQ(tables.eventsOffset(), good.maps.at({0, 1}).events);
    }
}

TEST(EventTables, HitTestPriorityOnOneCell) {
    const BuiltRom built = buildRom();
    Loaded l(built);
    l.load(built, 0, 0);
    EventTables& t = l.tables;
    // Everything onto cell (2, 3), where person 0 stands; person 1 too, behind it.
    for (EventRef r : {EventRef{EventKind::Person, 1}, EventRef{EventKind::Warp, 0},
                       EventRef{EventKind::ScriptTrigger, 0}, EventRef{EventKind::Signpost, 0},
                       EventRef{EventKind::Fly, 0}}) {
        t.setPosition(r, 2, 3);
    }
    const std::vector<std::pair<EventRef, EventRef>> order = {
        {{EventKind::Signpost, 0}, {EventKind::Person, 0}},
        {{EventKind::ScriptTrigger, 0}, {EventKind::Person, 0}},
        {{EventKind::Warp, 0}, {EventKind::Person, 0}},
        {{EventKind::Person, 0}, {EventKind::Person, 0}},
        {{EventKind::Person, 1}, {EventKind::Person, 1}},
        {{EventKind::Fly, 0}, {}},
        {{}, {}},
    };
    for (const auto& [all, personsOnly] : order) {
        EXPECT_EQ(t.hitTest(2, 3, false), all);
        EXPECT_EQ(t.hitTest(2, 3, true), personsOnly);
        if (!all.none()) {
            t.setPosition(all, 7, 0);  // out of the way; the next one shows
        }
    }
    t.setFlyIndex(EventTables::kNoFly);
    EXPECT_TRUE(t.hitTest(7, 0, false).kind == EventKind::Signpost);
    t.setPosition({EventKind::Fly, 0}, 1, 1);
    EXPECT_TRUE(t.hitTest(1, 1, false).none()) << "a fly record of another map is not hit";
}

TEST(EventTables, MovesWriteThePositionFieldsOfEachKind) {
    for (auto [kind, xAt] : {std::pair{EventKind::Person, 4},
                             {EventKind::Warp, 0},
                             {EventKind::ScriptTrigger, 0},
                             {EventKind::Signpost, 0},
                             {EventKind::Fly, 2}}) {
        std::vector<std::uint8_t> record(static_cast<std::size_t>(recordSize(kind)), 0xEE);
        std::vector<std::uint8_t> expected = record;
        const std::uint8_t cell[] = {0x34, 0x12, 0x67, 0x05};
        std::copy(cell, cell + 4, expected.begin() + xAt);
        EventTables::writePosition(kind, record, 0x11234, 0x0567);
        EXPECT_EQ(record, expected) << static_cast<int>(kind);
    }
}

}  // namespace
}  // namespace quillon
