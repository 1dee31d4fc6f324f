#include <gtest/gtest.h>

#include <fstream>

#include "core/session/map_saving.h"
#include "core/session/open_map_history.h"
#include "core/state/map_places.h"
#include "core/writers/event_counts.h"
#include "core/writers/map_attributes.h"
#include "core/writers/map_resize.h"
#include "core/writers/tileset_choice.h"
#include "tests/session/history_fixture.h"

namespace quillon {
namespace {

using namespace testing;
using romkit::BuiltRom;

std::uint32_t freePlace(const BuiltRom& b, std::uint32_t extra) {
    return ((b.freeSpace + 0xFF) & ~0xFFu) + extra;
}

void patch(const std::filesystem::path& rom, std::uint32_t offset,
           std::vector<std::uint8_t> bytes) {
    std::fstream file(rom, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

std::string messageOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

// The sample ROM's bank table ends with an empty bank. With a map in that bank's table, the
// bank still is not listed (nothing tells where its table ends), but it counts as a bank.
TEST(OpenMapRefusal, MapsTheBankScanDoesNotListAreRefusedWithTheRightCounts) {
    struct Case {
        bool lastBankHasMaps;
        const char* id;
        const char* message;
    };
    const Case cases[] = {
        {false, "3.0", "Bank 3 gibt es nicht (das Rom hat 2 Banken)."},
        {false, "2.0", "Bank 2 gibt es nicht (das Rom hat 2 Banken)."},
        {false, "0.3", "Map 0.3 gibt es nicht (Bank 0 hat 3 Maps)."},
        {false, "1.2", "Map 1.2 gibt es nicht (Bank 1 hat 2 Maps)."},
        {true, "2.0",
         "Die Maps der Bank 2 werden nicht aufgeführt: sie ist die letzte der 3 Banken des "
         "Roms, und wo ihre Map-Tabelle endet, ist unbekannt."},
        {true, "5.0", "Bank 5 gibt es nicht (das Rom hat 3 Banken)."},
    };
    for (const Case& c : cases) {
        HistoryRom h;
        if (c.lastBankHasMaps) {
            const BuiltRom& b = h.built();
            patch(h.rom(), b.mapTables.back(), le32(0x08000000u | b.maps.at({0, 0}).header));
        }
        auto s = h.open("0.1");
        EXPECT_EQ(messageOf([&] { s->openMap(c.id, c.id); }), c.message) << c.id;
        EXPECT_EQ(s->mapState().map().identifier, "0.1") << "the open map stays";
    }
}

// The open map 0.1 with one painted cell; then something else changes the ROM under it.
// Every command that writes the map back must refuse, leaving the file as it is.
TEST(SaveCheck, AMapChangedInTheRomSinceItWasOpenedIsNotWrittenBack) {
    using Change = std::function<void(HistoryRom&, Session&)>;
    const BuiltRom probe = buildSampleRom();
    const romkit::BuiltMap m = probe.maps.at({0, 1});
    const std::pair<const char*, Change> changes[] = {
        {"grid pointer",
         [&](HistoryRom& h, Session&) {
             patch(h.rom(), m.footer + 12, le32(0x08000000u | freePlace(probe, 8)));
         }},
        {"width", [&](HistoryRom& h, Session&) { patch(h.rom(), m.footer, le32(4)); }},
        {"border pointer",
         [&](HistoryRom& h, Session&) {
             patch(h.rom(), m.footer + 8, le32(0x08000000u | m.grid));
         }},
        {"footer pointer",
         [&](HistoryRom& h, Session&) {
             patch(h.rom(), m.header, le32(0x08000000u | probe.maps.at({0, 0}).footer));
         }},
        {"events pointer",
         [&](HistoryRom& h, Session&) {
             patch(h.rom(), m.header + 4, le32(0x08000000u | probe.maps.at({0, 0}).events));
         }},
        {"event count", [&](HistoryRom& h, Session&) { patch(h.rom(), m.events + 1, {1}); }},
        {"resize undone",
         [&](HistoryRom&, Session& s) {
             resizeMap(s.rom(), s.romState().profile(), s.mapState(), 7, 5, freePlace(probe, 0));
             s.mapState().editor().paint(6, 4);
             undoWithOpenMap(s.rom(), s.romState(), s.mapState(), s.data().tilesets(),
                             s.rom().history().entries().back().id);
         }},
    };
    using Write = std::function<void(Session&)>;
    const std::pair<const char*, Write> writes[] = {
        {"save", [](Session& s) { saveOpenMap(s.rom(), s.mapState()); }},
        {"resize",
         [&](Session& s) {
             resizeMap(s.rom(), s.romState().profile(), s.mapState(), 6, 6,
                       freePlace(probe, 0x400));
         }},
        {"event counts",
         [&](Session& s) {
             applyEventCounts(s.rom(), s.mapState(), {1, 0, 0, 0}, freePlace(probe, 0x800));
         }},
        {"tilesets",
         [](Session& s) {
             tileset_choice::write(s.rom(), s.romState(), s.mapState(), s.data().tilesets(), 0, 1);
         }},
    };
    for (const auto& [change, apply] : changes) {
        for (const auto& [write, run] : writes) {
            HistoryRom h;
            auto s = h.open("0.1");
            s->mapState().editor().selectBlock(3);
            s->mapState().editor().paint(1, 1);
            apply(h, *s);
            const auto before = fileBytes(h.rom());
            EXPECT_EQ(messageOf([&] { run(*s); }),
                      "Die Map wurde im Rom geändert, seit sie geöffnet wurde; bitte neu öffnen.")
                << change << " / " << write;
            EXPECT_EQ(fileBytes(h.rom()), before) << change << " / " << write;
            EXPECT_TRUE(s->mapState().modified()) << change << " / " << write;
        }
    }
}

// Saved twice, or after a resize of its own: the ROM says what the copy says.
TEST(SaveCheck, TheMapsOwnWritesDoNotStopItsSave) {
    HistoryRom h;
    const romkit::BuiltMap m = h.built().maps.at({0, 1});
    auto s = h.open("0.1");
    s->mapState().editor().selectBlock(3);
    s->mapState().editor().paint(1, 0);
    saveOpenMap(s->rom(), s->mapState());
    auto expected = fileBytes(h.rom());
    s->mapState().editor().paint(2, 0);
    saveOpenMap(s->rom(), s->mapState());
    expected[m.grid + 4] = 3;  // cell 2 of the first row: block 3, movement kept
    EXPECT_EQ(fileBytes(h.rom()), expected);
    const std::uint32_t grid =
        resizeMap(s->rom(), s->romState().profile(), s->mapState(), 6, 3, freePlace(h.built(), 0));
    s->mapState().editor().paint(5, 2);
    expected = fileBytes(h.rom());
    saveOpenMap(s->rom(), s->mapState());
    expected[grid + 2 * (2 * 6 + 5)] = 3;
    EXPECT_EQ(fileBytes(h.rom()), expected);
    EXPECT_FALSE(s->mapState().modified());
}

TEST(MapRanges, NameEveryPartTheMapOccupies) {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON TEST", "QTSE", 1 << 20);
    romkit::TilesetSpec t;
    t.tiles.assign(32, 0);
    t.palettes.push_back({});
    t.blocks.push_back({});
    b.addTileset(t);
    b.addTileset(t);
    b.addMapName("A");
    romkit::MapSpec townMap;
    townMap.width = 3;
    townMap.height = 2;
    townMap.persons = {romkit::personRecord(1, 0, 1, 1)};
    townMap.warps = {romkit::warpRecord(0, 0, 0, 0, 0), romkit::warpRecord(1, 0, 0, 0, 0)};
    townMap.connections = std::vector<Connection>{Connection{1, 0, 0, 1, 0}};
    b.addMap(townMap);
    romkit::MapSpec other;
    other.map = 1;
    b.addMap(other);
    const BuiltRom built = b.build();
    TempDir dir;
    romkit::writeProgramFolder(dir.path(), built);
    romkit::writeRomFile(dir.file("r.gba"), built);
    Session s(dir.path());
    s.openRom(dir.file("r.gba"));
    s.openMap("0.0", "0.0");
    const romkit::BuiltMap& m = built.maps.at({0, 0});
    const std::vector<ByteRange> expected{
        {m.header, m.header + 28, "Map-Header"},
        {m.footer, m.footer + 24, "Map-Footer"},
        {m.border, m.border + 8, "Border"},
        {m.grid, m.grid + 12, "Block-Grid"},
        {m.persons, m.persons + 24, "Person-Tabelle"},
        {m.warps, m.warps + 16, "Warp-Tabelle"},
        {m.events, m.events + 20, "Event-Header"},
        {m.connectionHeader, m.connectionHeader + 8, "Anbindungskopf"},
        {m.connectionRecords, m.connectionRecords + 12, "Anbindungen"},
    };
    EXPECT_EQ(mapRanges(s.rom(), s.mapState().map()), expected);
}

// A step's range [offset, offset + its longer side) against the map's [begin, end).
TEST(MapRanges, TouchesMeansAnOverlapOfAtLeastOneByte) {
    const std::vector<ByteRange> map{{0x100, 0x110, "der Block-Grid"}, {0x200, 0x218, "x"}};
    struct Case {
        std::uint32_t offset;
        std::size_t before, after;
        bool touches;
    };
    for (const Case c : {Case{0xFE, 2, 2, false}, Case{0xFE, 3, 0, true}, Case{0x10F, 1, 1, true},
                         Case{0x110, 0xF0, 0xF0, false}, Case{0x110, 0, 0xF1, true},
                         Case{0x218, 4, 4, false}}) {
        const std::vector<HistoryRange> step{
            {c.offset, std::vector<std::uint8_t>(c.before), std::vector<std::uint8_t>(c.after)}};
        EXPECT_EQ(touches(step, map), c.touches) << c.offset << " " << c.before << " " << c.after;
    }
}

// Maps share footers: a step written for 1.0 that changes the footer 0.1 uses touches 0.1 too;
// one on another map's header does not.
TEST(UndoTouch, IsDecidedByTheBytesNotTheMapNumber) {
    HistoryRom h;
    const BuiltRom& b = h.built();
    patch(h.rom(), b.maps.at({1, 0}).header, le32(0x08000000u | b.maps.at({0, 1}).footer));
    auto s = h.open("1.0");
    resizeMap(s->rom(), s->romState().profile(), s->mapState(), 6, 6, freePlace(b, 0));
    const std::uint64_t resize = s->rom().history().entries().back().id;
    s->openMap("0.0", "0.0");
    map_attributes::writeByte(s->rom(), s->mapState(), HeaderByte::Weather, 4);
    const std::uint64_t weather = s->rom().history().entries().back().id;
    s->openMap("0.1", "0.1");
    EXPECT_FALSE(undoTouchesOpenMap(s->rom(), s->mapState(), weather));
    EXPECT_TRUE(undoTouchesOpenMap(s->rom(), s->mapState(), resize));
    EXPECT_FALSE(
        undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(), weather)
            .openMapTouched);
    EXPECT_TRUE(
        undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(), resize)
            .openMapTouched);
    EXPECT_TRUE(redoTouchesOpenMap(s->rom(), s->mapState()));
}

// "Speichern Unter": the map counts as saved only once the copy has its name. Here another
// program takes the name while the copy is written.
TEST(SaveAs, TheMapStaysModifiedWhenTheCopyCannotTakeItsName) {
    HistoryRom h;
    auto s = h.open("0.1");
    s->mapState().editor().selectBlock(3);
    s->mapState().editor().paint(1, 1);
    const auto before = fileBytes(h.rom());
    const std::filesystem::path target = h.folder() / "copy.gba";
    s->rom().history().setWriteHook([&] { std::ofstream(target) << "taken"; });
    EXPECT_FALSE(s->saveMapAs(target));
    EXPECT_TRUE(s->mapState().modified());
    EXPECT_EQ(s->rom().FileName(), h.rom());
    EXPECT_EQ(fileBytes(h.rom()), before);
    EXPECT_EQ(fileBytes(target), (std::vector<std::uint8_t>{'t', 'a', 'k', 'e', 'n'}));
}

}  // namespace
}  // namespace quillon
