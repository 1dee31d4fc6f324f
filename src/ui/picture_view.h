#pragma once

#include <QImage>
#include <QWidget>

#include "core/edit/cell_rect.h"

class QScrollArea;

namespace quillon {
class Bitmap;
}

namespace quillon::ui {

// A paint box: shows one of the session's pictures at single or double size, times a zoom of
// 1 to 4, and reports the mouse in picture cells of 16 pixels (16 x size x zoom view pixels). The picture is read at
// every repaint, so the view always shows the bitmap as it stands; call refresh() after the
// bitmap changed its size. Without a picture the box is 32 x 32 and empty.
class PictureView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCell = 16;

    explicit PictureView(const QString& objectName, QWidget* parent = nullptr);

    // The bitmap must outlive the view or be replaced before it goes; nullptr shows nothing.
    void setBitmap(const Bitmap* bitmap);
    // A picture around the bitmap (the map's neighbours), margin cells wider on every side:
    // the view grows by it, draws the bitmap inside and counts cells from the bitmap's corner
    // (negative left of and above it). Left out while its size does not fit the bitmap's;
    // nullptr for none. The same lifetime rule as for the bitmap holds.
    void setSurround(const Bitmap* surround, int marginCells);
    // The margin in cells while a fitting surround is shown, else 0.
    int margin() const;
    void setDoubled(bool doubled);
    bool doubled() const { return m_doubled; }
    // The zoom on top of the size (clamped to 1..kMaxZoom).
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    static constexpr int kMaxZoom = 4;
    int cellSize() const { return kCell * m_scale; }
    // Takes the picture's current size and repaints.
    void refresh();
    // After an edit: shows bitmap (the session's picture, fetched again since an edit may have
    // redrawn it) and repaints only the changed cells, or everything when the size changed.
    void showCells(const Bitmap* bitmap, CellRect changed);
    // A copy of the picture at its own size, inside its surround when one is shown; null
    // without a picture.
    QImage image() const;
    // A frame drawn around one cell of the bitmap (the block chosen in a palette); a negative
    // cell draws none.
    void setMarkedCell(QPoint cell);
    QPoint markedCell() const { return m_marked; }
    static constexpr QRgb kMarkColour = 0xFFFFE000;  // yellow, edged in black
    // The cell under a view position (floor division, so positions left of or above the
    // picture give negative cells).
    QPoint cellAt(QPoint viewPos) const;

signals:
    void cellMoved(int x, int y);
    void cellPressed(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void cellReleased(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // After the press that a double click brings.
    void cellDoubleClicked(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The bitmap's top-left corner in unscaled view pixels.
    int marginPixels() const { return margin() * kCell; }

    const Bitmap* m_bitmap = nullptr;
    const Bitmap* m_surround = nullptr;
    int m_marginCells = 0;
    QPoint m_marked{-1, -1};
    bool m_doubled = false;
    int m_zoom = 1;
    int m_scale = 1;  // view pixels per picture pixel: size times zoom
};

// A scroll box around a view, the view at its own size in the top-left corner.
QScrollArea* makeScrollBox(const QString& objectName, QWidget* view, QWidget* parent);

// Room a palette's scroll box leaves beside the palette for its vertical scroll bar.
inline constexpr int kScrollBarRoom = 21;

}  // namespace quillon::ui
