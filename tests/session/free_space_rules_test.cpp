#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "core/config/game_profile.h"
#include "core/base/ini_file.h"
#include "core/writers/free_space_rules.h"
#include "core/rom/trom.h"
#include "romkit/rom_builder.h"
#include "tests/map/sample_rom.h"

namespace quillon {
namespace {

using romkit::BuiltRom;
using romkit::Family;

// The sample maps with every table a profile names: sprites, sprite palettes, slot tags, the
// special palette table, the fly table and a wild table of two entries.
BuiltRom tableRom(Family family) {
    romkit::RomBuilder b(family, "QUILLON TEST", family == Family::Frlg ? "BPRE" : "QTSE",
                         1 << 20);
    romkit::TilesetSpec tileset;
    tileset.tiles.assign(64, 0x11);
    tileset.palettes.push_back({0x0000, 0x001F});
    tileset.blocks.push_back({1, 1, 1, 1, 0, 0, 0, 0});
    for (int t = 0; t < 3; ++t) {
        b.addTileset(tileset);
    }
    b.addMapName("TOWN");
    b.addMapName("ROUTE");
    b.addMapName("CAVE");
    for (int bank = 0; bank < 2; ++bank) {
        for (int map = 0; map < 3 - bank; ++map) {
            romkit::MapSpec m;
            m.bank = bank;
            m.map = map;
            m.width = 3;
            m.height = 2;
            b.addMap(m);
        }
    }
    for (int i = 0; i < 3; ++i) {
        romkit::SpriteSpec sprite;
        sprite.pixels.assign(16 * 32 / 2, 0x12);
        b.addSprite(sprite);
    }
    b.addSpritePalette(0x1100, {0x0000, 0x001F});
    b.addSpritePalette(0x1101, {0x0000, 0x03E0});
    b.setSlotTags({0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100,
                   0x1100});
    b.addSpecialPalette(0x1111, 0x1100);
    b.addFlyRecord(0, 0, 2, 5);
    b.addFlyRecord(1, 1, 1, 1);
    b.addFlyRecord(0, 2, 3, 3);
    romkit::WildSpec grass{0, 1, {}};
    grass.kinds[0] = romkit::WildKindSpec{20, {{2, 3, 1}}};
    b.addWild(grass);
    b.addWild(romkit::WildSpec{1, 0, {}});
    return b.build();
}

// The profile the ROM's own layout gives, read as the editor reads Quillon.ini.
GameProfile profileOf(const BuiltRom& built, const testing::TempDir& dir) {
    romkit::writeProgramFolder(dir.path(), built);
    const IniFile ini(dir.path() / "Ini" / "Quillon.ini");
    return GameProfile::read(ini, built.title);
}

using Extent = std::tuple<std::uint32_t, std::uint32_t, std::string>;

std::vector<Extent> extents(const std::vector<ByteRange>& ranges) {
    std::vector<Extent> out;
    for (const ByteRange& r : ranges) {
        out.emplace_back(r.begin, r.end, r.what);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(ProfileTables, EachTableIsMeasuredToItsEnd) {
    for (const Family family : {Family::Rse, Family::Frlg}) {
        const BuiltRom built = tableRom(family);
        const testing::TempDir dir;
        TRom rom;
        built.attachTo(rom);
        const std::uint32_t nameRecord = family == Family::Frlg ? 4 : 8;
        std::vector<Extent> want = {
            {0, 0xC0, "Cartridge-Header"},
            // two banks, the empty bank that closes the table, and the word behind it
            {built.bankTable, built.bankTable + 16, "MapBankHeader"},
            {built.mapTables[0], built.mapTables[0] + 12, "MapBankHeader"},
            {built.mapTables[1], built.mapTables[1] + 8, "MapBankHeader"},
            {built.tilesetHeaders, built.tilesetHeaderOffsets.back() + 24, "TilesetHeader"},
            {built.nameTable, built.nameTable + 3 * nameRecord, "NamenHeader"},
            {built.pokemonNames - 11, built.pokemonNames + 411 * 11, "PokemonNamen"},
            {built.wildTable, built.wildTable + 3 * 20, "WildePokemon"},
            {built.spriteHeader, built.spriteHeader + 3 * 4, "SpriteHeader"},
            {built.spritePalettes, built.spritePalettes + 3 * 8, "SpritePaletten"},
            {built.spritePalHeader, built.spritePalHeader + 16, "SpritePalHeader"},
            {built.spezialPalHeader, built.spezialPalHeader + 26 * 8, "SpezialPalHeader"},
            {built.flyTable, built.flyTable + 3 * 8, "FlugPosHeader"},
        };
        std::sort(want.begin(), want.end());
        const GameProfile profile = profileOf(built, dir);
        EXPECT_EQ(want, extents(profileTableRanges(rom, profile)))
            << (family == Family::Frlg ? "FireRed family" : "Ruby family");
        EXPECT_EQ(static_cast<std::int32_t>(built.freeSpace), profile.freeSpaceStart);
    }
}

TEST(ProfileTables, NoTableOfAnUnknownGame) {
    const BuiltRom built = tableRom(Family::Rse);
    TRom rom;
    built.attachTo(rom);
    EXPECT_EQ((std::vector<Extent>{{0, 0xC0, "Cartridge-Header"}}),
              extents(profileTableRanges(rom, GameProfile{})));
}

// Tables whose records hold runs of 0xFF (names padded with 0xFF, unused palette entries):
// a search from the start of the file must not offer a byte of them.
TEST(FreeSpaceRules, ASearchNeverOffersTheBytesOfATable) {
    BuiltRom built = tableRom(Family::Rse);
    const std::uint32_t names = built.pokemonNames - 11;
    std::fill_n(built.bytes.begin() + names, 412 * 11, 0xFF);
    std::fill_n(built.bytes.begin() + built.spezialPalHeader + 8, 25 * 8, 0xFF);
    const testing::TempDir dir;
    const GameProfile profile = profileOf(built, dir);
    TRom rom;
    built.attachTo(rom);
    FreeSpaceQuery typed;
    typed.count = 16;
    typed.start = 0;
    typed.end = built.freeSpace + 200;
    const std::vector<ByteRange> tables = profileTableRanges(rom, profile);
    // The hit's guard and its bytes: [p - guard, p + count).
    const auto inTable = [&tables](std::uint32_t p, std::uint32_t count) {
        return std::any_of(tables.begin(), tables.end(), [&](const ByteRange& t) {
            return p < t.end + kFreeSpaceGuard && p + count > t.begin;
        });
    };
    // Without the rules the names are offered: the damage this test is about.
    const FreeSpaceResult plain = findFreeSpace(rom, typed);
    ASSERT_TRUE(std::any_of(plain.offsets.begin(), plain.offsets.end(),
                            [&](std::uint32_t p) { return inTable(p, 16); }));

    const FreeSpaceResult ruled = findFreeSpace(rom, withFreeSpaceRules(rom, profile, typed));
    ASSERT_FALSE(ruled.offsets.empty());
    for (const std::uint32_t p : ruled.offsets) {
        EXPECT_FALSE(inTable(p, 16)) << std::hex << p;
    }
}

// A ROM shaped like Emerald: from 0x100000 sound samples with many short runs of 0xFF, a
// large free area at 0x180000, then more data. Whatever the typed range, the search offers
// nothing inside the samples once it starts where the free area begins.
std::vector<std::uint8_t> samplesThenFreeArea() {
    std::vector<std::uint8_t> bytes(0x200000, 0x11);
    for (std::uint32_t at = 0x100000; at < 0x140000; at += 0x400) {
        std::fill_n(bytes.begin() + at, 40 + at % 0x1000 / 0x10, 0xFF);  // 40 to 295 bytes
    }
    std::fill(bytes.begin() + 0x180000, bytes.begin() + 0x1C0000, 0xFF);
    std::fill(bytes.begin() + 0x1C1000, bytes.begin() + 0x1C8000, 0x00);
    return bytes;
}

TEST(FreeSpaceRules, TheDefaultSearchStartsWhereTheFreeAreaBegins) {
    struct Case {
        const char* what;
        std::int32_t key;  // FreierBereich; 0 none
        std::uint8_t fill;
        std::uint32_t start;
        std::uint32_t firstHit;
    } cases[] = {
        {"the profile's key", 0x180000, 0xFF, 0x180000, 0x180020},
        {"no key: the longest run of 0xFF", 0, 0xFF, 0x180000, 0x180020},
        {"a key past the end of the file is measured", 0x3000000, 0xFF, 0x180000, 0x180020},
        {"a key in used bytes (a later revision)", 0x17FFA0, 0xFF, 0x17FFA0, 0x180020},
        {"no key, zeros searched: the longest run of 0x00", 0, 0x00, 0x1C1000, 0x1C1020},
    };
    TRom rom;
    rom.attach(std::make_unique<MemoryRomFile>(samplesThenFreeArea()), "e.gba");
    for (const Case& c : cases) {
        GameProfile profile;
        profile.freeSpaceStart = c.key;
        const FreeSpaceQuery q = defaultFreeSpaceQuery(rom, profile, 64, c.fill);
        EXPECT_EQ(c.start, q.start) << c.what;
        EXPECT_EQ(std::nullopt, q.end) << c.what;
        const FreeSpaceResult found = findFreeSpace(rom, q);
        ASSERT_EQ(kFreeSpaceHitLimit, found.offsets.size()) << c.what;
        EXPECT_EQ(c.firstHit, found.offsets.front()) << c.what;
        EXPECT_EQ(c.firstHit + 9 * 65, found.offsets.back()) << c.what;
    }
}

TEST(FreeSpaceRules, AFileWithoutFillStartsBehindTheCartridgeHeader) {
    TRom rom;
    rom.attach(std::make_unique<MemoryRomFile>(std::vector<std::uint8_t>(0x1000, 0x11)), "u.gba");
    EXPECT_EQ(0xC0u, defaultFreeSpaceStart(rom, GameProfile{}, 0xFF));
    EXPECT_TRUE(findFreeSpace(rom, defaultFreeSpaceQuery(rom, GameProfile{}, 1, 0xFF))
                    .offsets.empty());
}

}  // namespace
}  // namespace quillon
