#include "ui/blocks/zoom_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/gfx/bitmap.h"
#include "imageio/bitmap_io.h"

namespace quillon::ui {

ZoomBox::ZoomBox(const QString& objectName, int scale, QWidget* parent)
    : QWidget(parent), m_scale(scale) {
    setObjectName(objectName);
    setMouseTracking(true);
    setFixedSize(8 * scale, 8 * scale);
}

void ZoomBox::setBitmap(const Bitmap* bitmap) {
    m_bitmap = bitmap;
    if (bitmap != nullptr && !bitmap->empty()) {
        setFixedSize(bitmap->width() * m_scale, bitmap->height() * m_scale);
    }
    update();
}

void ZoomBox::setMarked(QRect pictureRect) {
    m_marked = pictureRect;
    update();
}

QPoint ZoomBox::pixelAt(QPoint viewPos) const {
    return {viewPos.x() / m_scale, viewPos.y() / m_scale};
}

void ZoomBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_bitmap == nullptr || m_bitmap->empty()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    const QImage image = imageio::wrapBitmap(*m_bitmap);
    painter.drawImage(QRect(0, 0, image.width() * m_scale, image.height() * m_scale), image);
    if (!m_marked.isEmpty()) {
        // Yellow inside a black edge, as the block palette frames its chosen block.
        const QRect frame(m_marked.topLeft() * m_scale, m_marked.size() * m_scale);
        painter.setPen(Qt::black);
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(QColor(0xFF, 0xE0, 0x00), 2));
        painter.drawRect(frame.adjusted(2, 2, -2, -2));
    }
}

void ZoomBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(pixelAt(event->position().toPoint()), event->button());
}

void ZoomBox::mouseMoveEvent(QMouseEvent* event) {
    emit moved(pixelAt(event->position().toPoint()), event->buttons());
}

void ZoomBox::mouseReleaseEvent(QMouseEvent* event) {
    emit released(pixelAt(event->position().toPoint()), event->button());
}

}  // namespace quillon::ui
