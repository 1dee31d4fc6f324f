#include "romkit/rom_builder.h"

#include <gtest/gtest.h>

#include <random>

#include "core/rom/trom.h"
#include "romkit/lz77_compress.h"
#include "romkit/western_charset.h"

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
        const std::vector<std::uint8_t> stream = romkit::lz77Compress(c.data);
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
        const Decoded d = decodeLz77(romkit::lz77Compress(data));
        EXPECT_EQ(d.bytes, data);
        const bool farReference = !d.references.empty() && d.references.back().distance == 4096 &&
                                  d.references.back().length == 18;
        EXPECT_EQ(farReference, gap == 4096) << gap;
    }
}

TEST(Lz77Compress, OverlapsAndVramSafeMode) {
    const std::vector<std::uint8_t> run(40, 0xAB);
    const Decoded normal = decodeLz77(romkit::lz77Compress(run));
    ASSERT_FALSE(normal.references.empty());
    EXPECT_EQ(normal.references.front().distance, 1u);
    EXPECT_EQ(normal.references.front().length, 18u);

    const Decoded safe = decodeLz77(romkit::lz77Compress(run, true));
    EXPECT_EQ(safe.bytes, run);
    ASSERT_FALSE(safe.references.empty());
    for (const Reference& r : safe.references) {
        EXPECT_GE(r.distance, 2u);
    }
}

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
