#include "ui/map_tab.h"

#include <QHBoxLayout>
#include <QScrollArea>

#include "core/gfx/map_renderer.h"
#include "core/gfx/tileset_pair.h"
#include "core/rom/numbers.h"
#include "core/session.h"
#include "ui/language_texts.h"
#include "ui/picture_view.h"
#include "ui/qt_text.h"

namespace quillon::ui {

MapTab::MapTab(Session& session, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_mapBox(new PictureView(QStringLiteral("MapBox"))),
      m_palette(new PictureView(QStringLiteral("BlockPalette"))) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(makeScrollBox(QStringLiteral("ScrollBox2"), m_mapBox, this), 1);
    m_paletteScroll = makeScrollBox(QStringLiteral("ScrollBox3"), m_palette, this);
    m_paletteScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_paletteScroll);
    fitPaletteBox();

    connect(m_mapBox, &PictureView::cellMoved, this, &MapTab::MapBoxMouseMove);
    connect(m_palette, &PictureView::cellMoved, this, &MapTab::BlockPaletteMouseMove);
}

void MapTab::refresh() {
    if (!m_session.mapLoaded()) {
        m_mapBox->setBitmap(nullptr);
        m_palette->setBitmap(nullptr);
    } else {
        m_mapBox->setBitmap(&m_session.mapPicture());
        m_palette->setBitmap(&m_session.blockPalette());
    }
    fitPaletteBox();
}

void MapTab::setMapDoubled(bool doubled) { m_mapBox->setDoubled(doubled); }

void MapTab::setPaletteDoubled(bool doubled) {
    m_palette->setDoubled(doubled);
    fitPaletteBox();
}

void MapTab::fitPaletteBox() {
    m_paletteScroll->setFixedWidth(m_palette->width() + kScrollBarRoom);
}

void MapTab::MapBoxMouseMove(int x, int y) {
    const BlockGrid& grid = m_session.grid();
    if (!m_session.mapLoaded() || !grid.contains(x, y)) {
        return;
    }
    const LanguageTable& lang = m_session.lang();
    emit statusText(QStringLiteral("X: %1 Y: %2 %3 %4")
                        .arg(x)
                        .arg(y)
                        .arg(langText(lang, 33, "Block:"), toQ(IntToHex(grid.at(x, y).raw, 4))));
}

void MapTab::BlockPaletteMouseMove(int x, int y) {
    const int width = m_session.settings().blockPaletteBreite();
    if (!m_session.mapLoaded() || x < 0 || y < 0 || x >= width) {
        return;
    }
    const int block = blockPaletteBlockAt(width, x * PictureView::kCell, y * PictureView::kCell);
    const LanguageTable& lang = m_session.lang();
    emit statusText(QStringLiteral("%1 %2 %3 %4")
                        .arg(langText(lang, 33, "Block:"), toQ(IntToHex(block, 2)),
                             langText(lang, 34, "Offset:"),
                             toQ(IntToHex(m_session.tilesets().blockRecordOffset(block), 1))));
}

}  // namespace quillon::ui
