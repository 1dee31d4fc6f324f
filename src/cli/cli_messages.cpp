#include "cli/cli_messages.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <regex>
#include <vector>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/map/map_list.h"
#include "core/session/session.h"

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
    if (!session.romState().profile().found) {
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
        requireListedMap(session.romState().bankScan(), static_cast<int>(std::min(bank, kNoBank)),
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
        {std::regex(R"x(^"(.*)" ist kein GBA-Rom: die Datei ist kürzer als ein GBA-Header )x"
                    R"x(\((\d+) Bytes\)\.$)x"),
         "\"$1\" is not a GBA ROM image: it has only $2 bytes, less than a cartridge header"},
        {std::regex(R"x(^"(.*)" ist kein GBA-Rom: die Datei ist größer als 32 MiB )x"
                    R"x(\((\d+) Bytes\)\.$)x"),
         "\"$1\" is not a GBA ROM image: it has $2 bytes, more than the 32 MiB a cartridge holds"},
        {std::regex(R"x(^"(.*)" ist kein GBA-Rom: der Rom-Header fehlt\.$)x"),
         "\"$1\" is not a GBA ROM image: it has no cartridge header"},
        {std::regex(R"x(^Die Datei "(.*)" wurde nicht gefunden\.$)x"), "\"$1\": no such file"},
        {std::regex(R"x(^Bank (-?\d+) gibt es nicht \(das Rom hat 1 Bank\)\.$)x"),
         "there is no bank $1 (the ROM has 1 bank)"},
        {std::regex(R"x(^Bank (-?\d+) gibt es nicht \(das Rom hat (\d+) Banken\)\.$)x"),
         "there is no bank $1 (the ROM has $2 banks)"},
        {std::regex(R"x(^Map (\d+)\.(-?\d+) gibt es nicht \(Bank \d+ hat 1 Map\)\.$)x"),
         "there is no map $2 in bank $1 (it has 1 map)"},
        {std::regex(R"x(^Map (\d+)\.(-?\d+) gibt es nicht \(Bank \d+ hat (\d+) Maps\)\.$)x"),
         "there is no map $2 in bank $1 (it has $3 maps)"},
        {std::regex(
             R"x(^Die Maps der Bank (\d+) werden nicht aufgeführt: sie ist die letzte )x"
             R"x(der (\d+) Banken des Roms, und wo ihre Map-Tabelle endet, ist unbekannt\.$)x"),
         "the maps of bank $1 are not listed: it is the last of the ROM's $2 banks, and where "
         "its map table ends is not known"},
        {std::regex(R"x(^Die Map wurde im Rom geändert, seit sie geöffnet wurde; bitte neu )x"
                    R"x(öffnen\.$)x"),
         "the map changed in the ROM since it was opened; reopen it"},
        {std::regex(R"x(^Bank (-?\d+), Map (-?\d+) gibt es nicht\.$)x"),
         "there is no map $1.$2 (banks and maps are numbered 0 to 255)"},
        {std::regex(R"x(^Offset der Map "(.*)" ist für Spiel "(.*)" nicht definiert!$)x"),
         "the map name file gives no place of map $1 for the game \"$2\""},
        {std::regex(R"x(^Der Event-Header \((.*)\) liegt hinter dem Dateiende\.$)x"),
         "the map's event header at $1 lies past the end of the file"},
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
        {std::regex(R"x(^Die (\w+)-Tabelle \((.*), (\d+) (?:Eintrag|Einträge)\) )x"
                    R"x(liegt hinter dem Dateiende\.$)x"),
         "the map's $1 table at $2 ($3 records) runs past the end of the file"},
        {std::regex(R"x(^Die Map ist (\d+) x (\d+) Blöcke groß; )x"
                    R"x(der Editor fasst höchstens (\d+) Blöcke\.$)x"),
         "the map is $1 x $2 blocks; at most $3 blocks are supported"},
        {std::regex(R"x(^Read beyond end of file \(Map (.*)\)$)x"),
         "a table of map $1 lies past the end of the file"},
        {std::regex(R"x(^Die (\w+)-Tabelle \((.*)\) liegt im Rom-Header\.$)x"),
         "the map's $1 table at $2 lies in the cartridge header"},
        {std::regex(R"x(^Der Block-Grid \((.*)\) liegt im Rom-Header\.$)x"),
         "the map's block grid at $1 lies in the cartridge header"},
        {std::regex(R"x(^Das Profil nennt keine Bank-Tabelle \(MapBankHeader\): Maps lassen sich )x"
                    R"x(nur über ihren Offset in der Map-Datei öffnen\.$)x"),
         "the profile names no bank table (MapBankHeader): maps can only be opened by their "
         "offset in the map name file"},
        {std::regex(R"x(^Es ist kein Rom geladen\.$)x"), "no ROM is open"},
        {std::regex(R"x(^Die Map (\S+) steht nicht in der Bank-Tabelle\.$)x"),
         "map $1 is not in the bank table"},
        {std::regex(R"x(^Die Map (\S+) hat keinen Map-Footer\.$)x"), "map $1 has no map footer"},
        {std::regex(R"x(^Die Map hat (\d+) Anbindungen; gezeigt werden die Nachbarn der ersten )x"
                    R"x((\d+)\.$)x"),
         "the map has $1 connections; the neighbours of the first $2 are drawn"},
        {std::regex(R"x(^(Der Anbindungskopf|Die Anbindungen \((\d+)\)) \((.*)\) liegt im )x"
                    R"x(Rom-Header\.$)x"),
         "the map's connection table at $3 lies in the cartridge header"},
        {std::regex(R"x(^(Der Anbindungskopf|Die Anbindungen \((\d+)\)) \((\S+), (\d+) Bytes\) )x"
                    R"x(liegt hinter dem Dateiende\.$)x"),
         "the map's connection table at $3 ($4 bytes) runs past the end of the file"},
        {std::regex(R"x(^Die Datei "(.*)" konnte nicht geschrieben werden: (.*)$)x"),
         "cannot write \"$1\": $2"},
        {std::regex(R"x(^Tileset(\d) (-?\d+|\$[0-9A-F]+): das Profil nennt keine )x"
                    R"x(Tileset-Tabelle \(TilesetHeader\)\.$)x"),
         "tileset$1 $2: the profile names no tileset table (TilesetHeader)"},
        {std::regex(R"x(^Das Profil nennt keine Tileset-Tabelle \(TilesetHeader\): es gibt keine )x"
                    R"x(Tilesets zur Auswahl\.$)x"),
         "the profile names no tileset table (TilesetHeader): there are no tilesets to choose"},
        {std::regex(R"x(^Tileset(\d) (-?\d+): Tileset-Nummern sind nicht negativ\.$)x"),
         "tileset$1 $2: tileset numbers are not negative"},
        {std::regex(R"x(^Tileset(\d) (-?\d+|\$[0-9A-F]+): der Tileset-Header \((.*)\) liegt )x"
                    R"x(hinter dem Ende der Datei\.$)x"),
         "tileset$1 $2: its tileset header at $3 lies past the end of the file"},
        {std::regex(R"x(^Tileset(\d) (-?\d+|\$[0-9A-F]+): der Tileset-Header \((.*)\) ist )x"
                    R"x(keiner; sein Zeiger bei \+(\d+) zeigt nicht in die Datei\.$)x"),
         "tileset$1 $2: there is no tileset header at $3 (its pointer at +$4 does not point "
         "into the file)"},
        {std::regex(R"x(^Tileset(\d): "(.*)" ist keine Zahl\.$)x"),
         "tileset$1: \"$2\" is neither a tileset number nor a header's $ offset"},
        {std::regex(R"x(^Tileset1 (\S+): der Tileset-Header \((.*)\) ist sekundär \(Byte 1 = )x"
                    R"x((\d+)\); Tileset1 muss primär sein\.$)x"),
         "tileset1 $1: the tileset header at $2 is a secondary one (byte 1 = $3); the first "
         "tileset must be primary"},
        {std::regex(R"x(^Tileset2 (\S+): der Tileset-Header \((.*)\) ist primär \(Byte 1 = )x"
                    R"x((\d+)\); Tileset2 muss sekundär sein\.$)x"),
         "tileset2 $1: the tileset header at $2 is a primary one (byte 1 = $3); the second "
         "tileset must be secondary"},
        {std::regex(R"x(^Namens-Index (-?\d+): die Namens-Tabelle des Roms hat die Namen 0 bis )x"
                    R"x((-?\d+) \(AnzMapNamen\)\.$)x"),
         "name_index $1: the ROM's map name table holds the names 0 to $2 (AnzMapNamen)"},
        {std::regex(R"x(^Bank/Nr (\S+): den Map-Footer \((.*)\) teilen sich (\d+) Maps \((.*)\); )x"
                    R"x(das Einfügen änderte sie alle\. Es wurde nichts geschrieben\.$)x"),
         "--slot $1: its map footer at $2 is shared by $3 maps ($4); inserting would change all "
         "of them; nothing was written"},
        {std::regex(R"x(^Bank/Nr (\S+): der Map-Footer \((.*)\) zeigt auf keinen Border in der )x"
                    R"x(Datei\.$)x"),
         "--slot $1: its map footer at $2 points at no border in the file"},
        {std::regex(R"x(^Map-Namen von FireRed und LeafGreen werden nicht geändert\.$)x"),
         "map names of FireRed and LeafGreen are not edited"},
        {std::regex(R"x(^Das Profil nennt keine Namens-Tabelle \(NamenHeader\)\.$)x"),
         "the profile names no map name table (NamenHeader)"},
        {std::regex(R"x(^Der Offset (\S+) ist für einen Rom-Zeiger zu groß\.$)x"),
         "offset $1 is too large for a ROM pointer"},
        {std::regex(R"x(^Die offene Map hat keinen Map-Header, in den geschrieben werden )x"
                    R"x(kann\.$)x"),
         "the map has no map header to write to"},
        {std::regex(R"x(^Die offene Map hat keinen eigenen Map-Footer, in den geschrieben )x"
                    R"x(werden kann\.$)x"),
         "the map has no footer of its own to write to"},
        {std::regex(R"x(^Das Bild ist leer: es gibt nichts zu speichern\.$)x"),
         "the picture is empty: there is nothing to write"},
        {std::regex(R"x(^Der Offset (\$[0-9A-F]+) ist nicht durch (\d+) teilbar; der nächste )x"
                    R"x(passende Offset im selben freien Bereich ist (\$[0-9A-F]+)\.$)x"),
         "the offset $1 is not a multiple of $2; the next fitting offset in the same free run "
         "is $3"},
        {std::regex(R"x(^Der Offset (\$[0-9A-F]+) ist nicht durch (\d+) teilbar; im selben )x"
                    R"x(freien Bereich ist kein passender Offset für (\d+) Bytes\.$)x"),
         "the offset $1 is not a multiple of $2, and the free run there holds no fitting offset "
         "for $3 bytes"},
        {std::regex(R"x(^Die Map-Datei "(.*)" wurde nicht gefunden\.$)x"),
         "map file \"$1\": no such file"},
        {std::regex(R"x(^Die Datei "(.*)" konnte nicht gelesen werden\.$)x"), "cannot read \"$1\""},
        {std::regex(R"x(^Die Datei "(.*)" ist keine gewöhnliche Datei und wurde nicht )x"
                    R"x(gelesen\.$)x"),
         "\"$1\" is not a regular file; not read"},
        {std::regex(R"x(^Die Datei "(.*)" ist (\d+) Bytes lang; erwartet sind höchstens )x"
                    R"x((\d+) Bytes\.$)x"),
         "\"$1\" has $2 bytes; at most $3 expected"},
        {std::regex(R"x(^Die Datei "(.*)" ist länger als (\d+) Bytes\.$)x"),
         "\"$1\" is longer than $2 bytes"},
        {std::regex(R"x(^Die Map-Datei "(.*)" ist (\d+) Bytes lang; eine Map-Datei hat )x"
                    R"x(mindestens 24 Bytes\.$)x"),
         "map file \"$1\" has $2 bytes; a map file has at least 24"},
        {std::regex(R"x(^Die Map-Datei "(.*)" nennt die Grösse (\d+ x \d+); Breite und Höhe )x"
                    R"x(müssen mindestens 1 sein\.$)x"),
         "map file \"$1\" gives the size $2; width and height must be at least 1"},
        {std::regex(R"x(^Die Map-Datei "(.*)" nennt die Grösse (\d+ x \d+); der Editor fasst )x"
                    R"x(höchstens (\d+) Blöcke\.$)x"),
         "map file \"$1\" gives the size $2; at most $3 blocks are supported"},
        {std::regex(R"x(^Die Map-Datei "(.*)" ist (\d+) Bytes lang; zur Grösse (\d+ x \d+) )x"
                    R"x(gehören (\d+) Bytes\.$)x"),
         "map file \"$1\" has $2 bytes; its size $3 needs $4"},
        {std::regex(R"x(^Die Map-Datei "(.*)" nennt für Tileset(\d) die Nummer (\d+); die gibt )x"
                    R"x(es nicht\.$)x"),
         "map file \"$1\" names tileset$2 number $3, which does not exist"},
        {std::regex(R"x(^Die Event-Datei "(.*)" ist (\d+) Bytes lang; eine Event-Datei hat )x"
                    R"x(mindestens 4 Bytes\.$)x"),
         "event file \"$1\" has $2 bytes; an event file has at least 4"},
        {std::regex(R"x(^Die Event-Datei "(.*)" ist (\d+) Bytes lang; zu ihren Anzahlen )x"
                    R"x(\((.*)\) gehören (\d+) Bytes\.$)x"),
         "event file \"$1\" has $2 bytes; its counts ($3) need $4"},
        {std::regex(R"x(^Bank/Nr (\S+): die Bank (\d+) gibt es in den Tabellen des Roms )x"
                    R"x(nicht\.$)x"),
         "--slot $1: the ROM's tables have no bank $2"},
        {std::regex(R"x(^Bank/Nr (\S+): die Bank (\d+) hat nur (\d+) Maps \(0 bis (\d+)\)\.$)x"),
         "--slot $1: bank $2 has only $3 maps (0 to $4)"},
        {std::regex(R"x(^Bank/Nr (\S+): der Map-Header \((.*)\) liegt hinter dem Ende der )x"
                    R"x(Datei\.$)x"),
         "--slot $1: its map header at $2 lies past the end of the file"},
        {std::regex(R"x(^Bank/Nr (\S+): der Map-Header \((.*)\) zeigt auf keinen Map-Footer )x"
                    R"x(in der Datei\.$)x"),
         "--slot $1: its map header at $2 points at no map footer in the file"},
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

// The warnings of opening a ROM.
const std::vector<Rule>& warningRules() {
    static const std::vector<Rule> kRules{
        {std::regex(R"x(^Für das Spiel "(.*)" gibt es kein Profil in Ini\\Quillon\.ini: )x"
                    R"x(es werden keine Maps gefunden\.$)x"),
         "the game \"$1\" has no profile in Ini/Quillon.ini: no maps are found"},
        {std::regex(R"x(^Map-Name (\d+): Zeiger zeigt hinter das Dateiende\.$)x"),
         "map name $1: its pointer points past the end of the file"},
        {std::regex(R"x(^Die Bank-Tabelle \((.*)\) liegt hinter dem Dateiende\.$)x"),
         "the bank table at $1 lies past the end of the file: the ROM has no maps"},
        {std::regex(R"x(^Die Bank-Tabelle \((.*)\) reicht über das Dateiende hinaus: Bank (\d+) )x"
                    R"x(und alle weiteren fehlen\.$)x"),
         "the bank table at $1 runs past the end of the file: bank $2 and all after it are "
         "missing"},
        {std::regex(R"x(^Das Profil nennt für (\w+) den Offset (\S+); er liegt außerhalb der )x"
                    R"x(Datei \(0 bis (\$[0-9A-F]+)\) und wird nicht verwendet\.$)x"),
         "the profile gives $1 the offset $2, outside the file (0 to $3): it is not used"},
        {std::regex(R"x(^Das Profil nennt keine Bank-Tabelle \(MapBankHeader\): es werden keine )x"
                    R"x(Maps gefunden\.$)x"),
         "the profile names no bank table (MapBankHeader): no maps are found"},
        {std::regex(R"x(^Die Map-Tabelle von Bank (\d+) \((.*)\) liegt hinter dem Dateiende\.$)x"),
         "the map table of bank $1 at $2 lies past the end of the file"},
        {std::regex(R"x(^Der Header von Map (\d+\.\d+) \((.*)\) liegt hinter dem Dateiende\.$)x"),
         "the header of map $1 at $2 lies past the end of the file"},
        {std::regex(R"x(^Manche Maps verwenden einen Namen, der nicht geladen wurde )x"
                    R"x(\(AnzMapNamen im Profil zu klein\); sie sind mit \?\?\? aufgeführt\.$)x"),
         "some maps use a name that was not loaded (AnzMapNamen in the profile is too small); "
         "they are listed as ???"},
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
    for (const auto* rules : {&errorRules(), &warningRules(), &wildRules()}) {
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
