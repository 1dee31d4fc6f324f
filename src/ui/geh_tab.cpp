#include "ui/geh_tab.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>

#include "core/session.h"
#include "ui/command.h"
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

GehTab::GehTab(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_dialogs(dialogs),
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
    connect(m_gehBox, &PictureView::cellPressed, this, &GehTab::GehBoxMouseDown);
    connect(m_gehBox, &PictureView::cellReleased, this, [this] { GehBoxMouseUp(); });
    connect(m_palette, &PictureView::cellMoved, this, &GehTab::GehPaletteMouseMove);
    connect(m_palette, &PictureView::cellPressed, this,
            [this](int, int y) { GehPaletteMouseDown(y); });
}

void GehTab::showPalette() {
    m_palette->setBitmap(&m_session.movementPalette());
    fitPaletteBox();
}

void GehTab::refresh() {
    m_gehBox->setBitmap(m_session.mapLoaded() ? &m_session.movementView() : nullptr);
}

void GehTab::showChanged(CellRect changed) {
    if (!changed.empty() && m_session.mapLoaded() && isVisible()) {
        m_gehBox->showCells(&m_session.movementView(), changed);
    }
}

void GehTab::finishGestures() {
    if (m_painting) {
        GehBoxMouseUp();
    }
}

void GehTab::setViewDoubled(bool doubled) { m_gehBox->setDoubled(doubled); }

void GehTab::setPaletteDoubled(bool doubled) {
    m_palette->setDoubled(doubled);
    fitPaletteBox();
}

void GehTab::fitPaletteBox() {
    m_paletteScroll->setFixedWidth(m_palette->width() + kScrollBarRoom);
}

void GehTab::edit(const std::function<CellRect()>& change) {
    CellRect changed;
    runCommand(this, m_dialogs, [&] {
        changed = change();
        showChanged(changed);
    });
    if (!changed.empty()) {
        emit mapEdited();
    }
}

void GehTab::GehBoxMouseMove(int x, int y) {
    const BlockGrid& grid = m_session.grid();
    // Beyond the map's edge the status bar keeps its text and nothing is painted.
    if (!m_session.mapLoaded() || !grid.contains(x, y)) {
        return;
    }
    emit statusText(QStringLiteral("X: %1 Y: %2 %3 %4")
                        .arg(x)
                        .arg(y)
                        .arg(langText(m_session.lang(), 33, "Block:"),
                             movementName(m_session, grid.at(x, y).movement())));
    if (m_painting) {
        edit([&] { return m_session.editor().paintMovement(x, y); });
    }
}

void GehTab::GehBoxMouseDown(int x, int y, Qt::MouseButton button,
                             Qt::KeyboardModifiers modifiers) {
    if (!m_session.mapLoaded()) {
        return;
    }
    MapEditor& editor = m_session.editor();
    if (button == Qt::LeftButton) {
        m_painting = true;
        editor.beginStroke();
        edit([&] { return editor.paintMovement(x, y); });
    } else if (button == Qt::MiddleButton) {
        const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
        edit([&] { return ctrl ? editor.replaceMovement(x, y) : editor.fillMovement(x, y); });
    } else if (button == Qt::RightButton) {
        const int value = editor.pickMovement(x, y);
        if (value >= 0) {
            m_paletteScroll->verticalScrollBar()->setValue(value * m_palette->cellSize());
        }
    }
}

void GehTab::GehBoxMouseUp() {
    m_painting = false;
    m_session.editor().endStroke();
}

void GehTab::GehPaletteMouseMove(int, int y) {
    if (y < 0 || y >= static_cast<int>(m_session.movementNames().size())) {
        return;
    }
    emit statusText(QStringLiteral("%1 %2").arg(langText(m_session.lang(), 35, "GehBlock:"),
                                                movementName(m_session, y)));
}

// Any button chooses the value of the row under the pointer.
void GehTab::GehPaletteMouseDown(int y) { m_session.editor().selectMovement(y); }

}  // namespace quillon::ui
