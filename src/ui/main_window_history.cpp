// The main window's side of the ROM's write history: the "Verlauf" window, undo and redo of
// commands that reached the ROM, and the question after a command that was interrupted.
#include <QDateTime>

#include "core/session/open_map_history.h"
#include "core/session/session.h"
#include "ui/command.h"
#include "ui/command_notifier.h"
#include "ui/connections/anbindungen_form.h"
#include "ui/history_form.h"
#include "ui/language_texts.h"
#include "ui/main_window.h"
#include "ui/map_tab.h"
#include "ui/qt_text.h"
#include "ui/wild_tab.h"

namespace quillon::ui {

namespace {

QString localTime(std::int64_t secondsSince1970) {
    return QDateTime::fromSecsSinceEpoch(secondsSince1970)
        .toLocalTime()
        .toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

}  // namespace

void MainWindow::connectHistory() {
    m_verlauf = new TVerlaufForm(*m_session, this);
    Dialogs& d = *m_dialogs;
    connect(m_verlauf, &TVerlaufForm::undoRequested, this,
            commandSlot(this, d, this, &MainWindow::undoHistory));
    connect(m_verlauf, &TVerlaufForm::redoRequested, this,
            commandSlot(this, d, this, &MainWindow::redoHistory));
    connect(m_menu.Verlauf1, &QAction::triggered, this,
            commandSlot(this, d, this, &MainWindow::Verlauf1Click));
    connect(&CommandNotifier::instance(), &CommandNotifier::commandRan, this,
            &MainWindow::showNewHistoryNotices);
}

// A command that reached the ROM may still have something to tell about its history (a sync
// that failed after the commit, a trim of the file that failed): shown once, after it.
void MainWindow::showNewHistoryNotices() {
    const std::vector<Message> notices = m_session->rom().history().notices();
    if (notices.size() < m_historyNoticesShown) {
        m_historyNoticesShown = 0;  // a new history (Speichern Unter continues on a copy)
    }
    QStringList fresh;
    for (std::size_t i = m_historyNoticesShown; i < notices.size(); ++i) {
        fresh << toQ(m_session->lang().text(notices[i]));
    }
    m_historyNoticesShown = notices.size();
    if (!fresh.isEmpty()) {
        inform(fresh.join(QLatin1Char('\n')));
    }
}

void MainWindow::Verlauf1Click() {
    m_verlauf->show();
    m_verlauf->raise();
    m_verlauf->activateWindow();
}

// Right after a ROM was opened: a command the last run could not finish is settled by the
// user (the ROM may hold part of it), and what the history has to tell is shown.
void MainWindow::settleRomHistory() {
    const std::vector<Message> opening = m_session->rom().history().notices();
    if (const auto unfinished = unfinishedTransaction(m_session->rom())) {
        const LanguageTable& lang = m_session->lang();
        const QString text =
            langText(lang, 1724,
                     "Der letzte Befehl (\"%1\", %2) wurde unterbrochen; das Rom kann einen Teil "
                     "davon enthalten.")
                .arg(toQ(lang.text(unfinished->entry.title)), localTime(unfinished->entry.time)) +
            QStringLiteral("\n\n") +
            langText(lang, 1734,
                     "\"Vollenden\" schreibt den Befehl zu Ende, \"Zurücknehmen\" stellt das Rom "
                     "wie vor dem Befehl her.");
        const int answer = m_dialogs->choose(
            this, langText(lang, "03", "Achtung"), text,
            {langText(lang, 1725, "Vollenden"), langText(lang, 1726, "Zurücknehmen")});
        if (answer == 0 || answer == 1) {
            runCommand(this, *m_dialogs, [&] { resolveUnfinished(*m_session, answer == 0); });
        } else {
            inform(langText(lang, 1727,
                            "Das Rom bleibt wie es ist; die Frage kommt beim nächsten Laden "
                            "wieder."));
        }
    }
    QStringList notices;
    for (const Message& notice : opening) {
        notices << toQ(m_session->lang().text(notice));
    }
    if (!notices.isEmpty()) {
        inform(notices.join(QLatin1Char('\n')));
    }
}

void MainWindow::undoHistory(std::uint64_t id) {
    historyStep([&] { return undoTouchesOpenMap(m_session->rom(), m_session->mapState(), id); },
                [&] {
                    return undoWithOpenMap(m_session->rom(), m_session->romState(),
                                           m_session->mapState(), m_session->data().tilesets(), id)
                        .openMapTouched;
                },
                true);
}

void MainWindow::redoHistory() {
    historyStep([&] { return redoTouchesOpenMap(m_session->rom(), m_session->mapState()); },
                [&] {
                    return redoWithOpenMap(m_session->rom(), m_session->romState(),
                                           m_session->mapState(), m_session->data().tilesets())
                        .openMapTouched;
                },
                false);
}

// A step that changes the open map in the ROM makes its copy in memory describe bytes the ROM
// no longer holds (a grid or event table moved back), so the map is read again afterwards.
// Its unsaved changes are settled before anything is written: saved as a step of their own
// (an undo then takes them back with the rest, and a redo brings them back), dropped, or the
// step waits. A save would end the list of undone steps, so before a redo they can only be
// dropped.
bool MainWindow::settleChangesBeforeStep(bool undo) {
    if (!m_session->mapState().modified()) {
        return true;
    }
    const LanguageTable& lang = m_session->lang();
    const QString caption = langText(lang, "00", "Frage");
    const QString cancel = langText(lang, 1732, "Abbrechen");
    if (undo) {
        const int answer = m_dialogs->choose(
            this, caption,
            langText(lang, 1728,
                     "Der Schritt ändert die offene Map im Rom, die ungespeicherte Änderungen "
                     "hat. Die Änderungen vorher speichern? Gespeichert werden sie mit rückgängig "
                     "gemacht und lassen sich wiederherstellen; \"Nein\" verwirft sie."),
            {langText(lang, 1729, "Ja"), langText(lang, 1730, "Nein"), cancel});
        return answer == 1 || (answer == 0 && saveMap());
    }
    const int answer = m_dialogs->choose(
        this, caption,
        langText(lang, 1731,
                 "Der Schritt ändert die offene Map im Rom, die ungespeicherte Änderungen hat. "
                 "Gespeichert nähmen sie den Schritt aus dem Verlauf. Die Änderungen verwerfen?"),
        {langText(lang, 1733, "Verwerfen"), cancel});
    return answer == 0;
}

void MainWindow::historyStep(const std::function<bool()>& touches,
                             const std::function<bool()>& step, bool undo) {
    if (!m_session->romState().loaded() || !finishInput()) {
        return;
    }
    bool touched = false;
    if (!runCommand(this, *m_dialogs, [&] { touched = touches(); }) ||
        (touched && !settleChangesBeforeStep(undo))) {
        m_verlauf->refresh();
        showEditState();
        return;
    }
    touched = false;
    runCommand(this, *m_dialogs, [&] { touched = step(); });
    if (touched && m_session->mapState().loaded()) {
        loadMap(m_identifier, m_title);
    } else {
        // The tilesets were read again: a block saved by the editor may have changed. The step
        // may also have changed the open map's connection pointer (a way back written from a
        // neighbour), a neighbour's grid or the map's wild encounters.
        refreshBlockEditor();
        runCommand(this, *m_dialogs, [this] {
            m_wildTab->showMap();
            m_anbindungen->Laden();
            m_mapTab->neighboursChanged();
            refreshCurrentTab();
        });
    }
    m_verlauf->refresh();
    showEditState();
}

}  // namespace quillon::ui
