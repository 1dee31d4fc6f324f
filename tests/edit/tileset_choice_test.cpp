#include "core/writers/tileset_choice.h"

#include <gtest/gtest.h>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/mapfile/map_from_file.h"
#include "core/mapfile/map_insertion.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using testing::expectOnly;
using testing::OpenedRom;

// The user's choice as typed into the two fields: numbers or "$" offsets.
void choose(OpenedRom& o, const std::string& t1, const std::string& t2) {
    Session& s = o.session();
    const std::uint32_t h1 = tileset_choice::headerFromText(s.rom(), s.romState().profile(), t1, 1);
    const std::uint32_t h2 = tileset_choice::headerFromText(s.rom(), s.romState().profile(), t2, 2);
    tileset_choice::write(s.rom(), s.romState(), s.mapState(), s.data().tilesets(), h1, h2);
}

void choose(OpenedRom& o, int n1, int n2) { choose(o, std::to_string(n1), std::to_string(n2)); }

std::map<std::uint32_t, std::uint8_t> pointerBytes(std::uint32_t at, std::uint32_t offset) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    for (std::uint32_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>((0x08000000u | offset) >> (8 * i));
    }
    return bytes;
}

TEST(TilesetChoice, ANewPairWritesBothFooterPointersAndReloads) {
    OpenedRom o(testing::buildSampleRom(romkit::Family::Rse, 0, true), "1.1");
    const std::uint32_t footer = o.built().maps.at({1, 1}).footer;
    const auto headers = o.built().tilesetHeaderOffsets;
    const auto before = o.image();
    choose(o, 0, 1);
    expectOnly(before, o.image(), pointerBytes(footer + 20, headers[1]));

    const CurrentMap& map = o.session().mapState().map();
    EXPECT_EQ(map.tileset2, 1);
    EXPECT_EQ(map.footer.tileset2Offset(), headers[1]) << "the map's footer copy follows";
    EXPECT_EQ(o.session().romState().tilesets().tilesetNumber(2), 1)
        << "the loader took the new part";

    o.session().openMap("1.1", "again");
    EXPECT_EQ(o.session().mapState().map().tileset2, 1) << "read back from the ROM";
}

// A tileset header off the table's 24-byte steps has no number: it is shown and chosen by its
// offset (also as a ROM pointer), and written exactly; its rounded number names no header.
TEST(TilesetChoice, HeadersOffTheStepsAreChosenByOffset) {
    OpenedRom o(testing::buildSampleRom(romkit::Family::Rse, 0, true), "0.1");
    const std::uint32_t footer = o.built().maps.at({0, 1}).footer;
    const std::uint32_t offStep = o.built().tilesetHeaderOffsets[2];
    const GameProfile& profile = o.session().romState().profile();
    ASSERT_EQ(offStep, o.built().tilesetHeaders + 2 * 24 + 8);
    EXPECT_EQ(tileset_choice::headerText(profile, offStep), hexOffset(offStep));
    EXPECT_EQ(tileset_choice::headerText(profile, o.built().tilesetHeaderOffsets[1]), "1");

    const auto before = o.image();
    EXPECT_THROW(choose(o, 0, 2), Error) << "table + 2 x 24 is no header";
    expectOnly(before, o.image(), {});
    for (const std::string& text : {hexOffset(offStep), "$" + IntToHex(0x08000000 + offStep, 7)}) {
        SCOPED_TRACE(text);
        choose(o, "0", text);
        expectOnly(before, o.image(), pointerBytes(footer + 20, offStep));
        EXPECT_EQ(o.session().mapState().map().footer.tileset2Offset(), offStep);
        choose(o, 0, 1);
        expectOnly(before, o.image(), {});
    }
    // A number stays a number, however large: decimal text never names an offset.
    EXPECT_THROW(choose(o, "0", std::to_string(offStep)), Error);
    expectOnly(before, o.image(), {});
}

