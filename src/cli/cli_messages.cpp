#include "cli/cli_messages.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <regex>
#include <vector>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/map/map_list.h"
#include "core/session.h"

namespace quillon::cli {

namespace {

// Smallest file that holds a GBA cartridge header; every header holds 0x96 at 0xB2.
constexpr std::uintmax_t kHeaderSize = 0xC0;
constexpr std::streamoff kFixedByteAt = 0xB2;
constexpr unsigned char kFixedByte = 0x96;
constexpr std::uintmax_t kLargestRom = 32u << 20;

// Numbers above every bank and map, small enough for an int.
constexpr unsigned long kNoBank = 1000000;

std::string quoted(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

std::string plural(std::size_t n, const std::string& word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// "3.12" -> bank 3, map 12; false for anything else (a map name file section).
bool parseBankMap(const std::string& id, unsigned long& bank, unsigned long& map) {
    static const std::regex kBankMap(R"(^(\d{1,6})\.(\d{1,6})$)");
    std::smatch m;
    if (!std::regex_match(id, m, kBankMap)) {
        return false;
    }
    bank = std::stoul(m[1].str());
    map = std::stoul(m[2].str());
    return true;
}

}  // namespace

void checkRomFile(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status)) {
        throw Error(quoted(file) + ": no such file");
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw Error(quoted(file) + " is not a ROM image file (it is a folder or device)");
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    std::ifstream in(file, std::ios::binary);
    if (ec || !in) {
        throw Error(quoted(file) + ": the file cannot be read (no permission?)");
    }
    if (size < kHeaderSize) {
        throw Error(quoted(file) + " is not a GBA ROM image: it has only " + plural(size, "byte") +
                    ", less than a cartridge header");
    }
    if (size > kLargestRom) {
        throw Error(quoted(file) + " is not a GBA ROM image: it has " + plural(size, "byte") +
                    ", more than the 32 MiB a cartridge holds");
    }
    char fixed = 0;
    in.seekg(kFixedByteAt);
    in.get(fixed);
    if (static_cast<unsigned char>(fixed) != kFixedByte) {
        throw Error(quoted(file) + " is not a GBA ROM image: it has no cartridge header");
    }
}

void checkProfile(Session& session) {
    if (!session.profile().found) {
        throw Error("the ROM's game (title \"" + session.rom().Title() +
                    "\") has no profile in Ini/Quillon.ini, so its maps cannot be found; "
                    "each release and language needs a profile of its own");
    }
}

void checkMapId(Session& session, const std::string& id) {
    const IniFile& names = session.data().mapsFile();
    if (names.readInteger(id, session.rom().Title(), 0) != 0) {
        return;  // the map name file gives this map's place for this game
    }
    unsigned long bank = 0;
    unsigned long map = 0;
    if (!parseBankMap(id, bank, map)) {
        if (names.sectionExists(id)) {
            throw Error("map " + id + ": the map name file gives no place for the game \"" +
                        session.rom().Title() + "\"");
        }
        throw Error("map " + id + ": not a map; give bank.map (e.g. 0.0) or a section of " +
                    "the map name file");
    }
    try {
        requireListedMap(session.bankScan(), static_cast<int>(std::min(bank, kNoBank)),
                         static_cast<int>(std::min(map, kNoBank)));
    } catch (const Error& e) {
        throw Error("map " + id + ": " + errorText(e));
    }
}

int numberArgument(const std::string& what, const std::string& text, int min, int max) {
    const auto value = TryStrToInt(text);
    if (!value) {
        throw Error(what + ": \"" + text + "\" is not a number (decimal, or hexadecimal after $)");
    }
    if (*value < min || *value > max) {
        throw Error(what + ": " + text + " is outside " + std::to_string(min) + " to " +
                    std::to_string(max));
    }
    return *value;
}

std::uint8_t fillArgument(const std::string& text) {
    if (text == "FF" || text == "ff") {
        return 0xFF;
    }
    if (text == "00") {
        return 0x00;
    }
    throw Error("--fill: \"" + text + "\" is neither 00 nor FF");
}

void openMapForWrite(Session& session, const std::string& id) {
    checkMapId(session, id);
    try {
        if (auto notice = session.openMap(id, id)) {
            throw Error(*notice);
        }
    } catch (const Error& e) {
        throw Error("map " + id + ": " + errorText(e));
    }
}

namespace {

struct Rule {
    std::regex german;
    const char* english;
};

// The texts the core raises while a map is read or a picture written. R"x(...)x": the
// patterns hold quotation marks after parentheses.
const std::vector<Rule>& errorRules() {
    static const std::vector<Rule> kRules{
        {std::regex(R"x(^Die Map wurde im Rom geändert, seit sie geöffnet wurde; bitte neu )x"
                    R"x(öffnen\.$)x"),
         "the map changed in the ROM since it was opened; reopen it"},
        {std::regex(R"x(^Offset der Map "(.*)" ist für Spiel "(.*)" nicht definiert!$)x"),
         "the map name file gives no place of map $1 for the game \"$2\""},
        {std::regex(R"x(^Der Anbindungskopf \((.*)\) liegt im Rom-Header\.$)x"),
         "the map's connection header at $1 lies in the cartridge header"},
        {std::regex(R"x(^Der Anbindungskopf \((.*), \d+ Bytes\) liegt hinter dem )x"
                    R"x(Dateiende\.$)x"),
         "the map's connection header at $1 lies past the end of the file"},
        {std::regex(R"x(^Die Anbindungen \((\d+)\) \((.*)\) liegt im Rom-Header\.$)x"),
         "the map's $1 connections at $2 lie in the cartridge header"},
        {std::regex(R"x(^Die Anbindungen \((\d+)\) \((.*), (\d+) Bytes\) liegt hinter dem )x"
                    R"x(Dateiende\.$)x"),
         "the map's $1 connections at $2 ($3 bytes) run past the end of the file"},
        {std::regex(R"x(^Der Map-Header \((.*)\) liegt hinter dem Dateiende\.$)x"),
         "the map header at $1 lies past the end of the file"},
        {std::regex(R"x(^Es ist kein Rom geladen\.$)x"), "no ROM is open"},
        {std::regex(R"x(^(Der Anbindungskopf|Die Anbindungen \((\d+)\)) \((.*)\) liegt im )x"
                    R"x(Rom-Header\.$)x"),
         "the map's connection table at $3 lies in the cartridge header"},
        {std::regex(R"x(^(Der Anbindungskopf|Die Anbindungen \((\d+)\)) \((\S+), (\d+) Bytes\) )x"
                    R"x(liegt hinter dem Dateiende\.$)x"),
         "the map's connection table at $3 ($4 bytes) runs past the end of the file"},
        {std::regex(R"x(^Die Datei "(.*)" konnte nicht geschrieben werden: (.*)$)x"),
         "cannot write \"$1\": $2"},
        {std::regex(R"x(^Namens-Index (-?\d+): die Namens-Tabelle des Roms hat die Namen 0 bis )x"
                    R"x((-?\d+) \(AnzMapNamen\)\.$)x"),
         "name_index $1: the ROM's map name table holds the names 0 to $2 (AnzMapNamen)"},
        {std::regex(R"x(^Map-Namen von FireRed und LeafGreen werden nicht geändert\.$)x"),
         "map names of FireRed and LeafGreen are not edited"},
        {std::regex(R"x(^Das Profil nennt keine Namens-Tabelle \(NamenHeader\)\.$)x"),
         "the profile names no map name table (NamenHeader)"},
        {std::regex(R"x(^Der Offset (\S+) ist für einen Rom-Zeiger zu groß\.$)x"),
         "offset $1 is too large for a ROM pointer"},
        {std::regex(R"x(^Die offene Map hat keinen Map-Header, in den geschrieben werden )x"
                    R"x(kann\.$)x"),
         "the map has no map header to write to"},
        {std::regex(R"x(^Das Bild ist leer: es gibt nichts zu speichern\.$)x"),
         "the picture is empty: there is nothing to write"},
        {std::regex(R"x(^Es sind keine Tilesets geladen; zuerst eine Map öffnen\.$)x"),
         "no tilesets are loaded; open a map first"},
        {std::regex(R"x(^Block (\$[0-9A-F]+) gibt es nicht: die Tilesets haben die Blöcke )x"
                    R"x((\$[0-9A-F]+) bis (\$[0-9A-F]+)\.$)x"),
         "there is no block $1: the tilesets have the blocks $2 to $3"},
        {std::regex(R"x(^Block (\$[0-9A-F]+): der Block-Eintrag \((.*)\) oder seine Attribute )x"
                    R"x(\((.*)\) liegen hinter dem Ende der Datei\.$)x"),
         "block $1: its record at $2 or its attributes at $3 lie past the end of the file"},
        {std::regex(R"x(^Tileset (\d+): der Zeiger auf die Block-Attribute \(Header \+(\d+)\) )x"
                    R"x(ist kein Rom-Zeiger\.$)x"),
         "tileset $1: its header holds no pointer to the block attributes at +$2"},
        {std::regex(R"x(^Die Datei "(.*)" konnte nicht gespeichert werden: (.*)$)x"),
         "cannot write \"$1\": $2"},
        {std::regex(R"x(^Das Bild von Tileset-Teil (\d) konnte nicht erstellt werden\.$)x"),
         "the picture of tileset part $1 could not be made"},
        {std::regex(R"x(^Block (\$[0-9A-F]+) gibt es nicht: die Block-Tabelle von Tileset )x"
                    R"x((\d) endet mit Block (\$[0-9A-F]+)\.$)x"),
         "there is no block $1: the block table of tileset $2 ends with block $3"},
        {std::regex(R"x(^Palette (-?\d+) gibt es nicht \(0 bis 15\)\.$)x"),
         "there is no palette $1 (0 to 15)"},
        {std::regex(R"x(^Es gibt nichts rückgängig zu machen\.$)x"), "nothing to undo"},
        {std::regex(R"x(^Es gibt nichts wiederherzustellen\.$)x"), "nothing to redo"},
        {std::regex(R"x(^Es lassen sich nur (\d+) Schritte wiederherstellen\.$)x"),
         "only $1 transactions can be redone; nothing was written"},
        {std::regex(R"x(^Der Eintrag (\d+) steht nicht im Verlauf\.$)x"),
         "there is no entry $1 in the history"},
        {std::regex(R"x(^"(.*)" wird nicht (rückgängig gemacht|wiederhergestellt): das Rom )x"
                    R"x(enthält bei (.*) andere Bytes als der Verlauf \(von anderer Seite )x"
                    R"x(geändert\)\. Es wurde nichts geschrieben\.$)x"),
         "\"$1\" is refused: the ROM holds other bytes than the history at $3 (changed by "
         "another program); nothing was written"},
    };
    return kRules;
}

// The wild encounter table's problems, as reading a map's encounters reports them.
const std::vector<Rule>& wildRules() {
    static const std::vector<Rule> kRules{
        {std::regex(R"x(^Die Tabelle der wilden Pokemon \((.*)\) hat kein Endzeichen \(FF FF\): )x"
                    R"x(sie endet mit dem Ende der Datei\.$)x"),
         "the wild encounter table at $1 has no end mark (FF FF): it ends with the file"},
        {std::regex(R"x(^Die Tabelle der wilden Pokemon \((.*)\) hat kein Endzeichen \(FF FF\): )x"
                    R"x(nach (\d+) Einträgen nicht weiter gelesen\.$)x"),
         "the wild encounter table at $1 has no end mark (FF FF): read no further than $2 "
         "entries"},
        {std::regex(R"x(^(\S+) der Map (\d+\.\d+): der Eintrag \((.*)\) liegt nicht in der )x"
                    R"x(Datei\.$)x"),
         "wild encounters \"$1\" of map $2: the record at $3 lies outside the file"},
        {std::regex(R"x(^(\S+) der Map (\d+\.\d+): die Pokemon-Liste \(Zeiger (\S+) bei )x"
                    R"x((\S+)\) liegt nicht in der Datei\.$)x"),
         "wild encounters \"$1\" of map $2: the slots (pointer $3 at $4) lie outside the file"},
    };
    return kRules;
}

}  // namespace

std::string englishMessage(const std::string& coreMessage) {
    if (auto history = englishHistoryMessage(coreMessage)) {
        return englishQuotedNames(*history);
    }
    for (const auto* rules : {&errorRules(), &wildRules()}) {
        for (const Rule& rule : *rules) {
            if (std::regex_match(coreMessage, rule.german)) {
                return englishQuotedNames(
                    std::regex_replace(coreMessage, rule.german, rule.english));
            }
        }
    }
    return englishQuotedNames(coreMessage);
}

}  // namespace quillon::cli
