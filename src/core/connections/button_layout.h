#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/connections/connection_table.h"

namespace quillon {

// The 14 neighbour buttons of the connections window, in this order: three along the bottom
// edge, three along the top, three on the left, three on the right, then dive and emerge.
enum class NeighbourButton : std::size_t {
    Down1 = 0,
    Down2,
    Down3,
    Up1,
    Up2,
    Up3,
    Left1,
    Left2,
    Left3,
    Right1,
    Right2,
    Right3,
    Dive,
    Emerge,
};
inline constexpr std::size_t kNeighbourButtons = 14;

struct ButtonRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const ButtonRect&) const = default;
};

struct ButtonPlace {
    int connection = 0;    // 1-based connection number; 0: no connection, disabled
    bool visible = true;   // an edge without connections shows its three buttons disabled
    bool missing = false;  // the neighbour named is not in the bank table: it cannot open
    ButtonRect rect;
};

// The neighbour area (233 x 233): which connection each button opens and where it lies.
// An edge with one connection has button 1 180 long from 25; two: 90 long at 25 and 115 (the
// lower offset first); three: 60 long at 25, 85, 145 in order of ascending offset. A fourth
// connection on an edge gets no button; of several dive (emerge) connections the last one
// counts. Buttons of an edge in use that are not needed are hidden; an edge without
// connections shows its three buttons 60 long, disabled. Dive lies at (75, 145), emerge at
// (75, 60), both 80 x 25.
using ButtonLayout = std::array<ButtonPlace, kNeighbourButtons>;

// exists(bank, map) tells whether the neighbour a connection names can be opened.
ButtonLayout layoutButtons(const std::vector<Connection>& connections,
                           const std::function<bool(int bank, int map)>& exists);

}  // namespace quillon
