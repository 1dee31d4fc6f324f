#include "core/connections/neighbour_band.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/state/neighbours.h"
#include "core/session/session.h"
#include "romkit/rom_builder.h"
#include "romkit/rom_files.h"
#include "tests/connections/connection_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using romkit::BuiltRom;
constexpr int kCell = 16;
constexpr int kBand = kNeighbourBandCells;

// Tile 0 is see-through, tile t (1-15) all colour t. Block b shows tile 1 + b % 15. The
// colours of palette 0 depend on seed, so every primary tileset paints its blocks apart.
romkit::TilesetSpec tileset(int seed) {
    romkit::TilesetSpec t;
    for (int tile = 0; tile < 16; ++tile) {
        t.tiles.insert(t.tiles.end(), 32, static_cast<std::uint8_t>(tile * 0x11));
    }
    std::array<std::uint16_t, 16> palette{};
    for (int i = 0; i < 16; ++i) {
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(seed << 10 | i << 5 | 3);
    }
    t.palettes = {palette};
    for (int b = 0; b < 16; ++b) {
        const auto tile = static_cast<std::uint16_t>(1 + b % 15);
        t.blocks.push_back({tile, tile, tile, tile, 0, 0, 0, 0});
    }
    t.compressed = seed % 2 == 1;
    return t;
}

// Every third cell shows a block of the secondary tileset, which starts at 512 or, on
// FireRed/LeafGreen, at 640.
romkit::MapSpec mapSpec(int map, std::uint16_t width, std::uint16_t height, int primary,
                        int secondary, romkit::Family family) {
    romkit::MapSpec m;
    m.map = map;
    m.width = width;
    m.height = height;
    m.primary = primary;
    m.secondary = secondary;
    const int part2 = romkit::traitsOf(family).primaryBlocks;
    for (int i = 0; i < width * height; ++i) {
        const int block = (i * 7 + map) % 16;
        m.grid.push_back(static_cast<std::uint16_t>(i % 3 == 2 ? part2 + block : block));
    }
    return m;
}

// Map 0.0 (5 x 4, tilesets 0 and 1) with a neighbour on each edge, two with a negative offset,
// one taller and one wider than the band; a dive connection and one to a map that does not
// exist. 0.5 is there for the tests to damage.
const std::vector<Connection> kConnections{
    {1, 2, 0, 1, 0},  {2, -3, 0, 2, 0}, {3, 1, 0, 3, 0},
    {4, -2, 0, 4, 0}, {5, 0, 0, 1, 0},  {1, 0, 7, 7, 0},
};

BuiltRom buildRom(std::vector<Connection> connections = kConnections,
                  romkit::Family family = romkit::Family::Rse) {
    romkit::RomBuilder b(family, "QUILLON TEST", family == romkit::Family::Frlg ? "BPRE" : "QTSE",
                         1 << 20);
    for (int seed = 0; seed < 4; ++seed) {
        b.addTileset(tileset(seed));
    }
    romkit::MapSpec center = mapSpec(0, 5, 4, 0, 1, family);
    center.connections = std::move(connections);
    b.addMap(center);
    b.addMap(mapSpec(1, 6, 3, 2, 3, family));   // below, own tilesets
    b.addMap(mapSpec(2, 4, 10, 0, 1, family));  // above, the open map's tilesets
    b.addMap(mapSpec(3, 3, 2, 2, 3, family));   // left, the same pair as below
    b.addMap(mapSpec(4, 12, 5, 3, 1, family));  // right, a third pair
    b.addMap(mapSpec(5, 2, 2, 2, 3, family));
    return b.build();
}

class NeighbourBandTest : public ::testing::Test {
protected:
    // Opens map id of built in a fresh session.
    std::unique_ptr<Session> open(const BuiltRom& built, const std::string& id) {
        romkit::writeProgramFolder(m_dir.path(), built);
        auto session = std::make_unique<Session>(m_dir.path());
        session->settings().setPersistent(false);
        session->openRom(built.memoryFile(), "test.gba");
        session->openMap(id, id);
        return session;
    }
    NeighbourBand band(Session& s) {
        return drawNeighbourBand(s.rom(), s.romState(), s.data(), s.mapState());
    }

    testing::TempDir m_dir;
};

std::vector<std::string> identifiers(const NeighbourBand& band) {
    std::vector<std::string> ids;
    for (const NeighbourPlace& n : band.neighbours) {
        ids.push_back(n.identifier);
    }
    return ids;
}

