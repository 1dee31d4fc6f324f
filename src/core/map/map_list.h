#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/config/settings.h"
#include "core/text/message.h"

namespace quillon {

class TRom;
class IniFile;

// One line of the map list tree and the lines below it.
struct MapListNode {
    std::string text;
    std::vector<MapListNode> children;
};

// One map found through the bank table.
struct BankMap {
    int bank = 0;
    int map = 0;
    std::uint32_t headerOffset = 0;
    std::string name;
};

// The header part of the list: banks found by scanning the bank table. A bank is listed only
// when the entry after it is a pointer, and a bank's map table is read up to the start of the
// next bank's table (201 maps at most, 101 banks at most). With listLastBank the last bank is
// listed too: its map table is read up to the first entry that is not a pointer to a whole map
// header inside the file whose footer pointer leads to a footer (201 maps at most).
struct BankScan {
    std::vector<std::vector<BankMap>> banks;  // banks[b] empty when bank b has no map
    std::vector<Message> warnings;  // tables past the end of the file, bad names
    // The last bank of the table when its map table starts with a map: its maps are not
    // listed, since nothing tells where its table ends. -1 when the last bank has none or is
    // listed.
    int unlistedBank = -1;
    // Why the profile's bank table is not used (it failed its check when the ROM opened):
    // every map asked for by bank and number is refused with it. None otherwise.
    std::optional<Message> unusable;
    int mapCount() const;
    // Banks of the ROM: the listed ones and an unlisted last one, not the empty bank that
    // may close the table.
    int bankCount() const;
};

BankScan scanBanks(TRom& rom, std::uint32_t bankTable, const std::vector<std::string>& mapNames,
                   bool listLastBank = false);

// Map (bank, map) must be one the scan lists. Throws DataError otherwise, with the ROM's number
// of banks or the bank's number of maps ("Bank 9 gibt es nicht (das Rom hat 2 Banken)."), or
// with scan.unusable.
void requireListedMap(const BankScan& scan, int bank, int map);

// The map list as shown: the root "Nur aus Header" with banks and maps, the root "Aus Ini" with
// the groups of the map group file, or both.
struct MapListTree {
    std::vector<MapListNode> roots;
    int headerRoot = -1;  // index into roots, -1 when not shown
    int iniRoot = -1;
    std::vector<std::string> groups;  // group names of the map group file, in file order
    std::vector<Message> warnings;
};

struct MapListTexts {
    std::string headerRoot = "Nur aus Header";
    std::string iniRoot = "Aus Ini";
};

MapListTree buildMapListTree(const BankScan& scan, const IniFile& mainFile, const IniFile& mapsFile,
                             Settings::MapListParts parts, const MapListTexts& texts);

// Line text of a map: "<name> (<identifier>)".
std::string mapLineText(const std::string& name, const std::string& identifier);

// The identifier inside a list line: the text in its last "(...)", so a map name that has
// parentheses of its own ("Haus (alt) (0.0)") still gives "0.0".
std::optional<std::string> identifierFromLine(const std::string& line);

// A typed identifier "<bank>.<map>": both parts numbers, neither -10.
bool isValidTypedIdentifier(const std::string& text);

}  // namespace quillon
