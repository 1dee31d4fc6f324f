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

// The tab "Geh Daten": the movement view `GehBox` (the map picture overlaid with each cell's
// movement value) and the palette of the 64 values `GehPalette`. Hovering puts the value's
// name in the status bar. A palette click chooses the value; on the view the left button
// paints it (dragging too), the middle button fills (Ctrl: replaces everywhere), the right
// button picks the cell's value up.
class GehTab : public QWidget {
    Q_OBJECT

public:
    GehTab(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

    PictureView* gehBox() const { return m_gehBox; }
    PictureView* gehPalette() const { return m_palette; }

    // Shows the movement palette (drawn once). Throws what the core's drawing throws.
    void showPalette();
    // Shows the movement view, drawing it when out of date; nothing while no map is open.
    // Throws what the core's drawing throws.
    void refresh();
    // Repaints the changed cells of the movement view while it is shown; a hidden view is
    // drawn again when its tab is shown. Throws what the core's drawing throws.
    void showChanged(CellRect changed);
    // Ends a drag in progress (before undo, or when another map opens).
    void finishGestures();
    void setViewDoubled(bool doubled);
    void setPaletteDoubled(bool doubled);

signals:
    void statusText(const QString& text);
    // The grid changed: the main window updates its caption and the undo items.
    void mapEdited();

private:
    void GehBoxMouseMove(int x, int y);
    void GehBoxMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void GehBoxMouseUp();
    void GehPaletteMouseMove(int x, int y);
    void GehPaletteMouseDown(int y);
    void edit(const std::function<CellRect()>& change);
    void fitPaletteBox();

    Session& m_session;
    Dialogs& m_dialogs;
    PictureView* m_gehBox;
    PictureView* m_palette;
    QScrollArea* m_paletteScroll;
    bool m_painting = false;
};

}  // namespace quillon::ui
