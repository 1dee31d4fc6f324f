#pragma once

#include <QWidget>

namespace quillon {
class Bitmap;
}

namespace quillon::ui {

// A paint box of the block editor: shows a small picture enlarged by a whole factor and
// reports the mouse in the picture's own pixels (view position / factor).
class ZoomBox final : public QWidget {
    Q_OBJECT

public:
    ZoomBox(const QString& objectName, int scale, QWidget* parent = nullptr);

    // The bitmap must outlive the box or be replaced before it goes; nullptr shows nothing.
    // The box takes the picture's size times the factor.
    void setBitmap(const Bitmap* bitmap);
    int scale() const { return m_scale; }
    // A frame around part of the picture (in its own pixels: the chosen tile); empty for none.
    void setMarked(QRect pictureRect);
    QRect marked() const { return m_marked; }
    // The picture pixel under a view position.
    QPoint pixelAt(QPoint viewPos) const;

signals:
    void pressed(QPoint pixel, Qt::MouseButton button);
    void moved(QPoint pixel, Qt::MouseButtons buttons);
    void released(QPoint pixel, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const Bitmap* m_bitmap = nullptr;
    int m_scale;
    QRect m_marked;
};

}  // namespace quillon::ui
