#include "core/config/program_places.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/config/data_files.h"
#include "core/config/settings.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

void writeText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string readText(const fs::path& file) {
    const auto bytes = testing::fileBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

// One tree for every case: a build folder (build/bin/Ini), an installed prefix
// (usr/bin, usr/share/quillon/Ini), a bare folder, and a home folder.
TEST(ProgramPlaces, ChoosesBesideTheProgramOrTheSharedAndUserFolders) {
    testing::TempDir root;
    const fs::path build = root.file("build/bin");
    const fs::path prefix = root.file("usr");
    fs::create_directories(build / "Ini");
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share/quillon/Ini");
    fs::create_directories(root.file("bare"));
    const std::string home = root.file("home").string();
    const std::string xdg = root.file("xdg").string();
    const fs::path shared = prefix / "share/quillon";

    struct Case {
        const char* name;
        PlacesInput input;
        bool beside;
        fs::path data;
        fs::path settings;
    };
    const Case cases[] = {
        {"build folder", {build, true, home, xdg}, true, build, build / "Ini/Quillon.ini"},
        {"build folder, no home", {build, true, "", ""}, true, build, build / "Ini/Quillon.ini"},
        {"installed, XDG_CONFIG_HOME set", {prefix / "bin", false, home, xdg}, false, shared,
         fs::path(xdg) / "quillon/Quillon.ini"},
        {"installed, XDG_CONFIG_HOME unset", {prefix / "bin", false, home, ""}, false, shared,
         fs::path(home) / ".config/quillon/Quillon.ini"},
        {"installed, relative XDG_CONFIG_HOME is ignored", {prefix / "bin", false, home, "cfg"},
         false, shared, fs::path(home) / ".config/quillon/Quillon.ini"},
        // Root may write /usr/bin: without Ini/ there it is still an installed program.
        {"installed, bin writable", {prefix / "bin", true, home, ""}, false, shared,
         fs::path(home) / ".config/quillon/Quillon.ini"},
        {"read-only build folder", {build, false, home, ""}, false, build,
         fs::path(home) / ".config/quillon/Quillon.ini"},
        {"no data files anywhere, no home", {root.file("bare"), false, "", ""}, false,
         root.file("bare"), {}},
        {"no data files, no home, XDG only", {root.file("bare"), true, "", xdg}, false,
         root.file("bare"), fs::path(xdg) / "quillon/Quillon.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramPlaces places = choosePlaces(c.input);
        EXPECT_EQ(places.besideProgram, c.beside);
        EXPECT_EQ(places.dataFolder, c.data);
        EXPECT_EQ(places.settingsFile, c.settings);
        // New maps go beside the program only where the settings do.
        EXPECT_EQ(places.mapsFolder, c.beside ? c.data : fs::path());
        EXPECT_EQ(places.shippedSettings(), c.data / "Ini/Quillon.ini");
    }
}

constexpr const char* kShipped =
    "[GAME TITLEABCE]\nMapBankHeader=0x170\n\n"
    "; User settings; the program writes them here at run time.\n"
    "[Einstellungen]\nSprache=English\nGitter=1\n\n[Fenster]\nZoom=2\n";

// Installed: the settings start from the shipped file's settings sections, every write goes to
// the user's file, and the shipped file never changes; the profiles stay the shipped ones.
TEST(ProgramPlaces, SettingsStartFromTheShippedFileAndAreWrittenToTheUsersFile) {
    testing::TempDir root;
    ProgramPlaces places;
    places.dataFolder = root.file("share/quillon");
    places.settingsFile = root.file("config/quillon/Quillon.ini");
    writeText(places.shippedSettings(), kShipped);
    const auto shippedBefore = testing::fileBytes(places.shippedSettings());

    DataFiles data(places);
    Settings settings(data.quillon());
    EXPECT_EQ(settings.language(), "English");
    EXPECT_TRUE(settings.flag(Settings::Flag::Grid));
    EXPECT_FALSE(fs::exists(places.settingsFile)) << "reading writes nothing";

    settings.setFlag(Settings::Flag::Grid, false);
    EXPECT_EQ(testing::fileBytes(places.shippedSettings()), shippedBefore);
    EXPECT_EQ(readText(places.settingsFile),
              "[Einstellungen]\nSprache=English\nGitter=0\n\n[Fenster]\nZoom=2\n");

    // A game profile in the user's settings file is not read: profiles come from the shipped
    // file (and the user's Profile.ini), so a newer release's profiles are never hidden.
    writeText(places.settingsFile, "[GAME TITLEABCE]\nMapBankHeader=0x999\n[Einstellungen]\n");
    DataFiles again(places);
    const ProfileSource source = again.profileFor("GAME TITLEABCE", 0);
    ASSERT_NE(source.file, nullptr);
    EXPECT_EQ(source.file->path(), places.shippedSettings());
    EXPECT_EQ(source.file->readString("GAME TITLEABCE", "MapBankHeader", ""), "0x170");
    EXPECT_EQ(Settings(again.quillon()).language(), "") << "the user's file wins as a whole";
}

TEST(ProgramPlaces, WithoutAPlaceForSettingsTheyHoldForTheRunOnly) {
    testing::TempDir root;
    ProgramPlaces places;
    places.dataFolder = root.path();
    writeText(places.shippedSettings(), kShipped);
    const auto before = testing::fileBytes(places.shippedSettings());
    DataFiles data(places);
    Settings settings(data.quillon());
    settings.setLanguage("Deutsch");
    EXPECT_EQ(settings.language(), "Deutsch");
    EXPECT_EQ(testing::fileBytes(places.shippedSettings()), before);
}

// Beside the program the one Quillon.ini holds profiles and settings, as it always did.
TEST(ProgramPlaces, BesideTheProgramTheShippedFileTakesTheSettings) {
    testing::TempDir root;
    const ProgramPlaces places = placesBeside(root.path());
    writeText(places.shippedSettings(), kShipped);
    DataFiles data(places);
    Settings(data.quillon()).setLanguage("Deutsch");
    const std::string text = readText(places.shippedSettings());
    EXPECT_NE(text.find("MapBankHeader=0x170"), std::string::npos);
    EXPECT_NE(text.find("Sprache=Deutsch"), std::string::npos);
}

}  // namespace
}  // namespace quillon
