#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/rom/byte_range.h"
#include "core/rom/rom_history.h"

namespace quillon {

class TRom;

// What an undo or redo wrote: the maps its transactions named, and whether it changed bytes
// the open map occupies (the window then opens it again). Maps share footers and more, so a
// step named after another map may touch the open one.
struct UndoOutcome {
    std::vector<std::string> touchedMaps;
    bool openMapTouched = false;
};

// A transaction the ROM may hold in part (written to the history, never marked done).
struct Unfinished {
    HistoryEntry entry;
};

namespace history_commands {

// Refuses (Error) while the history holds a transaction cut off: it is resolved first.
void requireFinished(TRom& rom);

// Undoes every entry not undone yet from id on, newest first, as one transaction
// "Rückgängig: <name>". Checks first that the ROM still holds each entry's new bytes; throws
// Error naming the ranges that differ ("$XXXXXX (N Bytes)") and writes nothing otherwise.
// openMap: the ranges the open map occupies (mapRanges), empty without one.
UndoOutcome undoUntil(TRom& rom, std::uint64_t id, const std::vector<ByteRange>& openMap);
// Redoes the oldest undone entry ("Wiederherstellen: <name>"), checking that the ROM holds its
// old bytes. Throws Error when there is nothing to redo.
UndoOutcome redoNext(TRom& rom, const std::vector<ByteRange>& openMap);
// The count oldest undone entries redone as one transaction; refused (nothing written) when
// fewer are undone.
UndoOutcome redo(TRom& rom, std::size_t count, const std::vector<ByteRange>& openMap);
// The entries undoUntil(id) and redo(count) would act on, in their order; nothing written.
// Throw as those do when there are none.
std::vector<HistoryEntry> undoTargets(TRom& rom, std::uint64_t id);
std::vector<HistoryEntry> redoTargets(TRom& rom, std::size_t count);
// The newest entries not undone, newest first (for "undo N steps").
std::vector<std::uint64_t> undoable(TRom& rom);

}  // namespace history_commands

}  // namespace quillon
