#include "core/writers/wild_save.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/mapfile/map_from_file.h"
#include "core/session/session.h"
#include "tests/edit/header_test_rom.h"
#include "tests/wild/wild_test_rom.h"

namespace quillon {
namespace {

using testing::buildWildRom;
using testing::expectOnly;
using testing::OpenedRom;
using wild::Kind;

wild::Encounter shown(OpenedRom& o, Kind kind, int bank = 0, int map = 1) {
    const wild::Lookup found = wild::findHeader(o.session().rom(), o.built().wildTable, bank, map);
    return wild::readEncounter(o.session().rom(), *found.header, kind);
}

// The shown values as the fields would hold them.
wild::Input inputOf(const wild::Encounter& e) {
    wild::Input input{std::to_string(e.rate), {}, {}};
    for (const wild::Slot& s : e.entries) {
        input.levels.push_back({std::to_string(s.minLevel), std::to_string(s.maxLevel)});
        input.species.push_back(s.species);
    }
    return input;
}

void save(OpenedRom& o, const wild::Encounter& e, const wild::Input& input,
          wild::UnusualLevels unusual = wild::UnusualLevels::Refuse) {
    wild::save(o.session().rom(), o.session().mapState(), e, wild::parseInput(input, e.kind),
               unusual);
}

// Every kind of both families: the rate word and exactly the kind's slots change; the record's
// pointer and whatever follows the slots stay.
TEST(WildSave, WritesTheRateWordThenTheKindsSlotsOnly) {
    for (romkit::Family family : {romkit::Family::Rse, romkit::Family::Frlg}) {
        for (Kind kind : wild::kKinds) {
            OpenedRom o(buildWildRom(family));
            const wild::Encounter e = shown(o, kind);
            wild::Input input = inputOf(e);
            input.rate = "$14";
            std::map<std::uint32_t, std::uint8_t> changes{
                {e.record, 0x14}, {e.record + 1, 0}, {e.record + 2, 0}, {e.record + 3, 0}};
            for (std::size_t row = 0; row < input.levels.size(); ++row) {
                input.levels[row] = {std::to_string(10 + row), std::to_string(50 + row)};
                input.species[row] = static_cast<std::uint16_t>(0x100 + row);
                const auto at = static_cast<std::uint32_t>(e.slotArray + 4 * row);
                changes[at] = static_cast<std::uint8_t>(10 + row);
                changes[at + 1] = static_cast<std::uint8_t>(50 + row);
                changes[at + 2] = static_cast<std::uint8_t>(row);
                changes[at + 3] = 0x01;
            }
            const auto before = o.image();
            save(o, e, input);
            expectOnly(before, o.image(), changes);
            EXPECT_EQ(shown(o, kind).entries.size(),
                      static_cast<std::size_t>(wild::slotCount(kind)));
        }
    }
}

// Refused text names its field and writes nothing.
TEST(WildSave, BadNumbersWriteNothing) {
    const struct {
        const char* rate;
        const char* min;
        const char* max;
        const char* field;
    } cases[] = {
        {"256", "3", "4", "Häufigkeits Index"},  // the game keeps one byte of the rate
        {"-1", "3", "4", "Häufigkeits Index"},    {"abc", "3", "4", "Häufigkeits Index"},
        {"20", "300", "4", "Pokemon3 Min Level"}, {"20", "3", "", "Pokemon3 Max Level"},
        {"20", "3", "$", "Pokemon3 Max Level"},   {"20", "3x", "4", "Pokemon3 Min Level"},
    };
    for (const auto& c : cases) {
        OpenedRom o(buildWildRom());
        const wild::Encounter e = shown(o, Kind::Grass);
        wild::Input input = inputOf(e);
        input.rate = c.rate;
        input.levels[2] = {c.min, c.max};
        const auto before = o.image();
        try {
            save(o, e, input);
            ADD_FAILURE() << "accepted " << c.rate << " " << c.min << " " << c.max;
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(c.field), std::string::npos) << error.what();
        }
        expectOnly(before, o.image(), {});
    }
}

TEST(WildSave, UnusualLevelsAreWrittenOnlyWhenAccepted) {
    const struct {
        const char* min;
        const char* max;
        bool unusual;
    } cases[] = {{"1", "100", false}, {"0", "5", true},  {"5", "101", true},
                 {"9", "8", true},    {"8", "8", false}, {"255", "255", true}};
    for (const auto& c : cases) {
        OpenedRom o(buildWildRom());
        const wild::Encounter e = shown(o, Kind::Rock);
        wild::Input input = inputOf(e);
        input.levels[1] = {c.min, c.max};
        EXPECT_EQ(wild::unusualLevels(wild::parseInput(input, Kind::Rock).entries).size(),
                  c.unusual ? 1u : 0u)
            << c.min << "-" << c.max;
        const auto before = o.image();
        if (c.unusual) {
            EXPECT_THROW(save(o, e, input), Error);
            expectOnly(before, o.image(), {});
        }
        save(o, e, input, wild::UnusualLevels::Accept);
        EXPECT_EQ(shown(o, Kind::Rock).entries[1].minLevel, std::stoi(c.min));
    }
}

// The refusal names every unusual row, in order, with its reason; nothing is written.
TEST(WildSave, RefusalListsEveryUnusualRowWithItsReason) {
    OpenedRom o(buildWildRom());
    const wild::Encounter e = shown(o, Kind::Rock);
    wild::Input input = inputOf(e);
    input.levels[1] = {"0", "5"};
    input.levels[3] = {"9", "8"};
    input.levels[4] = {"101", "0"};
    const auto before = o.image();
    try {
        save(o, e, input);
        ADD_FAILURE() << "unusual levels written";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Ungewöhnliche Level, nichts gespeichert: Pokemon2: 0 - 5 (Level ausserhalb von "
                  "1 bis 100); Pokemon4: 9 - 8 (Min Level über Max Level); Pokemon5: 101 - 0 "
                  "(Level ausserhalb von 1 bis 100, Min Level über Max Level)");
    }
    expectOnly(before, o.image(), {});
}

// A species the name list does not hold is written back as it was read.
TEST(WildSave, SpeciesBeyondTheListIsKept) {
    romkit::BuiltRom built = buildWildRom(romkit::Family::Frlg);
    const std::uint32_t slot = built.wild.at({0, 1}).slotArrays[3] + 4 * 9;  // super rod's last
    built.bytes.at(slot + 2) = 0xF4;
    built.bytes.at(slot + 3) = 0x01;  // species 500
    OpenedRom o(std::move(built));
    const wild::Encounter e = shown(o, Kind::Fishing);
    ASSERT_EQ(e.entries[9].species, 500);
    wild::Input input = inputOf(e);
    input.levels[9][0] = "7";
    const auto before = o.image();
    save(o, e, input);
    expectOnly(before, o.image(), {{slot, 7}});
}

TEST(WildSave, RefusedWhenTheRecordNoLongerPointsAtTheShownSlots) {
    OpenedRom o(buildWildRom());
    const wild::Encounter e = shown(o, Kind::Grass);
    const wild::Encounter water = shown(o, Kind::Water);
    const std::vector<std::uint8_t> pointer{static_cast<std::uint8_t>(water.slotArray),
                                            static_cast<std::uint8_t>(water.slotArray >> 8),
                                            static_cast<std::uint8_t>(water.slotArray >> 16), 8};
    o.session().rom().WriteBlock(pointer, static_cast<std::int32_t>(e.record + 4));
    const auto before = o.image();
    EXPECT_THROW(save(o, e, inputOf(e)), Error);
    wild::Encounter none = e;
    none.available = false;
    EXPECT_THROW(save(o, none, inputOf(e)), Error);
    expectOnly(before, o.image(), {});
}

// Only the open map's own kinds are written: a kind read for another map, or any kind while the
// open map comes from a map file (no place in the wild table), is refused with nothing written.
TEST(WildSave, RefusedForAnotherMapsKindAndForMapsOutsideTheRom) {
    OpenedRom o(buildWildRom());
    const auto before = o.image();
    const wild::Encounter other = shown(o, Kind::Grass, 0, 2);
    EXPECT_THROW(save(o, other, inputOf(other)), Error);

    wild::Encounter own = shown(o, Kind::Grass);
    o.session().openDetachedMap(newDetachedMap(2, 2, 0, 1, "Neu", {}));
    ASSERT_TRUE(o.session().mapState().map().outsideRom);
    own.bank = o.session().mapState().map().bank;  // as if read for the map now open
    own.map = o.session().mapState().map().map;
    try {
        save(o, own, inputOf(own));
        ADD_FAILURE() << "a map outside the ROM was written";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("keiner Map im Rom"), std::string::npos) << e.what();
    }
    expectOnly(before, o.image(), {});
}

}  // namespace
}  // namespace quillon
