#include "tests/support/rom_builder.h"

#include <gtest/gtest.h>

#include <random>

#include "core/config/ini_file.h"
#include "core/rom/trom.h"
#include "tests/support/lz77_compress.h"
#include "tests/support/western_charset.h"

namespace quillon::testing {
namespace {

struct Reference {
    std::size_t length;
    std::size_t distance;
};

struct Decoded {
    std::vector<std::uint8_t> bytes;
    std::vector<Reference> references;
};

// A plain reading of the stream format, independent of the compressor: flag bits from bit 7,
// a set bit is a two-byte reference (length - 3, distance - 1), copied byte by byte.
Decoded decodeLz77(const std::vector<std::uint8_t>& s) {
    Decoded d;
    const std::size_t size = s.at(1) | s.at(2) << 8 | s.at(3) << 16;
    std::size_t pos = 4;
    while (d.bytes.size() < size) {
        const std::uint8_t flags = s.at(pos++);
        for (int bit = 7; bit >= 0 && d.bytes.size() < size; --bit) {
            if ((flags >> bit & 1) == 0) {
                d.bytes.push_back(s.at(pos++));
                continue;
            }
            const Reference ref{(s.at(pos) >> 4) + 3u,
                                ((s.at(pos) & 0xFu) << 8 | s.at(pos + 1)) + 1};
            pos += 2;
            EXPECT_LE(ref.distance, d.bytes.size()) << "reference before the first byte";
            for (std::size_t k = 0; k < ref.length && ref.distance <= d.bytes.size(); ++k) {
                d.bytes.push_back(d.bytes[d.bytes.size() - ref.distance]);
            }
            d.references.push_back(ref);
        }
    }
    return d;
}

std::vector<std::uint8_t> randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

std::vector<std::uint8_t> repeated(const std::vector<std::uint8_t>& unit, std::size_t times) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < times; ++i) {
        bytes.insert(bytes.end(), unit.begin(), unit.end());
    }
    return bytes;
}

TEST(Lz77Compress, RoundTripsAndFindsRealReferences) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        bool shrinks;
    };
    const std::vector<Case> cases = {
        {"empty", {}, false},
        {"one byte", {0x42}, false},
        {"run", std::vector<std::uint8_t>(1000, 0x11), true},
        {"period 2 (overlapping copies)", repeated({1, 2}, 300), true},
        {"period 300", repeated(randomBytes(300, 1), 8), true},
        {"random", randomBytes(5000, 2), false},
        {"blank 16 KiB tile sheet", std::vector<std::uint8_t>(0x4000, 0), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> stream = lz77Compress(c.data);
        ASSERT_GE(stream.size(), 4u);
        EXPECT_EQ(stream[0], 0x10);
        EXPECT_EQ(stream.size() % 4, 0u);
        const Decoded d = decodeLz77(stream);
        EXPECT_EQ(d.bytes, c.data);
        if (c.shrinks) {
            EXPECT_FALSE(d.references.empty());
            EXPECT_LT(stream.size(), c.data.size() / 4);
        }
        for (const Reference& r : d.references) {
            EXPECT_TRUE(r.length >= 3 && r.length <= 18 && r.distance <= 4096);
        }
    }
}

TEST(Lz77Compress, ReachesExactlyTheWindow) {
    // The tail repeats the head at distance 4096 (allowed) or 4097 (out of reach).
    for (std::size_t gap : {4096u, 4097u}) {
        std::vector<std::uint8_t> data = randomBytes(gap, 7);
        data.insert(data.end(), data.begin(), data.begin() + 18);
        const Decoded d = decodeLz77(lz77Compress(data));
        EXPECT_EQ(d.bytes, data);
        const bool farReference = !d.references.empty() && d.references.back().distance == 4096 &&
                                  d.references.back().length == 18;
        EXPECT_EQ(farReference, gap == 4096) << gap;
    }
}

TEST(Lz77Compress, OverlapsAndVramSafeMode) {
    const std::vector<std::uint8_t> run(40, 0xAB);
    const Decoded normal = decodeLz77(lz77Compress(run));
    ASSERT_FALSE(normal.references.empty());
    EXPECT_EQ(normal.references.front().distance, 1u);
    EXPECT_EQ(normal.references.front().length, 18u);

    const Decoded safe = decodeLz77(lz77Compress(run, true));
    EXPECT_EQ(safe.bytes, run);
    ASSERT_FALSE(safe.references.empty());
    for (const Reference& r : safe.references) {
        EXPECT_GE(r.distance, 2u);
    }
}

