#pragma once

#include <cstdint>
#include <vector>

#include "core/rom/free_space.h"

namespace quillon {
class TRom;
}

namespace quillon::ui {

// The hits of a free-space search (ascending) that data needing a start on alignment can
// take: each hit moved to the first such start in its free run with query.count free bytes,
// dropped when the run has none; in order, without repeats.
std::vector<std::uint32_t> alignedHits(TRom& rom, const std::vector<std::uint32_t>& hits,
                                       const FreeSpaceQuery& query, int alignment);

}  // namespace quillon::ui
