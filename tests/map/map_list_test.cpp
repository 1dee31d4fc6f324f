#include <gtest/gtest.h>

#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/map/map_list.h"
#include "tests/map/sample_rom.h"

#include <fstream>

namespace quillon {
namespace {

using romkit::BuiltRom;
using romkit::Family;
using testing::buildSampleRom;

BankScan scan(const BuiltRom& built, std::uint32_t bankTable, std::vector<std::string> names,
              bool listLastBank = false) {
    TRom rom;
    built.attachTo(rom);
    return scanBanks(rom, bankTable, names, listLastBank);
}

TEST(BankScan, ListsEveryBankOfBothFamiliesWithNames) {
    for (Family family : {Family::Rse, Family::Frlg}) {
        BuiltRom built = buildSampleRom(family);
        BankScan s = scan(built, built.bankTable, {"PALLET", "ROUTE"});
        ASSERT_EQ(s.banks.size(), 3u) << "two banks and the empty closing one";
        EXPECT_EQ(s.banks[0].size(), 3u);
        EXPECT_EQ(s.banks[1].size(), 2u);
        EXPECT_TRUE(s.banks[2].empty());
        EXPECT_EQ(s.mapCount(), 5);
        EXPECT_EQ(s.banks[1][1].name, "ROUTE");
        EXPECT_EQ(s.banks[1][1].headerOffset, (built.maps.at({1, 1}).header));
        EXPECT_TRUE(s.warnings.empty());
    }
}

TEST(BankScan, StopsAtTheFirstEntryThatIsNoPointer) {
    BuiltRom built = buildSampleRom();
    built.bytes[built.bankTable + 4 + 3] = 0x00;  // the entry after bank 0
    BankScan s = scan(built, built.bankTable, {"PALLET", "ROUTE"});
    ASSERT_EQ(s.banks.size(), 1u);
    EXPECT_TRUE(s.banks[0].empty()) << "the entry before a non-pointer never shows maps";

    built = buildSampleRom();
    built.bytes[built.mapTables[1] + 3] = 0x00;  // bank 1's first map entry
    s = scan(built, built.bankTable, {"PALLET", "ROUTE"});
    EXPECT_EQ(s.banks[0].size(), 3u);
    EXPECT_TRUE(s.banks[1].empty()) << "no bank line for a bank without maps";
}

TEST(BankScan, BadInputGivesWarningsNotCrashes) {
    BuiltRom built = buildSampleRom();
    BankScan s = scan(built, static_cast<std::uint32_t>(built.bytes.size()) + 64, {});
    EXPECT_TRUE(s.banks.empty());
    ASSERT_EQ(s.warnings.size(), 1u);

    // Names beyond the loaded ones: the maps stay listed, with a placeholder name.
    s = scan(built, built.bankTable, {"PALLET"});
    EXPECT_EQ(s.mapCount(), 5);
    EXPECT_EQ(s.banks[0][1].name, "???");
    EXPECT_EQ(s.banks[0][2].name, "PALLET");
    EXPECT_EQ(s.warnings.size(), 1u);

    // A map table past the end of the file: that bank is empty, the scan goes on.
    testing::put32(built, built.bankTable + 4, 0x08000000u | 0xFFFFF0u);
    s = scan(built, built.bankTable, {"PALLET", "ROUTE"});
    EXPECT_FALSE(s.warnings.empty());
    ASSERT_EQ(s.banks.size(), 3u);
    EXPECT_EQ(s.banks[0].size(), 5u) << "bank 0 runs on into the next table: its end is unknown";
    EXPECT_TRUE(s.banks[1].empty());
}

TEST(BankScan, AHeaderPointerPastTheEndIsListedWithAWarning) {
    BuiltRom built = buildSampleRom();
    testing::put32(built, built.mapTables[0] + 4, 0x08000000u | 0xFFFFF0u);
    BankScan s = scan(built, built.bankTable, {"PALLET", "ROUTE"});
    EXPECT_EQ(s.mapCount(), 5);
    EXPECT_EQ(s.banks[0][1].name, "???");
    EXPECT_EQ(s.warnings.size(), 1u);
}

// The last bank's map table is followed by the bank table itself (as in the retail games), whose
// entries point to map tables, not to map headers. The tables are rebuilt near the end of the
// sample ROM: the last bank's entries, right behind them the bank table.
TEST(BankScan, TheLastBankIsListedOnlyWithTheSetting) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> maps;  // the last bank's entries, (-1, 0) a zero word
        std::size_t listed;
    };
    const Case cases[] = {
        {"two maps, then the bank table", {{0, 0}, {1, 1}}, 2},
        {"one map", {{1, 1}}, 1},
        {"a zero word ends it", {{0, 2}, {-1, 0}, {0, 1}}, 1},
        {"a header past the end of the file ends it", {{0, 0}, {-2, 0}, {0, 1}}, 1},
    };
    for (const Case& c : cases) {
        BuiltRom built = buildSampleRom();
        const auto at = static_cast<std::uint32_t>(built.bytes.size() - 64);
        const auto bankTable = at + 4 * static_cast<std::uint32_t>(c.maps.size());
        for (std::size_t i = 0; i < c.maps.size(); ++i) {
            const auto [bank, map] = c.maps[i];
            const std::uint32_t word =
                bank == -1   ? 0
                : bank == -2 ? 0x08000000u | static_cast<std::uint32_t>(built.bytes.size() - 8)
                             : 0x08000000u | built.maps.at({bank, map}).header;
            testing::put32(built, at + 4 * static_cast<std::uint32_t>(i), word);
        }
        testing::put32(built, bankTable, 0x08000000u | built.mapTables[0]);
        testing::put32(built, bankTable + 4, 0x08000000u | built.mapTables[1]);
        testing::put32(built, bankTable + 8, 0x08000000u | at);
        testing::put32(built, bankTable + 12, 0);

        const BankScan off = scan(built, bankTable, {"PALLET", "ROUTE"});
        EXPECT_EQ(off.mapCount(), 5) << c.what;
        EXPECT_EQ(off.unlistedBank, 2) << c.what;
        EXPECT_THROW(requireListedMap(off, 2, 0), DataError) << c.what;

        const BankScan on = scan(built, bankTable, {"PALLET", "ROUTE"}, true);
        ASSERT_EQ(on.banks.size(), 3u) << c.what;
        ASSERT_EQ(on.banks[2].size(), c.listed) << c.what;
        EXPECT_EQ(on.mapCount(), 5 + static_cast<int>(c.listed)) << c.what;
        EXPECT_EQ(on.unlistedBank, -1) << c.what;
        EXPECT_EQ(on.bankCount(), 3) << c.what;
        const auto [bank, map] = c.maps[0];
        EXPECT_EQ(on.banks[2][0].headerOffset, built.maps.at({bank, map}).header) << c.what;
        EXPECT_EQ(on.banks[2][0].name, map % 2 == 0 ? "PALLET" : "ROUTE") << c.what;
        EXPECT_NO_THROW(requireListedMap(on, 2, static_cast<int>(c.listed) - 1)) << c.what;
        EXPECT_THROW(requireListedMap(on, 2, static_cast<int>(c.listed)), DataError) << c.what;
        EXPECT_TRUE(on.warnings.empty()) << c.what;
    }
}

