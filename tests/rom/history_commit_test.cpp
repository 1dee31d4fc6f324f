#include <gtest/gtest.h>

#include <fstream>

#include "core/errors.h"
#include "core/history/history_commands.h"
#include "core/rom/trom.h"
#include "tests/rom/watched_files.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using testing::Steps;
using testing::TempDir;

std::vector<std::uint8_t> blankRom() {
    std::vector<std::uint8_t> bytes(0x1000, 0xFF);
    bytes[0xB2] = 0x96;
    return bytes;
}

// Transaction i: data at 0x200 + 8i, then a "pointer" at 0x100 + 4i.
void command(TRom& rom, int i) {
    TRom::Transaction tx(rom, "Befehl " + std::to_string(i), "0." + std::to_string(i));
    rom.WriteBlock(std::vector<std::uint8_t>(8, static_cast<std::uint8_t>(i)), 0x200 + 8 * i);
    rom.WritePointer(0x100 + 4 * i, 0x200 + 8 * static_cast<std::uint32_t>(i));
    tx.commit();
}

// A ROM in memory with its history file, every step of both watched.
struct Watched {
    Steps steps;
    TRom rom;
    Watched(const std::filesystem::path& history, std::vector<std::uint8_t> bytes = blankRom()) {
        rom.history().setFileMaker(testing::watchedHistory(steps));
        rom.attach(std::make_unique<testing::WatchedRomFile>(std::move(bytes), steps), "t.gba");
        rom.openHistory(history);
    }
    std::vector<std::uint8_t> image() { return rom.ReadBlock(0, rom.size()); }
    void failNext(const std::string& step, int at = 0) {
        steps.failing = step;
        steps.failAt = at;
        steps.seen = 0;
    }
};

// The history record is on the disk (written and synced, the new file's folder entry too)
// before the first byte of the ROM changes; the mark follows the ROM's flush.
TEST(HistoryCommit, TheRecordReachesTheDiskBeforeTheFirstRomByte) {
    TempDir dir;
    Watched w(dir.file("t.gba.quillon-history"));
    command(w.rom, 0);
    const std::vector<std::string> first{"history write", "history sync", "folder sync",
                                         "history write", "history sync", "rom write",
                                         "rom write",     "rom flush",    "history write",
                                         "history sync"};
    EXPECT_EQ(w.steps.log, first);
    w.steps.log.clear();
    command(w.rom, 1);
    const std::vector<std::string> next{"history write", "history sync", "rom write", "rom write",
                                        "rom flush",     "history write", "history sync"};
    EXPECT_EQ(w.steps.log, next);
}

// A failing step before the ROM is touched fails the command and leaves the ROM as it was; a
// failing sync of the mark, after the ROM holds the new bytes, is a warning, not a failure.
TEST(HistoryCommit, EachFailingStepGivesAnHonestOutcome) {
    const struct {
        const char* step;
        int at;
        bool first;  // the failing command is the history's first
        bool succeeds;
    } cases[] = {
        {"folder sync", 0, true, false},   {"history sync", 0, true, false},
        {"history sync", 1, true, false},  {"history sync", 0, false, false},
        {"rom write", 1, false, false},    {"rom flush", 0, false, false},
        {"history sync", 1, false, true},  {"history sync", 2, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.step) + " #" + std::to_string(c.at));
        TempDir dir;
        const auto path = dir.file("t.gba.quillon-history");
        Watched w(path);
        if (!c.first) {
            command(w.rom, 0);
        }
        const auto before = w.image();
        const auto history = testing::fileBytes(path);
        w.failNext(c.step, c.at);
        if (c.succeeds) {
            EXPECT_NO_THROW(command(w.rom, 1));
            EXPECT_NE(w.image(), before);
            ASSERT_EQ(w.rom.history().notices().size(), 1u);
        } else {
            EXPECT_THROW(command(w.rom, 1), RomIoError);
            EXPECT_EQ(w.image(), before);
            EXPECT_EQ(testing::fileBytes(path), history);
            EXPECT_FALSE(w.rom.history().unfinished());
        }
        Watched reopened(path, w.image());
        EXPECT_TRUE(reopened.rom.history().notices().empty());
        EXPECT_FALSE(reopened.rom.history().unfinished());
        EXPECT_EQ(reopened.rom.history().entries().size(), (c.first ? 0u : 1u) + c.succeeds);
    }
}

// A command that fails and whose old bytes are back leaves the history byte for byte as it
// was: not listed as done, and what was undone can still be redone.
TEST(HistoryCommit, AFailedCommitKeepsTheHistoryAndTheRedoList) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Watched w(path);
    command(w.rom, 0);
    command(w.rom, 1);
    const auto afterBoth = w.image();
    history_commands::undoUntil(w.rom, w.rom.history().entries()[1].id, {});
    const auto before = w.image();
    const auto history = testing::fileBytes(path);
    w.failNext("rom write", 1);
    EXPECT_THROW(command(w.rom, 2), RomIoError);
    EXPECT_EQ(w.image(), before);
    EXPECT_EQ(testing::fileBytes(path), history);
    Watched reopened(path, w.image());
    for (TRom* rom : {&w.rom, &reopened.rom}) {
        const auto& list = rom->history().entries();
        ASSERT_EQ(list.size(), 3u);
        EXPECT_TRUE(list[1].undone);
        EXPECT_EQ(list[2].kind, EntryKind::Undo);
    }
    history_commands::redoNext(reopened.rom, {});
    EXPECT_EQ(reopened.image(), afterBoth);
}