// Two banks (two maps, one map), a compressed primary and a raw secondary tileset.
class BuiltRomTest : public ::testing::Test {
protected:
    static TilesetSpec tileset(bool compressed, std::uint16_t firstTile, int firstPalette) {
        TilesetSpec t;
        t.compressed = compressed;
        t.tiles = repeated({0x11, 0x22, 0x33, 0x44}, 8 * 40);
        t.tiles[5] = 0x9A;
        t.palettes.resize(16);
        for (int p = firstPalette; p < 16; ++p) {
            for (int c = 0; c < 16; ++c) {
                t.palettes[p][c] = static_cast<std::uint16_t>(p << 10 | c);
            }
        }
        for (std::uint16_t b = 0; b < 5; ++b) {
            t.blocks.push_back({static_cast<std::uint16_t>(firstTile + b), 0x0401, 0x0802, 0x1003,
                                4, 5, 6, static_cast<std::uint16_t>(0xF000 | b)});
            t.behaviours.insert(t.behaviours.end(), {static_cast<std::uint8_t>(b + 1), 0x10});
        }
        return t;
    }

    static RomBuilder builder(Family family) {
        RomBuilder b(family);
        b.addTileset(tileset(true, 0, 0));
        b.addTileset(tileset(false, family == Family::Frlg ? 640 : 512, 6));
        b.addMapName("QUILLON TOWN");
        b.addMapName("Route é 2");
        b.addPokemonName("SPROUTLE");
        b.addPokemonName("EMBERKIT");
        MapSpec town{.bank = 0,
                     .map = 0,
                     .width = 3,
                     .height = 2,
                     .grid = {0x3001, 2, 3, 0x0404, 5, 0xFFFF},
                     .border = {7, 8, 9, 10}};
        town.nameIndex = 1;
        town.weather = 2;
        town.type = 3;
        town.showName = 1;
        town.music = 0x1A2B;
        b.addMap(MapSpec{.bank = 1, .map = 0, .width = 4, .height = 4});
        b.addMap(town);
        b.addMap(MapSpec{.bank = 0, .map = 1, .width = 1, .height = 1, .grid = {0x202}});
        return b;
    }

    void SetUp() override {
        built = builder(Family::Rse).build();
        built.attachTo(rom);
    }

    std::vector<std::uint16_t> words(std::uint32_t offset, int count) {
        std::vector<std::uint16_t> out;
        for (int i = 0; i < count; ++i) {
            out.push_back(rom.ReadU16(static_cast<std::int32_t>(offset + 2 * i)));
        }
        return out;
    }

    bool isPointer(std::uint32_t offset) { return rom.ReadByte(offset + 3) == 0x08; }

    BuiltRom built;
    TRom rom;
};

TEST_F(BuiltRomTest, GbaHeaderIdentifiesTheGame) {
    EXPECT_EQ(built.title, "QUILLON TESTQTSE");
    EXPECT_EQ(rom.Title(), "QUILLON TESTQTSE");
    EXPECT_FALSE(rom.isFrlg());
    EXPECT_EQ(built.bytes.size(), 4u << 20);
    std::uint8_t sum = 0;
    for (int i = 0xA0; i <= 0xBC; ++i) {
        sum = static_cast<std::uint8_t>(sum + built.bytes[i]);
    }
    EXPECT_EQ(static_cast<std::uint8_t>(sum + built.bytes[0xBD] + 0x19), 0);
    EXPECT_EQ(built.bytes.back(), 0xFF);
    EXPECT_EQ(built.bytes[built.freeSpace], 0xFF);
}

TEST_F(BuiltRomTest, BankTableEndsAfterAnEmptyClosingBank) {
    // Banks 0 and 1 plus the closing bank: three pointers, then a word that is not one.
    ASSERT_EQ(built.mapTables.size(), 3u);
    for (std::uint32_t b = 0; b < 3; ++b) {
        ASSERT_TRUE(isPointer(built.bankTable + 4 * b)) << b;
        EXPECT_EQ(rom.ReadPointer(built.bankTable + 4 * b), built.mapTables[b]);
    }
    EXPECT_FALSE(isPointer(built.bankTable + 12));
    EXPECT_FALSE(isPointer(built.mapTables[2]));
    // Map tables are back to back: bank 0's two entries reach bank 1's table exactly.
    EXPECT_EQ(built.mapTables[1], built.mapTables[0] + 8);
    EXPECT_EQ(built.mapTables[2], built.mapTables[1] + 4);
    EXPECT_EQ(rom.ReadPointer(built.mapTables[0] + 4), built.maps.at({0, 1}).header);
    EXPECT_EQ(rom.ReadPointer(built.mapTables[1]), built.maps.at({1, 0}).header);
}

