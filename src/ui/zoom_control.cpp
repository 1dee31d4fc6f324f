#include "ui/zoom_control.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "ui/picture_view.h"

namespace quillon::ui {

namespace {

constexpr int kNotch = 120;  // one notch of a mouse wheel, in eighths of a degree

}  // namespace

ZoomControl::ZoomControl(QScrollArea* box, PictureView* view)
    : QObject(box), m_box(box), m_view(view) {
    box->viewport()->installEventFilter(this);
}

int ZoomControl::zoom() const { return m_view->zoom(); }

void ZoomControl::setZoom(int zoom) { m_view->setZoom(zoom); }

void ZoomControl::zoomBy(int steps) {
    QWidget* viewport = m_box->viewport();
    const QPoint pointer = viewport->mapFromGlobal(QCursor::pos());
    zoomBy(steps, viewport->rect().contains(pointer) ? pointer : viewport->rect().center());
}

void ZoomControl::zoomBy(int steps, QPoint anchor) {
    const int before = m_view->zoom();
    const int after = std::clamp(before + steps, 1, PictureView::kMaxZoom);
    if (after == before) {
        return;
    }
    // The picture point under the anchor, in unzoomed view pixels, goes back under it.
    const QPoint point = m_view->mapFrom(m_box->viewport(), anchor);
    m_view->setZoom(after);
    m_box->horizontalScrollBar()->setValue(point.x() * after / before - anchor.x());
    m_box->verticalScrollBar()->setValue(point.y() * after / before - anchor.y());
    emit zoomed(after);
}

bool ZoomControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        emit entered();
    }
    if (event->type() != QEvent::Wheel) {
        return QObject::eventFilter(watched, event);
    }
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!wheel->modifiers().testFlag(Qt::ControlModifier)) {
        return false;  // an ordinary wheel scrolls
    }
    m_wheel += wheel->angleDelta().y();
    const int steps = m_wheel / kNotch;
    m_wheel -= steps * kNotch;
    if (steps != 0) {
        zoomBy(steps, wheel->position().toPoint());
    }
    return true;
}

}  // namespace quillon::ui
