#include "core/rom/rom_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/rom/rom_file.h"

namespace quillon {

namespace {

constexpr std::size_t kCopyChunk = 1 << 20;

// "Die Kopie "x.gba" konnte nicht angelegt werden: Disk full"
RomIoError copyError(const std::filesystem::path& target, const char* id, int err) {
    return RomIoError(message(id, {target.string(), ioErrorFromErrno(err).message()}));
}

void writeAll(int fd, const std::uint8_t* data, std::size_t count,
              const std::filesystem::path& target) {
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw copyError(target, "rom.copy_not_written", errno);
        }
        data += n;
        count -= static_cast<std::size_t>(n);
    }
}

void copyBytes(RomFile& source, int fd, const std::filesystem::path& target) {
    const std::uint64_t size = source.size();
    std::vector<std::uint8_t> chunk;
    for (std::uint64_t at = 0; at < size; at += kCopyChunk) {
        chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kCopyChunk, size - at)));
        source.read(static_cast<std::uint32_t>(at), chunk);
        writeAll(fd, chunk.data(), chunk.size(), target);
    }
    if (::fsync(fd) != 0) {
        throw copyError(target, "rom.copy_not_written", errno);
    }
}

// Brings a new directory entry onto the disk; a folder that cannot be synced is no failure.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

RomCopy::RomCopy(RomFile& source, std::uint32_t mode, std::filesystem::path target)
    : m_target(std::move(target)) {
    std::string pattern =
        (m_target.parent_path() / ("." + m_target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throw copyError(m_target, "rom.copy_not_made", errno);
    }
    m_temporary = pattern;
    try {
        if (::fchmod(fd, static_cast<mode_t>((mode | S_IWUSR) & 07777)) != 0) {
            throw copyError(m_target, "rom.copy_not_made", errno);
        }
        copyBytes(source, fd, m_target);
    } catch (...) {
        ::close(fd);
        ::unlink(m_temporary.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(m_temporary.c_str());
        throw copyError(m_target, "rom.copy_not_written", err);
    }
}

RomCopy::~RomCopy() {
    if (!m_published) {
        ::unlink(m_temporary.c_str());
    }
}

bool RomCopy::publish() {
    // A second name for the finished file that never replaces an existing one; file systems
    // without hard links get a rename after a last look at the target.
    if (::link(m_temporary.c_str(), m_target.c_str()) == 0) {
        ::unlink(m_temporary.c_str());
    } else if (errno == EEXIST) {
        return false;
    } else {
        std::error_code ec;
        if (std::filesystem::exists(m_target, ec)) {
            return false;
        }
        if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
            throw copyError(m_target, "rom.copy_not_made", errno);
        }
    }
    m_published = true;
    syncFolder(m_target.parent_path());
    return true;
}

}  // namespace quillon
