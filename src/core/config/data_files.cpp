#include "core/config/data_files.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"

namespace quillon {

namespace {

std::vector<std::string> namesOf(const IniFile& ini, const std::string& section, int count,
                                 bool keySuffixDefault) {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string key = IntToHex(i, 2);
        out.push_back(ini.readString(section, key, keySuffixDefault ? key + " ???" : "???"));
    }
    return out;
}

// The file's text; "" when it cannot be read (a missing file reads as empty).
std::string shippedText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

DataFiles::DataFiles(std::filesystem::path programFolder)
    : DataFiles(placesBeside(programFolder)) {}

DataFiles::DataFiles(const ProgramPlaces& places)
    : m_places(places),
      m_folder(places.dataFolder),
      m_quillon(places.settingsFile),
      m_profiles(resolve("Ini\\Quillon.ini")),
      m_tilesets(resolve("Ini\\Tilesets.ini")),
      m_main(resolve("Ini\\Main.ini")),
      m_maps(resolve("Ini\\Maps.ini")),
      m_languages(resolve("Ini\\Sprachen.ini")),
      m_taskData(resolve("Ini\\AufgabenDaten.ini")),
      m_weather(resolve("Ini\\Wetter.ini")),
      m_types(resolve("Ini\\Typ.ini")),
      m_movementData(resolve("Ini\\GehDaten.ini")) {
    if (!m_quillon.exists() && m_quillon.path() != m_profiles.path()) {
        m_quillon.startFrom(settingsSectionsOf(shippedText(m_profiles.path())));
    }
}

std::filesystem::path DataFiles::resolve(std::string_view relative) const {
    std::string rel(relative);
    std::replace(rel.begin(), rel.end(), '\\', '/');
    while (!rel.empty() && rel.front() == '/') {
        rel.erase(rel.begin());
    }
    return m_folder / std::filesystem::path(rel);
}

void DataFiles::setUserFolder(std::filesystem::path folder) {
    m_userFolder = std::move(folder);
    m_userProfiles = m_userFolder.empty() ? IniFile() : IniFile(userProfilesPath());
}

std::filesystem::path DataFiles::userProfilesPath() const {
    return m_userFolder.empty() ? std::filesystem::path() : m_userFolder / kUserProfilesFile;
}

ProfileSource DataFiles::profileFor(const std::string& title, int revision) {
    m_profiles.reload();
    if (m_quillon.path() == m_profiles.path()) {
        // One file beside the program: the settings see what the file holds now, too.
        m_quillon.reload();
    }
    if (!m_userFolder.empty()) {
        m_userProfiles.reload();
    }
    return chooseProfile(m_profiles, m_userProfiles, title, revision);
}

void DataFiles::reopenMapFiles(const GameProfile& profile) {
    m_main = IniFile(resolve(profile.mainFile));
    m_maps = IniFile(resolve(profile.mapsFile));
}

IniFile DataFiles::openCharTable(const GameProfile& profile) const {
    return IniFile(resolve("Ini\\" + profile.table));
}

std::vector<std::string> DataFiles::weatherNames(const std::string& language) const {
    return namesOf(m_weather, language, 16, true);
}

std::vector<std::string> DataFiles::typeNames(const std::string& language) const {
    return namesOf(m_types, language, 16, true);
}

std::vector<std::string> DataFiles::movementNames(const std::string& language) const {
    return namesOf(m_movementData, language, 64, false);
}

}  // namespace quillon
