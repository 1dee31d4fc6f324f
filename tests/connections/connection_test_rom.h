#pragma once

#include <vector>

#include "core/connections/connection_table.h"
#include "tests/events/event_test_rom.h"

namespace quillon::testing {

// Maps joined in pairs that lead back and pairs that do not:
//   0.0: down 0 -> 0.1, right 5 -> 0.2, left 3 -> 0.3, up 0 -> 7.7 (no such map),
//        dive 0 -> 1.0
//   0.1: up 0 -> 0.0          (the way back of 0.0's down)
//   0.2: left -5 -> 0.0       (the way back of 0.0's right)
//   0.3: right 3 -> 0.0       (wrong offset: neither leads back)
//   0.4: no connection header
//   1.0: emerge 0 -> 0.0      (the way back of 0.0's dive)
inline romkit::RomBuilder connectionRomBuilder() {
    romkit::RomBuilder b = eventRomBuilder();
    const auto add = [&](int bank, int map, std::optional<std::vector<Connection>> c) {
        romkit::MapSpec m = eventMap(bank, map);
        m.connections = std::move(c);
        b.addMap(m);
    };
    add(0, 0,
        std::vector<Connection>{
            {1, 0, 0, 1, 0}, {4, 5, 0, 2, 0}, {3, 3, 0, 3, 0}, {2, 0, 7, 7, 0}, {5, 0, 1, 0, 0}});
    add(0, 1, std::vector<Connection>{{2, 0, 0, 0, 0}});
    add(0, 2, std::vector<Connection>{{3, -5, 0, 0, 0}});
    add(0, 3, std::vector<Connection>{{4, 3, 0, 0, 0}});
    add(0, 4, std::nullopt);
    add(1, 0, std::vector<Connection>{{6, 0, 0, 0, 0}});
    return b;
}

}  // namespace quillon::testing
