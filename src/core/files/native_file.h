#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

// The operating system's file calls, the only place the core makes them: POSIX in
// native_file_posix.cpp, Windows in native_file_windows.cpp (CMake builds one of the two).
// Every call returns 0 or an errno value; the Windows side translates its error codes
// (access denied: EACCES, disk full: ENOSPC, a lock held elsewhere: EWOULDBLOCK, ...), so the
// callers and their messages are the same on both.
namespace quillon::native {

// A user's disk quota used up: its own errno value where the system has one (Windows reports
// it as a full disk).
#ifdef EDQUOT
inline constexpr int kQuotaExceeded = EDQUOT;
#else
inline constexpr int kQuotaExceeded = ENOSPC;
#endif

// Which file a name stands for (device and file number); equal only for the very same file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// One open file; closed with the object.
class NativeFile {
public:
    enum class Mode {
        Read,             // existing file, reading only
        ReadWrite,        // existing file
        ReadWriteCreate,  // made when missing, kept when present
        WriteTruncate,    // made when missing, emptied when present
    };

    NativeFile() = default;
    ~NativeFile() { close(); }
    NativeFile(NativeFile&& other) noexcept : m_handle(other.m_handle) { other.m_handle = kNone; }
    NativeFile& operator=(NativeFile&& other) noexcept {
        if (this != &other) {
            close();
            m_handle = other.m_handle;
            other.m_handle = kNone;
        }
        return *this;
    }
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    int open(const std::filesystem::path& path, Mode mode);
    // A new file of its own beside file (".<name>.XXXXXX", readable and writable by its
    // owner), its name into temporary.
    int createTemporaryBeside(const std::filesystem::path& file,
                              std::filesystem::path& temporary);
    bool isOpen() const { return m_handle != kNone; }
    // The close's own error (a write the system delayed can fail here).
    int close();

    // Up to count bytes from offset; got is 0 at the end of the file.
    int readAt(std::uint64_t offset, void* data, std::size_t count, std::size_t& got) const;
    // Every byte, or an error.
    int writeAt(std::uint64_t offset, const void* data, std::size_t count);
    int size(std::uint64_t& bytes) const;
    int truncate(std::uint64_t bytes);
    // The file's bytes onto the storage device.
    int sync();
    // The exclusive lock every writer of the file takes; never waits: EWOULDBLOCK while
    // another open file holds it. Ends with close().
    int tryLock();
    int identity(FileIdentity& id) const;
    // Permission bits (Windows: 0444 for a read-only file, else 0644).
    int permissions(std::uint32_t& mode) const;
    // Windows keeps only the read-only flag, and a file being written stays writable.
    int setPermissions(std::uint32_t mode);

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t m_handle = kNone;  // descriptor or HANDLE
};

// ENOENT when the name stands for no file.
int identityOf(const std::filesystem::path& path, FileIdentity& id);
// Puts from in the place of to, replacing a file there, as one step that is on the disk when
// this returns.
int renameOver(const std::filesystem::path& from, const std::filesystem::path& to);
// Gives the finished file from the name to, which must not exist yet (EEXIST, never
// replaced); on success the name from is gone, on failure it stays for the caller to remove.
int publishNew(const std::filesystem::path& from, const std::filesystem::path& to);
int removeFile(const std::filesystem::path& path);
// Brings a folder's new and renamed entries onto the disk; EINVAL where the file system keeps
// none that could be synced (Windows writes them through with the rename).
int syncFolder(const std::filesystem::path& folder);
// Whether files can be made in folder by this user.
bool folderWritable(const std::filesystem::path& folder);
// The process's new-file permission bits (0666 without the umask; Windows: 0666).
std::uint32_t newFileMode();
// The local time of a moment (the date in names of files set aside).
std::tm localTime(std::time_t moment);
// The running program's file.
std::filesystem::path executablePath();
// File names given as narrow text (a command line's arguments) are read in the system's
// encoding: on Windows the user's ANSI code page, in which the arguments arrive (names outside
// it cannot be given that way); elsewhere names are bytes and nothing changes.
void useSystemNameEncoding();
// Whether the stream is a terminal (progress lines are only drawn on one).
bool isTerminal(std::FILE* stream);
// The user's folders, empty when unset; on Windows read as wide text, so any user name works.
struct UserFolders {
    std::filesystem::path home;    // $HOME; Windows: %USERPROFILE%
    std::filesystem::path config;  // $XDG_CONFIG_HOME; Windows: %APPDATA%
    // Programs' data: $XDG_DATA_HOME when absolute, else ~/.local/share; Windows: %APPDATA%.
    std::filesystem::path data;
};
UserFolders userFolders();

}  // namespace quillon::native
