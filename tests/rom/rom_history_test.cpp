#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "core/errors.h"
#include "core/files/native_file.h"
#include "core/rom/trom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using testing::TempDir;

std::vector<std::uint8_t> blankRom() {
    std::vector<std::uint8_t> bytes(0x1000, 0xFF);
    bytes[0xB2] = 0x96;
    return bytes;
}

void writeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A ROM in memory with a history file; image() is what the ROM holds.
struct Journaled {
    TRom rom;
    explicit Journaled(const std::filesystem::path& history,
                       std::vector<std::uint8_t> bytes = blankRom()) {
        rom.attach(std::make_unique<MemoryRomFile>(std::move(bytes)), "t.gba");
        rom.openHistory(history);
    }
    std::vector<std::uint8_t> image() { return rom.ReadBlock(0, rom.size()); }
    // Transaction i: data at 0x200 + 8i, then a "pointer" at 0x100 + 4i.
    void command(int i) {
        TRom::Transaction tx(rom, "Befehl " + std::to_string(i), "0." + std::to_string(i));
        const std::vector<std::uint8_t> data(8, static_cast<std::uint8_t>(i));
        rom.WriteBlock(data, 0x200 + 8 * i);
        rom.WritePointer(0x100 + 4 * i, 0x200 + 8 * static_cast<std::uint32_t>(i));
        tx.commit();
    }
};

TEST(RomTransaction, PendingWritesShowInsideTheScopeAndReachTheFileOnlyOnCommit) {
    TRom rom;
    rom.attach(std::make_unique<MemoryRomFile>(blankRom()), "t.gba");
    const auto before = rom.ReadBlock(0, rom.size());
    {
        TRom::Transaction outer(rom, "a", "");
        rom.WriteByte(0x300, 1);
        {
            TRom::Transaction inner(rom, "b", "");
            rom.WriteBlock(std::vector<std::uint8_t>{2, 3}, 0x301);
            inner.commit();
        }
        EXPECT_EQ(rom.ReadBlock(0x2FF, 4), (std::vector<std::uint8_t>{0xFF, 1, 2, 3}));
        EXPECT_TRUE(rom.history().entries().empty()) << "an inner commit writes nothing";
        EXPECT_THROW(rom.WriteByte(0xFFF + 1, 0), RomIoError);
    }
    EXPECT_EQ(rom.ReadBlock(0, rom.size()), before) << "left without commit: dropped";
    {
        TRom::Transaction outer(rom, "a", "");
        rom.WriteByte(0x300, 1);
        try {
            TRom::Transaction inner(rom, "b", "");
            rom.WriteByte(0x301, 2);
            throw Error("mitten drin");
        } catch (const Error&) {
        }
        EXPECT_THROW(outer.commit(), Error) << "a broken inner scope spoils the whole";
    }
    EXPECT_EQ(rom.ReadBlock(0, rom.size()), before);
    EXPECT_TRUE(rom.history().entries().empty());
}

// The last record cut at every byte, or overwritten with garbage: opening never fails, never
// takes a damaged record, and a record is unfinished only when it is whole and its mark is not.
TEST(RomHistoryFile, ATornOrDamagedEndIsNeverMisread) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Journaled j(path);
    for (int i = 0; i < 4; ++i) {
        j.command(i);
    }
    const auto image = j.image();
    const auto whole = testing::fileBytes(path);
    // Each frame ends with its payload's length: the mark's, then the record's before it.
    const auto lengthBefore = [&](std::size_t end) {
        return 12 + (whole[end - 4] | whole[end - 3] << 8 | whole[end - 2] << 16);
    };
    const std::size_t mark = whole.size() - static_cast<std::size_t>(lengthBefore(whole.size()));
    const std::size_t lastRecord = mark - static_cast<std::size_t>(lengthBefore(mark));
    std::mt19937 random(7);
    for (std::size_t cut = lastRecord; cut < whole.size() + 40; ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        auto bytes = whole;
        if (cut < whole.size()) {
            bytes.resize(cut);
        } else {  // garbage in place of the last bytes, or after them
            for (std::size_t k = 0; k < cut - whole.size() + 1; ++k) {
                bytes[bytes.size() - 1 - k % 30] = static_cast<std::uint8_t>(random());
            }
        }
        writeFile(path, bytes);
        Journaled reopened(path, image);
        EXPECT_TRUE(reopened.rom.history().notices().empty());
        const auto& list = reopened.rom.history().entries();
        ASSERT_GE(list.size(), 3u);
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i].name, "Befehl " + std::to_string(i));
            EXPECT_EQ(list[i].ranges.size(), 2u);
        }
        const auto& pending = reopened.rom.history().unfinished();
        EXPECT_TRUE(list.size() == 4 || !pending || pending->name == "Befehl 3");
        EXPECT_EQ(reopened.image(), image);
        reopened.rom.finishUnfinished(true);
        reopened.command(5);  // a new record goes behind the last whole one
        Journaled again(path, reopened.image());
        EXPECT_EQ(again.rom.history().entries().back().name, "Befehl 5");
    }
}

