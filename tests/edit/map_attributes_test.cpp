#include "core/writers/map_attributes.h"

#include <gtest/gtest.h>

#include "core/config/game_profile.h"
#include "core/errors.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using testing::expectOnly;
using testing::OpenedRom;
using testing::withGameCode;

romkit::BuiltRom sampleWith(std::uint32_t headerByte, std::uint8_t value,
                            romkit::Family family = romkit::Family::Rse) {
    romkit::BuiltRom rom = testing::buildSampleRom(family);
    rom.bytes.at(rom.maps.at({0, 1}).header + headerByte) = value;
    return rom;
}

TEST(MapAttributes, MusicIsWrittenLowByteFirst) {
    romkit::BuiltRom built = sampleWith(16, 0);
    built.bytes.at(built.maps.at({0, 1}).header + 17) = 0;
    OpenedRom o(std::move(built));
    const std::uint32_t header = o.built().maps.at({0, 1}).header;
    const auto before = o.image();
    map_attributes::writeMusic(o.session().rom(), o.session().mapState(), 0x012C);
    expectOnly(before, o.image(), {{header + 16, 0x2C}, {header + 17, 0x01}});
    EXPECT_EQ(o.session().mapState().map().header.music(), 0x012C) << "the open map's copy follows";
}

TEST(MapAttributes, EachByteFieldWritesItsOwnByteOnly) {
    const struct {
        HeaderByte field;
        std::uint32_t at;
    } cases[] = {{HeaderByte::NameIndex, 20}, {HeaderByte::Weather, 22}, {HeaderByte::Type, 23}};
    for (const auto& c : cases) {
        OpenedRom o(testing::buildSampleRom());
        const std::uint32_t header = o.built().maps.at({0, 1}).header;
        const auto before = o.image();
        map_attributes::writeByte(o.session().rom(), o.session().mapState(), c.field, 0x0B);
        expectOnly(before, o.image(), {{header + c.at, 0x0B}});
        EXPECT_EQ(o.session().mapState().map().header.raw[c.at], 0x0B);
    }
}

TEST(MapAttributes, RefusedValuesWriteNothing) {
    OpenedRom o(testing::buildSampleRom());
    const auto before = o.image();
    for (int value : {-1, 256, 100000}) {
        EXPECT_THROW(map_attributes::writeByte(o.session().rom(), o.session().mapState(),
                                               HeaderByte::Weather, value),
                     Error);
    }
    expectOnly(before, o.image(), {});
}

// A name index the ROM's name table does not hold (the map then lists as "???") is refused
// before writing; the table's last name is taken.
TEST(MapAttributes, NameIndexesPastTheNameTableAreRefused) {
    OpenedRom o(testing::buildSampleRom(romkit::Family::Rse, 3));
    const GameProfile& profile = o.session().romState().profile();
    ASSERT_EQ(profile.mapNameCount, 4) << "five names: 0 to 4";
    const std::uint32_t header = o.built().maps.at({0, 1}).header;
    const auto before = o.image();
    for (int index : {5, 250, -1}) {
        EXPECT_THROW(map_attributes::writeNameIndex(o.session().rom(), o.session().mapState(),
                                                    profile, index),
                     Error)
            << index;
        expectOnly(before, o.image(), {});
    }
    map_attributes::writeNameIndex(o.session().rom(), o.session().mapState(), profile, 4);
    expectOnly(before, o.image(), {{header + 20, 4}});
}

// The show-name flag lives in different bits per game; every other bit and byte stays.
TEST(MapAttributes, ShowNameTouchesOnlyTheBitsOfItsGame) {
    const struct {
        const char* game;
        romkit::Family family;
        const char* code;
        std::uint32_t byte;
        std::uint8_t start, shown, hidden;
        bool startShown;
    } cases[] = {
        {"Ruby", romkit::Family::Rse, "AXVE", 26, 0x02, 0x01, 0x00, true},
        {"Sapphire", romkit::Family::Rse, "AXPE", 26, 0x00, 0x01, 0x00, false},
        // Bike, escape rope and running allowed, name not shown.
        {"Emerald", romkit::Family::Rse, "BPEE", 26, 0x07, 0x0F, 0x07, false},
        {"Emerald shown", romkit::Family::Rse, "BPEE", 26, 0xFD, 0x0D, 0x05, true},
        {"FireRed", romkit::Family::Frlg, "BPRE", 25, 0x03, 0x07, 0x03, false},
        {"LeafGreen shown", romkit::Family::Frlg, "BPGE", 25, 0xFE, 0x06, 0x02, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.game);
        romkit::BuiltRom built = withGameCode(sampleWith(c.byte, c.start, c.family), c.code);
        // FireRed/LeafGreen: byte 26 is the floor number.
        const std::uint32_t header = built.maps.at({0, 1}).header;
        if (c.family == romkit::Family::Frlg) {
            built.bytes.at(header + 26) = 0x05;
        }
        OpenedRom o(std::move(built));
        const auto bits = map_attributes::showNameBits(o.session().rom());
        EXPECT_EQ(o.session().mapState().map().header.showName(bits), c.startShown);
        const auto before = o.image();
        map_attributes::writeShowName(o.session().rom(), o.session().mapState(), true);
        expectOnly(before, o.image(), {{header + c.byte, c.shown}});
        EXPECT_TRUE(o.session().mapState().map().header.showName(bits));
        map_attributes::writeShowName(o.session().rom(), o.session().mapState(), false);
        expectOnly(before, o.image(), {{header + c.byte, c.hidden}});
        EXPECT_FALSE(o.session().mapState().map().header.showName(bits));
    }
}

}  // namespace
}  // namespace quillon
