#pragma once

#include <vector>

#include "core/edit/cell_rect.h"
#include "core/map/block_grid.h"

namespace quillon {

// A rectangle of cells dragged with the mouse: the start cell and a signed size (width =
// current column - start column + 1), so a drag to the left or upwards has a size below 1.
class Selection {
public:
    static constexpr int kMaxCells = 500;

    void start(int x, int y);
    // Follows the pointer; a rectangle of more than 500 cells is cut, the start corner staying.
    void dragTo(int x, int y);
    // The rectangle with positive sides.
    CellRect rect() const;

    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_left = 0;
    int m_top = 0;
    int m_width = 1;
    int m_height = 1;
};

// Cells copied from a selection, row by row: the brush that a left click pastes whole (block
// and movement value).
struct Stamp {
    int width = 0;
    int height = 0;
    std::vector<GridEntry> cells;

    // The part of rect inside the map. At most 500 cells.
    static Stamp copy(const BlockGrid& grid, CellRect rect);
    bool empty() const { return cells.empty(); }
};

}  // namespace quillon
