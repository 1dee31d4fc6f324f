#include <gtest/gtest.h>

#include <functional>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/mapfile/map_from_file.h"
#include "core/mapfile/map_insertion.h"
#include "core/session/map_listing.h"
#include "core/session/session.h"
#include "core/wild/wild_table.h"
#include "core/writers/map_name_writer.h"
#include "core/writers/tileset_choice.h"
#include "core/writers/wild_save.h"
#include "tests/map/sample_rom.h"
#include "tests/wild/wild_test_rom.h"

namespace quillon {
namespace {

using romkit::BuiltRom;
using romkit::Family;
using tables::Table;

// The sample maps (bank 0 with three, bank 1 with two) with every table a profile names: two
// map names, species names, three sprites with two palettes and a wild table.
BuiltRom fullRom(Family family) {
    romkit::RomBuilder b(family, "QUILLON TEST", family == Family::Frlg ? "BPRE" : "QTSE",
                         1 << 20);
    romkit::TilesetSpec tileset;
    tileset.tiles.assign(64, 0x11);
    tileset.palettes.push_back({0x0000, 0x001F});
    tileset.blocks.push_back({1, 1, 1, 1, 0, 0, 0, 0});
    b.addTileset(tileset);
    b.addTileset(tileset);
    b.addMapName("TOWN");
    b.addMapName("ROUTE");
    for (int bank = 0; bank < 2; ++bank) {
        for (int map = 0; map < 3 - bank; ++map) {
            b.addMap(romkit::MapSpec{.bank = bank, .map = map, .width = 3, .height = 2});
        }
    }
    for (int i = 1; i <= 8; ++i) {
        b.addPokemonName("MON" + std::to_string(i));
    }
    for (int i = 0; i < 3; ++i) {
        romkit::SpriteSpec sprite;
        sprite.pixels.assign(16 * 32 / 2, 0x12);
        b.addSprite(sprite);
    }
    b.addSpritePalette(0x1100, {0x0000, 0x001F});
    b.addSpritePalette(0x1101, {0x0000, 0x03E0});
    romkit::WildSpec grass{0, 1, {}};
    grass.kinds[0] = romkit::WildKindSpec{20, testing::wildSlots(12, 1)};
    b.addWild(grass);
    b.addWild(romkit::WildSpec{1, 0, {}});
    return b.build();
}

// The field of the builder's layout that gives the profile's offset of table.
std::uint32_t& profileField(BuiltRom& built, Table table) {
    switch (table) {
        case Table::Banks: return built.bankTable;
        case Table::Tilesets: return built.tilesetHeaders;
        case Table::MapNames: return built.nameTable;
        case Table::SpeciesNames: return built.pokemonNames;
        case Table::Wild: return built.wildTable;
        case Table::Sprites: return built.spriteHeader;
        case Table::SpritePalettes: return built.spritePalettes;
    }
    throw std::logic_error("table");
}

// A program folder whose profile is the one of layout, and the ROM file "r.gba" of image.
struct Opened {
    testing::TempDir dir;
    std::unique_ptr<Session> session;
    std::filesystem::path rom() const { return dir.file("r.gba"); }
};

std::unique_ptr<Opened> open(const BuiltRom& image, const BuiltRom& layout) {
    auto o = std::make_unique<Opened>();
    romkit::writeProgramFolder(o->dir.path(), layout);
    romkit::writeRomFile(o->rom(), image);
    o->session = std::make_unique<Session>(o->dir.path());
    o->session->openRom(o->rom());
    return o;
}

// A profile that fits passes whole on both families: the full ROM, the sample ROM and the
// wild ROM; the profile keeps every offset.
TEST(TableCheck, AFittingProfilePassesOnBothFamilies) {
    for (const Family family : {Family::Rse, Family::Frlg}) {
        for (const BuiltRom& built :
             {fullRom(family), testing::buildSampleRom(family), testing::buildWildRom(family)}) {
            SCOPED_TRACE(built.title);
            auto o = open(built, built);
            const Session& s = *o->session;
            EXPECT_EQ(s.romState().tableFailures().size(), 0u)
                << germanText(s.romState().tableFailures()[0].message);
            EXPECT_TRUE(s.romState().warnings().empty());
            EXPECT_EQ(s.romState().profile().mapBankHeader,
                      static_cast<std::int32_t>(built.bankTable));
            EXPECT_EQ(s.romState().profile().wildPokemon,
                      static_cast<std::int32_t>(built.wildTable));
            EXPECT_EQ(s.romState().bankScan().mapCount(), static_cast<int>(built.maps.size()));
        }
    }
}

// Each table where its profile does not say: the table sits 0x70 or 0x18 bytes further on (as
// a later release has it), or elsewhere entirely (the profile names the free space). The check
// names the table and its offset, the profile loses the table, the others stay.
TEST(TableCheck, ATableThatIsNotWhereTheProfileSaysIsNotUsed) {
    const std::function<std::uint32_t(const BuiltRom&, std::uint32_t)> moves[] = {
        [](const BuiltRom&, std::uint32_t at) { return at - 0x70; },
        [](const BuiltRom&, std::uint32_t at) { return at - 0x18; },
        [](const BuiltRom& b, std::uint32_t) { return b.freeSpace + 0x40; },
    };
    for (const Family family : {Family::Rse, Family::Frlg}) {
        const BuiltRom built = fullRom(family);
        for (const Table table : tables::kTables) {
            for (std::size_t m = 0; m < std::size(moves); ++m) {
                SCOPED_TRACE(std::string(tables::profileKey(table)) + " move " +
                             std::to_string(m) + (family == Family::Frlg ? " FRLG" : " RSE"));
                BuiltRom layout = built;
                std::uint32_t& field = profileField(layout, table);
                field = moves[m](built, field);
                auto o = open(built, layout);
                const RomState& state = o->session->romState();
                ASSERT_EQ(state.tableFailures().size(), 1u);
                const tables::TableFailure& failure = state.tableFailures()[0];
                EXPECT_EQ(failure.table, table);
                EXPECT_EQ(failure.offset, field);
                EXPECT_EQ(tables::profileOffset(state.profile(), table), 0);
                EXPECT_EQ(state.profile().tilesetHeader == 0, table == Table::Tilesets);
                EXPECT_EQ(state.bankScan().mapCount(), table == Table::Banks ? 0 : 5);
                EXPECT_THROW(state.requireTable(table), DataError);
            }
        }
    }
}

// The check at opening asks whether the table is there, not whether each record is whole: a
// damaged record at the table's place (a first map without size, a tileset or wild pointer past
// the end of the file) is the readers' matter, while the table search stays strict.
TEST(TableCheck, ADamagedRecordAtTheTablesPlaceStillPasses) {
    const BuiltRom built = fullRom(Family::Rse);
    const std::uint32_t past = 0x08000000u + static_cast<std::uint32_t>(built.bytes.size()) + 64;
    const struct {
        Table table;
        std::uint32_t at;  // the word overwritten
        std::uint32_t word;
    } cases[] = {
        {Table::Banks, built.maps.at({0, 0}).footer, 0},  // map 0.0 is 0 blocks wide
        {Table::Tilesets, built.tilesetHeaderOffsets[0] + 4, past},
        {Table::Wild, built.wild.at({0, 1}).header + 4, past},
        {Table::Wild, built.wild.at({0, 1}).records[0] + 4, past},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(tables::profileKey(c.table));
        BuiltRom damaged = built;
        testing::put32(damaged, c.at, c.word);
        const tables::SpanBytes rom(damaged.bytes);
        tables::ShapeContext context;
        const std::uint32_t offset = profileField(damaged, c.table);
        EXPECT_FALSE(tables::checkShape(rom, c.table, offset, context, 1).ok);
        context.tolerant = true;
        EXPECT_TRUE(tables::checkShape(rom, c.table, offset, context, 4).ok);
        auto o = open(damaged, damaged);
        EXPECT_TRUE(o->session->romState().tableFailures().empty());
    }
}

// The whole message, and what the user meets afterwards: an empty map list, a map asked for
// by its number refused with the message, the species without names.
TEST(TableCheck, TheMessageNamesTableOffsetReasonAndProfile) {
    const BuiltRom built = fullRom(Family::Rse);
    BuiltRom layout = built;
    layout.bankTable -= 0x70;
    layout.pokemonNames = built.freeSpace;
    auto o = open(built, layout);
    Session& s = *o->session;
    ASSERT_EQ(s.romState().tableFailures().size(), 2u);
    const std::string banks = "Die Bank-Tabelle bei $" + IntToHex(layout.bankTable, 6) +
                              " enthält keine Map-Tabellen: dieses Rom passt nicht zum Profil "
                              "\"QUILLON TESTQTSE\".";
    EXPECT_EQ(germanText(s.romState().tableFailures()[0].message), banks);
    EXPECT_EQ(s.romState().tableFailures()[1].table, Table::SpeciesNames);
    EXPECT_TRUE(
        openRomMapList(s.romState(), s.data(), s.settings(), s.lang()).roots.empty() ||
        openRomMapList(s.romState(), s.data(), s.settings(), s.lang()).roots[0].children.empty());
    try {
        s.openMap("0.1", "0.1");
        ADD_FAILURE() << "map 0.1 opened";
    } catch (const DataError& e) {
        EXPECT_EQ(e.what(), banks);
    }
    EXPECT_EQ(s.romState().pokemonNames().at(1), "");
}

// A write that would go through a failed table is refused with the table's message, and the
// file stays as it was, byte for byte.
TEST(TableCheck, NothingIsWrittenThroughAFailedTable) {
    const BuiltRom built = fullRom(Family::Rse);
    struct Case {
        Table table;
        std::function<void(Session&)> write;
    } cases[] = {
        {Table::Banks,
         [](Session& s) {
             s.openDetachedMap(newDetachedMap(4, 4, 0, 1, "Neu", {}));
             const std::uint32_t free = 0x80000;
             map_insertion::insert(s.rom(), s.romState().profile(), s.romState().bankScan(),
                                   s.mapState().map(), s.mapState().grid(), s.mapState().events(),
                                   {0, 1, free, free + 0x100, 0xFF, 0xFF, false, std::nullopt});
         }},
        {Table::MapNames,
         [](Session& s) {
             const auto codes = s.romState().chars().encode("ROAD").bytes;
             map_name_writer::write(s.rom(), s.romState(), 0, codes, 0x80000);
         }},
        {Table::Wild,
         [&built](Session& s) {
             s.openMap("0.1", "0.1");
             const auto header = wild::findHeader(s.rom(), built.wildTable, 0, 1).header;
             const wild::Encounter e = wild::readEncounter(s.rom(), *header, wild::Kind::Grass);
             wild::Values values{e.rate, e.entries};
             wild::save(s.rom(), s.mapState(), e, values, wild::UnusualLevels::Accept);
         }},
        {Table::Tilesets,
         [](Session& s) {
             s.openMap("0.1", "0.1");
             const std::uint32_t h2 = tileset_choice::headerFromText(
                 s.rom(), s.romState().profile(), "1", 2, &s.romState());
             tileset_choice::write(s.rom(), s.romState(), s.mapState(), s.data().tilesets(),
                                   s.mapState().map().footer.tileset1Offset(), h2);
         }},
        {Table::Tilesets,  // "Neue Map" names its tilesets by number
         [](Session& s) { s.openDetachedMap(newDetachedMap(4, 4, 0, 1, "Neu", {})); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(tables::profileKey(c.table));
        BuiltRom layout = built;
        profileField(layout, c.table) -= 0x18;
        auto o = open(built, layout);
        Session& s = *o->session;
        ASSERT_EQ(s.romState().tableFailures().size(), 1u);
        const std::string message = germanText(s.romState().tableFailures()[0].message);
        const auto before = testing::fileBytes(o->rom());
        try {
            c.write(s);
            ADD_FAILURE() << "not refused";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
        EXPECT_EQ(testing::fileBytes(o->rom()), before);
    }
}

}  // namespace
}  // namespace quillon
