#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace quillon {
class DataFiles;
}  // namespace quillon

namespace quillon::cli {

// The options of "find-free" as typed: numbers "$" hexadecimal or decimal.
struct FindFreeOptions {
    std::string count;                // bytes needed, at least 1
    std::string byte = "FF";          // "00" or "FF"
    std::optional<std::string> from;  // first candidate; none: where the free area begins
    std::optional<std::string> to;    // last candidate (inclusive); none: end of file, 10 hits
};

// Searches the ROM file for free runs as the repoint dialog does, under the same rules (a
// guard of filler bytes before each hit, the tables of the game's profile (data's) left
// alone, by default from where the game's free area begins), and prints each hit as
// "$XXXXXX" (seven digits above 16 MiB) on its own line. Throws Error with an English
// message naming the bad option.
void findFree(const std::filesystem::path& rom, const FindFreeOptions& options,
              DataFiles& data, std::ostream& out);

}  // namespace quillon::cli
