#include "cli/cli_find_tables.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <array>
#include <regex>
#include <utility>

#include "cli/cli_messages.h"
#include "core/config/data_files.h"
#include "core/mapfile/file_replace.h"
#include "core/tables/table_finder.h"

namespace quillon::cli {

namespace {

constexpr std::uintmax_t kLargestRom = 32u << 20;

// The core's names of the tables and their English.
constexpr std::array<std::pair<const char*, const char*>, 7> kTableNames{{
    {"die Bank-Tabelle", "the bank table"},
    {"die Tileset-Tabelle", "the tileset table"},
    {"die Tabelle der Map-Namen", "the map name table"},
    {"die Tabelle der Pokemon-Namen", "the species name table"},
    {"die Tabelle der wilden Pokemon", "the wild encounter table"},
    {"die Sprite-Tabelle", "the sprite table"},
    {"die Tabelle der Sprite-Paletten", "the sprite palette table"},
}};

std::string englishTable(const std::string& german) {
    for (const auto& [de, en] : kTableNames) {
        if (german == de) {
            return en;
        }
    }
    return german;
}

std::string englishCount(const std::string& n, const char* word) {
    return n + " " + word + (n == "1" ? "" : "s");
}

}  // namespace

std::filesystem::path userDataFolder() {
    QCoreApplication::setOrganizationName(QStringLiteral("Brenvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? std::filesystem::path() : std::filesystem::path(folder.toStdString());
}

namespace {

// The search's sentences without a part that varies.
std::optional<std::string> fixedMessage(const std::string& coreMessage) {
    static const std::array<std::pair<const char*, const char*>, 3> kFixed{{
        {"Die Bank-Tabelle wurde nicht gefunden: es wird kein Profil gespeichert.",
         "the bank table was not found: no profile is stored"},
        {"Es gibt keinen Ordner für die Daten des Benutzers: das Profil wird nicht gespeichert.",
         "there is no folder for the user's data: the profile is not stored"},
        {"Die Datei ist größer als 32 MiB: sie ist kein Rom.",
         "the file is larger than 32 MiB: it is no ROM image"},
    }};
    for (const auto& [de, en] : kFixed) {
        if (coreMessage == de) {
            return en;
        }
    }
    return std::nullopt;
}

// A table found: "die Bank-Tabelle: $3526A8, sicher (43 Einträge in Folge, 1 Verweis)".
std::optional<std::string> foundVerdict(const std::string& coreMessage) {
    static const std::regex kFound(
        R"x(^(.+): (\$[0-9A-F]+), (sicher|wahrscheinlich) \((\d+) )x"
        R"x((Eintrag|Einträge) in Folge, (\d+) Verweise?(; (\d+) weitere )x"
        R"x(Stellen? ha(t|ben) ebenso viele Einträge|; nicht jedes )x"
        R"x(Tileset der Maps steht in der Tabelle)?\)$)x");
    std::smatch m;
    if (!std::regex_match(coreMessage, m, kFound)) {
        return std::nullopt;
    }
    std::string text =
        englishTable(m[1]) + ": " + m[2].str() + ", " + (m[3] == "sicher" ? "sure" : "likely") +
        " (" + englishCount(m[4], "record") + " in a row, " + englishCount(m[6], "reference");
    if (m[8].matched) {
        text += "; " + englishCount(m[8], "other place") + " with as many records";
    } else if (m[7].matched) {
        text += "; not every tileset the maps use is in the table";
    }
    return text + ")";
}

}  // namespace

std::optional<std::string> englishFinderMessage(const std::string& coreMessage) {
    static const std::regex kNoShape(
        R"x(^(.+): nicht gefunden \(keine Stelle, auf die die ROM verweist, hat ihre Form\)$)x");
    static const std::regex kNoMaps(
        R"x(^(.+): nicht gefunden \(ohne Bank-Tabelle und ihre Maps nicht zu prüfen\)$)x");
    static const std::regex kNoFolder(
        R"x(^Der Ordner "(.*)" konnte nicht angelegt werden: (.*)$)x");
    if (auto fixed = fixedMessage(coreMessage)) {
        return fixed;
    }
    std::smatch m;
    if (std::regex_match(coreMessage, m, kNoFolder)) {
        return "cannot make the folder \"" + m[1].str() + "\": " + m[2].str();
    }
    if (std::regex_match(coreMessage, m, kNoShape)) {
        return englishTable(m[1]) + ": not found (no place the ROM refers to has its shape)";
    }
    if (std::regex_match(coreMessage, m, kNoMaps)) {
        return englishTable(m[1]) +
               ": not found (cannot be checked without the bank table and its maps)";
    }
    return foundVerdict(coreMessage);
}

void findTables(const std::filesystem::path& rom, DataFiles& data, bool save, std::ostream& out,
                std::ostream& err) {
    const std::vector<std::uint8_t> image = readWholeFile(rom, kLargestRom);
    const tables::FoundProfile found = tables::findTables(image, tables::GameIdentity::of(image));
    for (const tables::FoundTable& table : found.tables) {
        out << "; " << tables::profileKey(table.table) << ": "
            << englishMessage(tables::describe(table)) << '\n';
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
