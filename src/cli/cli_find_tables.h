#pragma once

#include <filesystem>
#include <optional>
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

// The English text of a table search's sentence ("die Bank-Tabelle: $3526A8, sicher (...)"),
// or nullopt for any other message.
std::optional<std::string> englishFinderMessage(const std::string& coreMessage);

}  // namespace quillon::cli
