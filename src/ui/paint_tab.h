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

// What the two painting tabs share: a picture of the map in a scroll box and, to its right, a
// palette in a scroll box as wide as the palette; edits run through the command helper and
// repaint only what they changed.
class PaintTab : public QWidget {
    Q_OBJECT

public:
    void setPaletteDoubled(bool doubled);

signals:
    void statusText(const QString& text);
    // The grid changed: the main window updates its caption and the undo items.
    void mapEdited();

protected:
    // view and palette are named after their controls; the scroll boxes likewise.
    PaintTab(Session& session, Dialogs& dialogs, const QString& viewName,
             const QString& viewBoxName, const QString& paletteName, const QString& paletteBoxName,
             QWidget* parent);

    // Runs one edit, shows what it changed (through showChanged) and reports the change.
    void edit(const std::function<CellRect()>& change);
    virtual void showChanged(CellRect changed) = 0;
    void fitPaletteBox();
    // Scrolls the palette so that row (in cells) is at its top.
    void scrollPaletteToRow(int row);

    Session& m_session;
    Dialogs& m_dialogs;
    PictureView* m_view;
    PictureView* m_palette;
    QScrollArea* m_paletteScroll;
    bool m_painting = false;
};

}  // namespace quillon::ui
