// The main window's side of "Tabellen suchen": the table search on the open ROM (the whole
// image in memory; well under a second even for 32 MiB, so a wait cursor is all it shows),
// its verdict per table, and on the user's word the section stored in the user's profile file
// and the ROM loaded again with it.
#include <QStandardPaths>

#include "core/session/session.h"
#include "core/tables/table_finder.h"
#include "ui/command.h"
#include "ui/language_texts.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

namespace quillon::ui {

namespace {

// One line per table, then the section that would be stored.
QString verdicts(const tables::FoundProfile& found, const LanguageTable& lang) {
    QString text;
    for (const tables::FoundTable& table : found.tables) {
        text += toQ(lang.text(tables::describe(table))) + QLatin1Char('\n');
    }
    return text + QLatin1Char('\n') + toQ(found.iniText());
}

}  // namespace

void MainWindow::connectTables() {
    // Profiles found before live in the user's data folder and are read over the shipped ones.
    if (m_session->data().userFolder().empty()) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (!folder.isEmpty()) {
            m_session->data().setUserFolder(toPath(folder));
        }
    }
    connect(m_menu.TabellenSuchen1, &QAction::triggered, this,
            commandSlot(this, *m_dialogs, this, &MainWindow::TabellenSuchen1Click));
}

void MainWindow::offerTableSearch() {
    if (!m_session->romState().loaded()) {
        return;
    }
    const LanguageTable& lang = m_session->lang();
    QString question;
    if (!m_session->romState().profile().found) {
        question = langText(lang, 1383,
                            "Für dieses Rom gibt es kein Profil. Soll Quillon seine Tabellen "
                            "suchen?");
    } else if (!m_session->romState().tableFailures().empty()) {
        question = langText(lang, 1384,
                            "Tabellen dieses Roms passen nicht zum Profil. Soll Quillon sie "
                            "suchen?");
    } else {
        return;
    }
    if (m_dialogs->confirm(this, langText(lang, 1380, "Tabellen suchen"), question)) {
        runCommand(this, *m_dialogs, [this] { TabellenSuchen1Click(); });
    }
}

void MainWindow::TabellenSuchen1Click() {
    if (!m_session->romState().loaded() || !finishInput()) {
        return;
    }
    tables::FoundProfile found;
    {
        const WaitCursor wait;
        found = tables::findTables(m_session->rom());
    }
    const LanguageTable& lang = m_session->lang();
    const QString caption = langText(lang, 1380, "Tabellen suchen");
    if (!found.banksFound()) {
        m_dialogs->inform(this, caption,
                          verdicts(found, lang) + QLatin1Char('\n') +
                              langText(lang, 1382,
                                       "Ohne Bank-Tabelle wird kein Profil "
                                       "gespeichert."));
        return;
    }
    const QString question = langText(lang, 1381,
                                      "Als Profil dieses Roms speichern und das Rom "
                                      "neu laden?");
    if (!m_dialogs->confirm(this, caption, verdicts(found, lang) + QLatin1Char('\n') + question) ||
        !saveChangesFirst()) {
        return;
    }
    tables::storeFoundProfile(found, m_session->data().userProfilesPath());
    if (runCommand(this, *m_dialogs, [this] {
            m_session->reloadRom();
            m_historyNoticesShown =
                m_session->rom().history().notices().size();  // settleRomHistory
        })) {
        romOpened();
    }
    setRomCommandsEnabled(m_menu, m_session->romState().loaded());
}

}  // namespace quillon::ui
