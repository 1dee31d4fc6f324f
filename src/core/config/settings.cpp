#include "core/config/settings.h"

#include "core/base/ini_file.h"
#include "core/errors.h"

#include <iterator>

namespace quillon {

namespace {

constexpr const char* kSection = "Einstellungen";

struct FlagInfo {
    const char* key;
    bool def;
};

constexpr FlagInfo kFlags[] = {
    {"Gitter", false},         {"Comboboxen", false},        {"MapDoppelt", false},
    {"GehDoppelt", false},     {"EventsDoppelt", false},     {"PaletteDoppelt", false},
    {"GehPaletteDoppelt", false}, {"ZeigeSprites", true},    {"AndereEventsAusblenden", true},
    {"ShowSprite", true},         {"VerlaufSpeichern", true},   {"NachbarnAnzeigen", false},
    {"LetzteBankAnzeigen", false},
};

}  // namespace

Settings::Settings(IniFile& ini) : m_ini(&ini) {
    for (int i = 0; i < static_cast<int>(std::size(kFlags)); ++i) {
        m_flags[i] = ini.readBool(kSection, kFlags[i].key, kFlags[i].def);
    }
    int width = ini.readInteger(kSection, "BlockPaletteBreite", 8);
    m_blockPaletteWidth = width >= 1 && width <= 1025 ? width : 8;
    const int mb = ini.readInteger(kSection, "VerlaufMaxMB", 64);
    m_historyMaxMB = mb >= 1 && mb <= 4096 ? mb : 64;
    const int entries = ini.readInteger(kSection, "VerlaufMaxEintraege", 10000);
    m_historyMaxEntries = entries >= 1 ? entries : 10000;
}

const char* Settings::keyOf(Flag f) { return kFlags[static_cast<int>(f)].key; }

bool Settings::flag(Flag f) const { return m_flags[static_cast<int>(f)]; }

void Settings::setFlag(Flag f, bool value) {
    m_flags[static_cast<int>(f)] = value;
    if (m_persistent) {
        m_ini->writeBool(kSection, keyOf(f), value);
    }
}

void Settings::setBlockPaletteWidth(int width) {
    if (width < 1 || width > 1025) {
        throw Error(message("settings.palette_width"));
    }
    m_blockPaletteWidth = width;
    if (m_persistent) {
        m_ini->writeInteger(kSection, "BlockPaletteBreite", width);
    }
}

Settings::MapListParts Settings::mapListParts() const {
    std::string v = m_ini->readString(kSection, "Maps", "");
    if (v == "NurAusIni") {
        return MapListParts::IniOnly;
    }
    if (v == "NurausHeader") {
        return MapListParts::HeaderOnly;
    }
    return MapListParts::Both;
}

void Settings::setMapListParts(MapListParts parts) {
    switch (parts) {
        case MapListParts::IniOnly:
            m_ini->writeString(kSection, "Maps", "NurAusIni");
            break;
        case MapListParts::HeaderOnly:
            m_ini->writeString(kSection, "Maps", "NurausHeader");
            break;
        case MapListParts::Both:
            m_ini->deleteKey(kSection, "Maps");
            break;
    }
}

std::string Settings::windowValue(const std::string& key) const {
    return m_ini->readString("Fenster", key, "");
}

void Settings::setWindowValue(const std::string& key, const std::string& value) {
    if (m_persistent && windowValue(key) != value) {
        m_ini->writeString("Fenster", key, value);
    }
}

std::string Settings::language() const { return m_ini->readString(kSection, "Sprache", ""); }

void Settings::setLanguage(const std::string& language) {
    m_ini->writeString(kSection, "Sprache", language);
}

}  // namespace quillon
