#pragma once

#include <string>

namespace quillon {

class IniFile;

// The user's settings: section "Einstellungen" of Quillon.ini, booleans as 1/0. Read once at
// start; every setter writes its key at once.
class Settings {
public:
    enum class Flag {
        Gitter,
        Comboboxen,
        MapDoppelt,
        GehDoppelt,
        EventsDoppelt,
        PaletteDoppelt,
        GehPaletteDoppelt,
        ZeigeSprites,
        AndereEventsAusblenden,
        ShowSprite,
    };
    enum class MapListParts { Both, HeaderOnly, IniOnly };

    explicit Settings(IniFile& quillonIni);

    // Off: changes hold for this run only and nothing is written (the command-line tool).
    void setPersistent(bool persistent) { m_persistent = persistent; }

    bool flag(Flag f) const;
    void setFlag(Flag f, bool value);

    int blockPaletteBreite() const { return m_blockPaletteBreite; }
    // Throws quillon::Error for a width below 1: the width divides block numbers.
    void setBlockPaletteBreite(int width);

    MapListParts mapListParts() const;
    void setMapListParts(MapListParts parts);

    std::string sprache() const;
    void setSprache(const std::string& language);

    static const char* keyOf(Flag f);

private:
    IniFile* m_ini;
    bool m_flags[10] = {};
    int m_blockPaletteBreite = 8;
    bool m_persistent = true;
};

}  // namespace quillon
