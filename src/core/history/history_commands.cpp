#include "core/history/history_commands.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/state/map_places.h"
#include "core/rom/trom.h"

namespace quillon::history_commands {

void requireFinished(TRom& rom) {
    if (rom.history().unfinished()) {
        throw Error("Im Verlauf steht eine unvollendete Änderung (\"" +
                    rom.history().unfinished()->name +
                    "\"); sie muss zuerst vollendet oder zurückgenommen werden.");
    }
}

namespace {

std::string rangeText(const HistoryRange& r) {
    return "$" + IntToHex(r.offset, 6) + " (" + std::to_string(r.after.size()) + " Bytes)";
}

// Writes one side of e's ranges through the open transaction, first checking that the ROM
// (as the transaction sees it) holds the other side. Returns the ranges that differ.
std::vector<std::string> turn(TRom& rom, const HistoryEntry& e, bool undo) {
    std::vector<std::string> changed;
    const auto step = [&](const HistoryRange& r) {
        const auto& expected = undo ? r.after : r.before;
        const auto& wanted = undo ? r.before : r.after;
        const auto offset = static_cast<std::int32_t>(r.offset);
        if (r.offset + static_cast<std::uint64_t>(expected.size()) > rom.size() ||
            rom.ReadBlock(offset, expected.size()) != expected) {
            changed.push_back(rangeText(r));
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

Error refusal(const std::string& name, bool undo, const std::vector<std::string>& changed) {
    std::string list;
    for (const std::string& c : changed) {
        list += (list.empty() ? "" : ", ") + c;
    }
    return Error("\"" + name + "\" wird nicht " +
                 (undo ? "rückgängig gemacht" : "wiederhergestellt") + ": das Rom enthält bei " +
                 list + " andere Bytes als der Verlauf (von anderer Seite geändert). Es wurde "
                 "nichts geschrieben.");
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
    const std::string& name = targets.back().name;
    std::string title = (undo ? "Rückgängig: " : "Wiederherstellen: ") + name;
    if (targets.size() > 1) {
        title += " (und " + std::to_string(targets.size() - 1) + " weitere)";
    }
    const UndoOutcome outcome = touched(targets, openMap);
    std::vector<std::uint64_t> ids;
    for (const HistoryEntry& e : targets) {
        ids.push_back(e.id);
    }
    TRom::Transaction tx(rom, title, outcome.touchedMaps.size() == 1 ? outcome.touchedMaps[0] : "");
    tx.setKind(undo ? EntryKind::Undo : EntryKind::Redo, ids);
    rom.Open();
    std::vector<std::string> changed;
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
        throw Error("Der Eintrag " + std::to_string(id) + " steht nicht im Verlauf.");
    }
    std::vector<HistoryEntry> targets;
    for (auto it = list.rbegin(); it != list.rend() && it->id >= id; ++it) {
        if (it->kind == EntryKind::Ordinary && !it->undone) {
            targets.push_back(*it);
        }
    }
    if (targets.empty()) {
        throw Error("Es gibt nichts rückgängig zu machen.");
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
        throw Error("Es gibt nichts wiederherzustellen.");
    }
    if (targets.size() < count) {
        throw Error("Es lassen sich nur " + std::to_string(targets.size()) +
                    " Schritte wiederherstellen.");
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
