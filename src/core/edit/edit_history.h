#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/edit/cell_rect.h"
#include "core/map/block_grid.h"

namespace quillon {

// Takes back the record bytes that undo and redo restore: the owner of the records (the open
// map's event tables) knows what a table number and an index name.
class RecordSink {
public:
    virtual ~RecordSink() = default;
    virtual void restoreRecord(int table, int index, std::span<const std::uint8_t> bytes) = 0;
};

// The undo history of the open map: its grid cells and its event records. Every cell write of
// an edit goes through record(), which stores the cell's entry and movement value before and
// after; every record edit reports its bytes before and after through recordChange(). One edit
// (a click, a whole drag, a fill, a stamp, one field edit) is one step. Undo and redo swap the
// stored values back in. The history knows the step at which the map was last saved, so
// undoing back to it makes the map unmodified again.
class EditHistory {
public:
    // Opens a step; changes until end() belong to it. A step that changed nothing is dropped.
    // Nested begin() calls join the open step (a drag is one step).
    void begin();
    // Closes the step. A step with a merge key (not 0) joins the step before it when that one
    // had the same key, nothing came between and the map was not saved in between: typing
    // "0010" into one field is one step.
    void end(std::uint64_t mergeKey = 0);
    bool inStep() const { return m_open; }

    // Writes entry and movement into cell index of grid, remembering the old values.
    void record(BlockGrid& grid, int index, GridEntry entry, std::uint8_t movement);
    // Record index of table changed from before to after (the caller has written it). Within a
    // step a record keeps its first before and its last after; a record that ends a step as it
    // began it is no change. Outside a step nothing is remembered.
    void recordChange(int table, int index, std::span<const std::uint8_t> before,
                      std::span<const std::uint8_t> after);

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < m_steps.size(); }
    // Returns the cells that changed (empty when there was nothing to undo or redo, or the
    // step changed records only); records go back through records.
    CellRect undo(BlockGrid& grid, RecordSink* records = nullptr);
    CellRect redo(BlockGrid& grid, RecordSink* records = nullptr);

    void clear();
    // The grid was laid out anew (another size): its cell changes no longer name the cells
    // they were made on and are forgotten. Steps left empty go; a modified map stays modified.
    void forgetCells();
    // The records for which gone(table, index) holds no longer exist (a table got fewer
    // records): their changes are forgotten, as forgetCells() does for cells.
    void forgetRecords(const std::function<bool(int table, int index)>& gone);
    void markSaved() { m_saved = static_cast<long>(m_position); }
    // The map changed outside the steps (its event tables got new counts in memory): it is
    // modified until the next save, and no undo makes it unmodified again.
    void markModified() { m_saved = -1; }
    // Whether the map differs from its state at the last save (or at opening); a step still
    // open (a drag under way) counts from its first change.
    bool modified() const {
        return m_saved != static_cast<long>(m_position) || (m_open && !m_current.empty());
    }

private:
    struct Change {
        int index;
        GridEntry before;
        GridEntry after;
        std::uint8_t movementBefore;
        std::uint8_t movementAfter;
    };
    struct RecordChange {
        int table;
        int index;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
    };
    struct Step {
        std::vector<Change> cells;
        std::vector<RecordChange> records;
        bool empty() const { return cells.empty() && records.empty(); }
    };

    CellRect bounds(const Step& step, const BlockGrid& grid) const;
    bool mergeIntoLast(std::uint64_t mergeKey);
    void forgetSlots();
    // Drops what trim removes from each step and the steps left empty, keeping
    // the map modified when it was.
    void trimSteps(const std::function<void(Step&)>& trim);

    std::vector<Step> m_steps;
    std::size_t m_position = 0;
    long m_saved = 0;  // -1: the saved state is no longer reachable
    std::uint64_t m_lastKey = 0;  // merge key of the last step, 0 when it may not grow
    Step m_current;
    // Position of each cell's change in m_current, -1 for none: a drag that passes a cell
    // again updates its change instead of searching the step.
    std::vector<int> m_slot = std::vector<int>(BlockGrid::kMaxCells, -1);
    bool m_open = false;
};

}  // namespace quillon
