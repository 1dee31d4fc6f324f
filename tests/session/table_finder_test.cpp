#include "core/tables/table_finder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/text/message_catalogue.h"
#include "romkit/rom_image.h"
#include "tests/session/finder_test_rom.h"

namespace quillon::testing {
namespace {

using romkit::Family;
using tables::Confidence;
using tables::Table;

tables::FoundProfile find(const romkit::BuiltRom& rom) {
    return tables::findTables(rom.bytes, tables::GameIdentity::of(rom.bytes));
}

// The profile value the search should give for each table of built.
std::uint32_t expected(const romkit::BuiltRom& built, Table table) {
    switch (table) {
        case Table::Banks:
            return built.bankTable;
        case Table::Tilesets:
            return built.tilesetHeaders;
        case Table::MapNames:
            return built.nameTable;
        case Table::SpeciesNames:
            return built.pokemonNames;
        case Table::Wild:
            return built.wildTable;
        case Table::Sprites:
            return built.spriteHeader;
        case Table::SpritePalettes:
            return built.spritePalettes;
    }
    return 0;
}

// Each table found exactly, and the section's values pass the check a ROM's opening makes
// of its profile's tables.
void expectEveryTable(const romkit::BuiltRom& built, const tables::FoundProfile& found) {
    const tables::SpanBytes rom(built.bytes);
    const tables::ShapeContext context{found.identity.frlg, found.nameLength, found.mapNameCount,
                                       found.spritePaletteCount};
    for (Table table : tables::kTables) {
        SCOPED_TRACE(tables::profileKey(table));
        EXPECT_EQ(found.table(table).confidence, Confidence::Sure);
        EXPECT_EQ(found.table(table).offset, expected(built, table));
        const tables::Shape shape = checkShape(rom, table, found.table(table).offset, context, 4);
        EXPECT_TRUE(shape.ok) << germanText(shape.why);
    }
}

void put32(std::vector<std::uint8_t>& bytes, std::uint32_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.at(at + static_cast<std::uint32_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Copies count bytes from one place to another, as a tool moving a table does.
void copyBytes(std::vector<std::uint8_t>& bytes, std::uint32_t from, std::uint32_t to,
               std::size_t count) {
    std::memmove(bytes.data() + to, bytes.data() + from, count);
}

// The word of the literal pool (at 0xF00) that holds target.
std::uint32_t poolWord(const romkit::BuiltRom& built, std::uint32_t target) {
    const auto tables = romkit::referencedTables(built);
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (tables[i] == target) {
            return static_cast<std::uint32_t>(0xF00 + 4 * i);
        }
    }
    ADD_FAILURE() << "no pool word for " << target;
    return 0;
}

struct LayoutCase {
    const char* name;
    FinderLayout layout;
};

// Tables at the places a release, a grown code area or an expanded ROM puts them: each found
// exactly, on both families.
TEST(TableFinder, FindsEveryTableWhereverTheLayoutPutsIt) {
    const LayoutCase cases[] = {
        {"first release", {Family::Rse, 0x1000, 1 << 20, 0, 0}},
        {"later release +0x70", {Family::Rse, 0x1070, 1 << 20, 1, 0}},
        {"32 MiB, tables above 16 MiB", {Family::Rse, 0x1200000, 32 << 20, 0, 0}},
        {"FireRed first release", {Family::Frlg, 0x1000, 1 << 20, 0, 0}},
        {"FireRed later release +0x70", {Family::Frlg, 0x1070, 1 << 20, 1, 0}},
        {"FireRed 32 MiB", {Family::Frlg, 0x1200000, 32 << 20, 0, 0}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const romkit::BuiltRom built = buildFinderRom(c.layout);
        const tables::FoundProfile found = find(built);
        expectEveryTable(built, found);
        EXPECT_EQ(found.mapNameCount, 2);
        EXPECT_EQ(found.maps, 2 + 3 + 4);
        EXPECT_EQ(found.spritePaletteCount, 2);
        EXPECT_EQ(found.tilesetHeight, c.layout.family == Family::Frlg ? 40 : 32);
        EXPECT_EQ(found.identity.section(),
                  c.layout.revision == 0 ? built.title : built.title + " 1.1");
    }
}

// An expanded ROM whose first 16 MiB refer to millions of places (every word a pointer to
// another, each place referenced once, as the tables are): the tables above 16 MiB are still
// among the places looked at, none is dropped for the sheer number of others.
TEST(TableFinder, FindsTablesAboveMillionsOfOtherReferencedPlaces) {
    romkit::BuiltRom built = buildFinderRom({Family::Rse, 0x1200000, 32 << 20, 0, 0});
    constexpr std::uint32_t kFirst = 0x1000, kEnd = 0x800000;
    const std::uint32_t slots = (kEnd - kFirst) / 4;
    for (std::uint32_t i = 0; i < slots; ++i) {
        const std::uint32_t target =
            kFirst + 4 * static_cast<std::uint32_t>((std::uint64_t{i} * 7919 + 1) % slots);
        put32(built.bytes, kFirst + 4 * i, romkit::romPointer(target));
    }
    expectEveryTable(built, find(built));
}

// A tool moved tables into free space and updated the code's reference: the new place is
// found, not the stale copy left behind (which still has the shape).
TEST(TableFinder, FollowsTheReferenceToAMovedTable) {
    for (Family family : {Family::Rse, Family::Frlg}) {
        romkit::BuiltRom built = buildFinderRom({family});
        std::uint32_t to = (built.freeSpace + 0x10000) & ~3u;
        for (std::uint32_t* table : {&built.bankTable, &built.wildTable, &built.spriteHeader}) {
            const std::uint32_t word = poolWord(built, *table);
            copyBytes(built.bytes, *table, to, 0x200);
            put32(built.bytes, word, romkit::romPointer(to));
            *table = to;
            to += 0x1000;
        }
        expectEveryTable(built, find(built));
    }
}

// Places that have the shape too but are no table's start: a table +4 (one record less), a
// shorter copy, the map names seen from an index that lies past the names the maps use.
TEST(TableFinder, PrefersTheMostRecordsThenTheMostReferences) {
    romkit::RomBuilder b = finderRomBuilder({});
    const romkit::BuiltRom plain = b.build();
    auto decoys = romkit::referencedTables(plain);
    decoys.push_back(plain.bankTable + 4);
    decoys.push_back(plain.spriteHeader + 4);
    decoys.push_back(plain.wildTable + 20);
    decoys.push_back(plain.spritePalettes + 8);
    b.putCodeBytes(0xE00, romkit::literalPool(decoys));
    const romkit::BuiltRom built = b.build();
    const tables::FoundProfile found = find(built);
    for (Table table : tables::kTables) {
        SCOPED_TRACE(tables::profileKey(table));
        EXPECT_EQ(found.table(table).offset, expected(built, table));
    }

    // Two whole copies of the sprite table: the one the code names twice wins, and the
    // result says there was a second.
    romkit::BuiltRom twice = buildFinderRom({});
    const std::uint32_t copy = (twice.freeSpace + 0x100) & ~3u;
    copyBytes(twice.bytes, twice.spriteHeader, copy, 12);
    put32(twice.bytes, 0xE00, romkit::romPointer(copy));
    put32(twice.bytes, 0xE04, romkit::romPointer(copy));
    const tables::FoundTable sprites = find(twice).table(Table::Sprites);
    EXPECT_EQ(sprites.offset, copy);
    EXPECT_EQ(sprites.confidence, Confidence::Likely);
    EXPECT_EQ(sprites.rivals, 1);
    EXPECT_EQ(sprites.references, 2);
}

// FireRed and LeafGreen name maps from index 88 on; their code names the table at the record
// of 88, and the profile's value lies 88 records before it.
TEST(TableFinder, MapNamesFromIndex88TakeTheProfileBaseBeforeTheTable) {
    romkit::RomBuilder b = finderRomBuilder({Family::Frlg, 0x1000, 1 << 20, 0, 88});
    const romkit::BuiltRom plain = b.build();
    auto pool = romkit::referencedTables(plain);
    for (std::uint32_t& t : pool) {
        t = t == plain.nameTable ? plain.nameTable + 88 * 4 : t;
    }
    b.putCodeBytes(0xF00, romkit::literalPool(pool));
    const romkit::BuiltRom built = b.build();
    const tables::FoundProfile found = find(built);
    EXPECT_EQ(found.table(Table::MapNames).offset, plain.nameTable);
    EXPECT_EQ(found.table(Table::MapNames).start, plain.nameTable + 88 * 4);
    EXPECT_EQ(found.mapNameCount, 90);
    const tables::ShapeContext context{true, 11, found.mapNameCount, 27};
    const tables::Shape shape = checkShape(tables::SpanBytes(built.bytes), Table::MapNames,
                                           found.table(Table::MapNames).offset, context, 3);
    EXPECT_TRUE(shape.ok) << germanText(shape.why);
}

// What cannot be found is named, and nothing of it goes into the section.
TEST(TableFinder, NamesWhatItCannotFind) {
    romkit::BuiltRom noPool = finderRomBuilder({}).build();
    const tables::FoundProfile none = find(noPool);
    for (Table table : tables::kTables) {
        SCOPED_TRACE(tables::profileKey(table));
        EXPECT_EQ(none.table(table).confidence, Confidence::NotFound);
    }
    EXPECT_EQ(none.table(Table::Tilesets).basis, tables::Basis::NeedsMaps);
    EXPECT_EQ(none.table(Table::Banks).basis, tables::Basis::NoCandidate);
    EXPECT_EQ(none.iniText(), "[" + noPool.title + "]\nTilesethoehe=32\nNamenlänge=11\n");

    romkit::BuiltRom brokenWild = buildFinderRom({});
    brokenWild.bytes.at(brokenWild.wildTable + 2) = 1;  // the two zero bytes of record 0
    const tables::FoundProfile found = find(brokenWild);
    EXPECT_FALSE(found.table(Table::Wild).found());
    EXPECT_TRUE(found.table(Table::Banks).found());
    EXPECT_EQ(found.iniText().find("WildePokemon"), std::string::npos);
    EXPECT_NE(germanText(tables::describe(found.table(Table::Wild))).find("nicht gefunden"),
              std::string::npos);
}

}  // namespace
}  // namespace quillon::testing
