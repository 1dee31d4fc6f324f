// The main window's commands around the edits of the open map: saving, the question before
// unsaved changes go, undo and redo, and the picture export.
#include <QCloseEvent>
#include <QFileInfo>

#include "core/errors.h"
#include "core/session/map_saving.h"
#include "core/session/session.h"
#include "imageio/bitmap_io.h"
#include "ui/big_block_view.h"
#include "ui/command.h"
#include "ui/events/events_tab.h"
#include "ui/language_texts.h"
#include "ui/main_window.h"
#include "ui/map_tab.h"
#include "ui/movement_tab.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

constexpr const char* kCaption = "Quillon";
// Map pictures are saved as device-independent bitmaps, or as PNG when the user prefers; the
// block palette (the tilesets' picture) offers PNG first.
QString mapPictureFilter(const LanguageTable& lang) {
    return QStringLiteral("Device Independent Bitmap (*.DIB);;PNG (*.png);;") +
           allFilesFilter(lang, "*.*");
}
QString palettePictureFilter(const LanguageTable& lang) {
    return QStringLiteral("PNG (*.png);;Device Independent Bitmap (*.DIB);;") +
           allFilesFilter(lang, "*.*");
}

// "png" for a filter that starts with "PNG (*.png)": the first file type's extension.
QString firstSuffix(const QString& filter) {
    const qsizetype dot = filter.indexOf(QStringLiteral("(*."));
    const qsizetype end = filter.indexOf(QLatin1Char(')'), dot);
    return dot < 0 || end < 0 ? QString() : filter.mid(dot + 3, end - dot - 3);
}

}  // namespace

void MainWindow::closeEvent(QCloseEvent* event) {
    // A failure on the way keeps the window, so unsaved changes are not lost unasked.
    bool close = false;
    runCommand(this, *m_dialogs, [&] { close = FormClose(); });
    if (close) {
        rememberWindowState();
        m_bigBlock->hide();
        event->accept();
    } else {
        event->ignore();
    }
}

// The window closes unless the user wanted the changes saved and that failed.
bool MainWindow::FormClose() { return finishInput() && saveChangesFirst(); }

// The caption and the undo items follow the edit history.
void MainWindow::showEditState() {
    const bool open = m_session->mapState().loaded();
    m_menu.Rueckgaengig1->setEnabled(open && m_session->mapState().editor().canUndo());
    m_menu.Wiederholen1->setEnabled(open && m_session->mapState().editor().canRedo());
    QString caption = QString::fromLatin1(kCaption);
    if (open && !m_title.isEmpty()) {
        caption += QStringLiteral(" - ") + m_title;
    }
    if (m_session->mapState().modified()) {
        caption += QStringLiteral(" *");
    }
    setWindowTitle(caption);
}

bool MainWindow::finishInput() {
    m_mapTab->finishGestures();
    m_movementTab->finishGestures();
    m_eventsTab->finishGestures();
    return m_eventsTab->applyPendingEdits();
}

void MainWindow::Save1Click() {
    if (finishInput()) {
        saveMap();
    }
}

bool MainWindow::saveMap() {
    // A map outside the ROM goes into its map file.
    if (m_session->mapState().loaded() && m_session->mapState().map().outsideRom) {
        return saveMapFile(false);
    }
    const auto& history = m_session->rom().history().entries();
    const std::uint64_t before = history.empty() ? 0 : history.back().id;
    const bool saved = runCommand(this, *m_dialogs,
                                  [this] { saveOpenMap(m_session->rom(), m_session->mapState()); });
    showEditState();
    if (saved) {
        // What reached the ROM: the bytes of the save's entry in the history (none when the
        // save wrote nothing).
        const auto& after = m_session->rom().history().entries();
        const std::size_t bytes =
            !after.empty() && after.back().id != before ? after.back().byteCount() : 0;
        const LanguageTable& lang = m_session->lang();
        setStatus(langText(lang, 72, "Map gespeichert:") + QLatin1Char(' ') + m_title +
                  QStringLiteral(", ") + QString::number(bytes) + QLatin1Char(' ') +
                  langText(lang, 1524, "Bytes"));
    }
    return saved;
}

