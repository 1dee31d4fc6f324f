#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

namespace quillon {

class Session;

namespace cli {

// The ROM's write history as JSON, newest first:
// [{"id", "name", "time", "map", "ranges": [{"offset", "length"}], "undone"}].
void printHistory(Session& session, std::ostream& out);
// Undoes the steps newest transactions not undone yet, as one transaction. Refused (nothing
// written) when fewer are there or the ROM no longer holds their bytes.
void undo(Session& session, int steps, std::ostream& out);
// Redoes the steps oldest undone transactions, as one transaction; refused like undo.
void redo(Session& session, int steps, std::ostream& out);
// Resolves a transaction left without its commit mark: its new bytes (complete) or its old
// bytes written. Without one it says so and changes nothing.
// Exactly one of complete and rollback must be given.
void recover(Session& session, bool complete, bool rollback, std::ostream& out);
// What the history reported (a history of another ROM set aside, a warning after a write),
// one line each, from notice number from on. Returns the number of notices.
std::size_t printHistoryNotices(Session& session, std::ostream& err, std::size_t from = 0);
// Tells when the history holds a transaction cut off, pointing to recover.
void printUnfinishedNotice(Session& session, std::ostream& err);

}  // namespace cli
}  // namespace quillon
