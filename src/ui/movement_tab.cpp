#include "ui/movement_tab.h"

#include "core/session/session.h"
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

MovementTab::MovementTab(Session& session, Dialogs& dialogs, QWidget* parent)
    : PaintTab(session, dialogs, QStringLiteral("GehBox"), QStringLiteral("ScrollBox4"),
               QStringLiteral("GehPalette"), QStringLiteral("ScrollBox5"), parent) {
    connect(m_view, &PictureView::cellMoved, this,
            commandSlot(this, m_dialogs, this, &MovementTab::GehBoxMouseMove));
    connect(m_view, &PictureView::cellPressed, this,
            commandSlot(this, m_dialogs, this, &MovementTab::GehBoxMouseDown));
    connect(m_view, &PictureView::cellReleased, this,
            commandSlot(this, m_dialogs, this, &MovementTab::GehBoxMouseUp));
    connect(m_palette, &PictureView::cellMoved, this,
            commandSlot(this, m_dialogs, this, &MovementTab::GehPaletteMouseMove));
    connect(m_palette, &PictureView::cellPressed, this,
            commandSlot(this, m_dialogs, this, &MovementTab::GehPaletteMouseDown));
}

void MovementTab::showPalette() {
    m_palette->setBitmap(&m_session.mapState().pictures().movementPalette());
    fitPaletteBox();
}

void MovementTab::refresh() {
    m_view->setBitmap(
        m_session.mapState().loaded() ? &m_session.mapState().pictures().movementView() : nullptr);
}

void MovementTab::showChanged(CellRect changed) {
    if (!changed.empty() && m_session.mapState().loaded() && isVisible()) {
        m_view->showCells(&m_session.mapState().pictures().movementView(), changed);
    }
}

void MovementTab::finishGestures() {
    if (m_painting) {
        GehBoxMouseUp();
    }
}

void MovementTab::setViewDoubled(bool doubled) { m_view->setDoubled(doubled); }

void MovementTab::GehBoxMouseMove(int x, int y) {
    const BlockGrid& grid = m_session.mapState().grid();
    // Beyond the map's edge the status bar keeps its text and nothing is painted.
    if (!m_session.mapState().loaded() || !grid.contains(x, y)) {
        return;
    }
    emit statusText(QStringLiteral("X: %1 Y: %2 %3 %4")
                        .arg(x)
                        .arg(y)
                        .arg(langText(m_session.lang(), 33, "Block:"),
                             movementName(m_session, grid.at(x, y).movement())));
    if (m_painting) {
        edit([&] { return m_session.mapState().editor().paintMovement(x, y); });
    }
}

void MovementTab::GehBoxMouseDown(int x, int y, Qt::MouseButton button,
                                  Qt::KeyboardModifiers modifiers) {
    if (!m_session.mapState().loaded()) {
        return;
    }
    MapEditor& editor = m_session.mapState().editor();
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
            scrollPaletteToRow(value);
        }
    }
}

void MovementTab::GehBoxMouseUp() {
    m_painting = false;
    m_session.mapState().editor().endStroke();
    emit mapEdited();  // the finished stroke is a step: undo follows it
}

void MovementTab::GehPaletteMouseMove(int, int y) {
    if (y < 0 || y >= static_cast<int>(m_session.movementNames().size())) {
        return;
    }
    emit statusText(QStringLiteral("%1 %2").arg(langText(m_session.lang(), 35, "GehBlock:"),
                                                movementName(m_session, y)));
}

// Any button chooses the value of the row under the pointer.
void MovementTab::GehPaletteMouseDown(int, int y) {
    m_session.mapState().editor().selectMovement(y);
}

}  // namespace quillon::ui
