#include <gtest/gtest.h>

#include <fstream>

#include "core/base/ini_file.h"
#include "core/history/history_commands.h"
#include "core/rom/history_format.h"
#include "core/rom/trom.h"
#include "tests/rom/watched_files.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using testing::Steps;
using testing::TempDir;

// A message written out whole: "id(arg,arg)", a plain argument quoted.
std::string shape(const Message& m) {
    if (!m.hasId()) {
        return "'" + m.text + "'";
    }
    std::string out = m.id + "(";
    for (std::size_t i = 0; i < m.args.size(); ++i) {
        out += (i == 0 ? "" : ",") + shape(m.args[i]);
    }
    return out + ")";
}

std::vector<std::uint8_t> blankRom() {
    std::vector<std::uint8_t> bytes(0x1000, 0xFF);
    bytes[0xB2] = 0x96;
    return bytes;
}

struct Watched {
    Steps steps;
    TRom rom;
    Watched(const std::filesystem::path& history, std::vector<std::uint8_t> bytes) {
        rom.history().setFileMaker(testing::watchedHistory(steps));
        rom.attach(std::make_unique<testing::WatchedRomFile>(std::move(bytes), steps), "t.gba");
        rom.openHistory(history);
    }
    std::vector<std::uint8_t> image() { return rom.ReadBlock(0, rom.size()); }
};

void write(TRom& rom, const Message& title, std::uint32_t at, std::uint8_t value) {
    TRom::Transaction tx(rom, title, "0.1");
    rom.WriteByte(static_cast<std::int32_t>(at), value);
    tx.commit();
}

// Each entry keeps its title's id and arguments (nested ones too) through the file, and its
// German name is the title's German text.
TEST(HistoryTitles, IdsAndArgumentsSurviveTheFile) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    Watched w(path, blankRom());
    write(w.rom, message("history.name.weather", {"0.1"}), 0x300, 1);
    write(w.rom, message("history.name.way_back", {"0.1", "0.2"}), 0x301, 2);
    write(w.rom, "Befehl 3", 0x302, 3);
    history_commands::undoUntil(w.rom, w.rom.history().entries()[1].id, {});
    const std::vector<std::string> expected{
        "history.name.weather('0.1')",
        "history.name.way_back('0.1','0.2')",
        "'Befehl 3'",
        "history.name.undo_more(history.name.way_back('0.1','0.2'),'1')",
    };
    Watched reopened(path, w.image());
    for (TRom* rom : {&w.rom, &reopened.rom}) {
        const auto& list = rom->history().entries();
        ASSERT_EQ(list.size(), expected.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(shape(list[i].title), expected[i]);
            EXPECT_EQ(list[i].name, germanText(list[i].title));
        }
    }
    EXPECT_EQ(reopened.rom.history().entries()[3].name,
              "Rückgängig: Gegenstück anlegen 0.1 -> 0.2 (und 1 weitere)");
}

// A record whose title nests deeper than any message the program makes, or carries more
// arguments than a text can take, is no record (a damaged or hostile file).
TEST(HistoryTitles, ATitleBeyondTheBoundsIsNoRecord) {
    const auto nested = [](int depth, std::size_t args) {
        Message m("x");
        for (int i = 0; i < depth; ++i) {
            m = message("history.name.undo", {m});
        }
        m.args.resize(std::max(m.args.size(), args), Message("y"));
        HistoryEntry e;
        e.id = 1;
        e.title = m;
        return history_format::parse(history_format::entryPayload(e)).has_value();
    };
    EXPECT_TRUE(nested(8, 0));
    EXPECT_FALSE(nested(10, 0));
    EXPECT_TRUE(nested(1, 9));
    EXPECT_FALSE(nested(1, 10));
}

// --- a file the version before titles became messages wrote, byte by byte ------------------

void le(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

std::uint32_t oldCrc(const std::vector<std::uint8_t>& data, std::size_t from = 0,
                     std::size_t count = std::string::npos) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < std::min(data.size(), from + count); ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
    }
    return c ^ 0xFFFFFFFFu;
}

void oldFrame(std::vector<std::uint8_t>& file, const std::vector<std::uint8_t>& payload) {
    le(file, payload.size(), 4);
    le(file, oldCrc(payload), 4);
    file.insert(file.end(), payload.begin(), payload.end());
    le(file, payload.size(), 4);
}

void oldText(std::vector<std::uint8_t>& out, const std::string& s) {
    le(out, s.size(), 4);
    out.insert(out.end(), s.begin(), s.end());
}

