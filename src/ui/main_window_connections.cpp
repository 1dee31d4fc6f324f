// The main window's side of the window "Anbindungen": the menu item, a neighbour button that
// opens another map, and a reload after a step of the ROM's write history.
#include "core/session.h"
#include "ui/command.h"
#include "ui/connections/anbindungen_form.h"
#include "ui/history_form.h"
#include "ui/main_window.h"

namespace quillon::ui {

void MainWindow::connectConnections() {
    m_anbindungen = new TAnbindungenForm(*m_session, *m_dialogs, this);
    Dialogs& d = *m_dialogs;
    connect(m_anbindungen, &TAnbindungenForm::openRequested, this,
            [this, &d](const QString& identifier, const QString& title) {
                runCommand(this, d, [&] { openMap(identifier, title); });
            });
    connect(m_menu.Anbindungen1, &QAction::triggered, this,
            commandSlot(this, d, this, &MainWindow::Anbindungen1Click));
    // Undo and redo may have put back the table of the open map (or of its neighbour, which
    // the marks read): the window reads it again after the main window's own handling.
    connect(m_verlauf, &TVerlaufForm::undoRequested, this,
            commandSlot(this, d, [this] { m_anbindungen->Laden(); }));
    connect(m_verlauf, &TVerlaufForm::redoRequested, this,
            commandSlot(this, d, [this] { m_anbindungen->Laden(); }));
}

// "Anbindungen": the window stays beside the main window.
void MainWindow::Anbindungen1Click() {
    m_anbindungen->show();
    m_anbindungen->raise();
    m_anbindungen->activateWindow();
}

}  // namespace quillon::ui
