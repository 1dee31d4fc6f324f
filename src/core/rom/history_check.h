#pragma once

#include <string>
#include <vector>

#include "core/rom/rom_history.h"
#include "core/text/message.h"

namespace quillon {

class RomFile;

// Comparisons of the ROM with what the history says it holds.
namespace history_check {

// A transaction cut off at any point leaves each of its bytes either as it was before or as
// one of its ranges wrote it. The ranges where some byte holds neither: the ROM is not the
// one the transaction was written into, or it was changed since.
std::vector<HistoryRange> neitherOldNorNew(RomFile& rom, const HistoryEntry& e);
// The ranges of e where the ROM no longer holds the bytes that were there before e (another
// program wrote there since the command read them).
std::vector<HistoryRange> oldBytesChanged(RomFile& rom, const HistoryEntry& e);
// Whether the ROM holds what e left in each of its ranges; bytes that a later transaction
// (cut off, or nullptr) covers are not compared.
bool holdsNewBytes(RomFile& rom, const HistoryEntry& e, const HistoryEntry* later);
// Some range of e runs past romSize.
bool outsideRom(const HistoryEntry& e, std::uint64_t romSize);
// The ranges as one message: "$XXXXXX (N Bytes), $YYYYYY (M Bytes)" (history.range, joined
// by history.range_list).
Message rangeList(const std::vector<HistoryRange>& ranges);
// One range: "$XXXXXX (N Bytes)".
Message rangeText(const HistoryRange& range);

}  // namespace history_check

}  // namespace quillon
