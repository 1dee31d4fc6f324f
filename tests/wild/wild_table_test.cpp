#include "core/wild/wild_table.h"

#include <gtest/gtest.h>

#include "core/base/numbers.h"
#include "core/rom/trom.h"
#include "core/text/message_catalogue.h"
#include "tests/map/sample_rom.h"
#include "tests/wild/wild_test_rom.h"

namespace quillon {
namespace {

using testing::buildWildRom;
using testing::put32;
using wild::Kind;

TRom attached(const romkit::BuiltRom& built) {
    TRom rom;
    built.attachTo(rom);
    return rom;
}

TEST(WildTable, FindsEachMapsHeaderAndNothingForMapsWithout) {
    for (romkit::Family family : {romkit::Family::Rse, romkit::Family::Frlg}) {
        const romkit::BuiltRom built = buildWildRom(family);
        TRom rom = attached(built);
        for (auto [bank, map] : {std::pair{0, 1}, {0, 2}, {1, 0}}) {
            const wild::Lookup found = wild::findHeader(rom, built.wildTable, bank, map);
            ASSERT_TRUE(found.header) << bank << "." << map;
            EXPECT_EQ(found.header->offset, built.wild.at({bank, map}).header);
            EXPECT_TRUE(found.warnings.empty());
        }
        for (auto [bank, map] : {std::pair{0, 0}, {1, 1}, {255, 255}}) {
            EXPECT_FALSE(wild::findHeader(rom, built.wildTable, bank, map).header);
        }
        EXPECT_FALSE(wild::findHeader(rom, 0, 0, 1).header) << "no table in the profile";
    }
    // An end mark first: no map has encounters.
    romkit::BuiltRom built = buildWildRom();
    built.bytes.at(built.wildTable) = 0xFF;
    built.bytes.at(built.wildTable + 1) = 0xFF;
    TRom rom = attached(built);
    EXPECT_FALSE(wild::findHeader(rom, built.wildTable, 0, 1).header);
}

// Headers of map 9.9 written from `at` on, with no end mark among them.
void writeUnendedHeaders(romkit::BuiltRom& built, std::uint32_t at, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t b = 0; b < wild::kHeaderSize; ++b) {
            built.bytes.at(at + i * wild::kHeaderSize + b) = b < 2 ? 9 : 0;
        }
    }
}

TEST(WildTable, TableWithoutEndMarkStopsAtTheFileEndWithAWarning) {
    romkit::BuiltRom built = buildWildRom();
    const auto size = static_cast<std::uint32_t>(built.bytes.size());
    const std::uint32_t table = size - 3 * wild::kHeaderSize - 7;  // a torn header at the end
    writeUnendedHeaders(built, table, 3);
    built.bytes.at(table + 2 * wild::kHeaderSize + 1) = 8;  // the last full header is 9.8
    TRom rom = attached(built);
    const wild::Lookup found = wild::findHeader(rom, table, 9, 8);
    ASSERT_TRUE(found.header);
    EXPECT_EQ(found.header->offset, table + 2 * wild::kHeaderSize);
    ASSERT_EQ(found.warnings.size(), 1u);
    EXPECT_EQ(germanText(found.warnings[0]),
              "Die Tabelle der wilden Pokemon (" + hexOffset(table) +
                  ") hat kein Endzeichen (FF FF): sie endet mit dem Ende der Datei.");
}

TEST(WildTable, TableWithoutEndMarkIsReadNoFurtherThanItsBound) {
    romkit::BuiltRom built = buildWildRom();
    const std::uint32_t table = built.freeSpace;
    writeUnendedHeaders(built, table, wild::kMaxHeaders + 2);
    // Header number kMaxHeaders (the first one past the bound) would be map 9.7.
    built.bytes.at(table + wild::kMaxHeaders * wild::kHeaderSize + 1) = 7;
    built.bytes.at(table + (wild::kMaxHeaders - 1) * wild::kHeaderSize + 1) = 6;
    TRom rom = attached(built);
    EXPECT_FALSE(wild::findHeader(rom, table, 9, 7).header);
    const wild::Lookup last = wild::findHeader(rom, table, 9, 6);
    ASSERT_TRUE(last.header);
    ASSERT_EQ(last.warnings.size(), 1u);
    EXPECT_EQ(germanText(last.warnings[0]),
              "Die Tabelle der wilden Pokemon (" + hexOffset(table) +
                  ") hat kein Endzeichen (FF FF): nach 1024 Einträgen nicht weiter gelesen.");
}

TEST(WildTable, EachKindReadsTheGamesSlotCount) {
    for (romkit::Family family : {romkit::Family::Rse, romkit::Family::Frlg}) {
        const romkit::BuiltRom built = buildWildRom(family);
        TRom rom = attached(built);
        const wild::Header header = *wild::findHeader(rom, built.wildTable, 0, 1).header;
        const std::uint32_t rates[] = {20, 4, 10, 30};
        for (Kind kind : wild::kKinds) {
            const auto k = static_cast<std::size_t>(kind);
            const wild::Encounter e = wild::readEncounter(rom, header, kind);
            ASSERT_TRUE(e.available) << germanText(wild::kindName(kind));
            EXPECT_EQ(e.record, built.wild.at({0, 1}).records[k]);
            EXPECT_EQ(e.slotArray, built.wild.at({0, 1}).slotArrays[k]);
            EXPECT_EQ(e.rate, rates[k]);
            EXPECT_EQ(e.entries,
                      testing::wildSlots(wild::slotCount(kind), static_cast<int>(k) + 1));
        }
        EXPECT_EQ(wild::readEncounter(rom, header, Kind::Fishing).entries.size(), 10u);
    }
}

// What a header or record may name that the file cannot hold: the kind is unavailable, with a
// message when the header names a record at all.
TEST(WildTable, RecordsAndSlotsOutsideTheFileMakeTheKindUnavailable) {
    const struct {
        const char* what;
        bool record;  // patch the header's record address (else the record's pointer)
        std::uint32_t value;
        bool message;
    } cases[] = {
        {"null record", true, 0, false},
        {"address below the ROM", true, 0x07FFFFFF, false},
        {"record past the end", true, 0x08000000 + (1 << 20) - 4, true},
        {"record in the cartridge header", true, 0x08000010, true},
        {"null slot pointer", false, 0, true},
        {"slots past the end", false, 0x08000000 + (1 << 20) - 16, true},
        {"slots far past the end", false, 0x09FFFFFF, true},
    };
    for (const auto& c : cases) {
        romkit::BuiltRom built = buildWildRom();
        const romkit::BuiltWild& w = built.wild.at({0, 1});
        put32(built, c.record ? w.header + 4 : w.records[0] + 4, c.value);
        TRom rom = attached(built);
        const wild::Header header = *wild::findHeader(rom, built.wildTable, 0, 1).header;
        const wild::Encounter e = wild::readEncounter(rom, header, Kind::Grass);
        EXPECT_FALSE(e.available) << c.what;
        EXPECT_TRUE(e.entries.empty()) << c.what;
        EXPECT_EQ(e.message.hasId(), c.message) << c.what;
        EXPECT_TRUE(wild::readEncounter(rom, header, Kind::Water).available) << c.what;
    }
}

}  // namespace
}  // namespace quillon
