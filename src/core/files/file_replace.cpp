#include "core/files/file_replace.h"

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

RomIoError writeError(const std::filesystem::path& file, int err) {
    return RomIoError(
        message("file.not_written", {file.string(), ioErrorFromErrno(err).message()}));
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
            throw writeError(file, errno);
        }
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        throw writeError(file, errno);
    }
}

}  // namespace

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& file,
                                        std::uintmax_t maxBytes) {
    const std::string name = file.string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        throw RomIoError(message("file.not_regular", {name}));
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size > maxBytes) {
        throw DataError(message("file.too_long",
                                {name, std::to_string(size), std::to_string(maxBytes)}));
    }
    std::ifstream in(file, std::ios::binary);
    if (ec || !in) {
        throw RomIoError(message("file.not_read", {name}));
    }
    // Read one byte more than allowed: a file that grew since is refused as well.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(maxBytes) + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        throw RomIoError(message("file.not_read", {name}));
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > maxBytes) {
        throw DataError(message("file.longer", {name, std::to_string(maxBytes)}));
    }
    return bytes;
}

namespace {

// Writes bytes into a new temporary file beside file and brings it onto the disk; returns its
// name. Nothing stays behind when this fails.
std::string writeTemporary(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path folder = file.parent_path();
    std::string pattern = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throw writeError(file, errno);
    }
    try {
        // mkstemp makes the file private; a map file is an ordinary document.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, static_cast<mode_t>(0666 & ~mask)) != 0) {
            throw writeError(file, errno);
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
        throw writeError(file, err);
    }
    return pattern;
}

}  // namespace

void replaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    replaceFiles({{file, bytes}});
}

void replaceFiles(std::initializer_list<FileContent> files) {
    std::vector<std::string> temporaries;
    const auto dropTemporaries = [&](std::size_t from) {
        for (std::size_t i = from; i < temporaries.size(); ++i) {
            ::unlink(temporaries[i].c_str());
        }
    };
    try {
        for (const FileContent& f : files) {
            temporaries.push_back(writeTemporary(f.file, f.bytes));
        }
    } catch (...) {
        dropTemporaries(0);
        throw;
    }
    std::size_t i = 0;
    for (const FileContent& f : files) {
        if (::rename(temporaries[i].c_str(), f.file.c_str()) != 0) {
            const int err = errno;
            dropTemporaries(i);
            throw writeError(f.file, err);
        }
        ++i;
    }
}

}  // namespace quillon
