#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <vector>

namespace quillon {

// Whole small files (map and event files) read and written in one piece.

// The bytes of file, which holds at most maxBytes. Throws RomIoError naming the file when it
// is no ordinary file (a folder, a device) or cannot be read, DataError when it is longer than
// maxBytes (nothing of it is read then).
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& file, std::uintmax_t maxBytes);

// Writes bytes as the new content of file: into a temporary file in the same folder, brought
// onto the disk, then renamed over file. A failed write (full disk, no permission) leaves the
// file as it was and no temporary file behind. Throws RomIoError naming the file.
void replaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

// Several files replaced together (a map file and its event file): every temporary file is
// written first, then they are renamed in the order given. A failed write leaves all files as
// they were; only a failing rename can leave the first ones replaced.
struct FileContent {
    std::filesystem::path file;
    std::span<const std::uint8_t> bytes;
};
void replaceFiles(std::initializer_list<FileContent> files);

}  // namespace quillon
