// The main window's commands around the edits of the open map: saving, the question before
// unsaved changes go, undo and redo, and the picture export.
#include "ui/main_window.h"

#include <QCloseEvent>

#include "core/errors.h"
#include "core/session.h"
#include "imageio/bitmap_io.h"
#include "ui/command.h"
#include "ui/events/events_tab.h"
#include "ui/geh_tab.h"
#include "ui/grosser_block_from.h"
#include "ui/language_texts.h"
#include "ui/map_tab.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

constexpr const char* kCaption = "Quillon";
const QString kRomFilter = QStringLiteral("GameBoy Roms (*.gba);;All Files (*)");
// Pictures are saved as device-independent bitmaps, or as PNG when the user prefers.
const QString kMapPictureFilter =
    QStringLiteral("Device Intependent Bitmap (*.DIB);;PNG (*.png);;All files (*.*)");
const QString kPalettePictureFilter =
    QStringLiteral("Device Intependent Bitmap (*.DIB);;PNG (*.png);;Alle Dateien (*.*)");

}  // namespace

void MainWindow::closeEvent(QCloseEvent* event) {
    if (FormClose()) {
        m_bigBlock->hide();
        event->accept();
    } else {
        event->ignore();
    }
}

// The window closes unless the user wanted the changes saved and that failed.
bool MainWindow::FormClose() {
    finishGestures();
    return saveChangesFirst();
}

// The caption and the undo items follow the edit history.
void MainWindow::showEditState() {
    const bool open = m_session->mapLoaded();
    m_menu.Rueckgaengig1->setEnabled(open && m_session->editor().canUndo());
    m_menu.Wiederholen1->setEnabled(open && m_session->editor().canRedo());
    QString caption = QString::fromLatin1(kCaption);
    if (open && !m_title.isEmpty()) {
        caption += QStringLiteral(" - ") + m_title;
    }
    if (m_session->modified()) {
        caption += QStringLiteral(" *");
    }
    setWindowTitle(caption);
}

void MainWindow::finishGestures() {
    m_mapTab->finishGestures();
    m_gehTab->finishGestures();
    m_eventsTab->finishGestures();
}

void MainWindow::Save1Click() { saveMap(); }

bool MainWindow::saveMap() {
    const bool saved = runCommand(this, *m_dialogs, [this] { m_session->saveMap(); });
    showEditState();
    return saved;
}

void MainWindow::SaveAs1Click() {
    const QString file = m_dialogs->saveFileName(this, QStringLiteral("Speichern Unter..."),
                                                 kRomFilter, QStringLiteral("gba"));
    bool copied = false;
    const auto copy = [&] { copied = m_session->saveMapAs(toPath(file)); };
    // A failed write has shown its error; a refused copy or a cancelled dialog gets text 71.
    if ((file.isEmpty() || runCommand(this, *m_dialogs, copy)) && !copied) {
        inform(langText(m_session->lang(), 71, "Datei konnte nicht gespeichert werden!"));
    }
    showEditState();
}

// Before the open map goes away: offers to save its changes. False when the user wanted them
// saved and saving failed, so the caller keeps the map.
bool MainWindow::saveChangesFirst() {
    if (!m_session->modified()) {
        return true;
    }
    const LanguageTable& lang = m_session->lang();
    if (!m_dialogs->confirm(this, langText(lang, "00", "Frage"),
                            langText(lang, 70, "Änderungen speichern?"))) {
        return true;
    }
    return saveMap();
}

void MainWindow::Rueckgaengig1Click() { undoStep(&MapEditor::undo); }

void MainWindow::Wiederholen1Click() { undoStep(&MapEditor::redo); }

void MainWindow::undoStep(CellRect (MapEditor::*step)()) {
    if (!m_session->mapLoaded()) {
        return;
    }
    finishGestures();
    runCommand(this, *m_dialogs, [&] {
        const CellRect changed = (m_session->editor().*step)();
        m_mapTab->showChanged(changed);
        m_gehTab->showChanged(changed);
        // An event step changes no cells; the editor selects the record it put back.
        m_eventsTab->showSelection();
        if (m_eventsTab->isVisible()) {
            m_eventsTab->refresh();
        }
    });
    showEditState();
}

void MainWindow::SaveMapPic1Click() {
    savePicture(m_menu.SaveMapPic1, kMapPictureFilter, &Session::mapPicture);
}

void MainWindow::SaveTilesetPic1Click() {
    if (savePicture(m_menu.SaveTilesetPic1, kPalettePictureFilter, &Session::blockPalette)) {
        inform(QStringLiteral("Der Vorgang wurde erfolgreich beendet."));
    }
}

// The event picture is drawn first when it is out of date.
void MainWindow::SaveEventPic1Click() {
    savePicture(m_menu.SaveEventPic1, kMapPictureFilter, &Session::eventPicture);
}

// Saves the picture as it stands (grid lines included, single size). True when written.
bool MainWindow::savePicture(const QAction* item, const QString& filter,
                             const Bitmap& (Session::*picture)()) {
    if (!m_session->mapLoaded()) {
        return false;
    }
    const QString file = m_dialogs->saveFileName(this, item->text(), filter, QStringLiteral("DIB"));
    if (file.isEmpty()) {
        return false;
    }
    return runCommand(this, *m_dialogs, [&] {
        QString error;
        if (!imageio::saveBitmap((m_session.get()->*picture)(), file, &error)) {
            throw Error(toStd(error));
        }
    });
}

}  // namespace quillon::ui
