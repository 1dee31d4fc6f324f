#include "core/rom/rom_file.h"

#include <cerrno>
#include <cstring>

#include "core/errors.h"

namespace quillon {

RomIoError ioErrorFromErrno(int err) {
    if (err == EACCES || err == EPERM || err == EROFS || err == EBADF) {
        return RomIoError(message("io.access_denied"));
    }
    if (err == ENOENT) {
        return RomIoError(message("io.not_found"));
    }
    if (err == ENOSPC || err == native::kQuotaExceeded || err == EFBIG) {
        return RomIoError(message("io.disk_full"));
    }
    return RomIoError(message("io.error", {std::to_string(err)}));
}

RomIoError ioErrorFromErrno(int err, const std::filesystem::path& file) {
    RomIoError plain = ioErrorFromErrno(err);
    if (plain.message().id != "io.error" || file.empty()) {
        return plain;
    }
    return RomIoError(message("io.error_on", {plain.message(), file.filename().string()}));
}

namespace {

const RomIoError kBeyondEnd(message("io.read_beyond_end"));

}  // namespace

DiskRomFile::DiskRomFile(const std::filesystem::path& path, bool readOnly) : m_path(path) {
    using Mode = native::NativeFile::Mode;
    int err = readOnly ? EACCES : m_file.open(path, Mode::ReadWrite);
    m_writable = err == 0;
    if (err == EACCES || err == EROFS || err == EPERM) {
        err = m_file.open(path, Mode::Read);
    }
    if (err != 0) {
        throw ioErrorFromErrno(err, path);
    }
}

DiskRomFile::~DiskRomFile() = default;

void DiskRomFile::read(std::uint32_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        std::size_t n = 0;
        const int err = m_file.readAt(std::uint64_t{offset} + done, out.data() + done,
                                      out.size() - done, n);
        if (err != 0) {
            throw ioErrorFromErrno(err, m_path);
        }
        if (n == 0) {
            throw kBeyondEnd;
        }
        done += n;
    }
}

void DiskRomFile::write(std::uint32_t offset, std::span<const std::uint8_t> data) {
    if (!m_writable) {
        throw RomIoError(message("io.access_denied"));
    }
    if (const int err = m_file.writeAt(offset, data.data(), data.size()); err != 0) {
        throw ioErrorFromErrno(err, m_path);
    }
}

std::uint64_t DiskRomFile::size() const {
    std::uint64_t bytes = 0;
    if (const int err = m_file.size(bytes); err != 0) {
        throw ioErrorFromErrno(err, m_path);
    }
    return bytes;
}

bool DiskRomFile::isFile(const std::filesystem::path& path) const {
    native::FileIdentity held;
    native::FileIdentity named;
    return m_file.identity(held) == 0 && native::identityOf(path, named) == 0 && held == named;
}

void DiskRomFile::flush() {
    if (!m_writable) {
        return;  // nothing can have been written through a read-only file
    }
    if (const int err = m_file.sync(); err != 0) {
        throw ioErrorFromErrno(err, m_path);
    }
}

std::uint32_t DiskRomFile::mode() const {
    std::uint32_t bits = 0;
    if (const int err = m_file.permissions(bits); err != 0) {
        throw ioErrorFromErrno(err, m_path);
    }
    return bits;
}

void MemoryRomFile::read(std::uint32_t offset, std::span<std::uint8_t> out) {
    if (static_cast<std::uint64_t>(offset) + out.size() > m_bytes.size()) {
        throw kBeyondEnd;
    }
    if (out.empty()) {
        return;
    }
    std::memcpy(out.data(), m_bytes.data() + offset, out.size());
}

void MemoryRomFile::write(std::uint32_t offset, std::span<const std::uint8_t> data) {
    if (static_cast<std::uint64_t>(offset) + data.size() > m_bytes.size()) {
        throw RomIoError(message("io.write_beyond_end"));
    }
    if (data.empty()) {
        return;
    }
    std::memcpy(m_bytes.data() + offset, data.data(), data.size());
}

}  // namespace quillon
