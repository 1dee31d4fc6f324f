#include "core/state/map_editor.h"

#include "core/edit/brush.h"
#include "core/map/block_grid.h"
#include "core/state/map_pictures.h"

namespace quillon {

MapEditor::MapEditor(BlockGrid& grid, MapPictures& pictures, EditHistory& history, Brush& brush)
    : m_grid(grid),
      m_pictures(pictures),
      m_history(history),
      m_brush(brush),
      m_painter(grid, history) {}

int MapEditor::selectedBlock() const { return m_brush.block(); }

void MapEditor::selectBlock(int block) { m_brush.selectBlock(block); }

std::uint8_t MapEditor::selectedMovement() const { return m_brush.movement(); }

void MapEditor::selectMovement(int value) { m_brush.selectMovement(value); }

bool MapEditor::hasStamp() const { return m_brush.hasStamp(); }

const Stamp& MapEditor::stamp() const { return m_brush.stamp(); }

void MapEditor::clearStamp() { m_brush.clearStamp(); }

int MapEditor::pickBlock(int x, int y) {
    if (!m_grid.contains(x, y)) {
        return -1;
    }
    m_brush.selectBlock(m_grid.at(x, y).block());
    return m_brush.block();
}

int MapEditor::pickMovement(int x, int y) {
    if (!m_grid.contains(x, y)) {
        return -1;
    }
    m_brush.selectMovement(m_grid.at(x, y).movement());
    return m_brush.movement();
}

void MapEditor::beginStroke() { m_history.begin(); }

void MapEditor::endStroke() { m_history.end(); }

template <typename Edit>
CellRect MapEditor::step(Edit edit) {
    const bool own = !m_history.inStep();
    if (own) {
        m_history.begin();
    }
    CellRect changed = edit();
    if (own) {
        m_history.end();
    }
    cellsChanged(changed);
    return changed;
}

CellRect MapEditor::paint(int x, int y) {
    if (hasStamp()) {
        return step([&] { return m_painter.pasteStamp(m_brush.stamp(), x, y); });
    }
    return step(
        [&] { return m_painter.paintBlock(x, y, static_cast<std::uint16_t>(m_brush.block())); });
}

CellRect MapEditor::fillBlocks(int x, int y) {
    return step(
        [&] { return m_painter.fillBlocks(x, y, static_cast<std::uint16_t>(m_brush.block())); });
}

CellRect MapEditor::replaceBlocks(int x, int y) {
    return step(
        [&] { return m_painter.replaceBlocks(x, y, static_cast<std::uint16_t>(m_brush.block())); });
}

CellRect MapEditor::paintMovement(int x, int y) {
    return step([&] { return m_painter.paintMovement(x, y, m_brush.movement()); });
}

CellRect MapEditor::fillMovement(int x, int y) {
    return step([&] { return m_painter.fillMovement(x, y, m_brush.movement()); });
}

CellRect MapEditor::replaceMovement(int x, int y) {
    return step([&] { return m_painter.replaceMovement(x, y, m_brush.movement()); });
}

void MapEditor::startSelection(int x, int y) {
    m_selection.start(x, y);
    m_selecting = true;
}

void MapEditor::dragSelection(int x, int y) {
    if (m_selecting) {
        m_selection.dragTo(x, y);
    }
}

void MapEditor::endSelection() {
    if (!m_selecting) {
        return;
    }
    m_selecting = false;
    m_brush.setStamp(Stamp::copy(m_grid, m_selection.rect()));
}

Bitmap MapEditor::selectionPicture() {
    const CellRect r = m_selection.rect();
    Bitmap out(r.width * 16, r.height * 16);
    const Bitmap& map = m_pictures.map();
    for (int y = 0; y < out.height(); ++y) {
        const int sy = r.y * 16 + y;
        for (int x = 0; x < out.width(); ++x) {
            const int sx = r.x * 16 + x;
            if (map.contains(sx, sy)) {
                out.setPixel(x, y, map.pixel(sx, sy));
            }
        }
    }
    return out;
}

CellRect MapEditor::undo() {
    CellRect r = m_history.undo(m_grid, m_records);
    cellsChanged(r);
    return r;
}

CellRect MapEditor::redo() {
    CellRect r = m_history.redo(m_grid, m_records);
    cellsChanged(r);
    return r;
}

void MapEditor::cellsChanged(CellRect rect) {
    if (!rect.empty()) {
        ++m_gridRevision;
    }
    m_pictures.cellsChanged(rect);
}

}  // namespace quillon
