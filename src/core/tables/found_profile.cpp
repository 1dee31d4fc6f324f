#include <string>

#include "core/base/numbers.h"
#include "core/config/user_profiles.h"
#include "core/errors.h"
#include "core/rom/trom.h"
#include "core/tables/table_finder.h"

namespace quillon::tables {

namespace {

constexpr std::uint64_t kLargestRom = 32u << 20;

std::string iniHex(std::uint32_t value) { return "0x" + IntToHex(value, 1); }

}  // namespace

std::vector<std::pair<std::string, std::string>> FoundProfile::keys() const {
    std::vector<std::pair<std::string, std::string>> out;
    const auto add = [&](Table t) {
        if (table(t).found()) {
            out.emplace_back(profileKey(t), iniHex(table(t).offset));
        }
    };
    add(Table::Banks);
    add(Table::Tilesets);
    out.emplace_back("Tilesethoehe", std::to_string(tilesetHeight));
    add(Table::MapNames);
    if (table(Table::MapNames).found()) {
        out.emplace_back("AnzMapNamen", std::to_string(mapNameCount));
    }
    add(Table::SpeciesNames);
    out.emplace_back("Namenlänge", std::to_string(nameLength));
    add(Table::Wild);
    add(Table::Sprites);
    add(Table::SpritePalettes);
    if (table(Table::SpritePalettes).found()) {
        out.emplace_back("SpritePalettenAnz", std::to_string(spritePaletteCount));
    }
    return out;
}

std::string FoundProfile::iniText() const {
    std::string text = "[" + identity.section() + "]\n";
    for (const auto& [key, value] : keys()) {
        text += key + "=" + value + "\n";
    }
    return text;
}

Message describe(const FoundTable& t) {
    switch (t.basis) {
        case Basis::NoCandidate:
            return message("finder.not_found.shape", {tableName(t.table)});
        case Basis::NeedsMaps:
            return message("finder.not_found.maps", {tableName(t.table)});
        default:
            break;
    }
    Message tail;  // nothing to add
    if (t.basis == Basis::MostReferenced) {
        tail = message("finder.rivals", {std::to_string(t.rivals)});
    } else if (t.basis == Basis::PartlyCovered) {
        tail = message("finder.partly_covered");
    }
    return message("finder.found",
                   {tableName(t.table), hexOffset(t.offset),
                    message(t.confidence == Confidence::Sure ? "finder.sure" : "finder.likely"),
                    std::to_string(t.records), std::to_string(t.references), tail});
}

FoundProfile findTables(TRom& rom) {
    const std::uint64_t size = rom.size();
    if (size > kLargestRom) {
        throw DataError(message("finder.too_large"));
    }
    std::vector<std::uint8_t> image(static_cast<std::size_t>(size));
    rom.ReadBlock(0, image);
    return findTables(image, GameIdentity::of(image));
}

void checkStorable(const FoundProfile& found) {
    if (!found.banksFound()) {
        throw Error(message("finder.no_bank_table"));
    }
}

void storeFoundProfile(const FoundProfile& found, const std::filesystem::path& file) {
    checkStorable(found);
    if (file.empty()) {
        throw Error(message("finder.no_user_folder"));
    }
    storeProfileSection(file, found.identity.section(), found.iniText());
}

}  // namespace quillon::tables
