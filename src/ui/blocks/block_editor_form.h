#pragma once

#include <QWidget>

#include "core/blocks/block_edit.h"
#include "core/gfx/bitmap.h"
#include "ui/loading_guard.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QScrollArea;

namespace quillon {
class Session;
}

namespace quillon::ui {

class Dialogs;
class PictureView;
class ZoomBox;

// "Block Editor": edits the blocks of the open map's two tilesets in the ROM. The block
// palette (`BlockBox`, the main window's picture itself) picks the block; the stacked tile
// picture (`Image1`) in the palette of `Paletten` picks the tile; the pen (tile, palette,
// `XFlip`, `YFlip`) is painted with the left button into the quarters of `TileBox` (lower
// layer left, upper layer right; dragging paints on) and an entry is picked up with the right
// button. `Cmd_Speichern` writes the record and the attribute values (`Txt_Aufgaben`,
// `Txt_Hinterdrund`, or their named lists) as one command. Menu "Bild" saves a tileset part's
// picture and palette, and reads them back: an indexed picture into a part's tiles, a palette
// file into the palette chosen in `Paletten`. A window of its own, not modal; closing it
// destroys it.
class TBlockEditorForm final : public QWidget {
    Q_OBJECT

public:
    TBlockEditorForm(Session& session, Dialogs& dialogs, QWidget* parent);

    // Reads everything from the open map's tilesets again (another map was opened): title,
    // pictures, lists, and the current block (block 0 when it no longer exists).
    void mapChanged();
    // The language of the session: title, tagged labels and menu items (named lists: see
    // fillAttributeLists).
    void applyLanguage();
    // The user chose another language: the texts and the named lists follow; the fields keep
    // what they hold.
    void languageChanged();
    // The main window drew its block palette anew (grid, width): the editor shows it again.
    void showBlockPalette();

    int currentBlock() const { return m_data.block; }
    const blocks::BlockData& edited() const { return m_data; }
    std::uint16_t pen() const;

    void Cmd_SpeichernClick();
    void Tileset1SpeichernClick() { saveTileset(1); }
    void Tileset2SpeichernClick() { saveTileset(2); }
    void Tileset1LadenClick() { loadTileset(1); }
    void Tileset2LadenClick() { loadTileset(2); }
    void PaletteLadenClick();

signals:
    // A block, tiles or a palette were written: the map views show the new picture.
    void blockSaved();

private:
    void buildUi();
    QWidget* buildPalettePart();
    QLayout* buildTilePart();
    QLayout* buildFieldPart();
    void buildMenu(QMenuBar* bar);
    void connectControls();
    void connectFields();
    void runSlot(const std::function<void()>& slot);

    void selectBlock(int block);
    void showAttributes();
    void UpdateTile();
    void TileUpdate();
    void PalettenClick();
    void fillAttributeLists();

    void BlockBoxPressed(int x, int y, Qt::MouseButton button);
    void BlockBoxMoved(int x, int y);
    void Image1Pressed(QPoint pixel, Qt::MouseButton button);
    void Image1Moved(QPoint pixel);
    void TileBoxPressed(QPoint pixel, Qt::MouseButton button);
    void TileBoxMoved(QPoint pixel, Qt::MouseButtons buttons);
    void pickUp(int entry);
    void fieldTyped(QLineEdit* field, QComboBox* list);
    void listChosen(QComboBox* list, QLineEdit* field, int digits);
    void saveTileset(int part);
    void loadTileset(int part);
    void tilesetsWritten();

    Session& m_session;
    Dialogs& m_dialogs;
    LoadingFlag m_guard;
    blocks::BlockData m_data;
    int m_tile = 0;
    bool m_painting = false;
    Bitmap m_stacked;
    Bitmap m_layers;
    Bitmap m_composed;
    Bitmap m_penTile;

    QMenuBar* m_menuBar = nullptr;
    QScrollArea* m_blockScroll = nullptr;
    PictureView* BlockBox = nullptr;
    ZoomBox* Image1 = nullptr;
    ZoomBox* TileBox = nullptr;
    ZoomBox* BlockImage = nullptr;
    ZoomBox* Tile = nullptr;
    QComboBox* Paletten = nullptr;
    QCheckBox* XFlip = nullptr;
    QCheckBox* YFlip = nullptr;
    QLabel* Lbl_Tile = nullptr;
    QLabel* Lbl_Block = nullptr;
    QLabel* Lbl_Offset = nullptr;
    QLineEdit* Txt_Aufgaben = nullptr;
    QComboBox* Cbo_Aufgaben = nullptr;
    QLineEdit* Txt_Hinterdrund = nullptr;
    QComboBox* Cbo_Hintergrund = nullptr;
    QPushButton* Cmd_Speichern = nullptr;
    QAction* Tileset1Speichern1 = nullptr;
    QAction* Tileset2Speichern1 = nullptr;
    QAction* Tileset1Laden1 = nullptr;
    QAction* Tileset2Laden1 = nullptr;
    QAction* PaletteLaden1 = nullptr;
    QAction* PaletteJasc1 = nullptr;
};

}  // namespace quillon::ui
