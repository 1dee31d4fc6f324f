#include "core/edit/grid_history.h"

namespace quillon {

void GridHistory::begin() {
    if (!m_open) {
        m_open = true;
        m_current.clear();
    }
}

void GridHistory::end() {
    if (!m_open) {
        return;
    }
    m_open = false;
    forgetSlots();
    if (m_current.empty()) {
        return;
    }
    m_steps.resize(m_position);
    if (m_saved > static_cast<long>(m_position)) {
        m_saved = -1;
    }
    m_steps.push_back(std::move(m_current));
    m_current = {};
    ++m_position;
}

void GridHistory::record(BlockGrid& grid, int index, GridEntry entry, std::uint8_t movement) {
    auto i = static_cast<std::size_t>(index);
    GridEntry before = grid.cells[i];
    std::uint8_t movementBefore = grid.movement[i];
    if (before == entry && movementBefore == movement) {
        return;
    }
    grid.cells[i] = entry;
    grid.movement[i] = movement;
    if (!m_open) {
        return;
    }
    // A drag over the same cell twice keeps the first "before" and the last "after".
    int& slot = m_slot[i];
    if (slot >= 0) {
        m_current[static_cast<std::size_t>(slot)].after = entry;
        m_current[static_cast<std::size_t>(slot)].movementAfter = movement;
        return;
    }
    slot = static_cast<int>(m_current.size());
    m_current.push_back({index, before, entry, movementBefore, movement});
}

CellRect GridHistory::bounds(const Step& step, const BlockGrid& grid) const {
    CellRect r;
    const int w = grid.width > 0 ? grid.width : 1;
    for (const auto& c : step) {
        r = r.united(CellRect::cell(c.index % w, c.index / w));
    }
    return r;
}

CellRect GridHistory::undo(BlockGrid& grid) {
    if (!canUndo() || m_open) {
        return {};
    }
    const Step& step = m_steps[--m_position];
    for (auto it = step.rbegin(); it != step.rend(); ++it) {
        grid.cells[static_cast<std::size_t>(it->index)] = it->before;
        grid.movement[static_cast<std::size_t>(it->index)] = it->movementBefore;
    }
    return bounds(step, grid);
}

CellRect GridHistory::redo(BlockGrid& grid) {
    if (!canRedo() || m_open) {
        return {};
    }
    const Step& step = m_steps[m_position++];
    for (const auto& c : step) {
        grid.cells[static_cast<std::size_t>(c.index)] = c.after;
        grid.movement[static_cast<std::size_t>(c.index)] = c.movementAfter;
    }
    return bounds(step, grid);
}

void GridHistory::forgetSlots() {
    for (const auto& c : m_current) {
        m_slot[static_cast<std::size_t>(c.index)] = -1;
    }
}

void GridHistory::clear() {
    forgetSlots();
    m_steps.clear();
    m_current.clear();
    m_position = 0;
    m_saved = 0;
    m_open = false;
}

}  // namespace quillon
