#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "core/errors.h"
#include "core/files/native_file.h"

namespace quillon {

// The transfer error for an errno value ("File access denied", "Disk full", ...).
RomIoError ioErrorFromErrno(int err);
// The same; an error without a text of its own names the file ("I/O error 5 on rom.gba").
RomIoError ioErrorFromErrno(int err, const std::filesystem::path& file);

// Positioned access to the bytes of a ROM image. A read that cannot deliver every byte asked
// for throws RomIoError("Read beyond end of file"); nothing is ever read short.
class RomFile {
public:
    virtual ~RomFile() = default;
    virtual void read(std::uint32_t offset, std::span<std::uint8_t> out) = 0;
    virtual void write(std::uint32_t offset, std::span<const std::uint8_t> data) = 0;
    virtual std::uint64_t size() const = 0;
    // Brings every write so far onto the storage device; throws RomIoError when it cannot.
    // An image that lives in memory has nothing to bring there.
    virtual void flush() {}
    // False for a file that may only be read.
    virtual bool writable() const { return true; }
    // Whether path still names this very file (not one put in its place since). An image in
    // memory has no place on the disk that could change.
    virtual bool isAt(const std::filesystem::path& path) const {
        (void)path;
        return true;
    }
};

// The file on disk, kept open, a positioned read or write per transfer. Opens read/write; a
// file that may only be read opens read-only, so it can be viewed and every write is refused
// with "File access denied".
class DiskRomFile final : public RomFile {
public:
    // Throws RomIoError when the file cannot be opened at all. readOnly: opened for reading
    // only, whatever the file's permissions.
    explicit DiskRomFile(const std::filesystem::path& path, bool readOnly = false);
    ~DiskRomFile() override;
    DiskRomFile(const DiskRomFile&) = delete;
    DiskRomFile& operator=(const DiskRomFile&) = delete;

    void read(std::uint32_t offset, std::span<std::uint8_t> out) override;
    void write(std::uint32_t offset, std::span<const std::uint8_t> data) override;
    std::uint64_t size() const override;
    void flush() override;
    bool writable() const override { return m_writable; }
    // The permission bits of the open file.
    std::uint32_t mode() const;
    // Whether path names the very file held open (not one put in its place since).
    bool isFile(const std::filesystem::path& path) const;
    bool isAt(const std::filesystem::path& path) const override { return isFile(path); }

private:
    std::filesystem::path m_path;
    native::NativeFile m_file;
    bool m_writable = false;
};

// A ROM held in memory, for tests and the ROM builder. Writes past the end are refused like
// the disk file's reads; the image never grows.
class MemoryRomFile final : public RomFile {
public:
    explicit MemoryRomFile(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    void read(std::uint32_t offset, std::span<std::uint8_t> out) override;
    void write(std::uint32_t offset, std::span<const std::uint8_t> data) override;
    std::uint64_t size() const override { return m_bytes.size(); }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace quillon
