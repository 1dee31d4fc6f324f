#pragma once

#include <filesystem>
#include <string>

namespace quillon {

// What the places of the program's files are decided from: the executable's folder, whether
// the user may write there, and the user's environment ("" for a variable that is not set).
struct PlacesInput {
    std::filesystem::path programFolder;
    bool programFolderWritable = false;
    std::filesystem::path home;           // $HOME (Windows: %USERPROFILE%)
    std::filesystem::path xdgConfigHome;  // $XDG_CONFIG_HOME (Windows: %APPDATA%)
};

// Where the program reads its shipped files and where it writes its own.
struct ProgramPlaces {
    // The program folder holds Ini/ and may be written (a build folder): everything stays
    // beside the program, as a program unpacked into a folder of its own expects.
    bool besideProgram = false;
    // Holds the shipped Ini/ folder, README.md and LICENSE; only read.
    std::filesystem::path dataFolder;
    // The settings file the program reads and writes; empty when there is no place for it
    // (no home folder): settings then hold for the run only.
    std::filesystem::path settingsFile;
    // Where new map files go first ("Maps" inside it); empty: the user's data folder.
    std::filesystem::path mapsFolder;

    std::filesystem::path shippedSettings() const { return dataFolder / "Ini" / "Quillon.ini"; }
};

// Beside the program when its folder holds Ini/ and is writable. Otherwise the shipped files
// are read from ../share/quillon (when it holds Ini/; else from the program folder) and the
// settings go to $XDG_CONFIG_HOME/quillon/Quillon.ini ($XDG_CONFIG_HOME only when absolute,
// else ~/.config; on Windows %APPDATA%\quillon\Quillon.ini).
ProgramPlaces choosePlaces(const PlacesInput& input);
// Everything beside folder: the places of a build folder, and of the tests.
ProgramPlaces placesBeside(const std::filesystem::path& folder);

// The input for the running program: its folder, its write access and the environment.
PlacesInput placesInputFor(const std::filesystem::path& programFolder);

// The start of a new settings file: the settings sections of the shipped Quillon.ini
// ("Einstellungen", "Fenster"), without the game profiles, which are always read from the
// shipped file so that a newer release's profiles are never hidden.
std::string settingsSectionsOf(const std::string& shippedText);

}  // namespace quillon
