#pragma once

#include <QObject>
#include <QPoint>

class QScrollArea;

namespace quillon::ui {

class PictureView;

// The zoom of one picture in its scroll box: Ctrl+wheel over the box zooms in or out one
// step per notch, keeping the picture point under the pointer where it is; zoomBy does the
// same for the keys, around the pointer when it is over the box, else the middle of what is
// shown.
class ZoomControl : public QObject {
    Q_OBJECT

public:
    ZoomControl(QScrollArea* box, PictureView* view);

    int zoom() const;
    // Steps up (positive) or down; anchor in the box's viewport coordinates.
    void zoomBy(int steps, QPoint anchor);
    void zoomBy(int steps);
    // Sets the zoom without moving what is shown and without zoomed (settings read at start).
    void setZoom(int zoom);

signals:
    void zoomed(int zoom);
    // The pointer came over the box.
    void entered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QScrollArea* m_box;
    PictureView* m_view;
    int m_wheel = 0;  // eighths of a degree not yet turned into a step
};

}  // namespace quillon::ui
