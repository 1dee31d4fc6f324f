#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/config/ini_file.h"

namespace quillon {

struct GameProfile;

// The ini data files beside the program, addressed as program folder + relative name
// ("Ini\Main.ini"; either slash works).
class DataFiles {
public:
    explicit DataFiles(std::filesystem::path programFolder);

    const std::filesystem::path& programFolder() const { return m_folder; }
    std::filesystem::path resolve(std::string_view relative) const;

    IniFile& quillon() { return m_quillon; }
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
    std::filesystem::path m_folder;
    IniFile m_quillon;
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
