#include "cli/cli_find_free.h"

#include "core/base/numbers.h"
#include "core/config/data_files.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/writers/free_space_rules.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"
#include "core/tables/rom_bytes.h"
#include "core/tables/table_check.h"

namespace quillon::cli {

namespace {

// A number option: "$" hexadecimal or decimal, not below minimum.
std::uint32_t number(const std::string& option, const std::string& text, std::int32_t minimum) {
    const std::optional<std::int32_t> value = TryStrToInt(text);
    if (!value) {
        throw Error(option + ": '" + text + "' is not a number (use $hex or decimal)");
    }
    if (*value < minimum) {
        throw Error(option + ": " + text + " is " + (*value < 0 ? "negative" : "too small") +
                    " (at least " + std::to_string(minimum) + ")");
    }
    return static_cast<std::uint32_t>(*value);
}

FreeSpaceQuery query(const FindFreeOptions& options) {
    FreeSpaceQuery q;
    if (options.byte == "00" || options.byte == "FF" || options.byte == "ff") {
        q.value = options.byte == "00" ? 0x00 : 0xFF;
    } else {
        throw Error("--byte: '" + options.byte + "' is not a filler byte (use 00 or FF)");
    }
    q.count = number("--count", options.count, 1);
    if (options.from) {
        q.start = number("--from", *options.from, 0);
    }
    if (options.to) {
        q.end = number("--to", *options.to, 0);
    }
    return q;
}

}  // namespace

void findFree(const std::filesystem::path& rom, const FindFreeOptions& options,
              DataFiles& data, std::ostream& out) {
    FreeSpaceQuery q = query(options);  // every option checked before the file is read
    TRom file;
    file.Open(rom);
    std::vector<Message> warnings;  // a profile offset outside the file is left unused
    const ProfileSource source = data.profileFor(file.Title(), file.Revision());
    GameProfile profile = GameProfile::read(*source.file, source.section, file.size(), warnings);
    if (profile.found) {
        // Tables that do not fit this ROM neither guard nor place anything.
        tables::checkProfileTables(tables::TRomBytes(file), profile, file.isFrlg());
    }
    if (!options.from) {
        q.start = defaultFreeSpaceStart(file, profile, q.value);
    } else if (q.start >= file.size()) {
        // An empty list would read as "no free space" although nothing was searched.
        throw Error("--from: " + *options.from + " lies past the end of the file (" +
                    std::to_string(file.size()) + " bytes); nothing was searched");
    }
    for (const std::uint32_t offset :
         findFreeSpace(file, withFreeSpaceRules(file, profile, q)).offsets) {
        out << hexOffset(offset) << '\n';
    }
}

}  // namespace quillon::cli
