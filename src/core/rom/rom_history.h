#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class RomFile;

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
    std::string name;      // "Wetter ändern 3.0", "Rückgängig: Wetter ändern 3.0"
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
class RomHistory {
public:
    struct Bounds {
        std::uint64_t maxBytes = 64ull << 20;
        std::size_t maxEntries = 10000;
    };
    RomHistory();
    ~RomHistory();
    RomHistory(const RomHistory&) = delete;
    RomHistory& operator=(const RomHistory&) = delete;

    // An empty history that lives in memory.
    void openInMemory();
    // The history file of rom (created with the first transaction). A file that does not
    // belong to the ROM (another size, or the ROM lacks the last transaction's bytes) or that
    // cannot be read is renamed aside with the date and a notice tells.
    void openFile(const std::filesystem::path& file, RomFile& rom);
    // An empty history for a new copy of the ROM, kept in file; an older file under that name
    // is set aside. Bounds and write hook are taken from other.
    void startFresh(const std::filesystem::path& file, std::uint64_t romSize,
                    const RomHistory& other);
    const std::vector<std::string>& notices() const { return m_notices; }
    bool onDisk() const { return !m_path.empty(); }
    const std::filesystem::path& path() const { return m_path; }
    void setBounds(Bounds bounds) { m_bounds = bounds; }
    // Called before every write to the history file (tests stop a commit there).
    void setWriteHook(std::function<void()> hook) { m_hook = std::move(hook); }

    // Oldest first. Throws Error when the file cannot be read.
    const std::vector<HistoryEntry>& entries();
    // The transaction the ROM may hold in part: written to the history, never marked done.
    const std::optional<HistoryEntry>& unfinished() const { return m_unfinished; }
    std::uint64_t nextId() const { return m_nextId; }

    // Step 1 of a commit: the record, on the disk before any ROM byte changes.
    void begin(const HistoryEntry& e);
    // Step 3: the transaction is in the ROM (done) or its old bytes are back (not done).
    void finish(bool done);

private:
    void setAside(const std::string& why);
    void readTail(RomFile& rom);
    void loadAll();
    void apply(const HistoryEntry& e);
    void appendFrame(const std::vector<std::uint8_t>& payload);
    void keepWithinBounds();

    std::filesystem::path m_path;
    std::vector<std::string> m_notices;
    std::vector<HistoryEntry> m_entries;
    bool m_loaded = true;
    std::optional<HistoryEntry> m_unfinished;
    std::uint64_t m_nextId = 1;
    std::uint64_t m_firstId = 1;
    std::uint64_t m_romSize = 0;
    std::uint64_t m_end = 0;  // end of the last whole record in the file; 0: no file yet
    Bounds m_bounds;
    std::function<void()> m_hook;
};

}  // namespace quillon
