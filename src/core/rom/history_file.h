#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/rom/rom_history.h"

namespace quillon {

// What the end of a history file says, read backwards from its last record.
struct TailInfo {
    bool whole = false;           // every record read back was whole and well-formed
    std::uint64_t end = 0;        // end of the last record
    std::uint64_t nextId = 1;
    std::optional<HistoryEntry> unfinished;  // last record: a transaction without its mark
    std::optional<HistoryEntry> lastDone;    // the newest transaction marked done
};

// Positioned access to the history file; every write is brought onto the disk (fsync)
// before the call returns. Throws RomIoError naming the file when that fails.
class HistoryFile {
public:
    explicit HistoryFile(std::filesystem::path path) : m_path(std::move(path)) {}
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count) const;
    std::vector<std::uint8_t> readAll() const;
    TailInfo tail(std::uint64_t firstId) const;
    // A new file holding header only; returns its size.
    std::uint64_t start(const std::vector<std::uint8_t>& header) const;
    // Writes frame at end (cutting off whatever lies behind end first); returns the new end.
    std::uint64_t append(std::uint64_t end, const std::vector<std::uint8_t>& frame) const;
    // The file's content replaced as a whole (a temporary file renamed over it).
    void replace(const std::vector<std::uint8_t>& data) const;

private:
    std::filesystem::path m_path;
};

}  // namespace quillon
