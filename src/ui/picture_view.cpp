#include "ui/picture_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <algorithm>

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

void PictureView::setSurround(const Bitmap* surround, int marginCells) {
    m_surround = surround;
    m_marginCells = marginCells;
    refresh();
}

int PictureView::margin() const {
    if (m_surround == nullptr || m_bitmap == nullptr || m_bitmap->empty()) {
        return 0;
    }
    const int around = 2 * m_marginCells * kCell;
    const bool fits = m_surround->width() == m_bitmap->width() + around &&
                      m_surround->height() == m_bitmap->height() + around;
    return fits ? m_marginCells : 0;
}

void PictureView::setDoubled(bool doubled) {
    m_doubled = doubled;
    m_scale = (m_doubled ? 2 : 1) * m_zoom;
    refresh();
}

void PictureView::setZoom(int zoom) {
    m_zoom = std::clamp(zoom, 1, kMaxZoom);
    m_scale = (m_doubled ? 2 : 1) * m_zoom;
    refresh();
}

void PictureView::refresh() {
    if (m_bitmap == nullptr || m_bitmap->empty()) {
        setFixedSize(kEmptySize, kEmptySize);
    } else {
        const int around = 2 * marginPixels();
        setFixedSize((m_bitmap->width() + around) * m_scale,
                     (m_bitmap->height() + around) * m_scale);
    }
    update();
}

void PictureView::showCells(const Bitmap* bitmap, CellRect changed) {
    const int around = 2 * marginPixels();
    const bool sameSize =
        bitmap != nullptr && m_bitmap != nullptr &&
        size() == QSize(bitmap->width() + around, bitmap->height() + around) * m_scale;
    if (bitmap != m_bitmap || !sameSize) {
        setBitmap(bitmap);
        return;
    }
    if (!changed.empty()) {
        const int s = cellSize();
        const int corner = marginPixels() * m_scale;
        update(corner + changed.x * s, corner + changed.y * s, changed.width * s,
               changed.height * s);
    }
}

QImage PictureView::image() const {
    if (m_bitmap == nullptr) {
        return {};
    }
    if (margin() == 0) {
        return imageio::wrapBitmap(*m_bitmap).copy();
    }
    QImage whole = imageio::wrapBitmap(*m_surround).copy();
    QPainter painter(&whole);
    painter.drawImage(marginPixels(), marginPixels(), imageio::wrapBitmap(*m_bitmap));
    return whole;
}

void PictureView::setMarkedCell(QPoint cell) {
    if (cell == m_marked) {
        return;
    }
    const auto frame = [this](QPoint c) {
        const int s = cellSize();
        const int corner = marginPixels() * m_scale;
        return QRect(corner + c.x() * s, corner + c.y() * s, s, s);
    };
    if (m_marked.x() >= 0 && m_marked.y() >= 0) {
        update(frame(m_marked));
    }
    m_marked = cell;
    if (m_marked.x() >= 0 && m_marked.y() >= 0) {
        update(frame(m_marked));
    }
}

QPoint PictureView::cellAt(QPoint viewPos) const {
    const int corner = marginPixels() * m_scale;
    return {floorDiv(viewPos.x() - corner, cellSize()), floorDiv(viewPos.y() - corner, cellSize())};
}

void PictureView::paintEvent(QPaintEvent* event) {
    if (m_bitmap == nullptr || m_bitmap->empty()) {
        return;
    }
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.scale(m_scale, m_scale);
    const int corner = marginPixels();
    // A repaint inside the bitmap (an edit) leaves the surround alone.
    const QRect inner(corner * m_scale, corner * m_scale, m_bitmap->width() * m_scale,
                      m_bitmap->height() * m_scale);
    if (corner > 0 && !inner.contains(event->rect())) {
        painter.drawImage(0, 0, imageio::wrapBitmap(*m_surround));
    }
    painter.drawImage(corner, corner, imageio::wrapBitmap(*m_bitmap));
    if (m_marked.x() >= 0 && m_marked.y() >= 0) {
        // Two pixels of yellow inside a black edge, at any zoom.
        painter.resetTransform();
        const int s = cellSize();
        const QRect cell(corner * m_scale + m_marked.x() * s, corner * m_scale + m_marked.y() * s,
                         s, s);
        painter.setPen(Qt::black);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(QColor::fromRgb(kMarkColour), 2));
        painter.drawRect(cell.adjusted(2, 2, -2, -2));
    }
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

void PictureView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click acts as any press does.
    QWidget::mouseDoubleClickEvent(event);
    const QPoint cell = cellAt(event->position().toPoint());
    emit cellDoubleClicked(cell.x(), cell.y());
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
