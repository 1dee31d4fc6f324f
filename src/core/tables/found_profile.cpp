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

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

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

std::string describe(const FoundTable& t) {
    std::string text = std::string(tableName(t.table)) + ": ";
    switch (t.basis) {
        case Basis::NoCandidate:
            return text + "nicht gefunden (keine Stelle, auf die die ROM verweist, hat ihre Form)";
        case Basis::NeedsMaps:
            return text + "nicht gefunden (ohne Bank-Tabelle und ihre Maps nicht zu prüfen)";
        default:
            break;
    }
    text += hexOffset(t.offset) + ", " +
            (t.confidence == Confidence::Sure ? "sicher" : "wahrscheinlich") + " (" +
            plural(t.records, "Eintrag", "Einträge") + " in Folge, " +
            plural(t.references, "Verweis", "Verweise");
    if (t.basis == Basis::MostReferenced) {
        text += "; " + plural(t.rivals, "weitere Stelle hat", "weitere Stellen haben") +
                " ebenso viele Einträge";
    } else if (t.basis == Basis::PartlyCovered) {
        text += "; nicht jedes Tileset der Maps steht in der Tabelle";
    }
    return text + ")";
}

FoundProfile findTables(TRom& rom) {
    const std::uint64_t size = rom.size();
    if (size > kLargestRom) {
        throw DataError("Die Datei ist größer als 32 MiB: sie ist kein Rom.");
    }
    std::vector<std::uint8_t> image(static_cast<std::size_t>(size));
    rom.ReadBlock(0, image);
    return findTables(image, GameIdentity::of(image));
}

void checkStorable(const FoundProfile& found) {
    if (!found.banksFound()) {
        throw Error("Die Bank-Tabelle wurde nicht gefunden: es wird kein Profil gespeichert.");
    }
}

void storeFoundProfile(const FoundProfile& found, const std::filesystem::path& file) {
    checkStorable(found);
    if (file.empty()) {
        throw Error(
            "Es gibt keinen Ordner für die Daten des Benutzers: das Profil wird nicht "
            "gespeichert.");
    }
    storeProfileSection(file, found.identity.section(), found.iniText());
}

}  // namespace quillon::tables
