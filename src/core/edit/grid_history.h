#pragma once

#include <cstdint>
#include <vector>

#include "core/edit/cell_rect.h"
#include "core/map/block_grid.h"

namespace quillon {

// The undo history of the open map's grid. Every cell write of an edit goes through record(),
// which stores the cell's entry and movement value before and after; one edit (a click, a
// whole drag, a fill, a stamp) is one step. Undo and redo swap the stored values back in.
// The history knows the step at which the grid was last saved, so undoing back to it makes
// the map unmodified again.
class GridHistory {
public:
    // Opens a step; writes recorded until end() belong to it. A step that changed nothing is
    // dropped. Nested begin() calls join the open step (a drag is one step).
    void begin();
    void end();
    bool inStep() const { return m_open; }

    // Writes entry and movement into cell index of grid, remembering the old values.
    void record(BlockGrid& grid, int index, GridEntry entry, std::uint8_t movement);

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < m_steps.size(); }
    // Returns the cells that changed; empty when there was nothing to undo or redo.
    CellRect undo(BlockGrid& grid);
    CellRect redo(BlockGrid& grid);

    void clear();
    void markSaved() { m_saved = static_cast<long>(m_position); }
    // Whether the grid differs from its state at the last save (or at opening).
    bool modified() const { return m_saved != static_cast<long>(m_position); }

private:
    struct Change {
        int index;
        GridEntry before;
        GridEntry after;
        std::uint8_t movementBefore;
        std::uint8_t movementAfter;
    };
    using Step = std::vector<Change>;

    CellRect bounds(const Step& step, const BlockGrid& grid) const;
    void forgetSlots();

    std::vector<Step> m_steps;
    std::size_t m_position = 0;
    long m_saved = 0;  // -1: the saved state is no longer reachable
    Step m_current;
    // Position of each cell's change in m_current, -1 for none: a drag that passes a cell
    // again updates its change instead of searching the step.
    std::vector<int> m_slot = std::vector<int>(BlockGrid::kMaxCells, -1);
    bool m_open = false;
};

}  // namespace quillon
