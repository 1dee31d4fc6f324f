#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/ini_file.h"
#include "core/config/program_places.h"
#include "core/config/user_profiles.h"

namespace quillon {

struct GameProfile;

// The shipped ini data files, addressed as data folder + relative name ("Ini\Main.ini"; either
// slash works), and the user's settings file.
class DataFiles {
public:
    // Everything beside the program (placesBeside).
    explicit DataFiles(std::filesystem::path programFolder);
    // The shipped files from places.dataFolder; the settings from places.settingsFile, which
    // starts from the shipped file's settings while it does not exist.
    explicit DataFiles(const ProgramPlaces& places);

    // The folder of the shipped files (Ini/, README.md).
    const std::filesystem::path& programFolder() const { return m_folder; }
    const ProgramPlaces& places() const { return m_places; }
    std::filesystem::path resolve(std::string_view relative) const;

    // The settings file (Quillon.ini beside the program, else the user's).
    IniFile& quillon() { return m_quillon; }

    // The user's data folder (none unless set): the profiles a table search stored live
    // there, in kUserProfilesFile, and are read over the shipped ones.
    void setUserFolder(std::filesystem::path folder);
    const std::filesystem::path& userFolder() const { return m_userFolder; }
    // The user's profile file; empty without a user folder.
    std::filesystem::path userProfilesPath() const;
    // Both profile files read again from disk, and the file and section that serve a ROM of
    // title and revision (see chooseProfile).
    ProfileSource profileFor(const std::string& title, int revision);
    const IniFile& tilesets() const { return m_tilesets; }
    const IniFile& mainFile() const { return m_main; }
    const IniFile& mapsFile() const { return m_maps; }
    const IniFile& languages() const { return m_languages; }
    const IniFile& taskData() const { return m_taskData; }

    // Map group and map name files named by the profile; replaced at every ROM open.
    void reopenMapFiles(const GameProfile& profile);
    // The character table file "Ini\" + profile key "Table", read at every ROM open.
    IniFile openCharTable(const GameProfile& profile) const;

    // Sixteen names, keys "00".."0F" of the language's section; default "<key> ???".
    std::vector<std::string> weatherNames(const std::string& language) const;
    std::vector<std::string> typeNames(const std::string& language) const;
    // 64 movement value names, keys "00".."3F"; default "???".
    std::vector<std::string> movementNames(const std::string& language) const;

private:
    ProgramPlaces m_places;
    std::filesystem::path m_folder;
    IniFile m_quillon;
    IniFile m_profiles;  // the shipped Quillon.ini: the game profiles
    std::filesystem::path m_userFolder;
    IniFile m_userProfiles;
    IniFile m_tilesets;
    IniFile m_main;
    IniFile m_maps;
    IniFile m_languages;
    IniFile m_taskData;
    IniFile m_weather;
    IniFile m_types;
    IniFile m_movementData;
};

}  // namespace quillon
