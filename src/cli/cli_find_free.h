#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace quillon::cli {

// The options of "find-free" as typed: numbers "$" hexadecimal or decimal.
struct FindFreeOptions {
    std::string count;                // bytes needed, at least 1
    std::string byte = "FF";          // "00" or "FF"
    std::string from = "0";           // first candidate
    std::optional<std::string> to;    // last candidate (inclusive); none: up to 16 MiB, 10 hits
};

// Searches the ROM file for free runs as the repoint dialog does and prints each hit as
// "$XXXXXX" on its own line. Throws Error with an English message naming the bad option.
void findFree(const std::filesystem::path& rom, const FindFreeOptions& options, std::ostream& out);

}  // namespace quillon::cli
