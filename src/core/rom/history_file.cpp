#include "core/rom/history_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/history_format.h"
#include "core/rom/rom_file.h"

namespace quillon {

namespace fmt = history_format;

namespace {

RomIoError fileError(const std::filesystem::path& path, const char* what, int err) {
    return RomIoError("Der Verlauf \"" + path.filename().string() + "\" konnte nicht " + what +
                      ": " + ioErrorFromErrno(err).what());
}

// A descriptor closed on every way out; throws naming the file when it cannot be opened.
class Fd {
public:
    Fd(const std::filesystem::path& path, int flags, const char* what)
        : m_fd(::open(path.c_str(), flags | O_CLOEXEC, 0644)) {
        if (m_fd < 0) {
            throw fileError(path, what, errno);
        }
    }
    ~Fd() { ::close(m_fd); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

void writeAt(int fd, const std::filesystem::path& path, std::uint64_t at,
             const std::vector<std::uint8_t>& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd, data.data() + done, data.size() - done,
                                   static_cast<off_t>(at + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw fileError(path, "geschrieben werden", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        throw fileError(path, "geschrieben werden", errno);
    }
}

std::uint64_t fileSize(int fd, const std::filesystem::path& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        throw fileError(path, "gelesen werden", errno);
    }
    return static_cast<std::uint64_t>(st.st_size);
}

std::vector<std::uint8_t> readAt(int fd, const std::filesystem::path& path, std::uint64_t at,
                                 std::size_t count) {
    std::vector<std::uint8_t> out(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(fd, out.data() + done, count - done, static_cast<off_t>(at + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw fileError(path, "gelesen werden", n < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(n);
    }
    return out;
}

// The record of the frame that ends at end (its start into start); nullopt when there is no
// whole, well-formed frame.
std::optional<fmt::Record> recordBefore(int fd, const std::filesystem::path& path,
                                        std::uint64_t end, std::uint64_t& start) {
    const std::uint32_t length = readLe32(readAt(fd, path, end - 4, 4).data());
    if (end - fmt::kHeaderSize - fmt::kFrameExtra < length) {
        return std::nullopt;
    }
    start = end - fmt::kFrameExtra - length;
    const auto bytes = readAt(fd, path, start, length + fmt::kFrameExtra);
    const auto payload = fmt::frameAt(bytes, 0);
    return payload ? fmt::parse(*payload) : std::nullopt;
}

// A new or renamed file's entry in its folder, brought onto the disk too.
void syncFolder(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::vector<std::uint8_t> HistoryFile::read(std::uint64_t offset, std::size_t count) const {
    Fd fd(m_path, O_RDONLY, "gelesen werden");
    const std::uint64_t size = fileSize(fd.get(), m_path);
    if (offset > size) {
        return {};
    }
    return readAt(fd.get(), m_path, offset, static_cast<std::size_t>(
                                               std::min<std::uint64_t>(count, size - offset)));
}

std::vector<std::uint8_t> HistoryFile::readAll() const {
    Fd fd(m_path, O_RDONLY, "gelesen werden");
    return readAt(fd.get(), m_path, 0, static_cast<std::size_t>(fileSize(fd.get(), m_path)));
}

TailInfo HistoryFile::tail(std::uint64_t firstId) const {
    Fd fd(m_path, O_RDONLY, "gelesen werden");
    TailInfo info;
    info.end = fileSize(fd.get(), m_path);
    info.nextId = firstId;
    std::uint64_t pos = info.end;
    std::optional<fmt::Record> mark;
    for (int frames = 0; pos > fmt::kHeaderSize && frames < 64 && !info.lastDone; ++frames) {
        if (pos < fmt::kHeaderSize + fmt::kFrameExtra) {
            return info;
        }
        std::uint64_t start = 0;
        auto rec = recordBefore(fd.get(), m_path, pos, start);
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
            }
            mark.reset();
        }
        pos = start;
    }
    info.whole = true;
    return info;
}

std::uint64_t HistoryFile::start(const std::vector<std::uint8_t>& header) const {
    Fd fd(m_path, O_WRONLY | O_CREAT | O_TRUNC, "angelegt werden");
    writeAt(fd.get(), m_path, 0, header);
    syncFolder(m_path);
    return header.size();
}

std::uint64_t HistoryFile::append(std::uint64_t end, const std::vector<std::uint8_t>& frame) const {
    Fd fd(m_path, O_WRONLY, "geschrieben werden");
    if (fileSize(fd.get(), m_path) != end && ::ftruncate(fd.get(), static_cast<off_t>(end)) != 0) {
        throw fileError(m_path, "geschrieben werden", errno);
    }
    writeAt(fd.get(), m_path, end, frame);
    return end + frame.size();
}

void HistoryFile::replace(const std::vector<std::uint8_t>& data) const {
    const std::filesystem::path temporary = m_path.string() + ".neu";
    {
        Fd fd(temporary, O_WRONLY | O_CREAT | O_TRUNC, "geschrieben werden");
        writeAt(fd.get(), temporary, 0, data);
    }
    if (::rename(temporary.c_str(), m_path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        throw fileError(m_path, "geschrieben werden", err);
    }
    syncFolder(m_path);
}

}  // namespace quillon
