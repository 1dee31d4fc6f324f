#include <gtest/gtest.h>

#include <fstream>

#include "core/base/numbers.h"
#include "core/config/language_table.h"
#include "core/errors.h"
#include "core/session/map_saving.h"
#include "core/session/session.h"
#include "tests/events/event_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;
using Flag = Settings::Flag;
using Bytes = std::vector<std::uint8_t>;

// Map 0.0: person 0 at (1, 1) (trainer flag 2), person 1 at (6, 4), a warp at (3, 2), a script
// trigger at (4, 2), a signpost of type 3 at (5, 2), the fly position at (2, 5).
// Map 0.1: one warp, no persons; its fly record comes first in the table.
class SessionEvents : public ::testing::Test {
protected:
    void SetUp() override {
        RomBuilder b = eventRomBuilder();
        MapSpec m = eventMap(0, 0);
        m.persons = {personRecord(1, 0, 1, 1, 0, 0, 2), personRecord(2, 0, 6, 4)};
        m.warps = {warpRecord(3, 2, 1, 1, 0)};
        m.scripts = {scriptRecord(4, 2, 0x300)};
        m.signposts = {signpostRecord(5, 2, 3, 0x400)};
        b.addMap(m);
        MapSpec other = eventMap(0, 1);
        other.warps = {warpRecord(0, 0, 0, 0, 0)};
        b.addMap(other);
        b.addFlyRecord(0, 1, 7, 7);
        b.addFlyRecord(0, 0, 2, 5);
        m_built = b.build();
        writeProgramFolder(m_dir.path(), m_built);
        open();
    }
    void open() {
        writeRomFile(m_dir.file("e.gba"), m_built);
        m_session.openRom(m_dir.file("e.gba"));
        m_session.openMap("0.0", "t");
        // Markers for every kind, every kind hit.
        m_session.settings().setFlag(Flag::ShowSprites, false);
        m_session.settings().setFlag(Flag::HideOtherEvents, false);
    }
    Bytes file() { return testing::fileBytes(m_dir.file("e.gba")); }
    Bytes record(EventKind kind, int index = 0) {
        return toVector(m_session.mapState().events().record(kind, index));
    }
    void drag(int x0, int y0, int x1, int y1) {
        ev().pressAt(x0, y0);
        ev().dragTo(x1, y1);
        ev().release();
    }
    EventEditor& ev() { return m_session.mapState().eventEditor(); }
    MapEditor& editor() { return m_session.mapState().editor(); }

    TempDir m_dir;
    BuiltRom m_built;
    Session m_session{m_dir.path()};
};

TEST_F(SessionEvents, BadEventTablesKeepTheOpenMap) {
    // Map 0.1's warp table pointer leads past the end of the file.
    patch32(m_built, m_built.maps.at({0, 1}).events + 8, 0x08FFFFF8u);
    open();
    EXPECT_EQ(ev().selected(), (EventRef{EventKind::Person, 0}));
    drag(3, 2, 0, 0);
    EXPECT_THROW(m_session.openMap("0.1", "t"), DataError);
    EXPECT_EQ(m_session.mapState().map().identifier, "0.0");
    EXPECT_EQ(m_session.mapState().events().position({EventKind::Warp, 0}).x, 0)
        << "the edit stays";
    EXPECT_TRUE(m_session.mapState().modified());
}

TEST_F(SessionEvents, TablesInTheCartridgeHeaderAreRefusedAndNeverWritten) {
    // Map 0.1's warp table (one record) pointing into the first 0xC0 bytes: null, or inside.
    for (std::uint32_t pointer : {0u, 0x08000010u, 0x080000BCu}) {
        SCOPED_TRACE(pointer);
        patch32(m_built, m_built.maps.at({0, 1}).events + 8, pointer);
        open();
        const Bytes before = file();
        try {
            m_session.openMap("0.1", "t");
            FAIL() << "map 0.1 opened";
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find("Warp-Tabelle"), std::string::npos) << e.what();
        }
        EXPECT_EQ(m_session.mapState().map().identifier, "0.0");
        drag(3, 2, 0, 0);
        saveOpenMap(m_session.rom(), m_session.mapState());
        const Bytes after = file();
        ASSERT_EQ(after.size(), before.size());
        EXPECT_TRUE(std::equal(before.begin(), before.begin() + 0xC0, after.begin()))
            << "the cartridge header is untouched";
        const std::uint32_t warp = m_built.maps.at({0, 0}).warps;
        Bytes expected = before;
        expected[warp] = 0;
        expected[warp + 2] = 0;
        EXPECT_TRUE(after == expected) << "only the moved warp's X and Y changed";
    }
}

