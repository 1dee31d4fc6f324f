#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/text/message.h"

namespace quillon {

class RomFile;
class HistoryFile;
using HistoryFileMaker =
    std::function<std::unique_ptr<HistoryFile>(const std::filesystem::path&)>;

// One place of the ROM a transaction wrote: its bytes before and after.
struct HistoryRange {
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> before, after;
};

// What a transaction did: a command of its own, or the undo or redo of earlier ones.
enum class EntryKind : std::uint8_t { Ordinary = 0, Undo = 1, Redo = 2 };

// A transaction that reached the ROM.
struct HistoryEntry {
    std::uint64_t id = 0;  // increasing
    // What the user reads: the command's message (message("history.name.weather", {"3.0"}));
    // an entry of a file from before names were messages holds its German name as plain text.
    Message title;
    std::string name;      // the title in German: "Wetter ändern 3.0", "Rückgängig: ..."
    std::int64_t time = 0; // seconds since 1970 (UTC)
    std::string map;       // "3.0" or "" when no map
    // In the order the command wrote them: data first, the publishing pointer last.
    std::vector<HistoryRange> ranges;
    bool undone = false;   // undone and not redone
    EntryKind kind = EntryKind::Ordinary;
    std::vector<std::uint64_t> targets;  // the entries an undo or redo acts on
    std::size_t byteCount() const;
};

// The bytes range k of e leaves behind once every later range of e is written too.
std::vector<std::uint8_t> finalBytes(const HistoryEntry& e, std::size_t k);

// The history of one ROM: the transactions that reached it, oldest first. Kept in a file
// beside the ROM (version header; each record framed with its length and a CRC-32, so a torn
// last record is detected and ignored) or, without a file, in memory until the ROM is closed.
// Opening reads only the tail of the file; the list itself is read on first request.
// Every commit holds the file's exclusive lock from its record to its mark and appends at the
// file's real end, so two programs writing the same ROM never erase each other's entries.
class RomHistory {
public:
    struct Bounds {
        std::uint64_t maxBytes = 64ull << 20;
        std::size_t maxEntries = 10000;
    };
    // Write: the history may be written, and a file that does not belong is renamed aside.
    // Read: the file is only read; nothing is renamed or written (read-only commands and
    // ROMs that may only be read).
    enum class Access { Write, Read };
    RomHistory();
    ~RomHistory();
    RomHistory(const RomHistory&) = delete;
    RomHistory& operator=(const RomHistory&) = delete;

    // An empty history that lives in memory.
    void openInMemory();
    // The history file of rom (created with the first transaction). A file that does not
    // belong to the ROM (another size; the ROM lacks the last finished transaction's bytes;
    // a transaction cut off whose ranges hold neither their old nor their new bytes) or that
    // cannot be read is renamed aside with the date (Write) and a notice tells.
    void openFile(const std::filesystem::path& file, RomFile& rom, Access access);
    // An empty history for a new copy of the ROM, kept in file; an older file under that name
    // is set aside. Bounds, write hook and file maker are taken from other.
    void startFresh(const std::filesystem::path& file, std::uint64_t romSize,
                    const RomHistory& other);
    const std::vector<Message>& notices() const { return m_notices; }
    bool onDisk() const { return m_file != nullptr; }
    const std::filesystem::path& path() const { return m_path; }
    void setBounds(Bounds bounds) { m_bounds = bounds; }
    // Called before every write to the history file (tests stop a commit there).
    void setWriteHook(std::function<void()> hook) { m_hook = std::move(hook); }
    // How the history file is reached (tests wrap the disk file to watch or fail its steps).
    void setFileMaker(HistoryFileMaker maker) { m_maker = std::move(maker); }

    // Oldest first. Throws Error when the file cannot be read.
    const std::vector<HistoryEntry>& entries();
    // The transaction the ROM may hold in part: written to the history, never marked done.
    const std::optional<HistoryEntry>& unfinished() const { return m_unfinished; }
    std::uint64_t nextId() const { return m_nextId; }

    // Step 0 of a commit or a recovery: takes the file's exclusive lock (Error when another
    // program holds it too long) and reads what another program appended since.
    void lock();
    // Step 1: refuses (Error, nothing written) while a transaction is unfinished or when the
    // ROM no longer holds e's old bytes; then gives e its id and time and puts its record on
    // the disk (synced before any ROM byte changes).
    void begin(HistoryEntry& e, RomFile& rom);
    // Step 3: the transaction is in the ROM; its mark follows. The lock ends.
    void finish();
    // The command failed and its old bytes are back in the ROM: the record goes again, so the
    // file is as it was before begin. The lock ends.
    void rollBack();
    // A transaction cut off earlier is ended: its mark (done: its new bytes were written,
    // otherwise its old bytes). The lock ends.
    void resolve(bool done);
    // Ends the lock (a commit cut off between begin and finish keeps its record).
    void release();

private:
    void setAside(const Message& why);
    void readTail(RomFile& rom);
    void judge(RomFile& rom, const std::optional<HistoryEntry>& lastDone);
    void refresh();
    void loadAll();
    void apply(const HistoryEntry& e);
    void writeAt(std::uint64_t at, const std::vector<std::uint8_t>& bytes);
    void writeRecord(const HistoryEntry& e);
    void raiseVersion();
    void lowerVersionAgain();
    void writeMark(std::uint64_t id, bool done);
    void keepWithinBounds();
    void trim();

    std::filesystem::path m_path;
    std::unique_ptr<HistoryFile> m_file;  // null: the history lives in memory
    Access m_access = Access::Write;
    std::vector<Message> m_notices;
    std::vector<HistoryEntry> m_entries;
    bool m_loaded = true;
    std::optional<HistoryEntry> m_unfinished;
    std::uint64_t m_nextId = 1;
    std::uint64_t m_firstId = 1;
    std::uint64_t m_romSize = 0;
    std::uint64_t m_end = 0;  // end of the last whole record in the file; 0: no file yet
    std::uint64_t m_identity = 0;  // the file m_end was read from
    std::uint64_t m_endBefore = 0;  // m_end before the record of the commit under way
    bool m_created = false;         // that record's commit created the file
    std::uint32_t m_version = 0;    // the file's format version (an older one is raised)
    bool m_raised = false;          // that record's commit raised the file's version
    Bounds m_bounds;
    std::function<void()> m_hook;
    HistoryFileMaker m_maker;
};

}  // namespace quillon
