#include "romkit/rom_builder.h"

#include <gtest/gtest.h>

#include "core/rom/trom.h"
#include "romkit/western_charset.h"

namespace quillon::testing {
namespace {

// Two banks (two maps, one map), a compressed primary and a raw secondary tileset.
TEST(BuiltRomFamilies, NamesTilesetsAndFootersFollowTheFamily) {
    struct Case {
        romkit::Family family;
        int recordSize;
        int tilesethoehe;
        bool frlgTitle;
    };
    for (const Case& c :
         {Case{romkit::Family::Rse, 8, 32, false}, Case{romkit::Family::Frlg, 4, 40, true}}) {
        SCOPED_TRACE(c.recordSize);
        romkit::RomBuilder builder(c.family, "POKEMON TEST", c.frlgTitle ? "BPRE" : "AXVE");
        builder.addTileset(
            romkit::TilesetSpec{.blocks = {{1}, {2}}, .behaviours = {0x21, 0x35, 0x02, 0}});
        builder.addMap(romkit::MapSpec{.secondary = 0});
        for (const char* name : {"QUILLON TOWN", "ROUTE 1", "Pässe"}) {
            builder.addMapName(name);
        }
        builder.addPokemonName("FIRST");
        const romkit::BuiltRom built = builder.build();
        TRom rom;
        built.attachTo(rom);
        EXPECT_EQ(rom.isFrlg(), c.frlgTitle);
        EXPECT_EQ(built.tilesethoehe, c.tilesethoehe);
        EXPECT_EQ(built.nameCount, 3);
        const std::uint32_t name2 = built.nameTable + 2 * c.recordSize + c.recordSize - 4;
        EXPECT_EQ(rom.ReadByte(name2 + 3), 0x08);
        EXPECT_EQ(romkit::decodeWestern(rom.ReadBlock(rom.ReadPointer(name2), 6)), "Pässe");
        EXPECT_EQ(romkit::decodeWestern(
                      rom.ReadBlock(rom.ReadPointer(built.nameTable + c.recordSize - 4), 13)),
                  "QUILLON TOWN");

        // Pokemon name i at PokemonNamen + (i - 1) * 11; record 0 is the placeholder.
        EXPECT_EQ(romkit::decodeWestern(rom.ReadBlock(built.pokemonNames, 11)), "FIRST");
        EXPECT_EQ(romkit::decodeWestern(rom.ReadBlock(built.pokemonNames - 11, 11)), "??????????");
        EXPECT_EQ(rom.ReadBlock(built.pokemonNames + 5, 6),
                  (std::vector<std::uint8_t>{0xFF, 0, 0, 0, 0, 0}));

        const romkit::BuiltTileset& t = built.tilesets[0];
        const std::uint32_t footer = built.maps.at({0, 0}).footer;
        if (c.family == romkit::Family::Frlg) {
            // The game's 4-byte attributes: behaviour in bits 0-8, layer type in bits 29-30.
            EXPECT_EQ(rom.ReadPointer(t.header + 20), t.attributes);
            EXPECT_EQ(rom.ReadU32(t.attributes), 0x60000021u);
            EXPECT_EQ(rom.ReadU32(t.attributes + 4), 0x02u);
            EXPECT_EQ(rom.ReadU16(footer + 24), 0x0202);  // border 2 x 2
        } else {
            EXPECT_EQ(rom.ReadU32(t.header + 20), 0u);
        }
    }
}

struct SmallRom {
    explicit SmallRom(romkit::RomBuilder& builder,
                      std::vector<romkit::MapSpec> maps = {romkit::MapSpec{}}) {
        builder.addTileset({});
        builder.addTileset({});
        for (const romkit::MapSpec& m : maps) {
            builder.addMap(m);
        }
        built = builder.build();
        built.attachTo(rom);
    }
    romkit::BuiltRom built;
    TRom rom;
};

TEST(BuiltRomEvents, TablesLieBeforeTheHeaderAndEmptyOnesPointAtTheNext) {
    romkit::MapSpec map;
    map.persons = {romkit::personRecord(1, 7, 0x0102, 0x0304, 2, 0x11, 1, 0x0506, 0x1234),
                   romkit::personRecord(2, 0, 5, 6)};
    map.warps = {romkit::warpRecord(4, 7, 3, 2, 1)};
    map.signposts = {romkit::signpostRecord(9, 10, 7, 0)};
    romkit::MapSpec bare{.map = 1};
    bare.noEventHeader = true;
    romkit::RomBuilder builder(romkit::Family::Rse);
    SmallRom small(builder, {map, bare});
    TRom& rom = small.rom;
    const romkit::BuiltMap& built = small.built.maps.at({0, 0});

    ASSERT_EQ(rom.ReadPointer(built.header + 4), built.events);
    EXPECT_EQ(rom.ReadBlock(built.events, 4), (std::vector<std::uint8_t>{2, 1, 0, 1}));
    // Back to back; no script triggers, so their pointer names the signpost table.
    EXPECT_EQ(built.warps, built.persons + 48);
    EXPECT_EQ(built.scripts, 0u);
    EXPECT_EQ(built.signposts, built.warps + 8);
    EXPECT_EQ(built.events, built.signposts + 12);
    const std::uint32_t pointed[] = {built.persons, built.warps, built.signposts, built.signposts};
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rom.ReadByte(built.events + 4 + 4 * i + 3), 0x08) << i;
        EXPECT_EQ(rom.ReadPointer(built.events + 4 + 4 * i), pointed[i]) << i;
    }

    // Fields at their places in the records.
    const std::vector<std::uint8_t> person = rom.ReadBlock(built.persons, 24);
    EXPECT_EQ(std::vector<std::uint8_t>(person.begin(), person.begin() + 8),
              (std::vector<std::uint8_t>{1, 7, 0, 0, 0x02, 0x01, 0x04, 0x03}));
    EXPECT_EQ(person[9], 2);
    EXPECT_EQ(person[10], 0x11);
    EXPECT_EQ(person[12], 1);
    EXPECT_EQ(rom.ReadU16(built.persons + 14), 0x0506);
    EXPECT_EQ(rom.ReadU32(built.persons + 16), 0x08001234u);
    EXPECT_EQ(rom.ReadU32(built.persons + 24 + 16), 0u);  // no script stays 0
    EXPECT_EQ(rom.ReadBlock(built.warps, 8), (std::vector<std::uint8_t>{4, 0, 7, 0, 0, 3, 2, 1}));
    EXPECT_EQ(rom.ReadByte(built.signposts + 5), 7);
    EXPECT_EQ(romkit::scriptRecord(1, 2, 0x4321)[15], 0x08);

    const romkit::BuiltMap& none = small.built.maps.at({0, 1});
    EXPECT_EQ(none.events, 0u);
    EXPECT_EQ(rom.ReadU32(none.header + 4), 0u);
}

}  // namespace
}  // namespace quillon::testing
