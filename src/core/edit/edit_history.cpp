#include "core/edit/edit_history.h"

#include <algorithm>

namespace quillon {

void EditHistory::begin() {
    if (!m_open) {
        m_open = true;
        m_current = {};
    }
}

void EditHistory::end(std::uint64_t mergeKey) {
    if (!m_open) {
        return;
    }
    m_open = false;
    forgetSlots();
    // A drag that brought an event back where it started changed nothing.
    std::erase_if(m_current.records, [](const RecordChange& c) { return c.before == c.after; });
    if (m_current.empty()) {
        return;
    }
    if (mergeIntoLast(mergeKey)) {
        return;
    }
    m_lastKey = mergeKey;
    m_steps.resize(m_position);
    if (m_saved > static_cast<long>(m_position)) {
        m_saved = -1;
    }
    m_steps.push_back(std::move(m_current));
    m_current = {};
    ++m_position;
}

bool EditHistory::mergeIntoLast(std::uint64_t mergeKey) {
    if (mergeKey == 0 || mergeKey != m_lastKey || m_position == 0 ||
        m_position != m_steps.size() || m_saved == static_cast<long>(m_position) ||
        !m_current.cells.empty()) {
        return false;
    }
    Step& last = m_steps.back();
    for (RecordChange& change : m_current.records) {
        auto same = std::find_if(last.records.begin(), last.records.end(), [&](const auto& c) {
            return c.table == change.table && c.index == change.index;
        });
        if (same == last.records.end()) {
            last.records.push_back(std::move(change));
        } else {
            same->after = std::move(change.after);
        }
    }
    m_current = {};
    std::erase_if(last.records, [](const RecordChange& c) { return c.before == c.after; });
    if (last.empty()) {
        // Typed back to what it was: the step is gone.
        m_steps.pop_back();
        --m_position;
        m_lastKey = 0;
    }
    return true;
}

void EditHistory::record(BlockGrid& grid, int index, GridEntry entry, std::uint8_t movement) {
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
        m_current.cells[static_cast<std::size_t>(slot)].after = entry;
        m_current.cells[static_cast<std::size_t>(slot)].movementAfter = movement;
        return;
    }
    slot = static_cast<int>(m_current.cells.size());
    m_current.cells.push_back({index, before, entry, movementBefore, movement});
}

void EditHistory::recordChange(int table, int index, std::span<const std::uint8_t> before,
                               std::span<const std::uint8_t> after) {
    if (!m_open) {
        return;
    }
    // A step touches a handful of records: a search is cheap.
    auto it =
        std::find_if(m_current.records.begin(), m_current.records.end(),
                     [&](const RecordChange& c) { return c.table == table && c.index == index; });
    if (it != m_current.records.end()) {
        it->after.assign(after.begin(), after.end());
        return;
    }
    m_current.records.push_back(
        {table, index, {before.begin(), before.end()}, {after.begin(), after.end()}});
}

CellRect EditHistory::bounds(const Step& step, const BlockGrid& grid) const {
    CellRect r;
    const int w = grid.width > 0 ? grid.width : 1;
    for (const auto& c : step.cells) {
        r = r.united(CellRect::cell(c.index % w, c.index / w));
    }
    return r;
}

CellRect EditHistory::undo(BlockGrid& grid, RecordSink* records) {
    m_lastKey = 0;
    if (!canUndo() || m_open) {
        return {};
    }
    const Step& step = m_steps[--m_position];
    for (auto it = step.cells.rbegin(); it != step.cells.rend(); ++it) {
        grid.cells[static_cast<std::size_t>(it->index)] = it->before;
        grid.movement[static_cast<std::size_t>(it->index)] = it->movementBefore;
    }
    if (records) {
        for (auto it = step.records.rbegin(); it != step.records.rend(); ++it) {
            records->restoreRecord(it->table, it->index, it->before);
        }
    }
    return bounds(step, grid);
}

CellRect EditHistory::redo(BlockGrid& grid, RecordSink* records) {
    m_lastKey = 0;
    if (!canRedo() || m_open) {
        return {};
    }
    const Step& step = m_steps[m_position++];
    for (const auto& c : step.cells) {
        grid.cells[static_cast<std::size_t>(c.index)] = c.after;
        grid.movement[static_cast<std::size_t>(c.index)] = c.movementAfter;
    }
    if (records) {
        for (const auto& c : step.records) {
            records->restoreRecord(c.table, c.index, c.after);
        }
    }
    return bounds(step, grid);
}

void EditHistory::forgetSlots() {
    for (const auto& c : m_current.cells) {
        m_slot[static_cast<std::size_t>(c.index)] = -1;
    }
}

void EditHistory::clear() {
    m_lastKey = 0;
    forgetSlots();
    m_steps.clear();
    m_current = {};
    m_position = 0;
    m_saved = 0;
    m_open = false;
}

void EditHistory::forgetCells() {
    trimSteps([](Step& step) { step.cells.clear(); });
}

void EditHistory::forgetRecords(const std::function<bool(int table, int index)>& gone) {
    trimSteps([&](Step& step) {
        std::erase_if(step.records, [&](const RecordChange& c) { return gone(c.table, c.index); });
    });
}

void EditHistory::trimSteps(const std::function<void(Step&)>& trim) {
    const bool wasModified = modified();
    std::size_t position = 0;
    bool dropped = false;
    std::vector<Step> kept;
    for (std::size_t i = 0; i < m_steps.size(); ++i) {
        if (i == m_position) {
            position = kept.size();
        }
        const std::size_t changes = m_steps[i].cells.size() + m_steps[i].records.size();
        trim(m_steps[i]);
        dropped = dropped || changes != m_steps[i].cells.size() + m_steps[i].records.size();
        if (!m_steps[i].empty()) {
            kept.push_back(std::move(m_steps[i]));
        }
    }
    if (m_position == m_steps.size()) {
        position = kept.size();
    }
    m_steps = std::move(kept);
    m_position = position;
    m_lastKey = 0;
    // Without the forgotten changes no step leads back to the saved state any more; an
    // unmodified map is saved as it is now.
    if (dropped) {
        m_saved = wasModified ? -1 : static_cast<long>(position);
    }
}

}  // namespace quillon
