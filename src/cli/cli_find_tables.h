#pragma once

#include <filesystem>
#include <ostream>
#include <string>

namespace quillon {
class DataFiles;
}

namespace quillon::cli {

// The user's data folder, where profiles found by the table search are stored (the folder
// the window uses too).
std::filesystem::path userDataFolder();

// find-tables: searches the ROM for its tables and prints the profile section it proposes,
// each table's verdict an ini comment before it. save: stores the section in the user's
// profile file. Throws Error (nothing stored) when the bank table is not found.
void findTables(const std::filesystem::path& rom, DataFiles& data, bool save, std::ostream& out,
                std::ostream& err);

}  // namespace quillon::cli
