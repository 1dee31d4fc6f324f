#include "ui/big_block_view.h"

#include <QCloseEvent>

#include "core/session/session.h"
#include "ui/picture_view.h"

namespace quillon::ui {

TGrosserBlockFrom::TGrosserBlockFrom(Session& session, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      m_session(session),
      m_box(new PictureView(QStringLiteral("BildBox"), this)) {
    setObjectName(QStringLiteral("TGrosserBlockFrom"));
    setWindowTitle(QStringLiteral("Grosser Block"));
    // The box sits in the top-left corner at the picture's size; the window is exactly as big.
    m_box->setBitmap(&m_picture);
    setFixedSize(m_box->size());
}

void TGrosserBlockFrom::showSelection() {
    m_picture = m_session.mapState().editor().selectionPicture();
    m_box->refresh();
    setFixedSize(m_box->size());
    if (!m_placed && parentWidget() != nullptr) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
        m_placed = true;
    }
    if (!isVisible()) {
        show();
    }
}

void TGrosserBlockFrom::closeEvent(QCloseEvent* event) {
    m_session.mapState().editor().clearStamp();
    QWidget::closeEvent(event);
}

}  // namespace quillon::ui
