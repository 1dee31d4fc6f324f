#include <gtest/gtest.h>

#include <fstream>

#include "core/config/game_profile.h"
#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/map/map_loader.h"
#include "tests/map/sample_rom.h"

namespace quillon {
namespace {

using romkit::BuiltRom;
using testing::buildSampleRom;

class MapLoader : public ::testing::Test {
protected:
    void SetUp() override {
        m_built = buildSampleRom();
        m_profile.mapBankHeaderText = "0x" + std::to_string(0);  // replaced below
        m_profile.mapBankHeaderText = "$" + IntToHex(m_built.bankTable, 6);
        m_profile.tilesetHeader = static_cast<std::int32_t>(m_built.tilesetHeaders);
    }
    LoadedMap load(const std::string& id, const IniFile& maps) {
        TRom rom;
        m_built.attachTo(rom);
        return readMap(rom, m_profile, maps, id, "title", CurrentMap{});
    }
    LoadedMap load(const std::string& id) { return load(id, m_noMaps); }

    BuiltRom m_built;
    GameProfile m_profile;
    IniFile m_noMaps;
};

TEST_F(MapLoader, HeaderPathReadsHeaderFooterBorderAndGrid) {
    LoadedMap m = load("1.1");
    const auto& offsets = m_built.maps.at({1, 1});
    EXPECT_EQ(m.map.bank, 1);
    EXPECT_EQ(m.map.map, 1);
    EXPECT_EQ(m.map.headerOffset, offsets.header);
    EXPECT_EQ(m.map.footerOffset, offsets.footer);
    EXPECT_EQ(m.map.gridOffset, offsets.grid);
    EXPECT_EQ(m.map.eventsOffset, offsets.events);
    EXPECT_EQ(m.map.header.music(), 0x012C);
    EXPECT_EQ(m.map.header.weather(), 2);
    EXPECT_EQ(m.map.header.type(), 3);
    EXPECT_TRUE(m.map.header.showName(ShowNameBits::forGame("QTS", false)))
        << "any non-zero byte shows the name";
    EXPECT_EQ(m.grid.width, 5);
    EXPECT_EQ(m.grid.height, 4);
    EXPECT_EQ(m.grid.at(2, 1).block(), 7);
    EXPECT_EQ(m.grid.at(2, 1).movement(), 2);
    EXPECT_EQ(m.map.tileset1, 0);
    EXPECT_EQ(m.map.tileset2, 1);
    EXPECT_FALSE(m.notice);
}

TEST_F(MapLoader, WidthAndHeightKeepTheirLow16Bits) {
    const auto& offsets = m_built.maps.at({0, 0});
    testing::put32(m_built, offsets.footer, 0x00010004);  // width 4 with a stray high word
    LoadedMap m = load("0.0");
    EXPECT_EQ(m.grid.width, 4);
}

TEST_F(MapLoader, AGridLargerThanTheEditorHoldsIsRefused) {
    const auto& offsets = m_built.maps.at({0, 0});
    testing::put32(m_built, offsets.footer, 90);
    testing::put32(m_built, offsets.footer + 4, 90);  // 8100 cells
    EXPECT_THROW(load("0.0"), DataError);
    testing::put32(m_built, offsets.footer, 89);
    testing::put32(m_built, offsets.footer + 4, 89);  // 7921 cells fit, but the grid is short
    EXPECT_NO_THROW({
        try {
            load("0.0");
        } catch (const RomIoError&) {
        }
    });
}

TEST_F(MapLoader, AGridInTheCartridgeHeaderIsRefused) {
    // Saving such a map would write the grid over the cartridge header.
    const auto& offsets = m_built.maps.at({0, 0});
    for (std::uint32_t pointer : {0x08000000u, 0x08000004u, 0x080000BEu}) {
        testing::put32(m_built, offsets.footer + 12, pointer);
        try {
            load("0.0");
            FAIL() << std::hex << pointer;
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find("Block-Grid"), std::string::npos) << e.what();
        }
    }
    testing::put32(m_built, offsets.footer + 12, 0x080000C0u);
    EXPECT_EQ(load("0.0").map.gridOffset, 0xC0u) << "right behind the header is allowed";
}

TEST_F(MapLoader, FooterOnlyPathAndItsNotice) {
    testing::TempDir dir;
    std::ofstream(dir.file("Maps.ini"))
        << "[Geheim]\nQUILLON TESTQTSE=" << m_built.maps.at({0, 2}).footer
        << "\n[0.1]\nQUILLON TESTQTSE=$" << IntToHex(m_built.maps.at({0, 0}).footer, 6)
        << "\n[Leer]\nName=x\n";
    IniFile maps(dir.file("Maps.ini"));

    LoadedMap m = load("Geheim", maps);
    EXPECT_EQ(m.map.bank, 255);
    EXPECT_EQ(m.map.headerOffset, 0u);
    EXPECT_EQ(m.map.eventsOffset, 0u);
    EXPECT_EQ(m.grid.width, 6);

    m = load("0.1", maps);  // a point, but an offset for this game: footer only
    EXPECT_EQ(m.map.bank, 255);
    EXPECT_EQ(m.grid.width, 4);

    m = load("Leer", maps);
    ASSERT_TRUE(m.notice);
    EXPECT_EQ(germanText(*m.notice),
              "Offset der Map \"Leer\" ist für Spiel \"QUILLON TESTQTSE\" nicht definiert!");
    EXPECT_EQ(m.grid.cellCount(), 1);
    EXPECT_FALSE(m.map.hasFooter()) << "a placeholder map has no grid that could be saved";
}

TEST_F(MapLoader, BadNumbersAndPointersAbortTheLoad) {
    m_profile.mapBankHeaderText = "zz";
    EXPECT_THROW(load("0.0"), ConversionError);
    m_profile.mapBankHeaderText = "$" + IntToHex(m_built.bankTable, 6);
    EXPECT_THROW(load("0.x"), ConversionError);
    EXPECT_THROW(load("0.99"), RomIoError) << "past the bank's table: garbage pointer";

    testing::put32(m_built, m_built.mapTables[0], 0x08FFFFF0u);
    EXPECT_THROW(load("0.0"), RomIoError);
}

}  // namespace
}  // namespace quillon
