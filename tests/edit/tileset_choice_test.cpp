#include "core/edit/tileset_choice.h"

#include <gtest/gtest.h>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using testing::expectOnly;
using testing::OpenedRom;

void choose(OpenedRom& o, int n1, int n2) {
    Session& s = o.session();
    tileset_choice::write(s.rom(), s.romState(), s.mapState(), s.data().tilesets(), n1, n2);
}

std::map<std::uint32_t, std::uint8_t> pointerBytes(std::uint32_t at, std::uint32_t offset) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    for (std::uint32_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>((0x08000000u | offset) >> (8 * i));
    }
    return bytes;
}

TEST(TilesetChoice, SwappedNumbersWriteBothFooterPointersAndReload) {
    OpenedRom o(testing::buildSampleRom());
    const std::uint32_t footer = o.built().maps.at({0, 1}).footer;
    const auto headers = o.built().tilesetHeaderOffsets;
    const auto before = o.image();
    choose(o, 1, 0);
    auto changes = pointerBytes(footer + 16, headers[1]);
    changes.merge(pointerBytes(footer + 20, headers[0]));
    expectOnly(before, o.image(), changes);

    const CurrentMap& map = o.session().map();
    EXPECT_EQ(map.tileset1, 1);
    EXPECT_EQ(map.tileset2, 0);
    EXPECT_EQ(map.footer.tileset1Offset(), headers[1]) << "the map's footer copy follows";
    EXPECT_EQ(o.session().tilesets().tilesetNumber(1), 1) << "the loader took the new parts";
    EXPECT_EQ(o.session().tilesets().tilesetNumber(2), 0);

    o.session().openMap("0.1", "again");
    EXPECT_EQ(o.session().map().tileset1, 1) << "read back from the ROM";
}

// Both numbers are checked before either pointer is written: a bad second number must not
// leave the first one written.
TEST(TilesetChoice, BadNumberWritesNothing) {
    OpenedRom o(testing::buildSampleRom());
    const auto& built = o.built();
    // A number whose 24 bytes lie in the free space (all FF: no pointers).
    const int intoFreeSpace = static_cast<int>((built.freeSpace - built.tilesetHeaders) / 24 + 1);
    const int pastTheEnd = static_cast<int>(built.bytes.size() / 24);
    const std::pair<int, int> cases[] = {{1, -1}, {1, pastTheEnd}, {1, intoFreeSpace},
                                         {-3, 0}, {pastTheEnd, 1}, {1, 0x7FFFFFFF}};
    const auto before = o.image();
    for (const auto& [n1, n2] : cases) {
        SCOPED_TRACE(std::to_string(n1) + ", " + std::to_string(n2));
        EXPECT_THROW(choose(o, n1, n2), Error);
        expectOnly(before, o.image(), {});
        EXPECT_EQ(o.session().map().tileset1, 0);
        EXPECT_EQ(o.session().tilesets().tilesetNumber(1), 0) << "the loaded parts stay";
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
            EXPECT_EQ(o.session().map().tileset2, 1);
        } else {
            EXPECT_THROW(choose(o, 0, 1), Error);
        }
    }
}

// The table ends at the first record that is no tileset header: the two tilesets of the sample
// ROM; one with a broken pointer ends it early; without a table in the profile there is none.
TEST(TilesetChoice, TableNumbersEndAtTheFirstRecordThatIsNoHeader) {
    for (romkit::Family family : {romkit::Family::Rse, romkit::Family::Frlg}) {
        OpenedRom o(testing::buildSampleRom(family));
        EXPECT_EQ(tileset_choice::tableNumbers(o.session().rom(), o.session().profile()),
                  (std::vector<int>{0, 1}));
    }
    OpenedRom broken(testing::buildSampleRom());
    // Tileset 1's block table pointer no longer points into the file (written after the map
    // was opened with it).
    const std::array<std::uint8_t, 4> foreign{0x78, 0x56, 0x34, 0x12};
    broken.session().rom().WriteBlock(
        foreign, static_cast<std::int32_t>(broken.built().tilesetHeaderOffsets[1] + 12));
    EXPECT_EQ(tileset_choice::tableNumbers(broken.session().rom(), broken.session().profile()),
              std::vector<int>{0});
    GameProfile none = broken.session().profile();
    none.tilesetHeader = 0;
    EXPECT_TRUE(tileset_choice::tableNumbers(broken.session().rom(), none).empty());
}

}  // namespace
}  // namespace quillon
