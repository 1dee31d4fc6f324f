#include "core/history/history_commands.h"

#include <algorithm>

#include "core/errors.h"
#include "core/state/map_places.h"
#include "core/rom/history_check.h"
#include "core/rom/trom.h"

namespace quillon::history_commands {

void requireFinished(TRom& rom) {
    if (rom.history().unfinished()) {
        throw Error(message("history.unfinished", {rom.history().unfinished()->title}));
    }
}

namespace {

// Writes one side of e's ranges through the open transaction, first checking that the ROM
// (as the transaction sees it) holds the other side. Returns the ranges that differ.
std::vector<HistoryRange> turn(TRom& rom, const HistoryEntry& e, bool undo) {
    std::vector<HistoryRange> changed;
    const auto step = [&](const HistoryRange& r) {
        const auto& expected = undo ? r.after : r.before;
        const auto& wanted = undo ? r.before : r.after;
        const auto offset = static_cast<std::int32_t>(r.offset);
        if (r.offset + static_cast<std::uint64_t>(expected.size()) > rom.size() ||
            rom.ReadBlock(offset, expected.size()) != expected) {
            changed.push_back(r);
            return;
        }
        rom.WriteBlock(wanted, offset);
    };
    if (undo) {
        std::for_each(e.ranges.rbegin(), e.ranges.rend(), step);
    } else {
        std::for_each(e.ranges.begin(), e.ranges.end(), step);
    }
    return changed;
}

Error refusal(const Message& name, bool undo, const std::vector<HistoryRange>& changed) {
    return Error(message(undo ? "history.undo_refused" : "history.redo_refused",
                         {name, history_check::rangeList(changed)}));
}

// "Rückgängig: <name>", with "(und N weitere)" for a step over several entries.
Message stepName(const Message& name, bool undo, std::size_t count) {
    if (count > 1) {
        return message(undo ? "history.name.undo_more" : "history.name.redo_more",
                       {name, std::to_string(count - 1)});
    }
    return message(undo ? "history.name.undo" : "history.name.redo", {name});
}

UndoOutcome touched(const std::vector<HistoryEntry>& targets,
                    const std::vector<ByteRange>& openMap) {
    UndoOutcome outcome;
    for (const HistoryEntry& e : targets) {
        if (!e.map.empty() && std::find(outcome.touchedMaps.begin(), outcome.touchedMaps.end(),
                                        e.map) == outcome.touchedMaps.end()) {
            outcome.touchedMaps.push_back(e.map);
        }
    }
    outcome.openMapTouched =
        std::any_of(targets.begin(), targets.end(),
                    [&](const HistoryEntry& e) { return touches(e.ranges, openMap); });
    return outcome;
}

UndoOutcome run(TRom& rom, const std::vector<HistoryEntry>& targets, bool undo,
                const std::vector<ByteRange>& openMap) {
    const Message& name = targets.back().title;
    const UndoOutcome outcome = touched(targets, openMap);
    std::vector<std::uint64_t> ids;
    for (const HistoryEntry& e : targets) {
        ids.push_back(e.id);
    }
    TRom::Transaction tx(rom, stepName(name, undo, targets.size()),
                         outcome.touchedMaps.size() == 1 ? outcome.touchedMaps[0] : "");
    tx.setKind(undo ? EntryKind::Undo : EntryKind::Redo, ids);
    rom.Open();
    std::vector<HistoryRange> changed;
    for (const HistoryEntry& e : targets) {  // newest first for an undo
        auto differ = turn(rom, e, undo);
        changed.insert(changed.end(), differ.begin(), differ.end());
    }
    if (!changed.empty()) {
        rom.Close();
        throw refusal(name, undo, changed);
    }
    tx.commit();
    rom.Close();
    return outcome;
}

}  // namespace

std::vector<std::uint64_t> undoable(TRom& rom) {
    std::vector<std::uint64_t> ids;
    const auto& list = rom.history().entries();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (it->kind == EntryKind::Ordinary && !it->undone) {
            ids.push_back(it->id);
        }
    }
    return ids;
}

std::vector<HistoryEntry> undoTargets(TRom& rom, std::uint64_t id) {
    requireFinished(rom);
    const auto& list = rom.history().entries();
    if (std::none_of(list.begin(), list.end(), [&](const HistoryEntry& e) { return e.id == id; })) {
        throw Error(message("history.no_entry", {std::to_string(id)}));
    }
    std::vector<HistoryEntry> targets;
    for (auto it = list.rbegin(); it != list.rend() && it->id >= id; ++it) {
        if (it->kind == EntryKind::Ordinary && !it->undone) {
            targets.push_back(*it);
        }
    }
    if (targets.empty()) {
        throw Error(message("history.nothing_to_undo"));
    }
    return targets;
}

std::vector<HistoryEntry> redoTargets(TRom& rom, std::size_t count) {
    requireFinished(rom);
    std::vector<HistoryEntry> targets;
    for (const HistoryEntry& e : rom.history().entries()) {
        if (e.kind == EntryKind::Ordinary && e.undone && targets.size() < count) {
            targets.push_back(e);
        }
    }
    if (targets.empty()) {
        throw Error(message("history.nothing_to_redo"));
    }
    if (targets.size() < count) {
        throw Error(message("history.redo_only", {std::to_string(targets.size())}));
    }
    return targets;
}

UndoOutcome undoUntil(TRom& rom, std::uint64_t id, const std::vector<ByteRange>& openMap) {
    return run(rom, undoTargets(rom, id), true, openMap);
}

UndoOutcome redoNext(TRom& rom, const std::vector<ByteRange>& openMap) {
    return redo(rom, 1, openMap);
}

UndoOutcome redo(TRom& rom, std::size_t count, const std::vector<ByteRange>& openMap) {
    return run(rom, redoTargets(rom, count), false, openMap);
}

}  // namespace quillon::history_commands
