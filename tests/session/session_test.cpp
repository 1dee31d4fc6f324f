#include "core/session/session.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/session/map_listing.h"
#include "tests/map/sample_rom.h"

namespace quillon {
namespace {

using romkit::BuiltRom;
using testing::buildSampleRom;

class SessionFlow : public ::testing::Test {
protected:
    void SetUp() override {
        m_built = buildSampleRom();
        romkit::writeProgramFolder(m_dir.path(), m_built);
        romkit::writeRomFile(romPath(), m_built);
    }
    std::filesystem::path romPath() const { return m_dir.file("sample.gba"); }
    void rewriteRom() { romkit::writeRomFile(romPath(), m_built); }

    testing::TempDir m_dir;
    BuiltRom m_built;
};

TEST_F(SessionFlow, OpensRomListsMapsAndShowsAMap) {
    Session s(m_dir.path());
    s.openRom(romPath());
    EXPECT_TRUE(s.romState().loaded());
    EXPECT_EQ(s.rom().Title(), "QUILLON TESTQTSE");
    EXPECT_TRUE(s.romState().profile().found);
    EXPECT_EQ(s.romState().mapNames().size(), 2u);
    EXPECT_EQ(s.romState().pokemonNames().size(), 412u);
    EXPECT_EQ(s.romState().bankScan().mapCount(), 5);
    EXPECT_TRUE(s.romState().warnings().empty());
    EXPECT_FALSE(s.mapState().loaded());

    MapListTree tree = openRomMapList(s.romState(), s.data(), s.settings(), s.lang());
    ASSERT_EQ(tree.roots.size(), 1u);
    EXPECT_EQ(tree.roots[0].children[0].children[1].text, "ROUTE (0.1)");

    EXPECT_FALSE(s.openMap("0.1", "ROUTE (0.1)"));
    EXPECT_TRUE(s.mapState().loaded());
    EXPECT_EQ(s.mapState().map().identifier, "0.1");
    EXPECT_EQ(s.mapState().grid().width, 5);
    const Bitmap& picture = s.mapState().pictures().map();
    EXPECT_EQ(picture.width(), 5 * 16);
    EXPECT_EQ(picture.height(), 3 * 16);
    EXPECT_EQ(s.mapState().pictures().blockPalette().width(), 8 * 16);
    EXPECT_EQ(s.mapState().pictures().movementView().width(), 5 * 16);
    EXPECT_EQ(s.mapState().pictures().movementPalette().height(), 1024);
    EXPECT_EQ(s.romState().tilesets().tilesetNumber(1), 0);
    EXPECT_EQ(s.romState().tilesets().tilesetNumber(2), 1);
}

TEST_F(SessionFlow, AFileThatIsNoRomIsRefusedAndTheOpenRomStays) {
    Session s(m_dir.path());
    s.openRom(romPath());
    s.openMap("0.0", "t");

    std::ofstream(m_dir.file("short.gba"), std::ios::binary) << "tiny";
    std::ofstream(m_dir.file("text.gba"), std::ios::binary) << std::string(4096, 'x');
    for (const char* name : {"short.gba", "text.gba", "missing.gba"}) {
        try {
            s.openRom(m_dir.file(name));
            FAIL() << name;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
        EXPECT_TRUE(s.romState().loaded());
        EXPECT_EQ(s.rom().FileName(), romPath());
        EXPECT_TRUE(s.mapState().loaded()) << "the open map stays";
    }
}

TEST_F(SessionFlow, AGameWithoutProfileOpensWithAnEmptyListAndAWarning) {
    m_built.bytes[0xA0] = 'X';  // another title: no profile section matches
    rewriteRom();
    Session s(m_dir.path());
    s.openRom(romPath());
    EXPECT_TRUE(s.romState().loaded());
    EXPECT_FALSE(s.romState().profile().found);
    EXPECT_EQ(s.romState().bankScan().mapCount(), 0);
    ASSERT_FALSE(s.romState().warnings().empty());
    EXPECT_NE(germanText(s.romState().warnings()[0]).find("XUILLON TESTQTSE"), std::string::npos);
}

TEST_F(SessionFlow, ARefusedMapLeavesThePreviousMapOpen) {
    const auto& footer = m_built.maps.at({1, 0}).footer;
    testing::put32(m_built, footer, 100);
    testing::put32(m_built, footer + 4, 100);
    rewriteRom();
    Session s(m_dir.path());
    s.openRom(romPath());
    s.openMap("0.2", "t");
    EXPECT_THROW(s.openMap("1.0", "t"), DataError);
    EXPECT_EQ(s.mapState().map().identifier, "0.2");
    EXPECT_EQ(s.mapState().grid().width, 6);
    EXPECT_EQ(s.mapState().pictures().map().width(), 6 * 16);
}

TEST_F(SessionFlow, ABrokenTilePictureFailsCleanlyAndTheNextMapLoadsAfresh) {
    // The compressed secondary tileset: a back-reference before the start of the output.
    const auto& ts = m_built.tilesets.at(1);
    m_built.bytes[ts.tiles + 4] = 0x80;  // first item is a reference
    m_built.bytes[ts.tiles + 5] = 0x0F;
    m_built.bytes[ts.tiles + 6] = 0xFF;
    rewriteRom();
    Session s(m_dir.path());
    s.openRom(romPath());
    EXPECT_THROW(s.openMap("0.0", "t"), DataError);
    EXPECT_FALSE(s.mapState().loaded());

    m_built = buildSampleRom();
    rewriteRom();
    s.reloadRom();
    EXPECT_NO_THROW(s.openMap("0.0", "t"));
    EXPECT_EQ(s.romState().tilesets().tilesetNumber(2), 1);
}

TEST_F(SessionFlow, ReloadReadsTheProfileAgain) {
    Session s(m_dir.path());
    s.openRom(romPath());
    EXPECT_EQ(s.romState().bankScan().mapCount(), 5);
    {
        std::ofstream ini(m_dir.path() / "Ini" / "Quillon.ini");
        ini << "[QUILLON TESTQTSE]\nMapBankHeader=0x" << IntToHex(m_built.bankTable, 6)
            << "\nAnzMapNamen=0\nNamenHeader=0x" << IntToHex(m_built.nameTable, 6) << "\n";
    }
    s.reloadRom();
    EXPECT_EQ(s.romState().mapNames().size(), 1u);
    EXPECT_EQ(s.romState().bankScan().mapCount(), 5) << "maps whose name is not loaded stay listed";
    EXPECT_FALSE(s.romState().warnings().empty());
}

TEST_F(SessionFlow, LanguageSettingDecidesTheStartLanguage) {
    std::ofstream(m_dir.path() / "Ini" / "Sprachen.ini")
        << "[Deutsch]\n31=Rom Geladen! Map auswählen.\n[English]\n31=ROM loaded! Pick a map.\n";
    std::ofstream(m_dir.path() / "Ini" / "GehDaten.ini") << "[English]\n0C=Walkable\n";
    {
        Session s(m_dir.path());
        EXPECT_EQ(s.lang().current(), "Deutsch") << "default: the first language";
        EXPECT_TRUE(s.applyLanguage("English", true));
        EXPECT_EQ(s.movementNames()[0x0C], "Walkable");
        EXPECT_FALSE(s.applyLanguage("Nirgendwo", false));
    }
    Session again(m_dir.path());
    EXPECT_EQ(again.lang().current(), "English");
    EXPECT_EQ(again.lang().text(31, "x"), "ROM loaded! Pick a map.");
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

TEST(SessionWithoutDataFiles, RunsOnDefaultsAndReportsWhatIsMissing) {
    testing::TempDir dir;  // no Ini folder at all
    const romkit::BuiltRom built = testing::buildSampleRom();
    romkit::writeRomFile(dir.file("a.gba"), built);
    Session s(dir.path());
    EXPECT_FALSE(s.lang().available());
    EXPECT_EQ(s.weatherNames()[3], "03 ???");
    EXPECT_EQ(s.movementNames()[0x3F], "???");
    s.openRom(dir.file("a.gba"));
    EXPECT_TRUE(s.romState().loaded());
    EXPECT_EQ(s.romState().bankScan().mapCount(), 0);
    EXPECT_FALSE(s.romState().warnings().empty()) << "no profile for this game";
    EXPECT_EQ(openRomMapList(s.romState(), s.data(), s.settings(), s.lang()).roots.size(), 1u)
        << "the header part alone, empty";
    // The built-in bank table offset lies beyond this small ROM: a clear error, no map.
    EXPECT_THROW(s.openMap("0.0", "t"), RomIoError);
    EXPECT_FALSE(s.mapState().loaded());
    s.settings().setFlag(Settings::Flag::Grid, true);  // the first setting creates the file
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Ini" / "Quillon.ini"));
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

TEST(SessionTilesets, AFailedTilesetLoadGivesTheShownMapItsTilesetsBack) {
    using namespace romkit;
    using namespace testing;
    RomBuilder b(Family::Rse, "QUILLON TEST", "QTSE", 1 << 20);
    for (int pair = 0; pair < 2; ++pair) {
        TilesetSpec t;
        for (int tile = 0; tile < 3; ++tile) {
            t.tiles.insert(t.tiles.end(), 32, static_cast<std::uint8_t>((tile + pair) * 0x11));
        }
        t.palettes.push_back({0x0000, 0x001F, 0x03E0, 0x7C00});
        t.blocks.push_back({1, 1, 1, 1, 0, 0, 0, 0});
        t.blocks.push_back({2, 2, 2, 2, 0, 0, 0, 0});
        t.compressed = pair == 1;
        b.addTileset(t);
        b.addTileset(t);
    }
    for (int map = 0; map < 2; ++map) {
        MapSpec m;
        m.map = map;
        m.width = 4;
        m.height = 2;
        m.grid = {0, 1, 0, 1, 1, 0, 1, 0};
        m.primary = 2 * map;
        m.secondary = 2 * map + 1;
        b.addMap(m);
    }
    BuiltRom built = b.build();
    const auto& broken = built.tilesets.at(2);  // map 0.1's compressed primary tileset
    built.bytes[broken.tiles + 4] = 0x80;          // its first item: a reference
    built.bytes[broken.tiles + 5] = 0x0F;          // 4,096 bytes back: before the start
    built.bytes[broken.tiles + 6] = 0xFF;
    TempDir dir;
    writeProgramFolder(dir.path(), built);
    writeRomFile(dir.file("t.gba"), built);

    Session s(dir.path());
    s.openRom(dir.file("t.gba"));
    s.openMap("0.0", "t");
    const Bitmap shown = s.mapState().pictures().map();
    EXPECT_THROW(s.openMap("0.1", "t"), DataError);
    EXPECT_EQ(s.mapState().map().identifier, "0.0");
    s.mapState().invalidatePictures();
    EXPECT_EQ(s.mapState().pictures().map(), shown)
        << "a full redraw uses the shown map's own blocks";
    EXPECT_EQ(s.romState().tilesets().tilesetNumber(1), 0);
}

}  // namespace
}  // namespace quillon