// A map file keeps a header no number names as its ROM pointer and reads it back as that
// header: exported, opened and inserted, the slot's footer names the very same header.
TEST(TilesetChoice, AMapFileCarriesAHeaderNoNumberNames) {
    OpenedRom o(testing::buildSampleRom(romkit::Family::Rse, 0, true), "1.1");
    Session& s = o.session();
    const std::uint32_t offStep = o.built().tilesetHeaderOffsets[2];
    testing::TempDir dir;
    saveMapFiles(s.mapState(), s.romState().profile(), dir.file("Hall.map"));
    const map_file::MapFiles files = map_file::read(dir.file("Hall.map"));
    EXPECT_EQ(files.map.tileset1, 0) << "a number stays a number";
    EXPECT_EQ(files.map.tileset2, static_cast<int>(0x08000000 + offStep));

    s.openDetachedMap(detachedFromFiles(dir.file("Hall.map")));
    EXPECT_EQ(s.mapState().map().footer.tileset2Offset(), offStep);
    const std::uint32_t grid = (o.built().freeSpace + 0x100) & ~0xFFu;
    const auto r =
        map_insertion::insert(s.rom(), s.romState().profile(), s.romState().bankScan(),
                              s.mapState().map(), s.mapState().grid(), s.mapState().events(),
                              {0, 0, grid, grid + 0x400, 0xFF, 0xFF, false, std::nullopt});
    s.openMap("0.0", "t");
    EXPECT_EQ(s.mapState().map().footer.tileset2Offset(), offStep);
    EXPECT_EQ(s.mapState().map().footer.tileset1Offset(), o.built().tilesetHeaderOffsets[0]);
    EXPECT_EQ(r.footer, o.built().maps.at({0, 0}).footer);
}

// Header byte 1 says which part a tileset is: a secondary one as the first part or a primary
// one as the second is refused before anything is written.
TEST(TilesetChoice, EachPartTakesOnlyTilesetsOfItsKind) {
    for (romkit::Family family : {romkit::Family::Rse, romkit::Family::Frlg}) {
        OpenedRom o(testing::buildSampleRom(family));
        const auto before = o.image();
        for (const auto& [n1, n2] : {std::pair{1, 0}, std::pair{0, 0}, std::pair{1, 1}}) {
            SCOPED_TRACE(std::to_string(n1) + ", " + std::to_string(n2));
            try {
                choose(o, n1, n2);
                ADD_FAILURE() << "accepted";
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find(n1 == 1 ? "Tileset1" : "Tileset2"),
                          std::string::npos)
                    << e.what();
            }
            expectOnly(before, o.image(), {});
            EXPECT_EQ(o.session().romState().tilesets().tilesetNumber(1), 0)
                << "the loaded parts stay";
        }
        choose(o, 0, 1);
        expectOnly(before, o.image(), {});
    }
}

// Both numbers are checked before either pointer is written: a bad second number must not
// leave the first one written.
TEST(TilesetChoice, BadNumberWritesNothing) {
    OpenedRom o(testing::buildSampleRom());
    const auto& built = o.built();
    // A number whose 24 bytes lie in the free space (all FF: no pointers).
    const int intoFreeSpace = static_cast<int>((built.freeSpace - built.tilesetHeaders) / 24 + 1);
    const int pastTheEnd = static_cast<int>(built.bytes.size() / 24);
    const std::pair<int, int> cases[] = {{0, -1}, {0, pastTheEnd}, {0, intoFreeSpace},
                                         {-3, 1}, {pastTheEnd, 1}, {0, 0x7FFFFFFF}};
    const auto before = o.image();
    for (const auto& [n1, n2] : cases) {
        SCOPED_TRACE(std::to_string(n1) + ", " + std::to_string(n2));
        EXPECT_THROW(choose(o, n1, n2), Error);
        expectOnly(before, o.image(), {});
        EXPECT_EQ(o.session().mapState().map().tileset1, 0);
        EXPECT_EQ(o.session().romState().tilesets().tilesetNumber(1), 0) << "the loaded parts stay";
    }
}

