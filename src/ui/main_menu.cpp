#include "ui/main_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "ui/language_texts.h"

namespace quillon::ui {

namespace {

QMenu* addSubmenu(QWidget* parent, int tag, const char* caption, const char* name) {
    auto* menu = new QMenu(QString::fromUtf8(caption), parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    setTag(menu->menuAction(), tag);
    if (auto* bar = qobject_cast<QMenuBar*>(parent)) {
        bar->addMenu(menu);
    } else {
        static_cast<QMenu*>(parent)->addMenu(menu);
    }
    return menu;
}

QAction* addItem(QMenu* menu, int tag, const char* caption, const char* name,
                 const QKeySequence& shortcut = {}, bool checkable = false) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    setTag(action, tag);
    action->setShortcut(shortcut);
    action->setCheckable(checkable);
    return action;
}

using Flag = Settings::Flag;

// In menu order: "Einstellungen" holds the first six (with "BlockPaletteBreite" after the
// second), "Darstellungsgrösse" the rest.
constexpr SettingItem kSettingItems[] = {
    {&MainMenu::Grid1, Flag::Grid, 120, "Gitter", "Grid1"},
    {&MainMenu::Comboboxen1, Flag::ComboBoxes, 121, "Comboboxen", "Comboboxen1"},
    {&MainMenu::ZeigeSprites1, Flag::ShowSprites, 123, "ZeigeSprites", "ZeigeSprites1"},
    {&MainMenu::andereausblenden1, Flag::HideOtherEvents, 124, "Andere Events ausblenden",
     "andereausblenden1"},
    {&MainMenu::VerlaufSpeichern1, Flag::KeepHistory, 128, "Verlauf speichern",
     "VerlaufSpeichern1"},
    {&MainMenu::NachbarnAnzeigen1, Flag::ShowNeighbours, 129, "Nachbarn anzeigen",
     "NachbarnAnzeigen1"},
    {&MainMenu::MapDoppelt1, Flag::MapDoubleSize, 1260, "Map Doppelt", "MapDoppelt1"},
    {&MainMenu::GehDoppelt1, Flag::MovementDoubleSize, 1261, "Geh Doppelt", "GehDoppelt1"},
    {&MainMenu::EventsDoppelt1, Flag::EventsDoubleSize, 1262, "Events Doppelt", "EventsDoppelt1"},
    {&MainMenu::BlockPaletteDoppelt1, Flag::PaletteDoubleSize, 1263, "Palette Doppelt",
     "BlockPaletteDoppelt1"},
    {&MainMenu::GehPaletteDoppelt1, Flag::MovementPaletteDoubleSize, 1264, "GehPalette Doppelt",
     "GehPaletteDoppelt1"},
};

constexpr std::size_t kSettingsMenuItems = 6;

// Adds the setting items [first, last) of the table to menu.
void addSettingItems(QMenu* menu, MainMenu& m, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) {
        const SettingItem& item = kSettingItems[i];
        m.*item.action = addItem(menu, item.tag, item.caption, item.name, {}, true);
    }
}

// Present for the user to see, but the command behind it comes later.
QAction* addLaterItem(QMenu* menu, int tag, const char* caption, const char* name,
                      const QKeySequence& shortcut = {}) {
    QAction* action = addItem(menu, tag, caption, name, shortcut);
    action->setEnabled(false);
    return action;
}

void buildFileMenu(QMenuBar* bar, MainMenu& m) {
    m.Datei1 = addSubmenu(bar, 11, "Datei", "Datei1");
    m.Laden1 = addItem(m.Datei1, 110, "Laden...", "Laden1", QKeySequence(Qt::CTRL | Qt::Key_O));
    m.NeuLaden1 = addItem(m.Datei1, 111, "Neu Laden", "NeuLaden1", QKeySequence(Qt::Key_F5));
    m.Save1 = addLaterItem(m.Datei1, 112, "Speichern", "Save1", QKeySequence(Qt::CTRL | Qt::Key_S));
    m.SaveAs1 = addLaterItem(m.Datei1, 113, "Speichern Unter...", "SaveAs1");
    m.Map1 = addSubmenu(m.Datei1, 114, "Map", "Map1");
    m.NeueMap1 = addItem(m.Map1, 1140, "Neue Map", "NeueMap1", QKeySequence(Qt::CTRL | Qt::Key_N));
    m.MapOffnen1 = addItem(m.Map1, 1141, "Map Öffnen", "MapOffnen1",
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    m.MapSpeichern1 = addItem(m.Map1, 1142, "Map Speichern", "MapSpeichern1",
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m.MapSpeichernunter1 = addItem(m.Map1, 1143, "Map Speichern unter", "MapSpeichernunter1");
    m.MapEinfugen1 = addItem(m.Map1, 1144, "Map Einfügen", "MapEinfugen1");
    m.Datei1->addSeparator();
    m.Exit1 = addItem(m.Datei1, 115, "Beenden", "Exit1");
}

// Undo and redo of the painting on the open map; the window of the ROM's write history.
void buildEditMenu(QMenuBar* bar, MainMenu& m) {
    m.Bearbeiten1 = addSubmenu(bar, 15, "Bearbeiten", "Bearbeiten1");
    m.Rueckgaengig1 = addLaterItem(m.Bearbeiten1, 150, "Rückgängig", "Rueckgaengig1",
                                   QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.Wiederholen1 = addLaterItem(m.Bearbeiten1, 151, "Wiederholen", "Wiederholen1");
    m.Wiederholen1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m.Bearbeiten1->addSeparator();
    m.Verlauf1 =
        addItem(m.Bearbeiten1, 152, "Verlauf", "Verlauf1", QKeySequence(Qt::CTRL | Qt::Key_H));
}

void buildSettingsMenu(QMenuBar* bar, MainMenu& m) {
    m.Einstellungen1 = addSubmenu(bar, 12, "Einstellungen", "Einstellungen1");
    addSettingItems(m.Einstellungen1, m, 0, 2);
    m.BlockPaletteBreite1 =
        addItem(m.Einstellungen1, 122, "BlockPaletteBreite", "BlockPaletteBreite1");
    addSettingItems(m.Einstellungen1, m, 2, kSettingsMenuItems);
    // A key of its own: Ctrl+Z is undo on every page.
    m.ZeigeSprites1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    m.Sprache1 = addSubmenu(m.Einstellungen1, 125, "Sprache", "Sprache1");
    m.Darstellungsgrsse1 =
        addSubmenu(m.Einstellungen1, 126, "Darstellungsgrösse", "Darstellungsgrsse1");
    addSettingItems(m.Darstellungsgrsse1, m, kSettingsMenuItems, std::size(kSettingItems));
    m.Darstellungsgrsse1->addSeparator();
    m.Vergroessern1 = addItem(m.Darstellungsgrsse1, 1265, "Vergrössern", "Vergroessern1");
    m.Vergroessern1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                   QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    m.Verkleinern1 = addItem(m.Darstellungsgrsse1, 1266, "Verkleinern", "Verkleinern1",
                             QKeySequence(Qt::CTRL | Qt::Key_Minus));
    m.MapAufistung1 = addSubmenu(m.Einstellungen1, 127, "Map Auflistung", "MapAufistung1");
    m.NurausHeader1 = addItem(m.MapAufistung1, 1270, "Nur aus Header", "NurausHeader1", {}, true);
    m.NurAusIni1 = addItem(m.MapAufistung1, 1271, "Nur aus Ini", "NurAusIni1", {}, true);
    m.MapAufistung1->addSeparator();
    m.LetzteBank1 =
        addItem(m.MapAufistung1, 1272, "Letzte Bank anzeigen", "LetzteBank1", {}, true);
}

void buildToolsMenu(QMenuBar* bar, MainMenu& m) {
    m.Tools1 = addSubmenu(bar, 13, "Tools", "Tools1");
    m.BlockEditor1 = addLaterItem(m.Tools1, 130, "Block Editor", "BlockEditor1");
    m.SaveMapPic1 = addLaterItem(m.Tools1, 131, "Map Bild Speichern", "SaveMapPic1");
    m.SaveTilesetPic1 =
        addLaterItem(m.Tools1, 132, "BlockPalette Bild Speichere", "SaveTilesetPic1");
    m.SaveEventPic1 = addLaterItem(m.Tools1, 133, "Event Bild Speichern", "SaveEventPic1");
    m.BuildEvents1 =
        addItem(m.Tools1, 134, "Event menge", "BuildEvents1", QKeySequence(Qt::CTRL | Qt::Key_E));
    m.Mapffnen1 =
        addItem(m.Tools1, 135, "Map öffnen", "Mapffnen1", QKeySequence(Qt::CTRL | Qt::Key_M));
    m.Anbindungen1 = addLaterItem(m.Tools1, 136, "Anbindungen", "Anbindungen1",
                                  QKeySequence(Qt::CTRL | Qt::Key_A));
    m.TabellenSuchen1 = addItem(m.Tools1, 137, "Tabellen suchen", "TabellenSuchen1");
}

void buildHelpMenu(QMenuBar* bar, MainMenu& m) {
    m.Hilfe1 = addSubmenu(bar, 14, "Hilfe", "Hilfe1");
    m.Readme1 = addItem(m.Hilfe1, 140, "Readme", "Readme1");
    m.Info1 = addItem(m.Hilfe1, 141, "Info", "Info1");
}

}  // namespace

MainMenu buildMainMenu(QMenuBar* bar) {
    MainMenu m;
    buildFileMenu(bar, m);
    buildEditMenu(bar, m);
    buildSettingsMenu(bar, m);
    buildToolsMenu(bar, m);
    buildHelpMenu(bar, m);
    setMapCommandsEnabled(m, false);
    setRomCommandsEnabled(m, false);
    return m;
}

std::span<const SettingItem> settingItems() { return kSettingItems; }

void setMapCommandsEnabled(const MainMenu& menu, bool enabled) {
    for (QAction* item :
         {menu.Grid1, menu.Save1, menu.SaveAs1, menu.SaveMapPic1, menu.SaveTilesetPic1,
          menu.SaveEventPic1, menu.BuildEvents1, menu.MapSpeichern1, menu.MapSpeichernunter1,
          menu.MapEinfugen1, menu.BlockEditor1,
          menu.Anbindungen1}) {
        item->setEnabled(enabled);
    }
}

void setRomCommandsEnabled(const MainMenu& menu, bool enabled) {
    menu.Mapffnen1->setEnabled(enabled);
    menu.Verlauf1->setEnabled(enabled);
    menu.TabellenSuchen1->setEnabled(enabled);
    // Maps of map files and new maps take the ROM's tilesets.
    for (QAction* item : {menu.Map1->menuAction(), menu.NeueMap1, menu.MapOffnen1}) {
        item->setEnabled(enabled);
    }
}

}  // namespace quillon::ui
