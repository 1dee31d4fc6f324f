#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/map/map_loader.h"
#include "core/rom/byte_range.h"
#include "core/rom/rom_history.h"

namespace quillon {

class TRom;

// The places a map of the ROM occupies, as its copy names them: map header (28 bytes),
// footer (24), border (8), block grid (W x H x 2), event header (20) and the four tables it
// counts (24, 8, 16, 12 bytes a record), connection header (8: count, pointer) and its
// 12-byte records. Event and connection headers are read from the ROM; a pointer that does
// not lead into the file, and a part the map has not (no header, no footer, no events), give
// no range; a range is cut at the end of the file. A map outside the ROM occupies nothing.
std::vector<ByteRange> mapRanges(TRom& rom, const CurrentMap& map);

// Whether any range a transaction changed overlaps any of ranges.
bool touches(const std::vector<HistoryRange>& changed, const std::vector<ByteRange>& ranges);

}  // namespace quillon
