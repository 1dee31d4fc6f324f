#include "cli/cli_find_tables.h"

#include "cli/cli_messages.h"
#include "core/config/data_files.h"
#include "core/files/file_replace.h"
#include "core/tables/table_finder.h"

namespace quillon::cli {

namespace {

constexpr std::uintmax_t kLargestReadRom = 32u << 20;

}  // namespace

void findTables(const std::filesystem::path& rom, DataFiles& data, bool save, std::ostream& out,
                std::ostream& err) {
    const std::vector<std::uint8_t> image = readWholeFile(rom, kLargestReadRom);
    const tables::FoundProfile found = tables::findTables(image, tables::GameIdentity::of(image));
    for (const tables::FoundTable& table : found.tables) {
        out << "; " << tables::profileKey(table.table) << ": "
            << messageText(tables::describe(table)) << '\n';
    }
    out << found.iniText();
    tables::checkStorable(found);
    if (save) {
        tables::storeFoundProfile(found, data.userProfilesPath());
        err << "Stored the section [" << found.identity.section() << "] in "
            << data.userProfilesPath().string() << '\n';
    }
}

}  // namespace quillon::cli
