#include "cli/cli_table_messages.h"

#include <array>
#include <cctype>
#include <regex>

#include "core/tables/table_shapes.h"

namespace quillon::cli {

namespace {

constexpr std::array<const char*, tables::kTables.size()> kEnglishNames = {
    "the bank table",          "the tileset table",        "the map name table",
    "the species name table",  "the wild encounter table", "the sprite table",
    "the sprite palette table"};

std::optional<std::string> englishTableName(const std::string& german) {
    for (std::size_t i = 0; i < tables::kTables.size(); ++i) {
        std::string name = tables::tableName(tables::kTables[i]);
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if (name == german) {
            return kEnglishNames[i];
        }
    }
    return std::nullopt;
}

struct Why {
    std::regex german;
    const char* english;
};

// What the bytes at a table's offset are not, as the shapes say it.
std::string englishWhy(const std::string& why) {
    static const std::array<Why, 12> kWhys{{
        {std::regex(R"x(^enthält keine Map-Tabellen$)x"), "does not hold map tables"},
        {std::regex(R"x(^enthält keinen Tileset-Header$)x"), "holds no tileset header"},
        {std::regex(R"x(^beginnt mit einem sekundären Tileset-Header, nicht mit einem )x"
                    R"x(primären$)x"),
         "starts with a secondary tileset header, not a primary one"},
        {std::regex(R"x(^hat keine Einträge$)x"), "has no entries"},
        {std::regex(R"x(^zeigt bei Name (\d+) nicht auf einen Text$)x"),
         "does not point to a text at name $1"},
        {std::regex(R"x(^enthält bei Name (\d+) keinen Namen$)x"), "holds no name at name $1"},
        {std::regex(R"x(^enthält keine Einträge wilder Pokemon$)x"),
         "holds no wild encounter records"},
        {std::regex(R"x(^enthält bei Eintrag (\d+) keinen Eintrag$)x"),
         "holds no record at record $1"},
        {std::regex(R"x(^zeigt nicht auf Sprite-Einträge$)x"), "does not point to sprite records"},
        {std::regex(R"x(^enthält bei Eintrag (\d+) keine Palette$)x"),
         "holds no palette at record $1"},
        {std::regex(R"x(^liegt nicht in der Datei$)x"), "lies outside the file"},
        {std::regex(R"x(^ist unbekannt$)x"), "is unknown"},
    }};
    for (const Why& w : kWhys) {
        if (std::regex_match(why, w.german)) {
            return std::regex_replace(why, w.german, w.english);
        }
    }
    return "does not have the table's shape";
}

}  // namespace

std::optional<std::string> englishTableMessage(const std::string& coreMessage) {
    static const std::regex kFailure(
        R"x(^(Bank/Nr (\S+): )?(Die [^$]+) bei (\$[0-9A-F]+) (.+): dieses Rom passt nicht zum )x"
        R"x(Profil "(.*)"\.$)x");
    std::smatch m;
    if (!std::regex_match(coreMessage, m, kFailure)) {
        return std::nullopt;
    }
    const auto name = englishTableName(m[3].str());
    if (!name) {
        return std::nullopt;
    }
    const std::string slot = m[1].matched ? "--slot " + m[2].str() + ": " : "";
    return slot + *name + " at " + m[4].str() + " " + englishWhy(m[5].str()) +
           ": this ROM does not match the profile \"" + m[6].str() + "\"";
}

}  // namespace quillon::cli