TEST(NeighbourPlace, EachEdgeShiftsAlongItsOwnAxis) {
    struct Case {
        Connection connection;
        CellRect expected;
    };
    // A 5 x 4 map, a 6 x 3 neighbour.
    const Case cases[] = {
        {{1, 2, 0, 0, 0}, {2, 4, 6, 3}},
        {{1, -7, 0, 0, 0}, {-7, 4, 6, 3}},
        {{2, -3, 0, 0, 0}, {-3, -3, 6, 3}},
        {{3, 1, 0, 0, 0}, {-6, 1, 6, 3}},
        {{4, -2, 0, 0, 0}, {5, -2, 6, 3}},
        {{5, 4, 0, 0, 0}, {}},
        {{0, 4, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(neighbourPlace(c.connection, 5, 4, 6, 3), c.expected)
            << "direction " << c.connection.direction << ", offset " << c.connection.offset;
    }
    // Offsets far beyond any picture stay far away instead of wrapping round.
    const CellRect far = neighbourPlace({4, INT32_MIN, 0, 0, 0}, 5, 4, 6, 3);
    EXPECT_LT(far.y + far.height, -1000);
}

// Every pixel of the band is the dimmed pixel of the neighbour drawn alone (opened as the open
// map, with its own tilesets) at the connection's place, or blank where no neighbour lies.
// Both families: their secondary tilesets start at different block numbers.
TEST_F(NeighbourBandTest, BandShowsEachNeighbourAsDrawnAloneDimmedAtItsPlace) {
    for (romkit::Family family : {romkit::Family::Rse, romkit::Family::Frlg}) {
        SCOPED_TRACE(family == romkit::Family::Frlg ? "FireRed" : "Ruby");
        const BuiltRom built = buildRom(kConnections, family);
        auto s = open(built, "0.0");
        const NeighbourBand b = band(*s);
        ASSERT_EQ(identifiers(b), (std::vector<std::string>{"0.1", "0.2", "0.3", "0.4"}));
        const CellRect places[] = {{2, 4, 6, 3}, {-3, -10, 4, 10}, {-3, 1, 3, 2}, {5, -2, 12, 5}};
        ASSERT_EQ(b.picture.width(), (5 + 2 * kBand) * kCell);
        ASSERT_EQ(b.picture.height(), (4 + 2 * kBand) * kCell);

        Bitmap expected(b.picture.width(), b.picture.height(), kNeighbourBlank);
        for (std::size_t n = 0; n < b.neighbours.size(); ++n) {
            EXPECT_EQ(b.neighbours[n].cells, places[n]) << b.neighbours[n].identifier;
            const Bitmap alone = open(built, b.neighbours[n].identifier)->mapState().pictures().map();
            Bitmap dimmed = alone;
            for (int y = 0; y < alone.height(); ++y) {
                for (int x = 0; x < alone.width(); ++x) {
                    dimmed.setPixel(x, y, dimmedColour(alone.pixel(x, y)));
                }
            }
            expected.blit(dimmed, (places[n].x + kBand) * kCell, (places[n].y + kBand) * kCell);
        }
        expected.fillRect(kBand * kCell, kBand * kCell, 5 * kCell, 4 * kCell, kNeighbourBlank);
        EXPECT_TRUE(b.picture == expected);

        // Below lies block 1 of another tileset pair than the open map's: its own colours.
        EXPECT_NE(b.picture.pixel((2 + kBand) * kCell, (4 + kBand) * kCell),
                  dimmedColour(s->romState().tilesets().blockImage(1)->pixel(0, 0)));

        Bitmap composed;
        composeNeighbourPicture(b, s->mapState().pictures().map(), composed);
        expected.blit(s->mapState().pictures().map(), kBand * kCell, kBand * kCell);
        EXPECT_TRUE(composed == expected);
    }
}

TEST_F(NeighbourBandTest, TheOpenMapStaysAsItWas) {
    auto s = open(buildRom(), "0.0");
    const Bitmap before = s->mapState().pictures().map();
    band(*s);
    EXPECT_EQ(s->mapState().map().identifier, "0.0");
    EXPECT_EQ(s->romState().tilesets().tilesetNumber(1), 0);
    EXPECT_EQ(s->romState().tilesets().tilesetNumber(2), 1);
    EXPECT_FALSE(s->mapState().modified());
    s->mapState().invalidatePictures();
    EXPECT_TRUE(s->mapState().pictures().map() == before);
}

TEST_F(NeighbourBandTest, ACellOfTheBandNamesTheNeighbourShownThere) {
    auto s = open(buildRom(), "0.0");
    const NeighbourBand b = band(*s);
    struct Case {
        int x, y;
        const char* id;  // nullptr: none
    };
    const Case cases[] = {
        {2, 4, "0.1"},    {7, 6, "0.1"},     {-1, -1, "0.2"}, {-3, 2, "0.3"},
        {12, 2, "0.4"},   {0, 0, nullptr},   {4, 3, nullptr}, {-1, 0, nullptr},
        {13, 2, nullptr}, {-3, -9, nullptr}, {8, 6, nullptr}, {1, 4, nullptr},
    };
    for (const Case& c : cases) {
        const NeighbourPlace* n = b.neighbourAt(c.x, c.y);
        if (c.id == nullptr) {
            EXPECT_EQ(n, nullptr) << c.x << ", " << c.y;
        } else {
            ASSERT_NE(n, nullptr) << c.x << ", " << c.y;
            EXPECT_EQ(n->identifier, c.id) << c.x << ", " << c.y;
        }
    }
}

// A neighbour that does not exist or cannot be read is left out with a warning naming it;
// the others are drawn as ever.
TEST_F(NeighbourBandTest, MissingAndDamagedNeighboursAreSkipped) {
    struct Case {
        const char* what;
        std::function<void(BuiltRom&)> damage;
        const char* message;
    };
    const auto footer = [](BuiltRom& b) { return b.maps.at({0, 5}).footer; };
    const Case cases[] = {
        {"grid past the end", [&](BuiltRom& b) { writeLe32(&b.bytes[footer(b) + 12], 0x08FFFF00); },
         "Map 0.5"},
        {"tileset header past the end",
         [&](BuiltRom& b) { writeLe32(&b.bytes[footer(b) + 16], 0x08FFFFF0); }, "0.5"},
        {"palettes past the end",
         [&](BuiltRom& b) { writeLe32(&b.bytes[b.tilesets[2].header + 8], 0x08FFFFF0); },
         "Tileset 2"},
        {"no footer",
         [&](BuiltRom& b) {
             writeLe32(&b.bytes[b.maps.at({0, 5}).header], 0);
         },
         "Map-Footer"},
    };
    for (const Case& c : cases) {
        BuiltRom built = buildRom({{1, 0, 0, 5, 0}, {2, 0, 9, 0, 0}, {4, 0, 0, 2, 0}});
        c.damage(built);
        auto s = open(built, "0.0");
        const NeighbourBand b = band(*s);
        EXPECT_EQ(identifiers(b), std::vector<std::string>{"0.2"}) << c.what;
        ASSERT_EQ(b.warnings.size(), 2u) << c.what;
        EXPECT_EQ(b.warnings[0].identifier, "0.5");
        EXPECT_NE(germanText(b.warnings[0].text()).find(c.message), std::string::npos)
            << c.what << ": " << germanText(b.warnings[0].text());
        EXPECT_EQ(germanText(b.warnings[1].text()),
                  "Nachbar 9.0: Die Map 9.0 steht nicht in der Bank-Tabelle.");
    }
}

TEST_F(NeighbourBandTest, AnUnreadableOrLongConnectionTable) {
    BuiltRom broken = buildRom();
    writeLe32(&broken.bytes[broken.maps.at({0, 0}).connectionHeader], 0x00100000);
    auto s = open(broken, "0.0");
    NeighbourBand b = band(*s);
    EXPECT_TRUE(b.neighbours.empty());
    ASSERT_EQ(b.warnings.size(), 1u);
    EXPECT_NE(germanText(b.warnings[0].text()).find("hinter dem Dateiende"), std::string::npos);
    EXPECT_TRUE(b.picture == Bitmap(b.picture.width(), b.picture.height(), kNeighbourBlank));

    std::vector<Connection> many(kMaxNeighbours, Connection{1, 0, 0, 1, 0});
    many.push_back({2, 0, 0, 2, 0});
    s = open(buildRom(many), "0.0");
    b = band(*s);
    EXPECT_EQ(b.neighbours.size(), kMaxNeighbours);
    EXPECT_EQ(b.neighbourAt(0, -1), nullptr);
    ASSERT_EQ(b.warnings.size(), 1u);
    EXPECT_NE(germanText(b.warnings[0].text()).find("11 Anbindungen"), std::string::npos);
}

TEST_F(NeighbourBandTest, AMapPictureOfAnotherSizeIsRefused) {
    auto s = open(buildRom(), "0.1");
    const NeighbourBand b = band(*s);
    EXPECT_EQ(identifiers(b), std::vector<std::string>{});
    Bitmap out;
    EXPECT_THROW(composeNeighbourPicture(b, Bitmap(5 * kCell, 4 * kCell), out), Error);
}

// Only a map whose footer gives it cells gets a band: map 0.0 of the connection ROM
// (neighbours below, right and left) with the footer's width and height replaced.
TEST_F(NeighbourBandTest, OnlyAMapWithCellsGetsABand) {
    const struct {
        std::uint32_t width, height;
        bool band;
    } cases[] = {{0, 4000, false}, {4000, 0, false}, {0, 0, false}, {2, 3, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        BuiltRom built = testing::connectionRomBuilder().build();
        const std::uint32_t footer = built.maps.at({0, 0}).footer;
        writeLe32(&built.bytes[footer], c.width);
        writeLe32(&built.bytes[footer + 4], c.height);
        auto s = open(built, "0.0");
        const NeighbourBand b = band(*s);
        const int margin = c.band ? kBand : 0;
        EXPECT_EQ(b.margin, margin);
        EXPECT_EQ(b.picture.width(), static_cast<int>(c.width + 2 * margin) * kCell);
        EXPECT_EQ(b.picture.height(), static_cast<int>(c.height + 2 * margin) * kCell);
        EXPECT_EQ(b.neighbours.size(), c.band ? 3u : 0u);
        Bitmap composed;
        composeNeighbourPicture(b, s->mapState().pictures().map(), composed);
        EXPECT_EQ(composed.width(), b.picture.width());
    }
}

}  // namespace
}  // namespace quillon
