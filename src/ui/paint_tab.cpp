#include "ui/paint_tab.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>

#include "ui/command.h"
#include "ui/picture_view.h"

namespace quillon::ui {

PaintTab::PaintTab(Session& session, Dialogs& dialogs, const QString& viewName,
                   const QString& viewBoxName, const QString& paletteName,
                   const QString& paletteBoxName, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_dialogs(dialogs),
      m_view(new PictureView(viewName)),
      m_palette(new PictureView(paletteName)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(makeScrollBox(viewBoxName, m_view, this), 1);
    m_paletteScroll = makeScrollBox(paletteBoxName, m_palette, this);
    m_paletteScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_paletteScroll);
    fitPaletteBox();
}

void PaintTab::setPaletteDoubled(bool doubled) {
    m_palette->setDoubled(doubled);
    fitPaletteBox();
}

void PaintTab::fitPaletteBox() {
    m_paletteScroll->setFixedWidth(m_palette->width() + kScrollBarRoom);
}

void PaintTab::scrollPaletteToRow(int row) {
    m_paletteScroll->verticalScrollBar()->setValue(row * m_palette->cellSize());
}

void PaintTab::edit(const std::function<CellRect()>& change) {
    CellRect changed;
    runCommand(this, m_dialogs, [&] {
        changed = change();
        showChanged(changed);
    });
    if (!changed.empty()) {
        emit mapEdited();
    }
}

}  // namespace quillon::ui
