// The zoom of the Map tab from the menu "Darstellungsgrösse" (Ctrl+plus, Ctrl+minus); the
// tab zooms with Ctrl+wheel by itself. Every change is remembered at once.
#include <QAction>

#include "ui/command.h"
#include "ui/main_window.h"
#include "ui/map_tab.h"

namespace quillon::ui {

void MainWindow::connectZoom() {
    connect(m_menu.Vergroessern1, &QAction::triggered, this, [this] { m_mapTab->zoomBy(1); });
    connect(m_menu.Verkleinern1, &QAction::triggered, this, [this] { m_mapTab->zoomBy(-1); });
    connect(m_mapTab, &MapTab::zoomChanged, this,
            commandSlot(this, *m_dialogs, this, &MainWindow::rememberZoom));
}

}  // namespace quillon::ui
