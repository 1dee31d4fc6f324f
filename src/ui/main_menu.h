#pragma once

#include <span>

#include "core/config/settings.h"

class QAction;
class QMenu;
class QMenuBar;

namespace quillon::ui {

// The main window's menu items, named as the controls they stand for. Each carries its text
// number as the property "tag" and its German caption. Commands that do not exist yet are
// present and disabled.
struct MainMenu {
    QMenu* Datei1 = nullptr;
    QAction* Laden1 = nullptr;
    QAction* NeuLaden1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QMenu* Map1 = nullptr;
    QAction* NeueMap1 = nullptr;
    QAction* MapOffnen1 = nullptr;
    QAction* MapSpeichern1 = nullptr;
    QAction* MapSpeichernunter1 = nullptr;
    QAction* MapEinfugen1 = nullptr;
    QAction* Exit1 = nullptr;

    QMenu* Bearbeiten1 = nullptr;
    QAction* Rueckgaengig1 = nullptr;
    QAction* Wiederholen1 = nullptr;
    QAction* Verlauf1 = nullptr;

    QMenu* Einstellungen1 = nullptr;
    QAction* Grid1 = nullptr;
    QAction* Comboboxen1 = nullptr;
    QAction* BlockPaletteBreite1 = nullptr;
    QAction* ZeigeSprites1 = nullptr;
    QAction* andereausblenden1 = nullptr;
    QAction* VerlaufSpeichern1 = nullptr;
    QAction* NachbarnAnzeigen1 = nullptr;
    QMenu* Sprache1 = nullptr;
    QMenu* Darstellungsgrsse1 = nullptr;
    QAction* MapDoppelt1 = nullptr;
    QAction* GehDoppelt1 = nullptr;
    QAction* EventsDoppelt1 = nullptr;
    QAction* BlockPaletteDoppelt1 = nullptr;
    QAction* GehPaletteDoppelt1 = nullptr;
    // Zoom of the Map tab's map or block palette (the one the pointer was over last).
    QAction* Vergroessern1 = nullptr;
    QAction* Verkleinern1 = nullptr;
    QMenu* MapAufistung1 = nullptr;
    QAction* NurausHeader1 = nullptr;
    QAction* NurAusIni1 = nullptr;
    QAction* LetzteBank1 = nullptr;

    QMenu* Tools1 = nullptr;
    QAction* BlockEditor1 = nullptr;
    QAction* SaveMapPic1 = nullptr;
    QAction* SaveTilesetPic1 = nullptr;
    QAction* SaveEventPic1 = nullptr;
    QAction* BuildEvents1 = nullptr;
    QAction* Mapffnen1 = nullptr;
    QAction* Anbindungen1 = nullptr;
    QAction* TabellenSuchen1 = nullptr;

    QMenu* Hilfe1 = nullptr;
    QAction* Readme1 = nullptr;
    QAction* Info1 = nullptr;
};

// A checkable menu item that shows and switches one display setting. The same rows build
// the items and tie them to their settings.
struct SettingItem {
    QAction* MainMenu::*action;
    Settings::Flag flag;
    int tag;  // text number
    const char* caption;
    const char* name;
};
std::span<const SettingItem> settingItems();

// Fills the menu bar. Nothing is connected; the checks start cleared.
MainMenu buildMainMenu(QMenuBar* bar);

// The items a map must be open for ("Gitter", saving, "Map Speichern", "Map Einfügen",
// picture export, "Event menge", "Block Editor"), enabled or disabled together. Undo and redo
// follow the edit history instead.
void setMapCommandsEnabled(const MainMenu& menu, bool enabled);
// The items a ROM must be open for ("Map öffnen", "Verlauf", "Tabellen suchen", the submenu
// "Map" with "Neue Map" and "Map Öffnen").
void setRomCommandsEnabled(const MainMenu& menu, bool enabled);

}  // namespace quillon::ui
