// The main window's side of the block editor: opening it, and the views that follow a block
// it saved or another map.
#include <QAction>
#include <QScreen>

#include "core/session/session.h"
#include "ui/blocks/block_editor_form.h"
#include "ui/command.h"
#include "ui/escape_closes.h"
#include "ui/main_window.h"
#include "ui/map_tab.h"

namespace quillon::ui {

void MainWindow::connectBlockEditor() {
    connectCommand(m_menu.BlockEditor1, &MainWindow::BlockEditor1Click);
    // Connected after the commands themselves, so the palette is drawn anew by then.
    for (QAction* redraws : {m_menu.Grid1, m_menu.BlockPaletteBreite1}) {
        connect(redraws, &QAction::triggered, this, [this] {
            if (m_blockEditor != nullptr) {
                runCommand(this, *m_dialogs, [this] { m_blockEditor->showBlockPalette(); });
            }
        });
    }
}

// One editor at a time, beside the main window; a second click brings it to the front.
void MainWindow::BlockEditor1Click() {
    if (!m_session->mapState().loaded()) {
        return;
    }
    if (m_blockEditor == nullptr) {
        m_blockEditor = new TBlockEditorForm(*m_session, *m_dialogs, this);
        closeOnEscape(m_blockEditor);
        connect(m_blockEditor, &QObject::destroyed, this, [this] { m_blockEditor = nullptr; });
        connect(m_blockEditor, &TBlockEditorForm::blockSaved, this,
                commandSlot(this, *m_dialogs, this, &MainWindow::blockSaved));
        // Beside the main window when the screen has room there, else over it.
        const QRect screen = this->screen()->availableGeometry();
        const QPoint beside = frameGeometry().topRight();
        if (beside.x() + m_blockEditor->sizeHint().width() <= screen.right()) {
            m_blockEditor->move(beside);
        } else {
            m_blockEditor->move(frameGeometry().topLeft() + QPoint(40, 40));
        }
    }
    m_blockEditor->show();
    m_blockEditor->raise();
    m_blockEditor->activateWindow();
}

// The map and the neighbours around it (drawn with the same tilesets) show the new block.
void MainWindow::blockSaved() {
    m_mapTab->neighboursChanged();
    m_mapTab->refresh();
    refreshCurrentTab();
}

// Another map (or the same one read again): the editor follows its tilesets; without a map
// it closes.
void MainWindow::refreshBlockEditor() {
    if (m_blockEditor == nullptr) {
        return;
    }
    if (!m_session->mapState().loaded()) {
        m_blockEditor->close();
        return;
    }
    if (!runCommand(this, *m_dialogs, [this] { m_blockEditor->mapChanged(); })) {
        m_blockEditor->close();
    }
}

}  // namespace quillon::ui
