#pragma once

// TEMPORARY: the records of the ROM's write history, declared here only so the window can be
// built before the history itself lands. Replaced by the real unit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Marks the stand-in above: window tests of the history skip themselves while it is in.
#define QUILLON_HISTORY_STUB 1

namespace quillon {

struct HistoryRange {
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> before, after;
};

struct HistoryEntry {
    std::uint64_t id = 0;
    std::string name;
    std::int64_t time = 0;
    std::string map;
    std::vector<HistoryRange> ranges;
    bool undone = false;
    std::size_t byteCount() const {
        std::size_t n = 0;
        for (const HistoryRange& r : ranges) {
            n += r.after.size();
        }
        return n;
    }
};

}  // namespace quillon