TEST_F(SessionEvents, ADragIsOneUndoStep) {
    const Bytes before = record(EventKind::Warp);
    EXPECT_EQ(ev().pressAt(3, 2), (EventRef{EventKind::Warp, 0}));
    EXPECT_TRUE(ev().dragTo(4, 3));
    EXPECT_FALSE(ev().dragTo(4, 3));
    EXPECT_TRUE(ev().dragTo(5, 5));
    ev().release();
    EXPECT_EQ(record(EventKind::Warp), (Bytes{5, 0, 5, 0, 0, 1, 1, 0}));
    ev().select(EventKind::Person, 1);
    EXPECT_TRUE(editor().undo().empty()) << "no cells changed";
    EXPECT_EQ(record(EventKind::Warp), before);
    EXPECT_EQ(ev().selected(), (EventRef{EventKind::Warp, 0})) << "undo shows what it undid";
    EXPECT_FALSE(m_session.mapState().modified());
    editor().redo();
    EXPECT_EQ(record(EventKind::Warp)[0], 5);

    ev().pressAt(1, 1);  // out and back again in one drag changes nothing
    ev().dragTo(2, 2);
    ev().dragTo(1, 1);
    ev().release();
    editor().undo();
    EXPECT_EQ(record(EventKind::Warp), before) << "the warp's drag was the last step";

    // Grid and event steps undo in turn; the fly position moves by its bytes 2 and 4.
    editor().selectBlock(1);
    editor().paint(0, 0);
    drag(2, 5, 3, 0);
    EXPECT_EQ(record(EventKind::Fly), (Bytes{0, 0, 3, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(editor().undo().empty());
    EXPECT_EQ(m_session.mapState().grid().at(0, 0).block(), 1);
    EXPECT_EQ(editor().undo(), CellRect::cell(0, 0));
    EXPECT_FALSE(m_session.mapState().modified());
}

TEST_F(SessionEvents, TypingIntoOneFieldIsOneUndoStep) {
    ev().select(EventKind::Warp, 0);
    const Bytes before = record(EventKind::Warp);
    for (const char* typed : {"0", "00", "001", "0010"}) {
        ev().setHexText(WarpFields::X, typed);
    }
    ev().setHexText(WarpFields::Y, "7");  // another field: a step of its own
    EXPECT_EQ(record(EventKind::Warp)[0], 0x10);
    editor().undo();
    EXPECT_EQ(record(EventKind::Warp)[2], 2);
    EXPECT_EQ(record(EventKind::Warp)[0], 0x10);
    editor().undo();
    EXPECT_EQ(record(EventKind::Warp), before) << "the four keystrokes went in one step";
    EXPECT_FALSE(editor().canUndo());

    ev().setHexText(WarpFields::X, "0009");
    saveOpenMap(m_session.rom(), m_session.mapState());
    ev().setHexText(WarpFields::X, "0008");  // after a save: a new step
    editor().undo();
    EXPECT_EQ(record(EventKind::Warp)[0], 9);
    EXPECT_FALSE(m_session.mapState().modified());

    ev().setHexText(WarpFields::X, "0004");
    ev().setHexText(WarpFields::X, "0009");  // typed back to the saved value
    EXPECT_FALSE(m_session.mapState().modified());
}

TEST_F(SessionEvents, PanelFieldsWriteTheirBytesInTheSelectedRecordOnly) {
    const Bytes person = record(EventKind::Person);
    for (EventKind kind : {EventKind::Person, EventKind::Warp, EventKind::ScriptTrigger,
                           EventKind::Signpost, EventKind::Fly}) {
        ASSERT_TRUE(ev().select(kind, 0));
        for (const EventField& f : eventFields(kind)) {
            ev().hexText(f);  // showing a record never changes it
        }
    }
    EXPECT_TRUE(ev().pressAt(0, 0).none());
    EXPECT_FALSE(ev().setHexText(PersonFields::X, "5")) << "nothing selected";
    EXPECT_FALSE(ev().setFlyMap(9));
    EXPECT_FALSE(ev().select(EventKind::Warp, 1));
    EXPECT_FALSE(ev().setTrainer(true));
    ev().select(EventKind::Warp, 0);
    EXPECT_FALSE(ev().setField(PersonFields::Picture, 4)) << "a field of another kind";
    EXPECT_FALSE(ev().setHexText(WarpFields::X, "0003")) << "the value it holds";
    EXPECT_THROW(ev().setHexText(WarpFields::X, "xyz"), ConversionError);
    EXPECT_FALSE(m_session.mapState().modified());

    EXPECT_TRUE(ev().setField(WarpFields::TargetBank, 0x105));
    EXPECT_EQ(record(EventKind::Warp), (Bytes{3, 0, 2, 0, 0, 1, 1, 5}));
    ev().select(EventKind::Person, 0);
    EXPECT_TRUE(ev().trainer()) << "flag 2";
    EXPECT_TRUE(ev().setTrainer(true));
    EXPECT_TRUE(ev().setHexText(PersonFields::Unknown1, "1FF"));
    EXPECT_EQ(record(EventKind::Person)[2], 0xFF);
    EXPECT_EQ(record(EventKind::Person)[12], 1);
    ev().select(EventKind::ScriptTrigger, 0);
    EXPECT_EQ(ev().scriptText(ScriptTriggerFields::Script), "$000300");
    EXPECT_TRUE(ev().setScriptText(ScriptTriggerFields::Script, "$123456"));
    EXPECT_TRUE(ev().setHexText(ScriptTriggerFields::Unknown(1), "AB"));
    const Bytes trigger = record(EventKind::ScriptTrigger);
    EXPECT_EQ(Bytes(trigger.begin() + 4, trigger.end()),
              (Bytes{0, 0xAB, 0, 0, 0, 0, 0, 0, 0x56, 0x34, 0x12, 0x08}));
    ev().select(EventKind::Signpost, 0);
    EXPECT_FALSE(ev().hidden()) << "type 3";
    EXPECT_TRUE(ev().setHidden(true));
    EXPECT_EQ(record(EventKind::Signpost)[5], 7);
    EXPECT_TRUE(ev().setHidden(false));
    EXPECT_EQ(record(EventKind::Signpost)[5], 0) << "not 3 again";

    for (int step = 0; step < 7; ++step) {
        EXPECT_TRUE(m_session.mapState().modified()) << "one field edit is one step";
        editor().undo();
    }
    EXPECT_FALSE(m_session.mapState().modified());
    EXPECT_EQ(record(EventKind::Person), person);
}

TEST_F(SessionEvents, ChangingTheFlyMapTakesTheFlyPositionAway) {
    ASSERT_TRUE(ev().select(EventKind::Fly, 0));
    EXPECT_FALSE(ev().setFlyMap(0)) << "the value it holds";
    EXPECT_TRUE(ev().setFlyMap(3));
    EXPECT_TRUE(ev().setFlyMap(0)) << "back to this map: the record changes";
    EXPECT_FALSE(m_session.mapState().events().hasFlyPosition()) << "none until the map is opened";
    EXPECT_TRUE(ev().setHexText(FlyFields::X, "0009")) << "the record stays editable";
    EXPECT_FALSE(ev().select(EventKind::Fly, 0));
    saveOpenMap(m_session.rom(), m_session.mapState());
    EXPECT_EQ(bytesAt(file(), m_built.flyTable + 8, 8), (Bytes{0, 0, 9, 0, 5, 0, 0, 0}));
    for (int i = 0; i < 3; ++i) {
        editor().undo();
    }
    EXPECT_EQ(m_session.mapState().events().flyIndex(), 1);
    EXPECT_EQ(ev().selected(), (EventRef{EventKind::Fly, 0}));
}

TEST_F(SessionEvents, SaveWritesTheGridThenTheEventsAndNothingElse) {
    const BuiltMap& m = m_built.maps.at({0, 0});
    Bytes expected = m_built.bytes;
    editor().selectBlock(1);
    editor().paint(7, 5);
    expected[m.grid + 2 * (5 * 8 + 7)] = 1;
    drag(6, 4, 7, 3);  // person 1: X and Y at 4 and 6
    expected[m.persons + 24 + 4] = 7;
    expected[m.persons + 24 + 6] = 3;
    ev().select(EventKind::Signpost, 0);
    ev().setScriptText(SignpostFields::Script, "16");
    expected[m.signposts + 8] = 0x10;
    expected[m.signposts + 9] = 0x00;
    ev().select(EventKind::Fly, 0);
    ev().setHexText(FlyFields::Unknown, "0001");
    expected[m_built.flyTable + 8 + 6] = 1;

    saveOpenMap(m_session.rom(), m_session.mapState());
    EXPECT_FALSE(m_session.mapState().modified());
    EXPECT_TRUE(file() == expected);
    editor().undo();
    EXPECT_TRUE(m_session.mapState().modified()) << "undone past the save";

    // The fly record now ends the table: map 0.0's is gone, 0.1's stands before it.
    m_session.openMap("0.0", "t");
    EXPECT_FALSE(m_session.mapState().events().hasFlyPosition());
    m_session.openMap("0.1", "t");
    EXPECT_EQ(m_session.mapState().events().flyIndex(), 0);
    EXPECT_TRUE(ev().selected().none()) << "no persons to select";
}

TEST_F(SessionEvents, TheEventPictureFollowsMapAndEvents) {
    const Bitmap first = m_session.mapState().eventPicture();
    EXPECT_EQ(ev().pictureMessage(), EventMessage::Ok);
    EXPECT_NE(first, m_session.mapState().pictures().map());
    const auto at = [](const Bitmap& b, int x, int y) { return b.pixel(16 * x + 8, 16 * y + 8); };

    editor().selectBlock(1);
    editor().paint(7, 0);
    const Bitmap painted = m_session.mapState().eventPicture();
    EXPECT_NE(at(painted, 7, 0), at(first, 7, 0));
    drag(3, 2, 3, 3);
    EXPECT_NE(at(m_session.mapState().eventPicture(), 3, 2), at(painted, 3, 2));
    ev().setHexText(WarpFields::X, "0008");  // one cell past the right edge
    m_session.mapState().eventPicture();
    EXPECT_EQ(ev().pictureMessage(), EventMessage::SomeOutside);

    m_session.settings().setFlag(Flag::ShowSprites, true);
    m_session.settings().setFlag(Flag::HideOtherEvents, true);
    EXPECT_EQ(at(m_session.mapState().eventPicture(), 5, 2),
              at(m_session.mapState().pictures().map(), 5, 2))
        << "the signpost is hidden";
    EXPECT_EQ(ev().pictureMessage(), std::nullopt);
    EXPECT_TRUE(ev().hitTest(5, 2).none());
}

TEST_F(SessionEvents, StatusTextNamesTheEventUnderThePointer) {
    const LanguageTable& lang = m_session.lang();
    const BuiltMap& m = m_built.maps.at({0, 0});
    EXPECT_EQ(ev().statusText(3, 2, lang), "X: 3 Y: 2 Warp0 Offset: " + IntToHex(m.warps, 2));
    EXPECT_EQ(ev().statusText(6, 4, lang),
              "X: 6 Y: 4 Person1 Offset: " + IntToHex(m.persons + 24, 2));
    EXPECT_EQ(ev().statusText(2, 5, lang),
              "X: 2 Y: 5 FlugPos Offset: " + IntToHex(m_built.flyTable + 8, 2));
    EXPECT_EQ(ev().statusText(0, 0, lang), "X: 0 Y: 0 Kein Event");
}

}  // namespace
}  // namespace quillon