TEST(TilesetChoice, NumbersAreDecimalOrDollarHex) {
    EXPECT_EQ(tileset_choice::numberFromText("12", 1), 12);
    EXPECT_EQ(tileset_choice::numberFromText("$1A", 2), 26);
    for (const char* bad : {"", "x", "1,5", "$G"}) {
        try {
            tileset_choice::numberFromText(bad, 2);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("Tileset2"), std::string::npos) << e.what();
        }
    }
}

// The pointer checked for the attribute table follows the game: FireRed/LeafGreen keep a code
// pointer at +16 that may be null and their table at +20; Ruby/Sapphire/Emerald the table at
// +16 and a null word at +20.
TEST(TilesetChoice, TheAttributeTablePointerIsCheckedWhereTheGameKeepsIt) {
    struct Case {
        romkit::Family family;
        std::uint32_t nulled;  // header field set to 0 in tileset 1
        bool accepted;
    };
    for (const Case& c :
          {Case{romkit::Family::Frlg, 16, true}, Case{romkit::Family::Frlg, 20, false},
          Case{romkit::Family::Rse, 16, false}, Case{romkit::Family::Rse, 20, true}}) {
        SCOPED_TRACE(std::to_string(c.nulled));
        romkit::BuiltRom built = testing::buildSampleRom(c.family);
        testing::put32(built, built.tilesetHeaderOffsets[1] + c.nulled, 0);
        OpenedRom o(std::move(built));
        if (c.accepted) {
            choose(o, 0, 1);
            EXPECT_EQ(o.session().mapState().map().tileset2, 1);
        } else {
            EXPECT_THROW(choose(o, 0, 1), Error);
        }
    }
}

std::vector<std::uint32_t> tableOffsets(OpenedRom& o, const GameProfile& profile) {
    std::vector<std::uint32_t> offsets;
    for (const auto& h : tileset_choice::tableHeaders(o.session().rom(), profile)) {
        offsets.push_back(h.offset);
    }
    return offsets;
}

// The table ends at the first place that holds no tileset header; a few bytes of other data
// between two headers are passed over (the header behind them is listed at its real offset);
// one with a broken pointer ends it early; without a table in the profile there is none.
TEST(TilesetChoice, TableHeadersFollowTheTableAcrossGaps) {
    for (romkit::Family family : {romkit::Family::Rse, romkit::Family::Frlg}) {
        OpenedRom o(testing::buildSampleRom(family, 0, true));
        const auto headers =
            tileset_choice::tableHeaders(o.session().rom(), o.session().romState().profile());
        ASSERT_EQ(headers.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(headers[i].offset, o.built().tilesetHeaderOffsets[i]);
            EXPECT_EQ(headers[i].secondary, i != 0);
        }
    }
    OpenedRom broken(testing::buildSampleRom());
    EXPECT_EQ(tableOffsets(broken, broken.session().romState().profile()),
              broken.built().tilesetHeaderOffsets);
    // Tileset 1's block table pointer no longer points into the file (written after the map
    // was opened with it).
    const std::array<std::uint8_t, 4> foreign{0x78, 0x56, 0x34, 0x12};
    broken.session().rom().WriteBlock(
        foreign, static_cast<std::int32_t>(broken.built().tilesetHeaderOffsets[1] + 12));
    EXPECT_EQ(tableOffsets(broken, broken.session().romState().profile()),
              std::vector<std::uint32_t>{broken.built().tilesetHeaderOffsets[0]});
    GameProfile none = broken.session().romState().profile();
    none.tilesetHeader = 0;
    EXPECT_TRUE(tableOffsets(broken, none).empty());
}

}  // namespace
}  // namespace quillon