TEST(MapListTree, PartsFollowTheSettingAndTheGroupFile) {
    BuiltRom built = buildSampleRom();
    BankScan s = scan(built, built.bankTable, {"PALLET", "ROUTE"});
    testing::TempDir dir;
    IniFile none(dir.file("none.ini"));
    {
        std::ofstream(dir.file("Main.ini")) << "[Stadt]\n0=0.0\n1=0.2\n3=9.9\n[Route]\n0=Extra\n";
        std::ofstream(dir.file("Maps.ini")) << "[0.0]\nName=Heimat (alt)\n";
    }
    IniFile main(dir.file("Main.ini"));
    IniFile maps(dir.file("Maps.ini"));
    MapListTexts texts;

    MapListTree t = buildMapListTree(s, none, maps, Settings::MapListParts::IniOnly, texts);
    ASSERT_EQ(t.roots.size(), 1u) << "without a group file only the header part shows";
    EXPECT_EQ(t.roots[0].text, "Nur aus Header");
    ASSERT_EQ(t.roots[0].children.size(), 2u);
    EXPECT_EQ(t.roots[0].children[1].text, "1");
    EXPECT_EQ(t.roots[0].children[1].children[0].text, "PALLET (1.0)");

    t = buildMapListTree(s, main, maps, Settings::MapListParts::Both, texts);
    ASSERT_EQ(t.roots.size(), 2u);
    EXPECT_EQ(t.iniRoot, 1);
    EXPECT_EQ(t.groups, (std::vector<std::string>{"Stadt", "Route"}));
    const auto& stadt = t.roots[1].children[0];
    ASSERT_EQ(stadt.children.size(), 2u) << "keys stop at the first missing number";
    EXPECT_EQ(stadt.children[0].text, "Heimat (alt) (0.0)");
    EXPECT_EQ(stadt.children[1].text, "Kein Name (0.2)");

    t = buildMapListTree(s, main, maps, Settings::MapListParts::IniOnly, texts);
    ASSERT_EQ(t.roots.size(), 1u);
    EXPECT_EQ(t.headerRoot, -1);
    t = buildMapListTree(s, main, maps, Settings::MapListParts::HeaderOnly, texts);
    ASSERT_EQ(t.roots.size(), 1u);
    EXPECT_EQ(t.iniRoot, -1);
}

TEST(MapListText, IdentifiersComeFromTheLastParentheses) {
    const std::pair<const char*, std::optional<std::string>> lines[] = {
        {"PALLET (3.1)", "3.1"},
        {"Heimat (alt) (0.0)", "0.0"},   // a name with parentheses of its own
        {"(a) (b) Haus (c) (12.7)", "12.7"},
        {"Kein Name (Nord)", "Nord"},    // a section of the map name file
        {"Haus (alt) (", std::nullopt},  // the last "(" is never closed
        {"3", std::nullopt},
        {"x ) (", std::nullopt},
    };
    for (const auto& [line, identifier] : lines) {
        EXPECT_EQ(identifierFromLine(line), identifier) << line;
    }
    // Every line the list builds gives back the identifier it was built from.
    for (const char* name : {"Haus (alt)", "((", "a)b"}) {
        EXPECT_EQ(identifierFromLine(mapLineText(name, "4.2")), "4.2") << name;
    }

    for (const char* good : {"3.1", "0.0", "$3.0x1", "-1.2"}) {
        EXPECT_TRUE(isValidTypedIdentifier(good)) << good;
    }
    for (const char* bad : {"3", "a.b", "3.", ".1", "-10.1", "1.-10", ""}) {
        EXPECT_FALSE(isValidTypedIdentifier(bad)) << bad;
    }
}

}  // namespace
}  // namespace quillon
