#include "core/rom/history_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/history_format.h"
#include "core/rom/rom_file.h"

namespace quillon {

namespace fmt = history_format;

namespace {

// what: the id of the step that failed ("history.file.write").
RomIoError fileError(const std::filesystem::path& path, const char* what, int err) {
    return RomIoError(message(what, {path.filename().string(), ioErrorFromErrno(err).message()}));
}

void syncFd(int fd, const std::filesystem::path& path, const char* what) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            throw fileError(path, what, errno);
        }
    }
}

void writeAt(int fd, const std::filesystem::path& path, std::uint64_t at,
             std::span<const std::uint8_t> data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd, data.data() + done, data.size() - done,
                                   static_cast<off_t>(at + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw fileError(path, "history.file.write", errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

std::uint64_t identityOf(const struct stat& st) {
    return (static_cast<std::uint64_t>(st.st_dev) << 40) ^ static_cast<std::uint64_t>(st.st_ino);
}

// The record of the frame that ends at end (its start into start); nullopt when there is no
// whole, well-formed frame.
std::optional<fmt::Record> recordBefore(const HistoryFile& file, std::uint64_t end,
                                        std::uint64_t& start) {
    const auto last = file.read(end - 4, 4);
    if (last.size() != 4) {
        return std::nullopt;
    }
    const std::uint32_t length = readLe32(last.data());
    if (end - fmt::kHeaderSize - fmt::kFrameExtra < length) {
        return std::nullopt;
    }
    start = end - fmt::kFrameExtra - length;
    const auto bytes = file.read(start, length + fmt::kFrameExtra);
    const auto payload = fmt::frameAt(bytes, 0);
    return payload ? fmt::parse(*payload) : std::nullopt;
}

}  // namespace

DiskHistoryFile::~DiskHistoryFile() { unlock(); }

bool DiskHistoryFile::exists() const {
    struct stat st {};
    return ::stat(m_path.c_str(), &st) == 0;
}

std::uint64_t DiskHistoryFile::size() const {
    struct stat st {};
    const int rc = m_fd >= 0 ? ::fstat(m_fd, &st) : ::stat(m_path.c_str(), &st);
    if (rc != 0) {
        if (errno == ENOENT) {
            return 0;
        }
        throw fileError(m_path, "history.file.read", errno);
    }
    return static_cast<std::uint64_t>(st.st_size);
}

std::uint64_t DiskHistoryFile::identity() const {
    struct stat st {};
    return ::stat(m_path.c_str(), &st) == 0 ? identityOf(st) : 0;
}

std::vector<std::uint8_t> DiskHistoryFile::read(std::uint64_t offset, std::size_t count) const {
    const int fd = m_fd >= 0 ? m_fd : ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return {};
        }
        throw fileError(m_path, "history.file.read", errno);
    }
    std::vector<std::uint8_t> out(count);
    std::size_t done = 0;
    int err = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(fd, out.data() + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            err = n < 0 ? errno : 0;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (fd != m_fd) {
        ::close(fd);
    }
    if (err != 0) {
        throw fileError(m_path, "history.file.read", err);
    }
    out.resize(done);
    return out;
}

bool DiskHistoryFile::lock() {
    using Clock = std::chrono::steady_clock;
    const auto giveUp = Clock::now() + std::chrono::milliseconds(m_lockWaitMs);
    for (;;) {
        const bool existed = exists();
        unlock();
        m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            throw fileError(m_path, "history.file.create", errno);
        }
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                throw fileError(m_path, "history.file.lock", errno);
            }
            if (Clock::now() >= giveUp) {
                unlock();
                throw Error(message("history.locked", {m_path.filename().string()}));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        struct stat held {};
        if (::fstat(m_fd, &held) == 0 && identityOf(held) == identity()) {
            return !existed;
        }
        // The name stands for another file now (the history was shortened meanwhile).
    }
}

void DiskHistoryFile::unlock() {
    if (m_fd >= 0) {
        ::close(m_fd);  // ends the lock too
        m_fd = -1;
    }
}

void DiskHistoryFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    writeAt(m_fd, m_path, offset, data);
}

void DiskHistoryFile::truncate(std::uint64_t size) {
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) {
        throw fileError(m_path, "history.file.write", errno);
    }
}

void DiskHistoryFile::sync() { syncFd(m_fd, m_path, "history.file.write"); }

void DiskHistoryFile::syncFolder() {
    const std::filesystem::path folder = m_path.parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw fileError(m_path, "history.file.register", errno);
    }
    int rc = 0;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    const int err = rc != 0 ? errno : 0;
    ::close(fd);
    // EINVAL: the file system keeps no folder entries that could be synced.
    if (err != 0 && err != EINVAL) {
        throw fileError(m_path, "history.file.register", err);
    }
}

void DiskHistoryFile::replace(const std::vector<std::uint8_t>& data) {
    const std::filesystem::path temporary = m_path.string() + ".neu";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw fileError(m_path, "history.file.write", errno);
    }
    try {
        writeAt(fd, temporary, 0, data);
        syncFd(fd, temporary, "history.file.write");
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    ::close(fd);
    if (::rename(temporary.c_str(), m_path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        throw fileError(m_path, "history.file.write", err);
    }
    unlock();
    syncFolder();
}

namespace history_file {

TailInfo tail(const HistoryFile& file, std::uint64_t firstId) {
    TailInfo info;
    info.end = file.size();
    info.nextId = firstId;
    std::uint64_t pos = info.end;
    std::optional<fmt::Record> mark;
    // Back to the newest transaction marked done, however many rolled-back ones lie after it.
    while (pos > fmt::kHeaderSize && !info.lastDone) {
        if (pos < fmt::kHeaderSize + fmt::kFrameExtra) {
            return info;
        }
        std::uint64_t start = 0;
        auto rec = recordBefore(file, pos, start);
        if (!rec || (rec->isMark && mark)) {
            return info;
        }
        if (rec->isMark) {
            mark = std::move(rec);
        } else {
            info.nextId = std::max(info.nextId, rec->entry.id + 1);
            if (mark && mark->id != rec->entry.id) {
                return info;
            }
            if (!mark && pos == info.end) {
                info.unfinished = rec->entry;
            } else if (mark && mark->done) {
                info.lastDone = std::move(rec->entry);
            } else if (!mark) {
                return info;  // a transaction without mark that is not the last record
            }
            mark.reset();
        }
        pos = start;
    }
    info.whole = pos == fmt::kHeaderSize || info.lastDone.has_value();
    return info;
}

}  // namespace history_file

}  // namespace quillon
