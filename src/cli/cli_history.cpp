#include "cli/cli_history.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_messages.h"
#include "core/errors.h"
#include "core/history/history_commands.h"
#include "core/session/open_map_history.h"
#include "core/session/session.h"

namespace quillon::cli {

namespace {

void checkSteps(int steps) {
    if (steps < 1) {
        throw Error("--steps: " + std::to_string(steps) + " is not a number of steps (1 or more)");
    }
}

std::string plural(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " transaction" : " transactions");
}

// A transaction cut off is resolved first; the tool names its own command for that.
void requireFinished(Session& session) {
    if (const auto pending = unfinishedTransaction(session.rom())) {
        throw Error("the history holds an unfinished transaction (\"" +
                    titleText(pending->entry.title) +
                    "\"); resolve it first with quillon-cli recover ROM --complete or --rollback");
    }
}

}  // namespace

void printHistory(Session& session, std::ostream& out) {
    nlohmann::json list = nlohmann::json::array();
    const auto& entries = session.rom().history().entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        nlohmann::json ranges = nlohmann::json::array();
        for (const HistoryRange& r : it->ranges) {
            ranges.push_back({{"offset", r.offset}, {"length", r.after.size()}});
        }
        list.push_back({{"id", it->id},
                        {"name", titleText(it->title)},
                        {"time", it->time},
                        {"map", it->map},
                        {"ranges", ranges},
                        {"undone", it->undone}});
    }
    out << list.dump(2) << '\n';
}

void undo(Session& session, int steps, std::ostream& out) {
    checkSteps(steps);
    requireFinished(session);
    const auto ids = history_commands::undoable(session.rom());
    if (ids.empty()) {
        throw Error("nothing to undo");
    }
    if (ids.size() < static_cast<std::size_t>(steps)) {
        throw Error("only " + plural(ids.size()) + " can be undone; nothing was written");
    }
    undoWithOpenMap(session.rom(), session.romState(), session.mapState(),
                    session.data().tilesets(), ids[static_cast<std::size_t>(steps) - 1]);
    out << "Undid " << plural(static_cast<std::size_t>(steps)) << ": \""
        << titleText(session.rom().history().entries().back().title) << "\"\n";
}

void redo(Session& session, int steps, std::ostream& out) {
    checkSteps(steps);
    requireFinished(session);
    std::size_t undone = 0;
    for (const HistoryEntry& e : session.rom().history().entries()) {
        undone += e.kind == EntryKind::Ordinary && e.undone ? 1 : 0;
    }
    if (undone > 0 && undone < static_cast<std::size_t>(steps)) {
        throw Error("only " + plural(undone) + " can be redone; nothing was written");
    }
    history_commands::redo(session.rom(), static_cast<std::size_t>(steps), {});
    out << "Redid " << plural(static_cast<std::size_t>(steps)) << ": \""
        << titleText(session.rom().history().entries().back().title) << "\"\n";
}

void recover(Session& session, bool complete, bool rollback, std::ostream& out) {
    if (complete == rollback) {
        throw Error("recover: give --complete (write the new bytes) or --rollback (write the old "
                    "bytes back)");
    }
    const auto pending = unfinishedTransaction(session.rom());
    if (!pending) {
        out << "No unfinished transaction in the history; nothing changed.\n";
        return;
    }
    resolveUnfinished(session, complete);
    out << (complete ? "Completed" : "Rolled back") << " the unfinished transaction \""
        << titleText(pending->entry.title) << "\" (" << pending->entry.ranges.size()
        << " ranges, " << pending->entry.byteCount() << " bytes)\n";
}

std::size_t printHistoryNotices(Session& session, std::ostream& err, std::size_t from) {
    const auto notices = session.rom().history().notices();
    for (std::size_t i = from; i < notices.size(); ++i) {
        err << "quillon-cli: " << messageText(notices[i]) << '\n';
    }
    return notices.size();
}

void printUnfinishedNotice(Session& session, std::ostream& err) {
    if (const auto pending = unfinishedTransaction(session.rom())) {
        err << "quillon-cli: the history holds an unfinished transaction (\""
            << titleText(pending->entry.title)
            << "\", cut off by a crash or power cut): the ROM may hold part of it. Resolve it "
               "with quillon-cli recover ROM --complete or --rollback\n";
    }
}

}  // namespace quillon::cli
