#include "core/writers/map_name_writer.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using testing::expectOnly;
using testing::OpenedRom;

CharTable tokenTable() {
    CharTable t;
    for (int c = 'A'; c <= 'Z'; ++c) {
        t.set(static_cast<std::uint8_t>(0xBB + c - 'A'), std::string(1, static_cast<char>(c)));
    }
    t.set(0x53, "[PK]");
    t.set(0x54, "[MN]");
    t.set(0x00, " ");
    t.set(0xF0, "A");  // a second A: the lower byte 0xBB wins
    return t;
}

TEST(MapNameEncoder, TypedTextBecomesCodes) {
    const struct {
        const char* typed;
        std::vector<std::uint8_t> codes;
        const char* accepted;
        const char* pending;
    } cases[] = {
        {"AB", {0xBB, 0xBC}, "AB", ""},
        {"A[PK]", {0xBB, 0x53}, "A[PK]", ""},
        {"A[P", {0xBB}, "A", "[P"},
        {"[MN] [PK]", {0x54, 0x00, 0x53}, "[MN] [PK]", ""},
        {"ABCDEFGHIJKLMNOPQRSTUV",
         {0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9,
          0xCA, 0xCB, 0xCC},
         "ABCDEFGHIJKLMNOPQR",
         ""},
        {"", {}, "", ""},
    };
    const CharTable table = tokenTable();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto encoded = map_name_writer::encode(table, c.typed);
        EXPECT_EQ(encoded.bytes, c.codes);
        EXPECT_EQ(encoded.accepted, c.accepted);
        EXPECT_EQ(encoded.pending, c.pending);
    }
}

class MapNameWriter : public ::testing::Test {
protected:
    OpenedRom o{testing::buildSampleRom()};
    Session& s = o.session();
    // "ROAD" in the western table of the builder.
    std::vector<std::uint8_t> road() const { return s.romState().chars().encode("ROAD").bytes; }
};

// Name 0 is "PALLET"; a shorter name at its own place keeps the byte after the terminator.
TEST_F(MapNameWriter, AtTheCurrentOffsetOnlyCharactersAndFfAreWritten) {
    const auto slot = map_name_writer::slot(s.rom(), s.romState(), 0);
    EXPECT_EQ(slot.length, 6u);
    ASSERT_EQ(map_name_writer::proposedOffset(slot, 4), slot.offset);
    const auto before = o.image();
    const auto codes = road();
    const std::string name = map_name_writer::write(s.rom(), s.romState(), 0, codes, slot.offset);
    EXPECT_EQ(name, "ROAD");
    EXPECT_EQ(s.romState().mapNames()[0], "ROAD");
    std::map<std::uint32_t, std::uint8_t> changes;
    for (std::uint32_t i = 0; i < 4; ++i) {
        changes[slot.offset + i] = codes[i];
    }
    changes[slot.offset + 4] = 0xFF;
    expectOnly(before, o.image(), changes);
}

TEST_F(MapNameWriter, ElsewhereTheNameEndsInFfAndZeroThenThePointerMoves) {
    const auto slot = map_name_writer::slot(s.rom(), s.romState(), 1);
    const std::uint32_t at = o.built().freeSpace + 0x11;
    EXPECT_FALSE(map_name_writer::proposedOffset(slot, 7)) << "ROUTE has only 5 characters";
    EXPECT_EQ(map_name_writer::bytesNeeded(4), 6u);
    const auto before = o.image();
    const auto codes = road();
    map_name_writer::write(s.rom(), s.romState(), 1, codes, at);
    const auto once = o.image();
    std::map<std::uint32_t, std::uint8_t> changes;
    for (std::uint32_t i = 0; i < 4; ++i) {
        changes[at + i] = codes[i];
        changes[slot.pointer + i] = static_cast<std::uint8_t>((0x08000000u | at) >> (8 * i));
    }
    changes[at + 4] = 0xFF;
    changes[at + 5] = 0x00;
    expectOnly(before, once, changes);

    map_name_writer::write(s.rom(), s.romState(), 1, codes, at);
    // The same name twice writes the same bytes.
    expectOnly(once, o.image(), {});
    EXPECT_EQ(map_name_writer::slot(s.rom(), s.romState(), 1).offset, at);
}

TEST_F(MapNameWriter, RefusedWritesLeaveTheRomAsItWas) {
    const std::uint32_t end = static_cast<std::uint32_t>(o.built().bytes.size());
    const std::vector<std::uint8_t> tooLong(19, 0xBB);
    const std::vector<std::uint8_t> withTerminator{0xBB, 0xFF};
    const struct {
        const char* what;
        int index;
        std::vector<std::uint8_t> codes;
        std::uint32_t offset;
    } cases[] = {
        {"past the end", 1, road(), end - 5},
        {"in the cartridge header", 1, road(), 0x10},
        {"19 codes", 1, tooLong, o.built().freeSpace},
        {"an FF inside", 1, withTerminator, o.built().freeSpace},
        {"unknown name", 99, road(), o.built().freeSpace},
        {"negative index", -1, road(), o.built().freeSpace},
        // Not free: another map's name, the name table with the record's own pointer.
        {"over name 0", 1, road(), map_name_writer::slot(s.rom(), s.romState(), 0).offset},
        {"over its pointer", 1, road(),
         map_name_writer::slot(s.rom(), s.romState(), 1).pointer - 2},
    };
    const auto before = o.image();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(map_name_writer::write(s.rom(), s.romState(), c.index, c.codes, c.offset),
                     Error);
        expectOnly(before, o.image(), {});
    }
}

// Names 0 and 1 alternate over the maps of each bank.
TEST_F(MapNameWriter, MapsSharingANameAreNamed) {
    EXPECT_EQ(map_name_writer::mapsWithName(s.rom(), s.romState(), 0),
              (std::vector<std::string>{"0.0", "0.2", "1.0"}));
    EXPECT_EQ(map_name_writer::mapsWithName(s.rom(), s.romState(), 1),
              (std::vector<std::string>{"0.1", "1.1"}));
    EXPECT_TRUE(map_name_writer::mapsWithName(s.rom(), s.romState(), 2).empty());
}

TEST(MapNameWriterFrlg, FireRedNamesAreRefused) {
    OpenedRom o(testing::buildSampleRom(romkit::Family::Frlg));
    Session& s = o.session();
    const auto before = o.image();
    EXPECT_THROW(map_name_writer::write(s.rom(), s.romState(), 0, std::vector<std::uint8_t>{0xBB},
                                        o.built().freeSpace),
                 Error);
    expectOnly(before, o.image(), {});
}

}  // namespace
}  // namespace quillon
