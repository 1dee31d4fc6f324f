#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/files/native_file.h"
#include "core/rom/rom_history.h"

namespace quillon {

// The history file's bytes, behind a small interface as the ROM's are (RomFile): the disk
// backend below, and in tests a wrapper that watches the order of writes and syncs or lets
// one of them fail. Every failure throws RomIoError naming the file.
class HistoryFile {
public:
    virtual ~HistoryFile() = default;
    virtual const std::filesystem::path& path() const = 0;
    // Reading needs no lock; a missing file reads as empty.
    virtual bool exists() const = 0;
    virtual std::uint64_t size() const = 0;
    // Up to count bytes from offset (fewer at the end of the file).
    virtual std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count) const = 0;
    // Which file the name stands for now (device and inode); 0 when there is none.
    virtual std::uint64_t identity() const = 0;

    // Opens the file for writing, creating it when missing, and takes the exclusive lock that
    // every writer holds for a whole commit. Another program holding it is waited for
    // briefly; then Error. Returns true when this call created the file.
    virtual bool lock() = 0;
    virtual void unlock() = 0;
    // With the lock held only.
    virtual void write(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
    virtual void truncate(std::uint64_t size) = 0;
    // The file's bytes onto the disk.
    virtual void sync() = 0;
    // The file's entry in its folder onto the disk (after it was created or renamed).
    virtual void syncFolder() = 0;
    // The whole content replaced through a temporary file renamed over it; the lock ends.
    virtual void replace(const std::vector<std::uint8_t>& data) = 0;
};



// The file on disk. The lock is the open file's exclusive lock (NativeFile::tryLock); a writer
// that got the lock on a file renamed away in the meantime (another program shortened the
// history) opens the new one.
class DiskHistoryFile final : public HistoryFile {
public:
    explicit DiskHistoryFile(std::filesystem::path path, int lockWaitMs = 2000)
        : m_path(std::move(path)), m_lockWaitMs(lockWaitMs) {}
    ~DiskHistoryFile() override;
    DiskHistoryFile(const DiskHistoryFile&) = delete;
    DiskHistoryFile& operator=(const DiskHistoryFile&) = delete;

    const std::filesystem::path& path() const override { return m_path; }
    bool exists() const override;
    std::uint64_t size() const override;
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count) const override;
    std::uint64_t identity() const override;
    bool lock() override;
    void unlock() override;
    void write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    void truncate(std::uint64_t size) override;
    void sync() override;
    void syncFolder() override;
    void replace(const std::vector<std::uint8_t>& data) override;

private:
    std::filesystem::path m_path;
    int m_lockWaitMs;
    native::NativeFile m_file;  // open and locked between lock() and unlock()
};

// What the end of a history file says, read backwards from its last record.
struct TailInfo {
    bool whole = false;           // every record read back was whole and well-formed
    std::uint64_t end = 0;        // end of the last record
    std::uint64_t nextId = 1;
    std::optional<HistoryEntry> unfinished;  // last record: a transaction without its mark
    std::optional<HistoryEntry> lastDone;    // the newest transaction marked done
};

namespace history_file {

// Reads the frames from the end backwards until the newest transaction marked done; a frame
// that is not whole or does not fit its neighbours ends the reading (whole stays false).
TailInfo tail(const HistoryFile& file, std::uint64_t firstId);

}  // namespace history_file

}  // namespace quillon
