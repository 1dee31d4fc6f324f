#include "ui/repoint_hits.h"

#include <algorithm>

namespace quillon::ui {

std::vector<std::uint32_t> alignedHits(TRom& rom, const std::vector<std::uint32_t>& hits,
                                       const FreeSpaceQuery& query, int alignment) {
    const auto step = static_cast<std::uint32_t>(std::max(alignment, 1));
    if (step == 1) {
        return hits;
    }
    std::vector<std::uint32_t> usable;
    for (const std::uint32_t hit : hits) {
        const std::optional<std::uint32_t> start =
            hit % step == 0 ? std::optional<std::uint32_t>(hit)
                            : nextAlignedFree(rom, hit, query.count, step, query.excluded);
        // Hits ascend, so their aligned starts do: a repeat can only be the last one taken.
        if (start && (usable.empty() || usable.back() != *start)) {
            usable.push_back(*start);
        }
    }
    return usable;
}

}  // namespace quillon::ui