void MainWindow::SaveAs1Click() {
    if (!finishInput()) {
        return;
    }
    const LanguageTable& lang = m_session->lang();
    const QString file =
        m_dialogs->saveFileName(this, langText(lang, 113, "Speichern Unter..."), romFilter(lang),
                                QStringLiteral("gba"), romStart());
    bool copied = false;
    const auto copy = [&] { copied = m_session->saveMapAs(toPath(file)); };
    // A failed write has shown its error; a refused copy or a cancelled dialog gets text 71.
    if ((file.isEmpty() || runCommand(this, *m_dialogs, copy)) && !copied) {
        inform(langText(m_session->lang(), 71, "Datei konnte nicht gespeichert werden!"));
    }
    showEditState();
}

// Before the open map goes away: offers to save its changes. False when the user cancelled,
// or wanted them saved and saving failed: the caller keeps the map and does nothing.
bool MainWindow::saveChangesFirst() {
    if (!m_session->mapState().modified()) {
        return true;
    }
    const LanguageTable& lang = m_session->lang();
    const auto answer = m_dialogs->confirmOrCancel(this, langText(lang, "00", "Frage"),
                                                   langText(lang, 70, "Änderungen speichern?"));
    if (!answer) {
        return false;
    }
    return !*answer || saveMap();
}

void MainWindow::Rueckgaengig1Click() { undoStep(&MapEditor::undo); }

void MainWindow::Wiederholen1Click() { undoStep(&MapEditor::redo); }

void MainWindow::undoStep(CellRect (MapEditor::*step)()) {
    if (!m_session->mapState().loaded()) {
        return;
    }
    if (!finishInput()) {
        return;
    }
    runCommand(this, *m_dialogs, [&] {
        const CellRect changed = (m_session->mapState().editor().*step)();
        m_mapTab->showChanged(changed);
        m_movementTab->showChanged(changed);
        // An event step changes no cells; the editor selects the record it put back.
        m_eventsTab->showSelection();
        if (m_eventsTab->isVisible()) {
            m_eventsTab->refresh();
        }
    });
    showEditState();
}

void MainWindow::SaveMapPic1Click() {
    savePicture(m_menu.SaveMapPic1, mapPictureFilter(m_session->lang()), 
                [](MapState& m) -> const Bitmap& { return m.pictures().map(); });
}

void MainWindow::SaveTilesetPic1Click() {
    const LanguageTable& lang = m_session->lang();
    if (savePicture(m_menu.SaveTilesetPic1, palettePictureFilter(lang), 
                    [](MapState& m) -> const Bitmap& { return m.pictures().blockPalette(); })) {
        inform(langText(lang, 1735, "Der Vorgang wurde erfolgreich beendet."));
    }
}

// The event picture is drawn first when it is out of date.
void MainWindow::SaveEventPic1Click() {
    savePicture(m_menu.SaveEventPic1, mapPictureFilter(m_session->lang()), 
                [](MapState& m) -> const Bitmap& { return m.eventPicture(); });
}

// Saves the picture as it stands (grid lines included, single size). True when written.
bool MainWindow::savePicture(const QAction* item, const QString& filter,
                             const Bitmap& (*picture)(MapState&)) {
    if (!m_session->mapState().loaded()) {
        return false;
    }
    if (!finishInput()) {
        return false;
    }
    // The dialog starts where the last picture went, or beside the ROM.
    QString start = m_pictureFolder;
    if (start.isEmpty()) {
        start = QFileInfo(romStart()).absolutePath();
    }
    const QString file =
        m_dialogs->saveFileName(this, item->text(), filter, firstSuffix(filter), start);
    if (file.isEmpty()) {
        return false;
    }
    m_pictureFolder = QFileInfo(file).absolutePath();
    return runCommand(this, *m_dialogs, [&] {
        Message error;
        if (!imageio::saveBitmap(picture(m_session->mapState()), file, &error)) {
            throw Error(error);
        }
    });
}

}  // namespace quillon::ui
