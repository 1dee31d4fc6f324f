#pragma once

#include <cstdint>
#include <optional>

#include "core/history/history_commands.h"

namespace quillon {

class IniFile;
class MapState;
class RomState;
class Session;
class TRom;

// Undo and redo of the open ROM's writes with the open map settled: whether a step touches the
// map is decided by its byte ranges against the map's (mapRanges), and after a step the map's
// tilesets are read again (a block save may have been undone), so the block images always
// match the ROM.

// Undoes every entry not undone yet from id on (newest first) as one new transaction; refused
// with an Error naming the ranges when the ROM no longer holds their new bytes.
UndoOutcome undoWithOpenMap(TRom& rom, RomState& romState, MapState& map,
                            const IniFile& tilesetsIni, std::uint64_t id);
// Redoes the oldest undone entry, with the same check on the old bytes.
UndoOutcome redoWithOpenMap(TRom& rom, RomState& romState, MapState& map,
                            const IniFile& tilesetsIni);

// Whether undoWithOpenMap(id) / redoWithOpenMap() would change bytes the open map occupies
// (its header, footer, border, grid, events or connections): the open map must then be read
// again, and its unsaved changes are settled first. Nothing is written; throws as the step
// would when there is nothing to undo or redo.
bool undoTouchesOpenMap(TRom& rom, const MapState& map, std::uint64_t id);
bool redoTouchesOpenMap(TRom& rom, const MapState& map);

// After the ROM was opened: a transaction its history holds without its commit mark.
std::optional<Unfinished> unfinishedTransaction(const TRom& rom);
// Its new bytes ("Vollenden") or its old bytes ("Zurücknehmen") written into the open ROM;
// then the session reads the ROM's tables again. Nothing when there is none.
void resolveUnfinished(Session& session, bool complete);

}  // namespace quillon
