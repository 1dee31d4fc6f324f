#include "ui/geh_tab.h"

#include <QHBoxLayout>
#include <QScrollArea>

#include "core/session.h"
#include "ui/language_texts.h"
#include "ui/picture_view.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

QString movementName(const Session& session, int value) {
    const auto& names = session.movementNames();
    if (value < 0 || static_cast<std::size_t>(value) >= names.size()) {
        return QStringLiteral("???");
    }
    return toQ(names[static_cast<std::size_t>(value)]);
}

}  // namespace

GehTab::GehTab(Session& session, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_gehBox(new PictureView(QStringLiteral("GehBox"))),
      m_palette(new PictureView(QStringLiteral("GehPalette"))) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(makeScrollBox(QStringLiteral("ScrollBox4"), m_gehBox, this), 1);
    m_paletteScroll = makeScrollBox(QStringLiteral("ScrollBox5"), m_palette, this);
    m_paletteScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_paletteScroll);
    fitPaletteBox();

    connect(m_gehBox, &PictureView::cellMoved, this, &GehTab::GehBoxMouseMove);
    connect(m_palette, &PictureView::cellMoved, this, &GehTab::GehPaletteMouseMove);
}

void GehTab::showPalette() {
    m_palette->setBitmap(&m_session.movementPalette());
    fitPaletteBox();
}

void GehTab::refresh() {
    m_gehBox->setBitmap(m_session.mapLoaded() ? &m_session.movementView() : nullptr);
}

void GehTab::setViewDoubled(bool doubled) { m_gehBox->setDoubled(doubled); }

void GehTab::setPaletteDoubled(bool doubled) {
    m_palette->setDoubled(doubled);
    fitPaletteBox();
}

void GehTab::fitPaletteBox() {
    m_paletteScroll->setFixedWidth(m_palette->width() + kScrollBarRoom);
}

void GehTab::GehBoxMouseMove(int x, int y) {
    const BlockGrid& grid = m_session.grid();
    // Beyond the map's edge the status bar keeps its text.
    if (!m_session.mapLoaded() || !grid.contains(x, y)) {
        return;
    }
    emit statusText(QStringLiteral("X: %1 Y: %2 %3 %4")
                        .arg(x)
                        .arg(y)
                        .arg(langText(m_session.lang(), 33, "Block:"),
                             movementName(m_session, grid.at(x, y).movement())));
}

void GehTab::GehPaletteMouseMove(int, int y) {
    if (y < 0 || y >= static_cast<int>(m_session.movementNames().size())) {
        return;
    }
    emit statusText(QStringLiteral("%1 %2").arg(langText(m_session.lang(), 35, "GehBlock:"),
                                                movementName(m_session, y)));
}

}  // namespace quillon::ui
