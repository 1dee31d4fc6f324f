#include "core/session/open_map_history.h"

#include <algorithm>
#include <vector>

#include "core/rom/trom.h"
#include "core/session/map_opening.h"
#include "core/session/session.h"
#include "core/state/map_places.h"
#include "core/state/map_state.h"

namespace quillon {
namespace {

std::vector<ByteRange> openMapRanges(TRom& rom, const MapState& map) {
    if (!map.loaded()) {
        return {};
    }
    auto ranges = mapRanges(rom, map.map());
    rom.Close();
    return ranges;
}

bool touchesOpenMap(TRom& rom, const MapState& map, const std::vector<HistoryEntry>& steps) {
    const std::vector<ByteRange> ranges = openMapRanges(rom, map);
    return std::any_of(steps.begin(), steps.end(),
                       [&](const HistoryEntry& e) { return touches(e.ranges, ranges); });
}

}  // namespace

UndoOutcome undoWithOpenMap(TRom& rom, RomState& romState, MapState& map,
                            const IniFile& tilesetsIni, std::uint64_t id) {
    UndoOutcome outcome = history_commands::undoUntil(rom, id, openMapRanges(rom, map));
    readTilesetsAgain(rom, romState, map, tilesetsIni);
    return outcome;
}

UndoOutcome redoWithOpenMap(TRom& rom, RomState& romState, MapState& map,
                            const IniFile& tilesetsIni) {
    UndoOutcome outcome = history_commands::redoNext(rom, openMapRanges(rom, map));
    readTilesetsAgain(rom, romState, map, tilesetsIni);
    return outcome;
}

bool undoTouchesOpenMap(TRom& rom, const MapState& map, std::uint64_t id) {
    return touchesOpenMap(rom, map, history_commands::undoTargets(rom, id));
}

bool redoTouchesOpenMap(TRom& rom, const MapState& map) {
    return touchesOpenMap(rom, map, history_commands::redoTargets(rom, 1));
}

std::optional<Unfinished> unfinishedTransaction(const TRom& rom) {
    const auto& pending = rom.history().unfinished();
    return pending ? std::optional(Unfinished{*pending}) : std::nullopt;
}

void resolveUnfinished(Session& session, bool complete) {
    if (!session.rom().history().unfinished()) {
        return;
    }
    session.rom().finishUnfinished(complete);
    session.readRomAgain();
}

}  // namespace quillon