TEST_F(BuiltRomTest, MapHeaderAndFooterReadBack) {
    const BuiltMap& town = built.maps.at({0, 0});
    EXPECT_EQ(rom.ReadPointer(built.mapTables[0]), town.header);
    EXPECT_TRUE(isPointer(town.header) && isPointer(town.header + 4));
    EXPECT_EQ(rom.ReadPointer(town.header), town.footer);
    EXPECT_EQ(rom.ReadPointer(town.header + 4), town.events);
    EXPECT_EQ(rom.ReadU32(town.header + 12), 0u);  // no connections
    EXPECT_EQ(rom.ReadHex(town.header + 16, 2, true), "1A2B");
    EXPECT_EQ(rom.ReadByte(town.header + 20), 1);
    EXPECT_EQ(rom.ReadByte(town.header + 22), 2);
    EXPECT_EQ(rom.ReadByte(town.header + 23), 3);
    EXPECT_EQ(rom.ReadByte(town.header + 26), 1);
    EXPECT_EQ(rom.ReadBlock(town.events, 4), std::vector<std::uint8_t>(4, 0));

    EXPECT_EQ(rom.ReadU32(town.footer), 3u);
    EXPECT_EQ(rom.ReadU32(town.footer + 4), 2u);
    EXPECT_EQ(rom.ReadPointer(town.footer + 8), town.border);
    EXPECT_EQ(rom.ReadPointer(town.footer + 12), town.grid);
    EXPECT_EQ(words(town.border, 4), (std::vector<std::uint16_t>{7, 8, 9, 10}));
    EXPECT_EQ(words(town.grid, 6), (std::vector<std::uint16_t>{0x3001, 2, 3, 0x0404, 5, 0xFFFF}));
    EXPECT_EQ(words(built.maps.at({1, 0}).grid, 16), std::vector<std::uint16_t>(16, 0));

    for (int part : {0, 1}) {
        const std::uint32_t header = rom.ReadPointer(town.footer + 16 + 4 * part);
        EXPECT_EQ(header, built.tilesetHeaderOffsets[part]);
        EXPECT_EQ((header - built.tilesetHeaders) / 24, static_cast<std::uint32_t>(part));
    }
}

TEST_F(BuiltRomTest, TilesetsReadBack) {
    ASSERT_EQ(built.tilesets.size(), 2u);
    EXPECT_EQ(built.tilesetHeaderOffsets[1], built.tilesetHeaderOffsets[0] + 24);
    for (int i : {0, 1}) {
        SCOPED_TRACE(i);
        const BuiltTileset& t = built.tilesets[i];
        const TilesetSpec wanted = tileset(i == 0, i == 0 ? 0 : 512, i == 0 ? 0 : 6);
        EXPECT_EQ(rom.ReadByte(t.header), i == 0 ? 1 : 0);
        EXPECT_EQ(rom.ReadByte(t.header + 1), i);  // secondary flag
        EXPECT_EQ(rom.ReadPointer(t.header + 4), t.tiles);
        EXPECT_EQ(rom.ReadPointer(t.header + 8), t.palettes);
        EXPECT_EQ(rom.ReadPointer(t.header + 12), t.blocks);
        EXPECT_EQ(rom.ReadPointer(t.header + 16), t.behaviours);
        std::vector<std::uint8_t> tiles = rom.ReadBlock(t.tiles, t.storedTileBytes);
        if (i == 0) {
            EXPECT_LT(tiles.size(), wanted.tiles.size() / 4);
            tiles = decodeLz77(tiles).bytes;
        }
        EXPECT_EQ(tiles, wanted.tiles);
        // Palette p at +32p: a secondary's own palettes sit at its indices 6 to 15.
        EXPECT_EQ(rom.ReadU16(t.palettes + 32 * 9 + 2 * 4), 9 << 10 | 4);
        EXPECT_EQ(rom.ReadU16(t.palettes + 32 * 15 + 30), 15 << 10 | 15);
        EXPECT_EQ(words(t.blocks + 16 * 3, 8),
                  std::vector<std::uint16_t>(wanted.blocks[3].begin(), wanted.blocks[3].end()));
        EXPECT_EQ(rom.ReadBlock(t.behaviours + 2 * 4, 2), (std::vector<std::uint8_t>{5, 0x10}));
        EXPECT_EQ(t.attributes, 0u);
    }
}