// A transaction cut off before its mark: no commit may replace it, and it is completed or
// rolled back only while each of its bytes holds its old or its new value.
TEST(HistoryCommit, AnUnfinishedTransactionIsResolvedOnlyOnItsOwnBytes) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Watched w(path);
    command(w.rom, 0);
    w.failNext("history write", 1);  // the mark of the next command
    EXPECT_THROW(command(w.rom, 1), RomIoError);
    ASSERT_TRUE(w.rom.history().unfinished());
    auto image = w.image();
    auto history = testing::fileBytes(path);
    try {
        command(w.rom, 2);
        ADD_FAILURE() << "a commit replaced the unfinished transaction";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("unvollendete"), std::string::npos) << e.what();
    }
    EXPECT_EQ(w.image(), image);
    EXPECT_EQ(testing::fileBytes(path), history);
    EXPECT_EQ(w.rom.history().unfinished()->name, "Befehl 1");

    w.rom.WriteByte(0x20A, 0x55);  // neither the old 0xFF nor the new 0x01
    image = w.image();
    for (bool complete : {true, false}) {
        try {
            w.rom.finishUnfinished(complete);
            ADD_FAILURE() << "resolved over foreign bytes";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("$000208 (8 Bytes)"), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(w.image(), image);
        EXPECT_EQ(testing::fileBytes(path), history);
    }
    Watched beside(path, image);  // as another ROM of the same size would be
    ASSERT_EQ(beside.rom.history().notices().size(), 1u);
    EXPECT_FALSE(beside.rom.history().unfinished());
}

// Bytes up to the very last one of the ROM are written, recorded and undone; one past it is
// refused before anything is written.
TEST(HistoryCommit, TheLastByteOfTheRomIsAnOrdinaryPlace) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Watched w(path);
    const auto before = w.image();
    {
        TRom::Transaction tx(w.rom, "Ende", "");
        w.rom.WriteBlock(std::vector<std::uint8_t>{1, 2, 3, 4}, 0xFFC);
        tx.commit();
    }
    auto after = before;
    std::copy_n(std::vector<std::uint8_t>{1, 2, 3, 4}.begin(), 4, after.end() - 4);
    EXPECT_EQ(w.image(), after);
    {
        TRom::Transaction tx(w.rom, "Dahinter", "");
        EXPECT_THROW(w.rom.WriteBlock(std::vector<std::uint8_t>{5, 6, 7, 8}, 0xFFD), RomIoError);
    }
    EXPECT_EQ(w.image(), after);
    Watched reopened(path, after);
    EXPECT_TRUE(reopened.rom.history().notices().empty());
    ASSERT_EQ(reopened.rom.history().entries().size(), 1u);
    history_commands::undoUntil(reopened.rom, reopened.rom.history().entries()[0].id, {});
    EXPECT_EQ(reopened.image(), before);
}

// A rewrite of the history for its bounds that fails after a commit is no failure of the
// command: the transaction is in the ROM and in the history, and a notice tells.
TEST(HistoryCommit, AFailedRewriteForTheBoundsIsANotice) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Watched w(path);
    w.rom.history().setBounds({1 << 20, 2});
    w.failNext("history replace");
    for (int i = 0; i < 4; ++i) {
        EXPECT_NO_THROW(command(w.rom, i));
    }
    ASSERT_FALSE(w.rom.history().notices().empty());
    EXPECT_EQ(w.rom.history().notices()[0].id, "history.trim_failed");
    EXPECT_EQ(w.rom.history().entries().back().name, "Befehl 3");
    Watched reopened(path, w.image());
    EXPECT_TRUE(reopened.rom.history().notices().empty());
    EXPECT_EQ(reopened.rom.history().entries().back().name, "Befehl 3");
}

// Many rolled-back transactions after the last finished one: opening still checks that one
// against the ROM.
TEST(HistoryCommit, TheBelongsCheckReachesPastManyRolledBackEntries) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Watched w(path);
    command(w.rom, 0);
    for (int k = 0; k < 40; ++k) {
        w.failNext("history write", 1);
        EXPECT_THROW(command(w.rom, 1), RomIoError);
        w.rom.finishUnfinished(false);
    }
    auto image = w.image();
    Watched same(path, image);
    EXPECT_TRUE(same.rom.history().notices().empty());
    image[0x200] = 0x77;  // the last finished entry's bytes are not in this ROM
    Watched other(path, image);
    EXPECT_EQ(other.rom.history().notices().size(), 1u);
}

}  // namespace
}  // namespace quillon
