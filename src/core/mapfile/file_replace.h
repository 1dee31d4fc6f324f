#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace quillon {

// Whole small files (map and event files) read and written in one piece.

// The bytes of file. Throws RomIoError naming the file when it cannot be read.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& file);

// Writes bytes as the new content of file: into a temporary file in the same folder, brought
// onto the disk, then renamed over file. A failed write (full disk, no permission) leaves the
// file as it was and no temporary file behind. Throws RomIoError naming the file.
void replaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

}  // namespace quillon
