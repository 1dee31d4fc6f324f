#include "core/edit/selection.h"

#include <algorithm>

namespace quillon {

namespace {

// Signed size to its positive length: 1 -> 1, 0 -> 2, -1 -> 3.
int lengthOf(int signedSize) { return signedSize < 1 ? 2 - signedSize : signedSize; }
int signedOf(int length, bool backwards) { return backwards ? 2 - length : length; }

}  // namespace

void Selection::start(int x, int y) {
    m_left = x;
    m_top = y;
    m_width = 1;
    m_height = 1;
}

void Selection::dragTo(int x, int y) {
    int w = x - m_left + 1;
    int h = y - m_top + 1;
    int lw = lengthOf(w);
    int lh = lengthOf(h);
    if (lw * lh > kMaxCells) {
        lw = std::min(lw, kMaxCells);
        lh = std::min(lh, std::max(1, kMaxCells / lw));
        w = signedOf(lw, w < 1);
        h = signedOf(lh, h < 1);
    }
    m_width = w;
    m_height = h;
}

CellRect Selection::rect() const {
    CellRect r{m_left, m_top, m_width, m_height};
    if (r.width < 1) {
        r.x = r.x + r.width - 1;
        r.width = 2 - r.width;
    }
    if (r.height < 1) {
        r.y = r.y + r.height - 1;
        r.height = 2 - r.height;
    }
    return r;
}

Stamp Stamp::copy(const BlockGrid& grid, CellRect rect) {
    // Keep the part inside the map: cells outside it have no entry to copy.
    int x0 = std::max(rect.x, 0);
    int y0 = std::max(rect.y, 0);
    int x1 = std::min(rect.x + rect.width, static_cast<int>(grid.width));
    int y1 = std::min(rect.y + rect.height, static_cast<int>(grid.height));
    Stamp s;
    if (x1 <= x0 || y1 <= y0) {
        return s;
    }
    s.width = x1 - x0;
    s.height = y1 - y0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            s.cells.push_back(grid.at(x, y));
        }
    }
    return s;
}

}  // namespace quillon
