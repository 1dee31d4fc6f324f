#include "ui/picture_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>

#include "core/gfx/bitmap.h"
#include "imageio/bitmap_io.h"

namespace quillon::ui {

namespace {

constexpr int kEmptySize = 32;

int floorDiv(int value, int divisor) {
    const int q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

}  // namespace

PictureView::PictureView(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setMouseTracking(true);
    refresh();
}

void PictureView::setBitmap(const Bitmap* bitmap) {
    m_bitmap = bitmap;
    refresh();
}

void PictureView::setDoubled(bool doubled) {
    m_scale = doubled ? 2 : 1;
    refresh();
}

void PictureView::refresh() {
    if (m_bitmap == nullptr || m_bitmap->empty()) {
        setFixedSize(kEmptySize, kEmptySize);
    } else {
        setFixedSize(m_bitmap->width() * m_scale, m_bitmap->height() * m_scale);
    }
    update();
}

void PictureView::showCells(const Bitmap* bitmap, CellRect changed) {
    const bool sameSize = bitmap != nullptr && m_bitmap != nullptr &&
                          size() == QSize(bitmap->width(), bitmap->height()) * m_scale;
    if (bitmap != m_bitmap || !sameSize) {
        setBitmap(bitmap);
        return;
    }
    if (!changed.empty()) {
        const int s = cellSize();
        update(changed.x * s, changed.y * s, changed.width * s, changed.height * s);
    }
}

QImage PictureView::image() const {
    if (m_bitmap == nullptr) {
        return {};
    }
    return imageio::wrapBitmap(*m_bitmap).copy();
}

QPoint PictureView::cellAt(QPoint viewPos) const {
    return {floorDiv(viewPos.x(), cellSize()), floorDiv(viewPos.y(), cellSize())};
}

void PictureView::paintEvent(QPaintEvent* event) {
    if (m_bitmap == nullptr || m_bitmap->empty()) {
        return;
    }
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.scale(m_scale, m_scale);
    painter.drawImage(0, 0, imageio::wrapBitmap(*m_bitmap));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint cell = cellAt(event->position().toPoint());
    emit cellMoved(cell.x(), cell.y());
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    const QPoint cell = cellAt(event->position().toPoint());
    emit cellPressed(cell.x(), cell.y(), event->button(), event->modifiers());
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint cell = cellAt(event->position().toPoint());
    emit cellReleased(cell.x(), cell.y(), event->button(), event->modifiers());
}

QScrollArea* makeScrollBox(const QString& objectName, QWidget* view, QWidget* parent) {
    auto* box = new QScrollArea(parent);
    box->setObjectName(objectName);
    box->setWidget(view);
    box->setWidgetResizable(false);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return box;
}

}  // namespace quillon::ui
