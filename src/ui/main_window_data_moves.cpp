// The main window's part in the commands that move a map's data to a new place: the Header
// tab's new size opens the map again, the "Event menge" window's new tables refresh the events.
#include "core/session/session.h"
#include "ui/command.h"
#include "ui/events/event_builder_form.h"
#include "ui/events/events_tab.h"
#include "ui/header_tab.h"
#include "ui/main_window.h"
#include "ui/map_tab.h"

namespace quillon::ui {

void MainWindow::connectDataMoves() {
    Dialogs& d = *m_dialogs;
    connect(m_eventBuilder, &TEventBuilderForm::eventsChanged, this, commandSlot(this, d, [this] {
                m_eventsTab->mapOpened();
                m_eventsTab->refresh();
                showEditState();
            }));
    connect(m_headerTab, &HeaderTab::mapResized, this, commandSlot(this, d, [this] {
                if (!openMap(m_identifier, m_title)) {
                    // The map stays open (its save failed): it shows its new size anyway.
                    m_headerTab->showMap();
                    m_mapTab->refresh();
                    refreshCurrentTab();
                }
            }));
}

// "Event menge": the window stays beside the main window.
void MainWindow::BuildEvents1Click() {
    m_eventBuilder->show();
    m_eventBuilder->raise();
    m_eventBuilder->activateWindow();
}

}  // namespace quillon::ui
