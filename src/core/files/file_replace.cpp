#include "core/files/file_replace.h"

#include <cerrno>
#include <fstream>
#include <string>

#include "core/errors.h"
#include "core/files/native_file.h"
#include "core/rom/rom_file.h"

namespace quillon {

namespace {

RomIoError writeError(const std::filesystem::path& file, int err) {
    return RomIoError(
        message("file.not_written", {file.string(), ioErrorFromErrno(err).message()}));
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
std::filesystem::path writeTemporary(const std::filesystem::path& file,
                                     std::span<const std::uint8_t> bytes) {
    native::NativeFile out;
    std::filesystem::path temporary;
    if (const int err = out.createTemporaryBeside(file, temporary); err != 0) {
        throw writeError(file, err);
    }
    // The temporary file is private; a map file is an ordinary document.
    int err = out.setPermissions(native::newFileMode());
    if (err == 0) {
        err = out.writeAt(0, bytes.data(), bytes.size());
    }
    if (err == 0) {
        err = out.sync();
    }
    const int closeErr = out.close();
    err = err != 0 ? err : closeErr;
    if (err != 0) {
        native::removeFile(temporary);
        throw writeError(file, err);
    }
    return temporary;
}

}  // namespace

void replaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    replaceFiles({{file, bytes}});
}

void replaceFiles(std::initializer_list<FileContent> files) {
    std::vector<std::filesystem::path> temporaries;
    const auto dropTemporaries = [&](std::size_t from) {
        for (std::size_t i = from; i < temporaries.size(); ++i) {
            native::removeFile(temporaries[i]);
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
        if (const int err = native::renameOver(temporaries[i], f.file); err != 0) {
            dropTemporaries(i);
            throw writeError(f.file, err);
        }
        ++i;
    }
}

}  // namespace quillon
