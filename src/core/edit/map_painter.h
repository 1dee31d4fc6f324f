#pragma once

#include <cstdint>

#include "core/edit/cell_rect.h"
#include "core/edit/edit_history.h"
#include "core/edit/selection.h"
#include "core/map/block_grid.h"

namespace quillon {

// The edits of the block grid held in memory: blocks and movement values painted, filled,
// replaced and stamped. Each returns the cells it changed (empty: nothing changed) and writes
// through the history, so the caller groups writes into undo steps with history.begin/end.
// Cells outside the map are ignored.
class MapPainter {
public:
    MapPainter(BlockGrid& grid, EditHistory& history) : m_grid(grid), m_history(history) {}

    // The cell's movement value (bits 10-15 of its entry) is kept.
    CellRect paintBlock(int x, int y, std::uint16_t block);
    // Every cell connected (up, down, left, right) to (x, y) through cells holding the block
    // that (x, y) holds. Nothing when (x, y) already holds block.
    CellRect fillBlocks(int x, int y, std::uint16_t block);
    // Every cell of the map holding the block that (x, y) holds, connected or not.
    CellRect replaceBlocks(int x, int y, std::uint16_t block);
    // The stamp's entries, whole, with (x, y) as the top left; cut at the map's edges.
    CellRect pasteStamp(const Stamp& stamp, int x, int y);

    // Movement values: the block number of each cell stays.
    CellRect paintMovement(int x, int y, std::uint8_t value);
    CellRect fillMovement(int x, int y, std::uint8_t value);
    CellRect replaceMovement(int x, int y, std::uint8_t value);

private:
    template <typename Key, typename Write>
    CellRect floodFill(int x, int y, Key key, Write write);
    void writeBlock(int index, std::uint16_t block);
    void writeMovement(int index, std::uint8_t value);

    BlockGrid& m_grid;
    EditHistory& m_history;
};

}  // namespace quillon
