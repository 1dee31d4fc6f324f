#pragma once

#include "ui/paint_tab.h"

namespace quillon::ui {

class Dialogs;
class PictureView;

// The tab "Geh Daten": the movement view `GehBox` (the map picture overlaid with each cell's
// movement value) and the palette of the 64 values `GehPalette`. Hovering puts the value's
// name in the status bar. A palette click chooses the value; on the view the left button
// paints it (dragging too), the middle button fills (Ctrl: replaces everywhere), the right
// button picks the cell's value up.
class MovementTab : public PaintTab {
    Q_OBJECT

public:
    MovementTab(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

    PictureView* movementView() const { return m_view; }
    PictureView* movementPalette() const { return m_palette; }

    // Shows the movement palette (drawn once). Throws what the core's drawing throws.
    void showPalette();
    // Shows the movement view, drawing it when out of date; nothing while no map is open.
    // Throws what the core's drawing throws.
    void refresh();
    // Repaints the changed cells of the movement view while it is shown; a hidden view is
    // drawn again when its tab is shown. Throws what the core's drawing throws.
    void showChanged(CellRect changed) override;
    // Ends a drag in progress (before undo, or when another map opens).
    void finishGestures();
    void setViewDoubled(bool doubled);

private:
    void GehBoxMouseMove(int x, int y);
    void GehBoxMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void GehBoxMouseUp();
    void GehPaletteMouseMove(int x, int y);
    void GehPaletteMouseDown(int x, int y);
};

}  // namespace quillon::ui