TEST(BuiltRomFamilies, NamesTilesetsAndFootersFollowTheFamily) {
    struct Case {
        Family family;
        int recordSize;
        int tilesethoehe;
        bool frlgTitle;
    };
    for (const Case& c : {Case{Family::Rse, 8, 32, false}, Case{Family::Frlg, 4, 40, true}}) {
        SCOPED_TRACE(c.recordSize);
        RomBuilder builder(c.family, "POKEMON TEST", c.frlgTitle ? "BPRE" : "AXVE");
        builder.addTileset(TilesetSpec{.blocks = {{1}, {2}}, .behaviours = {0x21, 0x35, 0x02, 0}});
        builder.addMap(MapSpec{.secondary = 0});
        for (const char* name : {"QUILLON TOWN", "ROUTE 1", "Pässe"}) {
            builder.addMapName(name);
        }
        builder.addPokemonName("FIRST");
        const BuiltRom built = builder.build();
        TRom rom;
        built.attachTo(rom);
        EXPECT_EQ(rom.isFrlg(), c.frlgTitle);
        EXPECT_EQ(built.tilesethoehe, c.tilesethoehe);
        EXPECT_EQ(built.nameCount, 3);
        const std::uint32_t name2 = built.nameTable + 2 * c.recordSize + c.recordSize - 4;
        EXPECT_EQ(rom.ReadByte(name2 + 3), 0x08);
        EXPECT_EQ(decodeWestern(rom.ReadBlock(rom.ReadPointer(name2), 6)), "Pässe");
        EXPECT_EQ(
            decodeWestern(rom.ReadBlock(rom.ReadPointer(built.nameTable + c.recordSize - 4), 13)),
            "QUILLON TOWN");

        // Pokemon name i at PokemonNamen + (i - 1) * 11; record 0 is the placeholder.
        EXPECT_EQ(decodeWestern(rom.ReadBlock(built.pokemonNames, 11)), "FIRST");
        EXPECT_EQ(decodeWestern(rom.ReadBlock(built.pokemonNames - 11, 11)), "??????????");
        EXPECT_EQ(rom.ReadBlock(built.pokemonNames + 5, 6),
                  (std::vector<std::uint8_t>{0xFF, 0, 0, 0, 0, 0}));

        const BuiltTileset& t = built.tilesets[0];
        const std::uint32_t footer = built.maps.at({0, 0}).footer;
        if (c.family == Family::Frlg) {
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

TEST(BuiltRomProfile, ProgramFolderDescribesTheRom) {
    RomBuilder builder(Family::Frlg, "QUILLON", "QTSE");
    builder.addTileset(TilesetSpec{.blocks = {{}, {}, {}}});
    builder.addMap(MapSpec{.secondary = 0});
    builder.addMapName("A");
    builder.addMapName("B");
    const BuiltRom built = builder.build();
    EXPECT_EQ(built.title, "QUILLON");  // a short title stops at its first NUL

    TempDir dir;
    writeProgramFolder(
        dir.path(), built,
        {{"Ini/Main.ini", "[Stadt]\n0=0.0\n"}, {"Ini/Quillon.ini", "[Other]\nx=1\n"}});
    const IniFile profile(dir.path() / "Ini" / "Quillon.ini");
    const std::string section = built.title;
    EXPECT_EQ(profile.readInteger(section, "MapBankHeader", -1), static_cast<int>(built.bankTable));
    EXPECT_EQ(profile.readInteger(section, "TilesetHeader", -1),
              static_cast<int>(built.tilesetHeaders));
    EXPECT_EQ(profile.readInteger(section, "NamenHeader", -1), static_cast<int>(built.nameTable));
    EXPECT_EQ(profile.readInteger(section, "AnzMapNamen", -1), 1);
    EXPECT_EQ(profile.readInteger(section, "PokemonNamen", -1),
              static_cast<int>(built.pokemonNames));
    EXPECT_EQ(profile.readInteger(section, "Tilesethoehe", -1), 40);
    EXPECT_EQ(profile.readString(section, "mainfile", ""), "Ini\\Main.ini");
    EXPECT_EQ(profile.readInteger("Other", "x", 0), 1);

    const IniFile table(dir.path() / "Ini" / "Table.ini");
    EXPECT_EQ(table.readString("Table", "00", ""), " ");
    EXPECT_EQ(table.readString("Table", "BB", ""), "A");
    EXPECT_EQ(IniFile(dir.path() / "Ini" / "Tilesets.ini").readInteger("0", "Blocks", 0), 3);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Ini" / "Main.ini"));
}

// A one-map ROM over two empty tilesets, read back through TRom.
struct SmallRom {
    explicit SmallRom(RomBuilder& builder, std::vector<MapSpec> maps = {MapSpec{}}) {
        builder.addTileset({});
        builder.addTileset({});
        for (const MapSpec& m : maps) {
            builder.addMap(m);
        }
        built = builder.build();
        built.attachTo(rom);
    }
    BuiltRom built;
    TRom rom;
};

TEST(BuiltRomEvents, TablesLieBeforeTheHeaderAndEmptyOnesPointAtTheNext) {
    MapSpec map;
    map.persons = {personRecord(1, 7, 0x0102, 0x0304, 2, 0x11, 1, 0x0506, 0x1234),
                   personRecord(2, 0, 5, 6)};
    map.warps = {warpRecord(4, 7, 3, 2, 1)};
    map.signposts = {signpostRecord(9, 10, 7, 0)};
    MapSpec bare{.map = 1};
    bare.noEventHeader = true;
    RomBuilder builder(Family::Rse);
    SmallRom small(builder, {map, bare});
    TRom& rom = small.rom;
    const BuiltMap& built = small.built.maps.at({0, 0});

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
    EXPECT_EQ(scriptRecord(1, 2, 0x4321)[15], 0x08);

    const BuiltMap& none = small.built.maps.at({0, 1});
    EXPECT_EQ(none.events, 0u);
    EXPECT_EQ(rom.ReadU32(none.header + 4), 0u);
}

TEST(BuiltRomEvents, RefusesEventsItCannotCount) {
    MapSpec crowded;
    crowded.warps.resize(256);
    MapSpec bare;
    bare.noEventHeader = true;
    bare.signposts.resize(1);
    for (const MapSpec& map : {crowded, bare}) {
        RomBuilder builder(Family::Rse);
        EXPECT_THROW(SmallRom(builder, {map}), std::invalid_argument);
    }
    crowded.warps.resize(255);
    RomBuilder builder(Family::Frlg);
    SmallRom full(builder, {crowded});
    EXPECT_EQ(full.rom.ReadByte(full.built.maps.at({0, 0}).events + 1), 255);
}

TEST(RomBuilderErrors, RefusesSpritesAndBytesThatDoNotFit) {
    RomBuilder b(Family::Rse);
    EXPECT_THROW(b.addSprite({.pixels = std::vector<std::uint8_t>(100)}), std::invalid_argument);
    EXPECT_THROW(b.addSprite({.slot = 16}), std::invalid_argument);
    EXPECT_EQ(b.addSprite({.width = 64, .height = 128}), 0);
    for (int i = 0; i < 26; ++i) {
        b.addSpecialPalette(i, 0x1100);
    }
    EXPECT_THROW(b.addSpecialPalette(26, 0x1100), std::length_error);
    EXPECT_THROW(b.putCodeBytes(0xBF, {1}), std::invalid_argument);
    EXPECT_THROW(b.putCodeBytes(0xFFF, {1, 2}), std::invalid_argument);
    b.putCodeBytes(0x800, {0x6A, 0x02});
    SmallRom small(b);
    EXPECT_EQ(small.rom.ReadU16(0x800), 0x026A);
    EXPECT_EQ(small.rom.ReadU16(small.built.spriteRecords[0] + 6), 4096);
}

TEST(RomBuilderErrors, RefusesWhatCannotBeLaidOut) {
    const auto withMaps = [](std::vector<MapSpec> maps, std::size_t romSize = 1 << 20) {
        RomBuilder b(Family::Rse, "QUILLON TEST", "QTSE", romSize);
        b.addTileset({});
        b.addTileset({});
        for (const MapSpec& m : maps) {
            b.addMap(m);
        }
        return b;
    };
    EXPECT_THROW(withMaps({{.bank = 1}}).build(), std::invalid_argument);
    EXPECT_THROW(withMaps({{.bank = 0}, {.bank = 0, .map = 2}}).build(), std::invalid_argument);
    EXPECT_THROW(withMaps({{.secondary = 2}}).build(), std::invalid_argument);
    EXPECT_THROW(withMaps({{.width = 2, .height = 2, .grid = {1, 2, 3}}}).build(),
                 std::invalid_argument);
    EXPECT_THROW(withMaps({{.width = 1000, .height = 1000}}).build(), std::length_error);
    EXPECT_THROW(withMaps({{}, {}}), std::invalid_argument);
    EXPECT_NO_THROW(withMaps({{}, {.map = 1}, {.bank = 1}}).build());

    RomBuilder b(Family::Rse);
    EXPECT_THROW(b.addMapName("日本"), std::invalid_argument);
    EXPECT_THROW(RomBuilder(Family::Rse, "THIRTEEN CHAR", "QTSE"), std::invalid_argument);
}

}  // namespace
}  // namespace quillon::testing
