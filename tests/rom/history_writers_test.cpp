#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "core/errors.h"
#include "core/history/history_commands.h"
#include "core/rom/history_file.h"
#include "core/rom/trom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using testing::TempDir;

void writeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> blankRom() {
    std::vector<std::uint8_t> bytes(0x1000, 0xFF);
    bytes[0xB2] = 0x96;
    return bytes;
}

void command(TRom& rom, int i) {
    TRom::Transaction tx(rom, "Befehl " + std::to_string(i), "");
    rom.WriteBlock(std::vector<std::uint8_t>(8, static_cast<std::uint8_t>(i)), 0x200 + 8 * i);
    rom.WritePointer(0x100 + 4 * i, 0x200 + 8 * static_cast<std::uint32_t>(i));
    tx.commit();
}

// The ROM file on disk and its history beside it, opened as the editor opens them.
struct OnDisk {
    TempDir dir;
    std::filesystem::path rom = dir.file("t.gba");
    std::filesystem::path history = dir.file("t.gba.quillon-history");
    OnDisk() { writeFile(rom, blankRom()); }
    std::unique_ptr<TRom> open(HistoryFileMaker maker = {}) const {
        auto t = std::make_unique<TRom>();
        t->history().setFileMaker(std::move(maker));
        t->Open(rom);
        t->openHistory(history);
        return t;
    }
};

// Two programs on the same ROM, each opened before the other wrote: every entry of both is
// kept, in the order they were written, and undoing them all gives the first file back.
TEST(HistoryWriters, TwoWritersKeepEachOthersEntries) {
    OnDisk d;
    const auto first = testing::fileBytes(d.rom);
    auto a = d.open();
    auto b = d.open();
    command(*a, 0);
    command(*b, 1);
    command(*a, 2);
    command(*b, 3);
    auto c = d.open();
    EXPECT_TRUE(c->history().notices().empty());
    const auto& list = c->history().entries();
    ASSERT_EQ(list.size(), 4u);
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].name, "Befehl " + std::to_string(i));
        EXPECT_EQ(list[i].id, list[0].id + i);
    }
    history_commands::undoUntil(*c, list[0].id, {});
    EXPECT_EQ(testing::fileBytes(d.rom), first);
}

// While another program holds the history's lock, a commit waits; when the lock is not given
// up it is refused and nothing is written.
TEST(HistoryWriters, ACommitDoesNotRunWhileAnotherHoldsTheLock) {
    OnDisk d;
    command(*d.open(), 0);
    auto t = d.open([](const std::filesystem::path& p) {
        return std::make_unique<DiskHistoryFile>(p, 0);
    });
    const auto rom = testing::fileBytes(d.rom);
    const auto history = testing::fileBytes(d.history);
    auto held = std::make_unique<DiskHistoryFile>(d.history, 0);
    held->lock();
    EXPECT_THROW(command(*t, 1), Error);
    EXPECT_EQ(testing::fileBytes(d.rom), rom);
    EXPECT_EQ(testing::fileBytes(d.history), history);
    held.reset();
    command(*t, 1);
    EXPECT_EQ(d.open()->history().entries().size(), 2u);
}

// A new file renamed over the ROM while it is open: a commit would go into the old file that
// no name leads to any more. It is refused; neither file nor the history changes.
TEST(HistoryWriters, ACommitIntoAReplacedRomFileIsRefused) {
    if (!testing::kRenameOverOpenFile) {
        GTEST_SKIP() << "this system renames no file over one held open";
    }
    OnDisk d;
    auto t = d.open();
    command(*t, 0);
    auto fresh = blankRom();
    fresh[0x300] = 0x42;
    writeFile(d.dir.file("new.gba"), fresh);
    std::filesystem::rename(d.dir.file("new.gba"), d.rom);
    const auto history = testing::fileBytes(d.history);
    try {
        command(*t, 1);
        ADD_FAILURE() << "written into the replaced file";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("ersetzt"), std::string::npos) << e.what();
    }
    EXPECT_EQ(testing::fileBytes(d.rom), fresh);
    EXPECT_EQ(testing::fileBytes(d.history), history);
}

// Another program writes into the bytes a command read, between its read and its commit: the
// command's old bytes would be wrong for undo, so it is refused and writes nothing.
TEST(HistoryWriters, BytesChangedUnderAnOpenTransactionAreNotOverwritten) {
    OnDisk d;
    auto t = d.open();
    command(*t, 0);
    const auto history = testing::fileBytes(d.history);
    try {
        TRom::Transaction tx(*t, "Befehl 1", "");
        t->WriteBlock(std::vector<std::uint8_t>(4, 1), 0x400);
        {
            std::fstream f(d.rom, std::ios::in | std::ios::out | std::ios::binary);
            f.seekp(0x402);
            f.put(0x33);
        }
        tx.commit();
        ADD_FAILURE() << "committed over the other program's byte";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("$000400 (4 Bytes)"), std::string::npos) << e.what();
    }
    auto expected = blankRom();
    expected[0x402] = 0x33;
    std::fill_n(expected.begin() + 0x200, 8, 0);
    expected[0x100] = 0x00;
    expected[0x101] = 0x02;
    expected[0x102] = 0x00;
    expected[0x103] = 0x08;
    EXPECT_EQ(testing::fileBytes(d.rom), expected);
    EXPECT_EQ(testing::fileBytes(d.history), history);
}

// A program killed during the history's very first write leaves an empty file, a part of the
// header, the header alone or a torn first record: none of these is another ROM's history.
TEST(HistoryWriters, AFileCutOffDuringItsFirstWriteIsNoForeignHistory) {
    OnDisk d;
    command(*d.open(), 0);
    const auto whole = testing::fileBytes(d.history);
    const auto rom = testing::fileBytes(d.rom);
    for (std::size_t cut : {std::size_t{0}, std::size_t{10}, std::size_t{28}, std::size_t{60}}) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        writeFile(d.rom, blankRom());
        writeFile(d.history, {whole.begin(), whole.begin() + static_cast<long>(cut)});
        auto t = d.open();
        EXPECT_TRUE(t->history().notices().empty());
        EXPECT_TRUE(t->history().entries().empty());
        EXPECT_FALSE(t->history().unfinished());
        command(*t, 0);
        EXPECT_EQ(testing::fileBytes(d.rom), rom);
        auto again = d.open();
        EXPECT_TRUE(again->history().notices().empty());
        EXPECT_EQ(again->history().entries().size(), 1u);
    }
}

}  // namespace
}  // namespace quillon
