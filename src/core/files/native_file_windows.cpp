// The file calls on Windows; see native_file.h. Names go to the wide (UTF-16) calls, so any
// file name the system allows works; errors are translated to the errno values the POSIX side
// returns.
#include <windows.h>

#include <io.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <random>
#include <string>

#include "core/files/native_file.h"

namespace quillon::native {

namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

int errnoFrom(DWORD code) {
    switch (code) {
    case ERROR_SUCCESS: return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_NETWORK_ACCESS_DENIED: return EACCES;
    case ERROR_LOCK_VIOLATION:
    case ERROR_IO_PENDING: return EWOULDBLOCK;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_INVALID_HANDLE: return EBADF;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_DIRECTORY: return ENOTDIR;
    default: return EIO;
    }
}

int lastError() { return errnoFrom(::GetLastError()); }

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// Opened for reading or writing: others may read, write, rename and delete it meanwhile, as a
// POSIX program may (the history's renamed-over check relies on that).
HANDLE openHandle(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    return ::CreateFileW(path.c_str(), access,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The file number alone: identities are compared between a file held open and a name in its
// own folder, so on one volume, and the volume of a file renamed while open is not always
// reported (Wine gives 0).
int identityOfHandle(HANDLE handle, FileIdentity& id) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        return lastError();
    }
    id.device = 0;
    id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return 0;
}

}  // namespace

int NativeFile::open(const std::filesystem::path& path, Mode mode) {
    close();
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
    case Mode::Read: access = GENERIC_READ; break;
    case Mode::ReadWrite: break;
    case Mode::ReadWriteCreate: disposition = OPEN_ALWAYS; break;
    case Mode::WriteTruncate: disposition = CREATE_ALWAYS; break;
    }
    const HANDLE handle = openHandle(path, access, disposition);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    m_handle = reinterpret_cast<std::intptr_t>(handle);
    return 0;
}

int NativeFile::createTemporaryBeside(const std::filesystem::path& file,
                                      std::filesystem::path& temporary) {
    close();
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::minstd_rand pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring suffix = L".";
        for (int i = 0; i < 6; ++i) {
            suffix += static_cast<wchar_t>(kLetters[pick() % (sizeof kLetters - 1)]);
        }
        const std::filesystem::path name =
            file.parent_path() / (L"." + file.filename().wstring() + suffix);
        const HANDLE handle = openHandle(name, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
        if (handle != INVALID_HANDLE_VALUE) {
            m_handle = reinterpret_cast<std::intptr_t>(handle);
            temporary = name;
            return 0;
        }
        const DWORD code = ::GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            return errnoFrom(code);
        }
    }
    return EEXIST;
}

int NativeFile::close() {
    if (m_handle == kNone) {
        return 0;
    }
    const bool closed = ::CloseHandle(handleOf(m_handle));
    m_handle = kNone;
    return closed ? 0 : lastError();
}

int NativeFile::readAt(std::uint64_t offset, void* data, std::size_t count,
                       std::size_t& got) const {
    OVERLAPPED where = at(offset);
    DWORD n = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::ReadFile(handleOf(m_handle), data, ask, &n, &where)) {
        const DWORD code = ::GetLastError();
        if (code != ERROR_HANDLE_EOF) {
            return errnoFrom(code);
        }
        n = 0;
    }
    got = n;
    return 0;
}

int NativeFile::writeAt(std::uint64_t offset, const void* data, std::size_t count) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED where = at(offset + done);
        DWORD n = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        if (!::WriteFile(handleOf(m_handle), bytes + done, ask, &n, &where)) {
            return lastError();
        }
        if (n == 0) {
            return ENOSPC;
        }
        done += n;
    }
    return 0;
}

int NativeFile::size(std::uint64_t& bytes) const {
    LARGE_INTEGER value{};
    if (!::GetFileSizeEx(handleOf(m_handle), &value)) {
        return lastError();
    }
    bytes = static_cast<std::uint64_t>(value.QuadPart);
    return 0;
}

int NativeFile::truncate(std::uint64_t bytes) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(bytes);
    return ::SetFileInformationByHandle(handleOf(m_handle), FileEndOfFileInfo, &end, sizeof end)
               ? 0
               : lastError();
}

int NativeFile::sync() { return ::FlushFileBuffers(handleOf(m_handle)) ? 0 : lastError(); }

int NativeFile::tryLock() {
    OVERLAPPED whole{};
    if (::LockFileEx(handleOf(m_handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                     MAXDWORD, MAXDWORD, &whole)) {
        return 0;
    }
    const DWORD code = ::GetLastError();
    return code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING ? EWOULDBLOCK
                                                                    : errnoFrom(code);
}

int NativeFile::identity(FileIdentity& id) const { return identityOfHandle(handleOf(m_handle), id); }

int NativeFile::permissions(std::uint32_t& mode) const {
    FILE_BASIC_INFO info{};
    if (!::GetFileInformationByHandleEx(handleOf(m_handle), FileBasicInfo, &info, sizeof info)) {
        return lastError();
    }
    mode = (info.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0644;
    return 0;
}

int NativeFile::setPermissions(std::uint32_t mode) {
    (void)mode;  // the file is being written: it stays writable, which is all Windows keeps
    return 0;
}

int identityOf(const std::filesystem::path& path, FileIdentity& id) {
    const HANDLE handle = ::CreateFileW(
        path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    const int err = identityOfHandle(handle, id);
    ::CloseHandle(handle);
    return err;
}

int renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : lastError();
}

int publishNew(const std::filesystem::path& from, const std::filesystem::path& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move refuses a name that exists: no window in
    // which another file could be replaced.
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : lastError();
}

int removeFile(const std::filesystem::path& path) {
    return ::DeleteFileW(path.c_str()) ? 0 : lastError();
}

int syncFolder(const std::filesystem::path& folder) {
    (void)folder;
    return EINVAL;  // MOVEFILE_WRITE_THROUGH has brought the entry onto the disk
}

bool folderWritable(const std::filesystem::path& folder) {
    // Access lists decide, not the read-only flag: a file made and removed again tells.
    NativeFile probe;
    std::filesystem::path name;
    if (probe.createTemporaryBeside(folder / L"quillon-probe", name) != 0) {
        return false;
    }
    probe.close();
    ::DeleteFileW(name.c_str());
    return true;
}

std::uint32_t newFileMode() { return 0666; }

UserFolders userFolders() {
    const auto value = [](const wchar_t* name) {
        const wchar_t* text = ::_wgetenv(name);
        return text ? std::filesystem::path(text) : std::filesystem::path();
    };
    // Settings live in the roaming application data folder, as Windows programs keep them.
    return {value(L"USERPROFILE"), value(L"APPDATA"), value(L"APPDATA")};
}

std::tm localTime(std::time_t moment) {
    std::tm local{};
    ::localtime_s(&local, &moment);
    return local;
}

std::filesystem::path executablePath() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) {
            return {};
        }
        if (n < name.size()) {
            name.resize(n);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

void useSystemNameEncoding() {
    // Narrow names become paths through the C library's code page, "C" (Latin-1) until set.
    std::setlocale(LC_CTYPE, "");
}

bool isTerminal(std::FILE* stream) { return ::_isatty(::_fileno(stream)) != 0; }

}  // namespace quillon::native
