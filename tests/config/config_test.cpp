#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/config/data_files.h"
#include "core/config/game_profile.h"
#include "core/base/ini_file.h"
#include "core/config/language_table.h"
#include "core/config/settings.h"
#include "core/errors.h"

namespace quillon {
namespace {

class ConfigFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("quillon_cfg_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir / "Ini");
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(m_dir / "Ini" / name, std::ios::binary) << text;
    }
    std::filesystem::path m_dir;
};

TEST_F(ConfigFiles, IniFollowsTheProfileFileRules) {
    write("a.ini",
          "[Second]\nz=1\n[first]\nKey =  value with blanks  \nq=\" \"\nn=0x1F\nh=$10\nbad=12x\n");
    IniFile ini(m_dir / "Ini" / "a.ini");
    EXPECT_TRUE(ini.exists());
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Second", "first"}));
    EXPECT_EQ(ini.readString("FIRST", "key", "-"), "value with blanks");
    EXPECT_EQ(ini.readString("first", "q", "-"), " ") << "quotes keep a lone space";
    EXPECT_EQ(ini.readInteger("first", "n", 0), 31);
    EXPECT_EQ(ini.readInteger("first", "h", 0), 16);
    EXPECT_EQ(ini.readInteger("first", "bad", 7), 7) << "not a number: the default";
    EXPECT_EQ(ini.readInteger("first", "missing", 9), 9);
    EXPECT_EQ(ini.keys("first").front(), "Key");

    IniFile missing(m_dir / "Ini" / "none.ini");
    EXPECT_FALSE(missing.exists());
    EXPECT_TRUE(missing.sections().empty());
    EXPECT_TRUE(missing.writeInteger("S", "k", 5)) << "the first write creates the file";
    EXPECT_EQ(IniFile(m_dir / "Ini" / "none.ini").readInteger("s", "K", 0), 5);
}

TEST_F(ConfigFiles, GarbageInAnIniFileNeverThrows) {
    std::string garbage = "\x01\x02[[[]]\n=novalue\n[ok]\nk=v\n\xff\xfe\0\0zz\n[unterminated\nk2";
    garbage.push_back('\0');
    write("g.ini", garbage);
    IniFile ini(m_dir / "Ini" / "g.ini");
    EXPECT_EQ(ini.readString("ok", "k", ""), "v");
    EXPECT_EQ(ini.readInteger("nothing", "k", 3), 3);
}

TEST_F(ConfigFiles, ProfileDefaultsAndClamps) {
    write("Quillon.ini",
          "[POKEMON FIREBPRE]\nMapBankHeader=0x3526A8\nNamenHeader=$3F1B4C\nAnzMapNamen=196\n"
          "Namenlänge=40\nTilesethoehe=99\n");
    IniFile ini(m_dir / "Ini" / "Quillon.ini");
    GameProfile p = GameProfile::read(ini, "POKEMON FIREBPRE");
    EXPECT_TRUE(p.found);
    EXPECT_EQ(p.mapBankHeader, 0x3526A8);
    EXPECT_EQ(p.mapBankHeaderText, "0x3526A8");
    EXPECT_EQ(p.mapNamesHeader, 0x3F1B4C);
    EXPECT_EQ(p.mapNameCount, 196);
    EXPECT_EQ(p.nameLength, 11) << "a name record holds at most 11 bytes";
    EXPECT_EQ(p.tilesetHeight, 64);

    GameProfile none = GameProfile::read(ini, "UNKNOWN GAME");
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.mapBankHeaderText, "$313D04");
    EXPECT_EQ(none.mapNameCount, 86);
    EXPECT_EQ(none.tilesetHeight, 32);
    EXPECT_EQ(none.mainFile, "Ini\\Main.ini");
}

