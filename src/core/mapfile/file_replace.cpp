#include "core/mapfile/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "core/errors.h"
#include "core/rom/rom_file.h"

namespace quillon {

namespace {

RomIoError fileError(const std::filesystem::path& file, const char* what, int err) {
    return RomIoError("Die Datei \"" + file.string() + "\" konnte nicht " + what + ": " +
                      ioErrorFromErrno(err).what());
}

void writeAll(int fd, std::span<const std::uint8_t> bytes, const std::filesystem::path& file) {
    const std::uint8_t* data = bytes.data();
    std::size_t count = bytes.size();
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw fileError(file, "geschrieben werden", errno);
        }
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        throw fileError(file, "geschrieben werden", errno);
    }
}

}  // namespace

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw RomIoError("Die Datei \"" + file.string() + "\" konnte nicht gelesen werden.");
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw RomIoError("Die Datei \"" + file.string() + "\" konnte nicht gelesen werden.");
    }
    return bytes;
}

void replaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path folder = file.parent_path();
    std::string pattern = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throw fileError(file, "geschrieben werden", errno);
    }
    try {
        // mkstemp makes the file private; a map file is an ordinary document.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, static_cast<mode_t>(0666 & ~mask)) != 0) {
            throw fileError(file, "geschrieben werden", errno);
        }
        writeAll(fd, bytes, file);
    } catch (...) {
        ::close(fd);
        ::unlink(pattern.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(pattern.c_str());
        throw fileError(file, "geschrieben werden", err);
    }
    if (::rename(pattern.c_str(), file.c_str()) != 0) {
        const int err = errno;
        ::unlink(pattern.c_str());
        throw fileError(file, "geschrieben werden", err);
    }
}

}  // namespace quillon
