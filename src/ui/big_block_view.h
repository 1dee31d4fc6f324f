#pragma once

#include <QWidget>

#include "core/gfx/bitmap.h"

namespace quillon {
class Session;
}

namespace quillon::ui {

class PictureView;

// The window "Grosser Block": the part of the map picture under the rectangle selection, at
// its own size, in the paint box `BildBox`. A tool window of the main window (it stays on top
// of it) with a fixed size, centred on the main window the first time it is shown. Closing it
// drops the stamp, so painting returns to single blocks; hiding it keeps the stamp.
class TGrosserBlockFrom : public QWidget {
    Q_OBJECT

public:
    TGrosserBlockFrom(Session& session, QWidget* mainWindow);

    PictureView* pictureBox() const { return m_box; }
    // Draws the selection afresh, sizes the window to it and shows it. Throws what drawing
    // the map picture throws.
    void showSelection();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Session& m_session;
    Bitmap m_picture;
    PictureView* m_box;
    bool m_placed = false;
};

}  // namespace quillon::ui
