#include "core/mapfile/map_insertion.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/mapfile/map_from_file.h"
#include "core/session/map_saving.h"
#include "core/session/open_map_history.h"
#include "core/session/session.h"
#include "tests/events/event_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;
using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& image, std::uint32_t at, std::uint32_t value) {
    for (std::uint32_t i = 0; i < 4; ++i) {
        image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Bank 0 with maps 0.0 (with events) and 0.1, bank 1 with 1.0; the map in memory is a new
// 10 x 10 map on tilesets 0 and 1 with its own border, two persons, a warp and a signpost.
class MapInsertion : public ::testing::Test {
protected:
    void SetUp() override {
        RomBuilder b = eventRomBuilder();
        MapSpec m = eventMap(0, 0);
        m.persons = {personRecord(1, 0, 1, 1)};
        b.addMap(m);
        b.addMap(eventMap(0, 1));
        b.addMap(eventMap(1, 0));
        m_built = b.build();
        writeProgramFolder(m_dir.path(), m_built);
        writeRomFile(m_dir.file("r.gba"), m_built);
        m_session.openRom(m_dir.file("r.gba"));
        m_grid = (m_built.freeSpace + 0x100) & ~0xFFu;
        m_events = m_grid + 0x400;
    }
    void openNewMap(bool withEvents) {
        DetachedMap parts = newDetachedMap(10, 10, 0, 1, "Town", kBorder);
        parts.contents.grid.cells[7].raw = 0x1234;
        if (withEvents) {
            parts.events[0].assign(2 * 24, 0x41);
            parts.events[1].assign(8, 0x42);
            parts.events[3].assign(12, 0x44);
        }
        m_session.openDetachedMap(std::move(parts));
    }
    map_insertion::Result insert(int bank, int map, std::uint32_t grid, std::uint32_t events,
                                 bool sharedOk = false,
                                 std::optional<std::uint32_t> ownFooter = std::nullopt) {
        return map_insertion::insert(m_session.rom(), m_session.romState().profile(),
                                     m_session.romState().bankScan(), m_session.mapState().map(),
                                     m_session.mapState().grid(), m_session.mapState().events(),
                                     {bank, map, grid, events, 0xFF, 0xFF, sharedOk, ownFooter});
    }
    Bytes file() { return fileBytes(m_dir.file("r.gba")); }

    // The file as the insertion into slot must leave it.
    Bytes expected(Bytes image, const BuiltMap& slot, const Bytes& eventRecords,
                   std::array<int, 4> counts) {
        const Bytes grid = m_session.mapState().grid().encode();
        std::copy(grid.begin(), grid.end(), image.begin() + m_grid + 8);
        std::copy(eventRecords.begin(), eventRecords.end(), image.begin() + m_events);
        const std::uint32_t header = m_events + static_cast<std::uint32_t>(eventRecords.size());
        std::uint32_t table = m_events;
        const int sizes[] = {24, 8, 16, 12};
        for (std::uint32_t s = 0; s < 4; ++s) {
            image[header + s] = static_cast<std::uint8_t>(counts[s]);
            put32(image, header + 4 + 4 * s, 0x08000000u + table);
            table += static_cast<std::uint32_t>(counts[s] * sizes[s]);
        }
        put32(image, slot.footer, 10);
        put32(image, slot.footer + 4, 10);
        put32(image, slot.footer + 12, 0x08000000u + m_grid + 8);
        put32(image, slot.footer + 16, 0x08000000u + m_built.tilesets[0].header);
        put32(image, slot.footer + 20, 0x08000000u + m_built.tilesets[1].header);
        put32(image, slot.header + 4, 0x08000000u + header);
        std::copy(kBorder.begin(), kBorder.end(), image.begin() + slot.border);
        return image;
    }

    static constexpr std::array<std::uint8_t, 8> kBorder{0x11, 0x02, 0x22, 0x02,
                                                         0x33, 0x02, 0x44, 0x02};
    TempDir m_dir;
    BuiltRom m_built;
    Session m_session{m_dir.path()};
    std::uint32_t m_grid = 0;
    std::uint32_t m_events = 0;
};

TEST_F(MapInsertion, AskedSpacesAreTheGridWithThirtyTwoBytesAndTheEventBlock) {
    openNewMap(true);
    EXPECT_EQ(map_insertion::gridSpace(m_session.mapState().grid()), 232u);
    EXPECT_EQ(map_insertion::eventSpace(m_session.mapState().events()), 48u + 8 + 12 + 20);
    openNewMap(false);
    EXPECT_EQ(map_insertion::eventSpace(m_session.mapState().events()), 20u);
}

TEST_F(MapInsertion, WritesExactlyGridEventsFooterAndEventsPointer) {
    for (bool withEvents : {true, false}) {
        SCOPED_TRACE(withEvents);
        SetUp();
        openNewMap(withEvents);
        const Bytes before = file();
        Bytes records;
        if (withEvents) {
            records.assign(48, 0x41);
            records.insert(records.end(), 8, 0x42);
            records.insert(records.end(), 12, 0x44);
        }
        const auto counts = withEvents ? std::array<int, 4>{2, 1, 0, 1} : std::array<int, 4>{};
        const map_insertion::Result r = insert(0, 1, m_grid, m_events);
        EXPECT_EQ(r.grid, m_grid + 8);
        EXPECT_EQ(r.eventHeader, m_events + records.size());
        EXPECT_TRUE(file() == expected(before, m_built.maps.at({0, 1}), records, counts));

        // The slot opens as the inserted map.
        m_session.openMap("0.1", "t");
        EXPECT_EQ(m_session.mapState().grid().width, 10);
        EXPECT_EQ(m_session.mapState().grid().encode(), [] {
            DetachedMap parts = newDetachedMap(10, 10, 0, 1, "x", {});
            parts.contents.grid.cells[7].raw = 0x1234;
            return parts.contents.grid.encode();
        }());
        EXPECT_EQ(m_session.mapState().events().count(EventKind::Person), counts[0]);
        // One transaction: undone it gives the file from before.
        undoWithOpenMap(m_session.rom(), m_session.romState(), m_session.mapState(),
                        m_session.data().tilesets(), m_session.rom().history().entries().back().id);
        EXPECT_TRUE(file() == before);
    }
}

TEST_F(MapInsertion, RefusalsWriteNothing) {
    openNewMap(true);
    const Bytes before = file();
    const std::uint32_t header0 = m_built.maps.at({0, 0}).header;
    struct Case {
        const char* message;
        int bank, map;
        std::uint32_t grid, events;
    };
    for (const Case& c : {
             Case{"die Bank 2 gibt es in den Tabellen des Roms nicht", 2, 0, m_grid, m_events},
             Case{"die Bank 1 hat nur 1 Maps", 1, 1, m_grid, m_events},
             Case{"die Bank 0 hat nur 2 Maps", 0, -1, m_grid, m_events},
             Case{"nicht durch 2 teilbar", 0, 1, m_grid + 1, m_events},
             Case{"nicht durch 4 teilbar", 0, 1, m_grid, m_events + 2},
             Case{"überschneiden sich bei", 0, 1, m_grid, m_grid + 0x80},
             Case{"ragt in den Rom-Header", 0, 1, 0x10, m_events},
             Case{"reicht über das Dateiende", 0, 1, m_grid,
                  static_cast<std::uint32_t>(before.size() - 8)},
             Case{"dort liegt Map-Header von 0.0", 0, 0, m_grid, header0 & ~3u},
         }) {
        SCOPED_TRACE(c.message);
        try {
            insert(c.bank, c.map, c.grid, c.events);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_TRUE(file() == before);
    }
    EXPECT_TRUE(m_session.rom().history().entries().empty());
}

TEST(MapInsertionSlot, AnswersWithoutDotAreNoSlot) {
    EXPECT_EQ(map_insertion::parseSlot("3.1"), std::pair(3, 1));
    EXPECT_EQ(map_insertion::parseSlot("$A.$10"), std::pair(10, 16));
    for (const char* invalid : {"31", "3-1", ""}) {
        EXPECT_EQ(map_insertion::parseSlot(invalid), std::nullopt) << invalid;
    }
    EXPECT_THROW(map_insertion::parseSlot("a.1"), ConversionError);
}

TEST_F(MapInsertion, MapsOutsideTheRomRefuseRomWrites) {
    openNewMap(true);
    EXPECT_TRUE(m_session.mapState().map().outsideRom);
    EXPECT_FALSE(m_session.mapState().map().hasHeader());
    EXPECT_TRUE(m_session.mapState().events().hasEvents());
    const Bytes before = file();
    EXPECT_THROW(saveOpenMap(m_session.rom(), m_session.mapState()), Error);
    EXPECT_THROW(m_session.mapState().events().save(m_session.rom()), Error);
    EXPECT_TRUE(file() == before);
    // A tileset beyond the table: refused, the map before stays open.
    EXPECT_THROW(m_session.openDetachedMap(newDetachedMap(4, 4, 0, 999, "x", {})), Error);
    EXPECT_EQ(m_session.mapState().grid().width, 10);
}

// Maps may share one footer. Inserting the open map 0.0 into slot 0.1, whose header names 0.0's
// footer, moves 0.0's grid too: the open map follows, so "Speichern" writes where the footer
// now points and leaves the old grid alone.
TEST_F(MapInsertion, AMapSharingTheSlotsFooterFollowsItsNewGrid) {
    const BuiltMap& own = m_built.maps.at({0, 0});
    const BuiltMap& other = m_built.maps.at({0, 1});
    put32(m_built.bytes, other.header, 0x08000000u + own.footer);
    writeRomFile(m_dir.file("r.gba"), m_built);
    m_session.openRom(m_dir.file("r.gba"));
    m_session.openMap("0.0", "t");
    const map_insertion::Result r = insert(0, 1, m_grid, m_events, true);
    ASSERT_EQ(r.slot.footer, own.footer);
    EXPECT_TRUE(map_insertion::followFooter(m_session.mapState().map(), r));
    EXPECT_EQ(m_session.mapState().map().gridOffset, m_grid + 8);
    EXPECT_EQ(m_session.mapState().map().footer.gridOffset(), m_grid + 8);

    m_session.mapState().editor().selectBlock(5);
    m_session.mapState().editor().beginStroke();
    m_session.mapState().editor().paint(0, 0);
    m_session.mapState().editor().endStroke();
    const Bytes before = file();
    saveOpenMap(m_session.rom(), m_session.mapState());
    const Bytes after = file();
    EXPECT_EQ(after[m_grid + 8], 5) << "saved where the footer points";
    EXPECT_TRUE(bytesAt(after, own.grid, 8) == bytesAt(before, own.grid, 8))
        << "the old grid stays as it was";

    // The slot's own map, a map of another footer and a map outside the ROM do not follow.
    m_session.openMap("0.1", "t");
    EXPECT_FALSE(map_insertion::followFooter(m_session.mapState().map(), r))
        << "own slot: read again";
    m_session.openMap("1.0", "t");
    EXPECT_FALSE(map_insertion::followFooter(m_session.mapState().map(), r));
    openNewMap(false);
    EXPECT_FALSE(map_insertion::followFooter(m_session.mapState().map(), r));
}

// Writing map files saves a map outside the ROM; a ROM map's changes still wait for the ROM,
// so opening another map asks for them.
TEST_F(MapInsertion, MapFilesSaveOnlyAMapOutsideTheRom) {
    for (bool fromRom : {true, false}) {
        SCOPED_TRACE(fromRom ? "ROM map" : "new map");
        if (fromRom) {
            m_session.openMap("0.0", "t");
        } else {
            openNewMap(false);
        }
        m_session.mapState().editor().selectBlock(5);
        m_session.mapState().editor().beginStroke();
        m_session.mapState().editor().paint(1, 1);
        m_session.mapState().editor().endStroke();
        ASSERT_TRUE(m_session.mapState().modified());
        saveMapFiles(m_session.mapState(), m_session.romState().profile(), m_dir.file("Copy.map"));
        EXPECT_EQ(m_session.mapState().modified(), fromRom);
        EXPECT_EQ(m_session.mapState().map().mapFile, m_dir.file("Copy.map").string());
    }
}

// A map file may name blocks the tilesets do not have (every bit of the entries set): it opens
// and draws like a ROM map with such cells, without reading outside the block images.
TEST_F(MapInsertion, CellsBeyondTheTilesetsStillDraw) {
    DetachedMap parts = newDetachedMap(3, 2, 0, 1, "Wild", {});
    for (int i = 0; i < 6; ++i) {
        parts.contents.grid.cells[static_cast<std::size_t>(i)].raw = 0xFFFF;
    }
    m_session.openDetachedMap(std::move(parts));
    const Bitmap& picture = m_session.mapState().pictures().map();
    EXPECT_EQ(picture.width(), 48);
    EXPECT_EQ(picture.height(), 32);
}

// A ROM map whose tileset header lies off the table's 24-byte steps (as Emerald's later ones
// do) goes into the slot with that very header, although its number names none.
TEST_F(MapInsertion, ARomMapKeepsTheTilesetHeaderItWasDrawnWith) {
    const std::uint32_t moved = m_grid + 0x800 + 4;  // free space, off the 24-byte steps
    ASSERT_NE((moved - m_built.tilesetHeaders) % 24, 0u);
    const std::uint32_t header1 = m_built.tilesets[1].header;
    std::copy_n(m_built.bytes.begin() + header1, 24, m_built.bytes.begin() + moved);
    put32(m_built.bytes, m_built.maps.at({1, 0}).footer + 20, 0x08000000u + moved);
    writeRomFile(m_dir.file("r.gba"), m_built);
    m_session.openRom(m_dir.file("r.gba"));
    m_session.openMap("1.0", "t");
    ASSERT_EQ(m_session.mapState().map().footer.tileset2Offset(), moved);

    insert(0, 1, m_grid, m_events);
    const Bytes after = file();
    const std::uint32_t footer = m_built.maps.at({0, 1}).footer;
    EXPECT_TRUE(bytesAt(after, footer + 16, 8) ==
                (Bytes{static_cast<std::uint8_t>(m_built.tilesets[0].header),
                       static_cast<std::uint8_t>(m_built.tilesets[0].header >> 8),
                       static_cast<std::uint8_t>(m_built.tilesets[0].header >> 16), 0x08,
                       static_cast<std::uint8_t>(moved), static_cast<std::uint8_t>(moved >> 8),
                       static_cast<std::uint8_t>(moved >> 16), 0x08}));
}

// A footer other maps share: refused, naming how many, unless allowed; written anyway when
// allowed (all of them change); or the slot gets a footer of its own with the map's border
// behind it, and the shared one stays as it was.
TEST_F(MapInsertion, AFooterOtherMapsShareIsRefusedWrittenOrReplacedByAnOwnOne) {
    const BuiltMap& shared = m_built.maps.at({0, 0});
    const BuiltMap& slot = m_built.maps.at({0, 1});
    put32(m_built.bytes, slot.header, 0x08000000u + shared.footer);
    writeRomFile(m_dir.file("r.gba"), m_built);
    m_session.openRom(m_dir.file("r.gba"));
    EXPECT_EQ(map_insertion::mapsSharingFooter(m_session.rom(), m_session.romState().bankScan(),
                                               shared.footer),
              (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}}));
    openNewMap(false);
    const Bytes before = file();
    try {
        insert(0, 1, m_grid, m_events);
        ADD_FAILURE() << "accepted";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("teilen sich 2 Maps (0.0, 0.1)"), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(file() == before);

    // Allowed: the shared footer and border change, as for a footer of the slot's own.
    BuiltMap asShared = slot;
    asShared.footer = shared.footer;
    asShared.border = shared.border;
    insert(0, 1, m_grid, m_events, true);
    EXPECT_TRUE(file() == expected(before, asShared, {}, {}));
    undoWithOpenMap(m_session.rom(), m_session.romState(), m_session.mapState(),
                    m_session.data().tilesets(), m_session.rom().history().entries().back().id);
    ASSERT_TRUE(file() == before);

    // A footer of its own at F: a copy of the old one with the new fields, the border behind
    // it, the header pointing at both.
    const std::uint32_t own = m_events + 0x100;
    const map_insertion::Result r = insert(0, 1, m_grid, m_events, false, own);
    EXPECT_EQ(r.footer, own);
    EXPECT_EQ(r.border, own + 24);
    Bytes wanted(before.begin() + shared.footer, before.begin() + shared.footer + 24);
    put32(wanted, 8, 0x08000000u + own + 24);
    BuiltMap asOwn = slot;
    asOwn.footer = own;
    asOwn.border = own + 24;
    Bytes image = before;
    std::copy(wanted.begin(), wanted.end(), image.begin() + own);
    put32(image, slot.header, 0x08000000u + own);
    EXPECT_TRUE(file() == expected(image, asOwn, {}, {}));
    m_session.openMap("0.0", "t");
    EXPECT_EQ(m_session.mapState().grid().width, 8)
        << "the map that shared the footer keeps its own";
    EXPECT_EQ(m_session.mapState().map().footerOffset, shared.footer);
}

// The own footer's place is checked like every other: in the file, on 4, apart from the rest.
TEST_F(MapInsertion, AnOwnFooterMustLieApartAndAligned) {
    openNewMap(false);
    const Bytes before = file();
    for (std::uint32_t place : {m_events + 2, m_events, m_grid + 0x40,
                                static_cast<std::uint32_t>(before.size() - 16)}) {
        SCOPED_TRACE(place);
        EXPECT_THROW(insert(0, 1, m_grid, m_events, false, place), Error);
        EXPECT_TRUE(file() == before);
    }
}

}  // namespace
}  // namespace quillon
