#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "core/base/numbers.h"
#include "core/session/open_map_history.h"
#include "core/writers/map_attributes.h"
#include "core/writers/map_resize.h"
#include "tests/rom/watched_files.h"
#include "tests/session/history_fixture.h"

namespace quillon {
namespace {

using namespace testing;

void setWeather(Session& s, int weather) {
    map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Weather, weather);
}

std::set<std::string> filesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& f : std::filesystem::directory_iterator(folder)) {
        names.insert(f.path().filename().string());
    }
    return names;
}

// Weather 3, then weather 4 cut off before its mark: the ROM holds the second command's new
// byte over the first one's.
void interruptedSecondWeather(const HistoryRom& h) {
    setWeather(*h.open(), 3);
    Crash crash{2};  // the history record, the ROM's byte, then the mark
    EXPECT_THROW(setWeather(*h.openCrashing(crash), 4), RomIoError);
}

// Opening for reading only (the command line's read commands) reports a transaction cut off
// and a history of another ROM, and leaves both files exactly as they are.
TEST(HistoryIntegrity, ReadOnlySessionsNeverRenameOrWriteAHistory) {
    HistoryRom h;
    interruptedSecondWeather(h);
    const auto folder = filesIn(h.folder());
    const auto rom = fileBytes(h.rom());
    const auto history = fileBytes(historyOf(h.rom()));
    auto ro = h.open("0.1", true);
    ASSERT_TRUE(unfinishedTransaction(ro->rom()));
    EXPECT_EQ(unfinishedTransaction(ro->rom())->entry.name, "Wetter ändern 0.1");
    EXPECT_TRUE(ro->rom().history().notices().empty());

    romkit::writeRomFile(h.rom(), h.built());  // now the history belongs to no ROM here
    const auto other = fileBytes(h.rom());
    ro = h.open("0.1", true);
    ASSERT_EQ(ro->rom().history().notices().size(), 1u);
    EXPECT_EQ(ro->rom().history().notices()[0].id, "history.foreign.left");
    EXPECT_THROW(setWeather(*ro, 6), Error);
    EXPECT_EQ(filesIn(h.folder()), folder);
    EXPECT_EQ(fileBytes(h.rom()), other);
    EXPECT_EQ(fileBytes(historyOf(h.rom())), history);
    EXPECT_NE(rom, other);
}

// The same field written twice, the second cut off: the next writing session offers the repair
// instead of setting the history aside, and either way gives exact files.
TEST(HistoryIntegrity, ACommandCutOffOverTheOneBeforeIsOffered) {
    HistoryRom h;
    const auto first = fileBytes(h.rom());
    setWeather(*h.open(), 3);
    const auto three = fileBytes(h.rom());
    h.reset();
    interruptedSecondWeather(h);
    auto s = h.open("");
    EXPECT_TRUE(s->rom().history().notices().empty());
    ASSERT_TRUE(unfinishedTransaction(s->rom()));
    resolveUnfinished(*s, false);
    EXPECT_EQ(fileBytes(h.rom()), three);
    s = h.open("0.1");
    ASSERT_EQ(s->rom().history().entries().size(), 1u);
    undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(),
                    s->rom().history().entries()[0].id);
    EXPECT_EQ(fileBytes(h.rom()), first);
}

// The ROM changed outside since the cut-off command: its repair would write into bytes that
// are neither its old nor its new ones. Refused, naming the place; nothing written.
TEST(HistoryIntegrity, RecoveryRefusesBytesThatAreNeitherOldNorNew) {
    HistoryRom h;
    interruptedSecondWeather(h);
    auto s = h.open("");
    ASSERT_TRUE(unfinishedTransaction(s->rom()));
    const std::uint32_t weather = unfinishedTransaction(s->rom())->entry.ranges[0].offset;
    {
        std::fstream f(h.rom(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(weather);
        f.put(0x5A);
    }
    const auto rom = fileBytes(h.rom());
    const auto history = fileBytes(historyOf(h.rom()));
    for (bool complete : {true, false}) {
        try {
            resolveUnfinished(*s, complete);
            ADD_FAILURE() << "resolved";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("$" + IntToHex(weather, 6) + " (1 Bytes)"),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(fileBytes(h.rom()), rom);
    EXPECT_EQ(fileBytes(historyOf(h.rom())), history);
}

// Save As publishes the copy under its name only: no temporary file and no second name of the
// copy stay behind.
TEST(HistoryIntegrity, SaveAsLeavesNoTemporaryOrLinkBehind) {
    HistoryRom h;
    auto s = h.open();
    setWeather(*s, 3);
    auto before = filesIn(h.folder());
    s->mapState().grid().cells[0] = s->mapState().grid().cells[0].withBlock(5);
    ASSERT_TRUE(s->saveMapAs(h.folder() / "copy.gba"));
    before.insert({"copy.gba", "copy.gba.quillon-history"});
    EXPECT_EQ(filesIn(h.folder()), before);
    EXPECT_EQ(std::filesystem::hard_link_count(h.folder() / "copy.gba"), 1u);
}

// The history's rewrite for its bounds fails after a resize reached the ROM: the command
// succeeded, so its state is applied (the open map has the new size) and a notice tells.
TEST(HistoryIntegrity, AFailedRewriteForTheBoundsLeavesTheCommandDone) {
    HistoryRom h;
    Steps steps;
    steps.failing = "history replace";
    auto s = std::make_unique<Session>(h.folder());
    s->rom().history().setFileMaker(watchedHistory(steps));
    s->openRom(h.rom());
    s->rom().history().setBounds({1 << 20, 1});
    s->openMap("0.1", "0.1");
    setWeather(*s, 3);
    const std::uint32_t at = ((h.built().freeSpace + 0xFF) & ~0xFFu) + 0x100;
    EXPECT_NO_THROW(resizeMap(s->rom(), s->romState().profile(), s->mapState(), 7, 5, at));
    EXPECT_EQ(s->mapState().grid().width, 7);
    EXPECT_EQ(s->mapState().grid().height, 5);
    ASSERT_EQ(s->rom().history().notices().size(), 1u);
    EXPECT_EQ(s->rom().history().entries().back().name, "Grösse ändern 0.1");
    EXPECT_EQ(h.open("")->rom().history().entries().size(), 2u);
}

}  // namespace
}  // namespace quillon
