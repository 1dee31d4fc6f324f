// The main window's side of the window "Anbindungen": the menu item, a neighbour button that
// opens another map, and the neighbour band after a save. After a step of the ROM's write
// history the window is read again with every other view (main_window_history.cpp).
#include "core/session/session.h"
#include "ui/command.h"
#include "ui/connections/anbindungen_form.h"
#include "ui/main_window.h"
#include "ui/map_tab.h"

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
    // The band of neighbours around the map follows a saved table at once.
    connect(m_anbindungen, &TAnbindungenForm::connectionsSaved, this,
            commandSlot(this, d, [this] { m_mapTab->neighboursChanged(); }));
}

// "Anbindungen": the window stays beside the main window.
void MainWindow::Anbindungen1Click() {
    m_anbindungen->show();
    m_anbindungen->raise();
    m_anbindungen->activateWindow();
}

}  // namespace quillon::ui
