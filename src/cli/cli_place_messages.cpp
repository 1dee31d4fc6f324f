#include "cli/cli_place_messages.h"

#include <array>
#include <regex>
#include <utility>

namespace quillon::cli {

namespace {

// The core's names of ROM ranges and their English.
constexpr std::array<std::pair<const char*, const char*>, 20> kPlaceNames{{
    {"Map-Header", "the map header"},
    {"Map-Footer", "the map footer"},
    {"Border", "the border"},
    {"Block-Grid", "the grid"},
    {"Event-Header", "the event header"},
    {"Event-Tabellen", "the event tables"},
    {"Person-Tabelle", "the person table"},
    {"Warp-Tabelle", "the warp table"},
    {"Script-Tabelle", "the script trigger table"},
    {"Signpost-Tabelle", "the signpost table"},
    {"Anbindungskopf", "the connection header"},
    {"Anbindungen", "the connection records"},
    {"Map-Name", "the map name"},
    {"Namenszeiger", "the map name's pointer"},
    {"Block-Eintrag", "the block record"},
    {"Block-Attribute", "the block attributes"},
    {"Tileset-Header", "the tileset header"},
    {"Tile-Daten", "the tile data"},
    {"Paletten", "the palettes"},
    {"Block-Tabelle", "the block table"},
}};

// "Block-Grid von 3.0" -> "the grid of map 3.0", "Paletten von Tileset 3" -> "the palettes
// of tileset 3", "Palette 8 von Tileset 3" -> "palette 8 of tileset 3"; an unknown name stays
// as it is.
std::string englishName(const std::string& german) {
    const auto von = german.find(" von ");
    const std::string name = german.substr(0, von);
    std::string english = name.starts_with("Palette ") ? "palette " + name.substr(8) : name;
    for (const auto& [de, en] : kPlaceNames) {
        if (name == de) {
            english = en;
        }
    }
    if (von != std::string::npos) {
        const std::string owner = german.substr(von + 5);
        english += owner.starts_with("Tileset ") ? " of tileset " + owner.substr(8)
                                                 : " of map " + owner;
    }
    return english;
}

// "<name> ($OFFSET, N Bytes)"
const std::string kRange = R"x((.+) \((\$[0-9A-F]+), (\d+) Bytes\))x";
const std::string kHex = R"x((\$[0-9A-F]+))x";
const std::string kNothing = R"x(; es wurde nichts geschrieben\.$)x";

std::string range(const std::smatch& m, std::size_t first) {
    return englishName(m[first].str()) + " at " + m[first + 1].str() + " (" + m[first + 2].str() +
           " bytes)";
}

// The verb for the range named at m[first]: "the event tables ... run", "the grid ... runs".
std::string verb(const std::smatch& m, std::size_t first, const char* singular,
                 const char* plural) {
    const std::string name = englishName(m[first].str());
    const std::string noun = name.substr(0, name.find(" of "));
    return noun.back() == 's' ? plural : singular;
}

}  // namespace

std::optional<std::string> englishPlacementMessage(const std::string& coreMessage) {
    static const std::regex kHeader("^" + kRange + R"x( ragt in den Rom-Header \(bis )x" + kHex +
                                    R"x(\))x" + kNothing);
    static const std::regex kEnd("^" + kRange +
                                 R"x( reicht über das Dateiende hinaus \(die Datei endet bei )x" +
                                 kHex + R"x(\))x" + kNothing);
    static const std::regex kOccupied("^" + kRange + " ist bei " + kHex +
                                      " nicht frei: dort liegt " + kRange + kNothing);
    static const std::regex kData("^" + kRange + " ist bei " + kHex +
                                  R"x( nicht frei: dort steht das Byte (\$[0-9A-F]{2}), )x" +
                                  "kein Füllbyte " + R"x((\$[0-9A-F]{2}))x" + kNothing);
    static const std::regex kOverlap("^" + kRange + " und " + kRange + " überschneiden sich bei " +
                                     kHex + kNothing);
    const std::string nothing = "; nothing was written";
    std::smatch m;
    if (std::regex_match(coreMessage, m, kHeader)) {
        return range(m, 1) + " " + verb(m, 1, "reaches", "reach") +
               " into the cartridge header (up to " + m[4].str() + ")" + nothing;
    }
    if (std::regex_match(coreMessage, m, kEnd)) {
        return range(m, 1) + " " + verb(m, 1, "runs", "run") +
               " past the end of the file (it ends at " + m[4].str() + ")" + nothing;
    }
    if (std::regex_match(coreMessage, m, kOccupied)) {
        return range(m, 1) + " " + verb(m, 1, "is", "are") + " not free at " + m[4].str() + ": " +
               range(m, 5) + " " + verb(m, 5, "lies", "lie") + " there" + nothing;
    }
    if (std::regex_match(coreMessage, m, kData)) {
        return range(m, 1) + " " + verb(m, 1, "is", "are") + " not free at " + m[4].str() +
               ": the byte there is " + m[5].str() + ", not the fill byte " + m[6].str() + nothing;
    }
    if (std::regex_match(coreMessage, m, kOverlap)) {
        return range(m, 1) + " and " + range(m, 4) + " overlap at " + m[7].str() + nothing;
    }
    return std::nullopt;
}

}  // namespace quillon::cli
