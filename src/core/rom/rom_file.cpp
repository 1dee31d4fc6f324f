#include "core/rom/rom_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (err == ENOSPC || err == EDQUOT || err == EFBIG) {
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
    m_fd = readOnly ? -1 : ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    m_writable = m_fd >= 0;
    if (readOnly) {
        errno = EACCES;
    }
    if (m_fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (m_fd < 0) {
        throw ioErrorFromErrno(errno, path);
    }
}

DiskRomFile::~DiskRomFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void DiskRomFile::read(std::uint32_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        ssize_t n = ::pread(m_fd, out.data() + done, out.size() - done,
                            static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw ioErrorFromErrno(errno, m_path);
        }
        if (n == 0) {
            throw kBeyondEnd;
        }
        done += static_cast<std::size_t>(n);
    }
}

void DiskRomFile::write(std::uint32_t offset, std::span<const std::uint8_t> data) {
    if (!m_writable) {
        throw RomIoError(message("io.access_denied"));
    }
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::pwrite(m_fd, data.data() + done, data.size() - done,
                             static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw ioErrorFromErrno(errno, m_path);
        }
        done += static_cast<std::size_t>(n);
    }
}

std::uint64_t DiskRomFile::size() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        throw ioErrorFromErrno(errno, m_path);
    }
    return static_cast<std::uint64_t>(st.st_size);
}

bool DiskRomFile::isFile(const std::filesystem::path& path) const {
    struct stat held {};
    struct stat named {};
    return ::fstat(m_fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void DiskRomFile::flush() {
    if (!m_writable) {
        return;  // nothing can have been written through a read-only descriptor
    }
    while (::fsync(m_fd) != 0) {
        if (errno != EINTR) {
            throw ioErrorFromErrno(errno, m_path);
        }
    }
}

std::uint32_t DiskRomFile::mode() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        throw ioErrorFromErrno(errno, m_path);
    }
    return static_cast<std::uint32_t>(st.st_mode & 07777);
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
