#pragma once

#include <algorithm>

namespace quillon {

// A rectangle of map cells; empty when width or height is 0. Edits return the cells they
// changed so the view repaints only those.
struct CellRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    static CellRect cell(int x, int y) { return {x, y, 1, 1}; }
    // The smallest rectangle holding both.
    CellRect united(const CellRect& o) const {
        if (empty()) {
            return o;
        }
        if (o.empty()) {
            return *this;
        }
        int left = std::min(x, o.x);
        int top = std::min(y, o.y);
        int right = std::max(x + width, o.x + o.width);
        int bottom = std::max(y + height, o.y + o.height);
        return {left, top, right - left, bottom - top};
    }
    friend bool operator==(const CellRect&, const CellRect&) = default;
};

}  // namespace quillon
