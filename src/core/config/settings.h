#pragma once

#include <string>

namespace quillon {

class IniFile;

// The user's settings: section "Einstellungen" of Quillon.ini, booleans as 1/0. Read once at
// start; every setter writes its key at once.
class Settings {
public:
    enum class Flag {
        // In the order of their keys: Gitter, Comboboxen, MapDoppelt, GehDoppelt,
        // EventsDoppelt, PaletteDoppelt, GehPaletteDoppelt, ZeigeSprites,
        // AndereEventsAusblenden, ShowSprite, VerlaufSpeichern, NachbarnAnzeigen,
        // LetzteBankAnzeigen.
        Grid,
        ComboBoxes,
        MapDoubleSize,
        MovementDoubleSize,
        EventsDoubleSize,
        PaletteDoubleSize,
        MovementPaletteDoubleSize,
        ShowSprites,
        HideOtherEvents,
        ShowSprite,
        // The ROM's write history is kept in a file beside it.
        KeepHistory,
        // The maps connected at the four edges are drawn around the map on the Map tab.
        ShowNeighbours,
        // The map list shows the last bank of the bank table too, its map table read up to the
        // first entry that is not a pointer to a map header.
        ListLastBank,
    };
    enum class MapListParts { Both, HeaderOnly, IniOnly };

    explicit Settings(IniFile& quillonIni);

    // Off: changes hold for this run only and nothing is written (the command-line tool).
    void setPersistent(bool persistent) { m_persistent = persistent; }

    bool flag(Flag f) const;
    void setFlag(Flag f, bool value);

    int blockPaletteWidth() const { return m_blockPaletteWidth; }
    // Throws quillon::Error for a width below 1: the width divides block numbers.
    void setBlockPaletteWidth(int width);

    MapListParts mapListParts() const;
    void setMapListParts(MapListParts parts);

    // Bounds of the history file: VerlaufMaxMB (MiB) and VerlaufMaxEintraege (transactions).
    int historyMaxMB() const { return m_historyMaxMB; }
    int historyMaxEntries() const { return m_historyMaxEntries; }

    std::string language() const;
    void setLanguage(const std::string& language);
    // What the window remembers between runs (section "Fenster": size and place, splitters,
    // folders, zoom), as text only the window reads; "" when nothing is kept. A value equal to
    // the kept one is not written again.
    std::string windowValue(const std::string& key) const;
    void setWindowValue(const std::string& key, const std::string& value);

    static const char* keyOf(Flag f);

private:
    IniFile* m_ini;
    bool m_flags[13] = {};
    int m_blockPaletteWidth = 8;
    bool m_persistent = true;
    int m_historyMaxMB = 64;
    int m_historyMaxEntries = 10000;
};

}  // namespace quillon
