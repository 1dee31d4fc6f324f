#include "core/rom/history_check.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/rom/rom_file.h"

namespace quillon::history_check {

namespace {

std::uint64_t endOf(const HistoryRange& r) { return r.offset + std::uint64_t{r.after.size()}; }

bool covers(const HistoryRange& r, std::uint64_t at) { return at >= r.offset && at < endOf(r); }

std::vector<std::uint8_t> romBytes(RomFile& rom, const HistoryRange& r) {
    std::vector<std::uint8_t> now(r.after.size());
    rom.read(r.offset, now);
    return now;
}

// The byte at `at` before e wrote anything: the old byte of the first range covering it.
std::uint8_t firstOld(const HistoryEntry& e, std::uint64_t at) {
    for (const HistoryRange& r : e.ranges) {
        if (covers(r, at)) {
            return r.before[at - r.offset];
        }
    }
    return 0;
}

}  // namespace

bool outsideRom(const HistoryEntry& e, std::uint64_t romSize) {
    return std::any_of(e.ranges.begin(), e.ranges.end(),
                       [&](const HistoryRange& r) { return endOf(r) > romSize; });
}

std::vector<HistoryRange> neitherOldNorNew(RomFile& rom, const HistoryEntry& e) {
    std::vector<HistoryRange> bad;
    for (const HistoryRange& r : e.ranges) {
        if (endOf(r) > rom.size()) {
            bad.push_back(r);
            continue;
        }
        const auto now = romBytes(rom, r);
        for (std::size_t i = 0; i < now.size(); ++i) {
            const std::uint64_t at = r.offset + i;
            const bool known = std::any_of(e.ranges.begin(), e.ranges.end(), [&](const auto& x) {
                return covers(x, at) && (x.before[at - x.offset] == now[i] ||
                                         x.after[at - x.offset] == now[i]);
            });
            if (!known) {
                bad.push_back(r);
                break;
            }
        }
    }
    return bad;
}

std::vector<HistoryRange> oldBytesChanged(RomFile& rom, const HistoryEntry& e) {
    std::vector<HistoryRange> changed;
    for (const HistoryRange& r : e.ranges) {
        if (endOf(r) > rom.size()) {
            changed.push_back(r);
            continue;
        }
        const auto now = romBytes(rom, r);
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i] != firstOld(e, r.offset + i)) {
                changed.push_back(r);
                break;
            }
        }
    }
    return changed;
}

bool holdsNewBytes(RomFile& rom, const HistoryEntry& e, const HistoryEntry* later) {
    if (outsideRom(e, rom.size())) {
        return false;
    }
    for (std::size_t k = 0; k < e.ranges.size(); ++k) {
        const HistoryRange& r = e.ranges[k];
        const auto now = romBytes(rom, r);
        const auto wanted = finalBytes(e, k);
        for (std::size_t i = 0; i < now.size(); ++i) {
            const std::uint64_t at = r.offset + i;
            const bool coveredLater =
                later && std::any_of(later->ranges.begin(), later->ranges.end(),
                                     [&](const HistoryRange& x) { return covers(x, at); });
            if (now[i] != wanted[i] && !coveredLater) {
                return false;
            }
        }
    }
    return true;
}

Message rangeText(const HistoryRange& range) {
    return message("history.range",
                   {"$" + IntToHex(range.offset, 6), std::to_string(range.after.size())});
}

Message rangeList(const std::vector<HistoryRange>& ranges) {
    if (ranges.empty()) {
        return Message(std::string());
    }
    // Built from the last range forward: "a, (b, (c))".
    Message list = rangeText(ranges.back());
    for (auto it = ranges.rbegin() + 1; it != ranges.rend(); ++it) {
        list = message("history.range_list", {rangeText(*it), list});
    }
    return list;
}

}  // namespace quillon::history_check
