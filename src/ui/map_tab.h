#pragma once

#include "ui/paint_tab.h"

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
class MapTab : public PaintTab {
    Q_OBJECT

public:
    MapTab(Session& session, Dialogs& dialogs, TGrosserBlockFrom& bigBlock,
           QWidget* parent = nullptr);

    PictureView* mapBox() const { return m_view; }
    PictureView* blockPalette() const { return m_palette; }

    // Shows the session's map picture and block palette, drawing what is out of date; nothing
    // while no map is open. Throws what the core's drawing throws.
    void refresh();
    // Repaints the changed cells of the map picture (after undo or redo too).
    void showChanged(CellRect changed) override;
    // Ends a drag in progress (before undo, or when another map opens).
    void finishGestures();
    void setMapDoubled(bool doubled);

private:
    void MapBoxMouseMove(int x, int y);
    void MapBoxMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void MapBoxMouseUP();
    void BlockPaletteMouseMove(int x, int y);
    void BlockPaletteMouseDown(int x, int y);
    void pickUp(int x, int y);
    void startSelection(int x, int y);

    TGrosserBlockFrom& m_bigBlock;
};

}  // namespace quillon::ui