TEST_F(ConfigFiles, SettingsPersistAndRefuseAZeroPaletteWidth) {
    {
        DataFiles data(m_dir);
        Settings s(data.quillon());
        EXPECT_FALSE(s.flag(Settings::Flag::Grid));
        EXPECT_TRUE(s.flag(Settings::Flag::ShowSprites));
        EXPECT_EQ(s.blockPaletteWidth(), 8);
        s.setFlag(Settings::Flag::Grid, true);
        s.setBlockPaletteWidth(12);
        EXPECT_THROW(s.setBlockPaletteWidth(0), Error);
        EXPECT_EQ(s.blockPaletteWidth(), 12);
        s.setMapListParts(Settings::MapListParts::IniOnly);
    }
    DataFiles data(m_dir);
    Settings s(data.quillon());
    EXPECT_TRUE(s.flag(Settings::Flag::Grid));
    EXPECT_EQ(s.blockPaletteWidth(), 12);
    EXPECT_EQ(s.mapListParts(), Settings::MapListParts::IniOnly);
    s.setMapListParts(Settings::MapListParts::Both);
    EXPECT_FALSE(data.quillon().hasKey("Einstellungen", "Maps")) << "neither: the key goes";

    write("Quillon.ini", "[Einstellungen]\nMaps=irgendwas\nBlockPaletteBreite=0\n");
    data.quillon().reload();
    Settings odd(data.quillon());
    EXPECT_EQ(odd.mapListParts(), Settings::MapListParts::Both);
    EXPECT_EQ(odd.blockPaletteWidth(), 8) << "a stored width of 0 would divide by zero";
}

TEST_F(ConfigFiles, DataPathsTakeEitherSlashAndNamesHaveDefaults) {
    std::filesystem::create_directories(m_dir / "Ini" / "Demo");
    std::ofstream(m_dir / "Ini" / "Demo" / "Main.ini") << "[Stadt]\n0=0.0\n";
    write("Wetter.ini", "[Deutsch]\n00=Kein Wetter\n");
    write("GehDaten.ini", "[English]\n0C=Walkable\n");
    DataFiles data(m_dir);
    GameProfile p;
    p.mainFile = "Ini\\Demo\\Main.ini";
    p.mapsFile = "Ini/Demo/Maps.ini";
    data.reopenMapFiles(p);
    EXPECT_TRUE(data.mainFile().exists());
    EXPECT_EQ(data.mainFile().readString("stadt", "0", ""), "0.0");
    EXPECT_FALSE(data.mapsFile().exists());

    auto weather = data.weatherNames("Deutsch");
    ASSERT_EQ(weather.size(), 16u);
    EXPECT_EQ(weather[0], "Kein Wetter");
    EXPECT_EQ(weather[10], "0A ???");
    auto moves = data.movementNames("English");
    ASSERT_EQ(moves.size(), 64u);
    EXPECT_EQ(moves[0x0C], "Walkable");
    EXPECT_EQ(moves[0x3F], "???");
}

TEST_F(ConfigFiles, LanguageTableFallsBackToTheGermanDefault) {
    write("Sprachen.ini", "[Deutsch]\n31=Rom Geladen! Map auswählen.\n[English]\n31=ROM loaded!\n"
                          "[Leer]\n");
    IniFile sprachen(m_dir / "Ini" / "Sprachen.ini");
    LanguageTable lang(sprachen);
    EXPECT_EQ(lang.text(31, "Standard"), "Standard") << "no language applied yet";
    EXPECT_EQ(lang.languages(), (std::vector<std::string>{"Deutsch", "English", "Leer"}));
    lang.setCurrent("English");
    EXPECT_EQ(lang.text(31, "x"), "ROM loaded!");
    EXPECT_EQ(lang.text(120, "Fehler"), "Fehler");
    EXPECT_TRUE(lang.usable("english"));
    EXPECT_FALSE(lang.usable("Leer"));
    EXPECT_FALSE(lang.usable("Klingonisch"));
}

}  // namespace
}  // namespace quillon