// A byte changed in the middle of a record's payload, where its frame still looks whole: the
// checksum rejects the record, and nothing from it or after it is taken.
TEST(RomHistoryFile, ARecordDamagedInsideItsPayloadIsRejected) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Journaled j(path);
    for (int i = 0; i < 4; ++i) {
        j.command(i);
    }
    const auto image = j.image();
    const auto whole = testing::fileBytes(path);
    // The frames from the start: [length][CRC][payload][length].
    std::vector<std::size_t> records;
    for (std::size_t pos = 28; pos < whole.size();) {
        const std::size_t length = whole[pos] | whole[pos + 1] << 8 | whole[pos + 2] << 16;
        if (length > 20) {
            records.push_back(pos);
        }
        pos += length + 12;
    }
    ASSERT_EQ(records.size(), 4u);
    for (std::size_t k = 0; k < records.size(); ++k) {
        SCOPED_TRACE("record " + std::to_string(k));
        auto bytes = whole;
        const std::size_t length = whole[records[k]] | whole[records[k] + 1] << 8;
        bytes[records[k] + 8 + length / 2] ^= 0x10;
        writeFile(path, bytes);
        Journaled reopened(path, image);
        const auto& list = reopened.rom.history().entries();
        EXPECT_EQ(list.size(), k);
        EXPECT_FALSE(reopened.rom.history().unfinished());
    }
}

// The bounds drop the oldest entries; the rest read back the same after a restart.
TEST(RomHistoryFile, TheOldestEntriesGoWhenTheBoundIsReached) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    for (const RomHistory::Bounds bounds : {RomHistory::Bounds{1 << 20, 5},
                                            RomHistory::Bounds{400, 100}}) {
        std::filesystem::remove(path);
        Journaled j(path);
        j.rom.history().setBounds(bounds);
        for (int i = 0; i < 9; ++i) {
            j.command(i);
        }
        const std::size_t kept = j.rom.history().entries().size();
        EXPECT_LE(kept, bounds.maxEntries);
        EXPECT_LE(std::filesystem::file_size(path), bounds.maxBytes);
        EXPECT_GE(kept, 2u);
        Journaled reopened(path, j.image());
        const auto& list = reopened.rom.history().entries();
        ASSERT_EQ(list.size(), kept);
        EXPECT_EQ(list.back().name, "Befehl 8");
        EXPECT_EQ(list.front().name, "Befehl " + std::to_string(9 - kept));
    }
}

// After the bound was reached once, the next commands append again: the whole file is not
// rewritten (a new file under the name) for every command.
TEST(RomHistoryFile, ABoundReachedDoesNotRewriteTheFileForEveryCommand) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Journaled j(path);
    j.rom.history().setBounds(RomHistory::Bounds{1 << 20, 8});
    for (int i = 0; i < 9; ++i) {
        j.command(i);
    }
    native::FileIdentity before;
    ASSERT_EQ(native::identityOf(path, before), 0);
    j.command(9);
    native::FileIdentity after;
    ASSERT_EQ(native::identityOf(path, after), 0);
    EXPECT_EQ(before, after);
    EXPECT_LE(j.rom.history().entries().size(), 8u);
}

}  // namespace
}  // namespace quillon
