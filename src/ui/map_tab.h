#pragma once

#include <QWidget>
#include <functional>

#include "core/edit/cell_rect.h"

class QScrollArea;

namespace quillon {
class Session;
}

namespace quillon::ui {

class Dialogs;
class PictureView;
class TGrosserBlockFrom;

// The tab "Map": the map picture `MapBox` and, to its right, the block palette `BlockPalette`,
// each in its own scroll box. Hovering either puts the cell's description in the status bar.
// The mouse paints the map: a palette click chooses the block; on the map the left button
// paints (dragging too) or pastes the stamp, the middle button fills (Ctrl: replaces
// everywhere), the right button picks a block up (Ctrl: drags a rectangle that becomes the
// stamp, shown in the window "Grosser Block").
class MapTab : public QWidget {
    Q_OBJECT

public:
    MapTab(Session& session, Dialogs& dialogs, TGrosserBlockFrom& bigBlock,
           QWidget* parent = nullptr);

    PictureView* mapBox() const { return m_mapBox; }
    PictureView* blockPalette() const { return m_palette; }

    // Shows the session's map picture and block palette, drawing what is out of date; nothing
    // while no map is open. Throws what the core's drawing throws.
    void refresh();
    // Repaints the changed cells of the map picture (after undo or redo too).
    void showChanged(CellRect changed);
    // Ends a drag in progress (before undo, or when another map opens).
    void finishGestures();
    void setMapDoubled(bool doubled);
    void setPaletteDoubled(bool doubled);

signals:
    void statusText(const QString& text);
    // The grid changed: the main window updates its caption and the undo items.
    void mapEdited();

private:
    void MapBoxMouseMove(int x, int y);
    void MapBoxMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void MapBoxMouseUP();
    void BlockPaletteMouseMove(int x, int y);
    void BlockPaletteMouseDown(int x, int y);
    void pickUp(int x, int y);
    void startSelection(int x, int y);
    // Runs one edit through the command helper and shows what it changed.
    void edit(const std::function<CellRect()>& change);
    void fitPaletteBox();

    Session& m_session;
    Dialogs& m_dialogs;
    TGrosserBlockFrom& m_bigBlock;
    PictureView* m_mapBox;
    PictureView* m_palette;
    QScrollArea* m_paletteScroll;
    bool m_painting = false;
};

}  // namespace quillon::ui
