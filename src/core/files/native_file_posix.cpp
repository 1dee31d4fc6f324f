// The file calls on POSIX systems (Linux, BSD, macOS); see native_file.h.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "core/files/native_file.h"

namespace quillon::native {

namespace {

int fdOf(std::intptr_t handle) { return static_cast<int>(handle); }

// Runs call again while a signal interrupts it; 0 or the errno of the failure.
template <typename Call>
int retried(Call call) {
    while (call() != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

FileIdentity identityFrom(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace

int NativeFile::open(const std::filesystem::path& path, Mode mode) {
    close();
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read: flags |= O_RDONLY; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
    case Mode::ReadWriteCreate: flags |= O_RDWR | O_CREAT; break;
    case Mode::WriteTruncate: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    }
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        return errno;
    }
    m_handle = fd;
    return 0;
}

int NativeFile::createTemporaryBeside(const std::filesystem::path& file,
                                      std::filesystem::path& temporary) {
    close();
    std::string pattern =
        (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return errno;
    }
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    m_handle = fd;
    temporary = pattern;
    return 0;
}

int NativeFile::close() {
    if (m_handle == kNone) {
        return 0;
    }
    const int rc = ::close(fdOf(m_handle));
    m_handle = kNone;
    return rc != 0 && errno != EINTR ? errno : 0;
}

int NativeFile::readAt(std::uint64_t offset, void* data, std::size_t count,
                       std::size_t& got) const {
    for (;;) {
        const ssize_t n = ::pread(fdOf(m_handle), data, count, static_cast<off_t>(offset));
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return 0;
        }
        if (errno != EINTR) {
            return errno;
        }
    }
}

int NativeFile::writeAt(std::uint64_t offset, const void* data, std::size_t count) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pwrite(fdOf(m_handle), bytes + done, count - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int NativeFile::size(std::uint64_t& bytes) const {
    struct stat st {};
    if (::fstat(fdOf(m_handle), &st) != 0) {
        return errno;
    }
    bytes = static_cast<std::uint64_t>(st.st_size);
    return 0;
}

int NativeFile::truncate(std::uint64_t bytes) {
    return retried([&] { return ::ftruncate(fdOf(m_handle), static_cast<off_t>(bytes)); });
}

int NativeFile::sync() {
    return retried([&] { return ::fsync(fdOf(m_handle)); });
}

int NativeFile::tryLock() {
    return retried([&] { return ::flock(fdOf(m_handle), LOCK_EX | LOCK_NB); });
}

int NativeFile::identity(FileIdentity& id) const {
    struct stat st {};
    if (::fstat(fdOf(m_handle), &st) != 0) {
        return errno;
    }
    id = identityFrom(st);
    return 0;
}

int NativeFile::permissions(std::uint32_t& mode) const {
    struct stat st {};
    if (::fstat(fdOf(m_handle), &st) != 0) {
        return errno;
    }
    mode = static_cast<std::uint32_t>(st.st_mode & 07777);
    return 0;
}

int NativeFile::setPermissions(std::uint32_t mode) {
    return ::fchmod(fdOf(m_handle), static_cast<mode_t>(mode & 07777)) == 0 ? 0 : errno;
}

int identityOf(const std::filesystem::path& path, FileIdentity& id) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno;
    }
    id = identityFrom(st);
    return 0;
}

int renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int publishNew(const std::filesystem::path& from, const std::filesystem::path& to) {
    // A second name that never replaces an existing one; file systems without hard links get
    // a rename after a last look at the target.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno == EEXIST) {
        return EEXIST;
    }
    std::error_code ec;
    if (std::filesystem::exists(to, ec)) {
        return EEXIST;
    }
    return renameOver(from, to);
}

int removeFile(const std::filesystem::path& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int err = retried([&] { return ::fsync(fd); });
    ::close(fd);
    return err;
}

bool folderWritable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

std::uint32_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<std::uint32_t>(0666 & ~mask);
}

UserFolders userFolders() {
    const auto value = [](const char* name) {
        const char* text = std::getenv(name);
        return text ? std::filesystem::path(text) : std::filesystem::path();
    };
    UserFolders folders{value("HOME"), value("XDG_CONFIG_HOME"), value("XDG_DATA_HOME")};
    if (!folders.data.is_absolute()) {
        folders.data = folders.home.empty() ? std::filesystem::path()
                                            : folders.home / ".local" / "share";
    }
    return folders;
}

std::tm localTime(std::time_t moment) {
    std::tm local{};
    ::localtime_r(&moment, &local);
    return local;
}

std::filesystem::path executablePath() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec);
}

void useSystemNameEncoding() {}

bool isTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) != 0; }

}  // namespace quillon::native