// Version 1: "QLHS", 1, ROM size, first id, CRC; one transaction "Wetter ändern 0.1" (type 1:
// id, kind, time, name, map, targets, ranges) writing 05 06 at $300 and 42 at $100, its mark.
std::vector<std::uint8_t> oldHistory(std::uint64_t romSize) {
    std::vector<std::uint8_t> file{'Q', 'L', 'H', 'S'};
    le(file, 1, 4);
    le(file, romSize, 8);
    le(file, 7, 8);
    le(file, oldCrc(file), 4);
    std::vector<std::uint8_t> record{1};
    le(record, 7, 8);
    record.push_back(0);
    le(record, 1700000000, 8);
    oldText(record, "Wetter ändern 0.1");
    oldText(record, "0.1");
    le(record, 0, 4);
    le(record, 2, 4);
    le(record, 0x300, 4);
    oldText(record, "\xFF\xFF");
    oldText(record, "\x05\x06");
    le(record, 0x100, 4);
    oldText(record, "\xFF");
    oldText(record, "\x42");
    oldFrame(file, record);
    std::vector<std::uint8_t> mark{2};
    le(mark, 7, 8);
    mark.push_back(1);
    oldFrame(file, mark);
    return file;
}

void put(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> edited() {
    auto bytes = blankRom();
    bytes[0x300] = 5;
    bytes[0x301] = 6;
    bytes[0x100] = 0x42;
    return bytes;
}

// An old file opens, shows its German name in every language, and is undone and redone; the
// new entries go behind its records, which stay as they were.
TEST(HistoryTitles, AnOldFileIsReadUndoneAndRedone) {
    TempDir dir;
    const auto path = dir.file("t.gba.quillon-history");
    const auto old = oldHistory(0x1000);
    put(path, old);
    Watched w(path, edited());
    ASSERT_TRUE(w.rom.history().notices().empty());
    const auto& list = w.rom.history().entries();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].id, 7u);
    EXPECT_EQ(shape(list[0].title), "'Wetter ändern 0.1'");
    EXPECT_EQ(list[0].name, "Wetter ändern 0.1");

    history_commands::undoUntil(w.rom, 7, {});
    EXPECT_EQ(w.image(), blankRom());
    const auto now = testing::fileBytes(path);
    ASSERT_GT(now.size(), old.size());
    EXPECT_EQ(now[4], history_format::kVersion);
    EXPECT_EQ(std::vector(now.begin() + 8, now.begin() + 24),
              std::vector(old.begin() + 8, old.begin() + 24));
    EXPECT_EQ(std::vector(now.begin() + 28, now.begin() + static_cast<long>(old.size())),
              std::vector(old.begin() + 28, old.end()));

    Watched reopened(path, w.image());
    const auto& again = reopened.rom.history().entries();
    ASSERT_EQ(again.size(), 2u);
    EXPECT_TRUE(again[0].undone);
    EXPECT_EQ(shape(again[1].title), "history.name.undo('Wetter ändern 0.1')");
    const IniFile shipped(QUILLON_SHIPPED_LANGUAGES);
    EXPECT_EQ(MessageCatalogue(shipped, "English").text(again[1].title),
              "Undo: Wetter ändern 0.1");
    history_commands::redoNext(reopened.rom, {});
    EXPECT_EQ(reopened.image(), edited());
}

// A command that fails on an old file after its header was raised to the new version puts the
// old header back: the file is byte for byte what the earlier version wrote.
TEST(HistoryTitles, AFailedCommitLeavesAnOldFileAsItWas) {
    const char* failing[] = {"rom write", "history sync"};
    for (const char* step : failing) {
        SCOPED_TRACE(step);
        TempDir dir;
        const auto path = dir.file("t.gba.quillon-history");
        const auto old = oldHistory(0x1000);
        put(path, old);
        Watched w(path, edited());
        w.steps.failing = step;
        w.steps.failAt = std::string(step) == "rom write" ? 0 : 1;  // the record's sync
        EXPECT_THROW(write(w.rom, message("history.name.weather", {"0.1"}), 0x302, 9), Error);
        EXPECT_EQ(w.image(), edited());
        EXPECT_EQ(testing::fileBytes(path), old);
        Watched reopened(path, w.image());
        EXPECT_TRUE(reopened.rom.history().notices().empty());
        EXPECT_EQ(reopened.rom.history().entries().size(), 1u);
    }
}

}  // namespace
}  // namespace quillon
