// The main window's menu wiring and its settings: the commands' connections, the display
// toggles (one table of items and settings), the language menu, the map list parts and the
// palette width.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "core/base/numbers.h"
#include "core/session/map_listing.h"
#include "core/session/session.h"
#include "ui/command.h"
#include "ui/events/events_tab.h"
#include "ui/header_tab.h"
#include "ui/language_texts.h"
#include "ui/main_window.h"
#include "ui/map_chooser.h"
#include "ui/map_tab.h"
#include "ui/movement_tab.h"
#include "ui/qt_text.h"

namespace quillon::ui {

void MainWindow::connectMenu() {
    const MainMenu& m = m_menu;
    connectCommand(m.Laden1, &MainWindow::Laden1Click);
    connectCommand(m.NeuLaden1, &MainWindow::NeuLaden1Click);
    connectCommand(m.Save1, &MainWindow::Save1Click);
    connectCommand(m.SaveAs1, &MainWindow::SaveAs1Click);
    connectCommand(m.Rueckgaengig1, &MainWindow::Rueckgaengig1Click);
    connectCommand(m.Wiederholen1, &MainWindow::Wiederholen1Click);
    connectCommand(m.SaveMapPic1, &MainWindow::SaveMapPic1Click);
    connectCommand(m.SaveTilesetPic1, &MainWindow::SaveTilesetPic1Click);
    connectCommand(m.SaveEventPic1, &MainWindow::SaveEventPic1Click);
    connectCommand(m.BuildEvents1, &MainWindow::BuildEvents1Click);
    connectCommand(m.Exit1, &MainWindow::Exit1Click);
    connectCommand(m.BlockPaletteBreite1, &MainWindow::BlockPaletteBreite1Click);
    connectCommand(m.Mapffnen1, &MainWindow::Mapffnen1Click);
    connectCommand(m.Readme1, &MainWindow::Readme1Click);
    connectCommand(m.Info1, &MainWindow::Info1Click);
    for (QAction* parts : {m.NurausHeader1, m.NurAusIni1}) {
        connect(parts, &QAction::triggered, this,
                commandSlot(this, *m_dialogs, [this, parts] { MapListPartsClick(parts); }));
    }
    connect(m.LetzteBank1, &QAction::triggered, this,
            commandSlot(this, *m_dialogs, [this] { LetzteBank1Click(); }));
    // A display toggle: the check is the setting; a click writes it and applies it.
    for (const SettingItem& item : settingItems()) {
        QAction* action = m.*item.action;
        const Settings::Flag flag = item.flag;
        connect(action, &QAction::triggered, this,
                commandSlot(this, *m_dialogs, [this, action, flag] {
                    m_session->settings().setFlag(flag, action->isChecked());
                    applySetting(flag, action->isChecked());
                }));
    }
}

void MainWindow::connectCommand(QAction* action, void (MainWindow::*command)()) {
    connect(action, &QAction::triggered, this, commandSlot(this, *m_dialogs, this, command));
}

void MainWindow::readSettings() {
    const Settings& s = m_session->settings();
    for (const SettingItem& item : settingItems()) {
        const bool on = s.flag(item.flag);
        (m_menu.*item.action)->setChecked(on);
        applySetting(item.flag, on);
    }
    m_menu.NurAusIni1->setChecked(s.mapListParts() == Settings::MapListParts::IniOnly);
    m_menu.NurausHeader1->setChecked(s.mapListParts() == Settings::MapListParts::HeaderOnly);
    m_menu.LetzteBank1->setChecked(s.flag(Settings::Flag::ListLastBank));
}

void MainWindow::buildLanguageMenu() {
    const LanguageTable& lang = m_session->lang();
    if (!lang.available()) {
        m_menu.Sprache1->menuAction()->setEnabled(false);
        return;
    }
    m_languages = new QActionGroup(this);
    m_languages->setExclusive(true);
    const QString current = toQ(lang.current());
    for (const std::string& name : lang.languages()) {
        QAction* item = m_menu.Sprache1->addAction(toQ(name));
        item->setObjectName(QStringLiteral("Sprache_") + toQ(name));
        item->setCheckable(true);
        item->setChecked(toQ(name) == current);
        m_languages->addAction(item);
        connect(item, &QAction::triggered, this,
                commandSlot(this, *m_dialogs, [this, item] { NameEndernClick(item->text()); }));
    }
    // The language of the last run, or the first one: applied like a choice, not stored.
    if (m_session->applyLanguage(lang.current(), false)) {
        applyLanguageTexts();
    }
}

void MainWindow::NameEndernClick(const QString& language) {
    if (m_languages != nullptr) {
        for (QAction* item : m_languages->actions()) {
            item->setChecked(item->text() == language);
        }
    }
    // A language without texts changes nothing but the stored choice.
    if (m_session->applyLanguage(toStd(language), true)) {
        applyLanguageTexts();
    }
}

void MainWindow::MapListPartsClick(QAction* clicked) {
    QAction* other = clicked == m_menu.NurausHeader1 ? m_menu.NurAusIni1 : m_menu.NurausHeader1;
    if (clicked->isChecked()) {
        other->setChecked(false);
    }
    Settings::MapListParts parts = Settings::MapListParts::Both;
    if (m_menu.NurausHeader1->isChecked()) {
        parts = Settings::MapListParts::HeaderOnly;
    } else if (m_menu.NurAusIni1->isChecked()) {
        parts = Settings::MapListParts::IniOnly;
    }
    m_session->settings().setMapListParts(parts);
    if (m_session->romState().loaded()) {
        MapsLoad();
    }
}

// The last bank's maps come and go with the check: the bank table is scanned again and the
// list rebuilt. An open map stays open.
void MainWindow::LetzteBank1Click() {
    setListLastBank(m_session->settings(), m_session->rom(), m_session->romState(),
                    m_menu.LetzteBank1->isChecked());
    if (m_session->romState().loaded()) {
        MapsLoad();
    }
}

void MainWindow::Comboboxen1Click() {
    m_chooser->setComboMode(m_session->settings().flag(Settings::Flag::ComboBoxes));
}

void MainWindow::Grid1Click() {
    m_session->mapState().invalidatePictures();
    refreshCurrentTab();
}

void MainWindow::applySetting(Settings::Flag flag, bool on) {
    using Flag = Settings::Flag;
    switch (flag) {
        case Flag::Grid:
            Grid1Click();
            break;
        case Flag::ComboBoxes:
            Comboboxen1Click();
            break;
        case Flag::MapDoubleSize:
            m_mapTab->setMapDoubled(on);
            break;
        case Flag::MovementDoubleSize:
            m_movementTab->setViewDoubled(on);
            break;
        case Flag::EventsDoubleSize:
            m_eventsTab->setDoubled(on);
            break;
        case Flag::PaletteDoubleSize:
            m_mapTab->setPaletteDoubled(on);
            break;
        case Flag::MovementPaletteDoubleSize:
            m_movementTab->setPaletteDoubled(on);
            break;
        case Flag::ShowSprites:
        case Flag::HideOtherEvents:
            // The sprite switches change what the event picture shows.
            refreshCurrentTab();
            break;
        case Flag::ShowSprite:
            break;
        case Flag::KeepHistory:
            // Read by the ROM's history at each write: nothing on screen follows it.
            break;
        case Flag::ListLastBank:
            // Read at each scan of the bank table; its own menu item rescans.
            break;
        case Flag::ShowNeighbours:
            m_mapTab->setNeighboursShown(on);
            refreshCurrentTab();
            break;
    }
}

void MainWindow::BlockPaletteBreite1Click() {
    const LanguageTable& lang = m_session->lang();
    const auto answer = m_dialogs->inputText(
        this, langText(lang, 1742, "Einstellung BlockPaletteBreite ändern"),
        langText(lang, 1743,
                 "Bitte geben sie eine neue Breite an, in welcher dieBlockPalette angezeigt "
                 "werden soll."),
        QString::number(m_session->settings().blockPaletteWidth()));
    if (!answer) {
        return;
    }
    // A text that is no number, or a width below 1, is refused with the core's message.
    runCommand(this, *m_dialogs, [&] {
        m_session->settings().setBlockPaletteWidth(StrToInt(toStd(answer->trimmed())));
        m_session->mapState().invalidatePictures();
        refreshCurrentTab();
    });
}

}  // namespace quillon::ui
