#include <string>

#include "core/base/numbers.h"
#include "core/tables/table_finder.h"

namespace quillon::tables {

namespace {

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

}  // namespace quillon::tables
