#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class IniFile;
class MapState;
class RomState;
class TRom;
struct GameProfile;

// Choosing the two tilesets of the open map. The footer points at a 24-byte tileset header from
// +16 (part 1, primary) and +20 (part 2, secondary); that pointer is what names a tileset. A
// tileset number n names the header at the profile's TilesetHeader + n * 24; headers that lie
// off those steps (Emerald keeps 8 bytes of other data before its later ones) have no number
// and are named by their offset. Header byte 1 says which part a tileset is (0 primary, else
// secondary).
namespace tileset_choice {

// The number typed for part (1 or 2): decimal, or hexadecimal with "$". Throws Error naming
// the part and the text when it is not a number.
int numberFromText(const std::string& text, int part);

// The header a text names for part: a number (decimal, or "$" hex below the table), or a
// header's offset ("$" hex at or past the table's offset, any "$" hex when the profile has no
// table, or its ROM pointer). Checked by
// checkedHeader. Throws Error naming the part for anything else; a number when the tileset
// table failed its check (state given) throws the failure.
std::uint32_t headerFromText(TRom& rom, const GameProfile& profile, const std::string& text,
                             int part, const RomState* state = nullptr);

// Where tileset number's header lies, checked by checkedHeader. Throws Error naming the part
// and the number when the profile has no tileset table or the number is negative.
std::uint32_t headerOffset(TRom& rom, const GameProfile& profile, int number, int part);

// Checks that a tileset header of part lies at offset: inside the file, its four data pointers
// (tiles, palettes, blocks, block attributes at +16, on FireRed/LeafGreen at +20) ROM pointers
// into the file, byte 1 the part's (0 for part 1, else part 2). Throws Error naming the part
// and what (the number or offset as the user gave it). Returns offset.
std::uint32_t checkedHeader(TRom& rom, std::uint32_t offset, int part, const std::string& what);

// The number that names header exactly; nullopt for a header off the table's steps (or
// before the table, or without a table).
std::optional<int> exactNumber(const GameProfile& profile, std::uint32_t header);
// The number tilesets.ini and the loaded tileset pair know a header by: the whole 24-byte
// steps from the table to it (the map loader counts the same way).
int keyNumber(const GameProfile& profile, std::uint32_t header);
// How a header is shown: its number when one names it exactly, else "$" and its offset.
std::string headerText(const GameProfile& profile, std::uint32_t header);

// The headers of the ROM's tileset table, in order: from the table's offset, 24 bytes on after
// each header; where no header follows, the next 4-byte places up to 20 bytes on are tried (a
// table may hold a few bytes of other data between headers). The first place without a header
// ends the table; at most kMaxTableHeaders. Empty when the profile names no table.
inline constexpr int kMaxTableHeaders = 256;
struct TableHeader {
    std::uint32_t offset = 0;
    bool secondary = false;  // header byte 1
};
std::vector<TableHeader> tableHeaders(TRom& rom, const GameProfile& profile);
// Tilesets are offered by the table only: throws the check's DataError when the table failed
// it, and Error when the profile names none.
void requireTable(const RomState& state);

// One part's tileset as chosen: its key number, where its header lies and the header's bytes.
struct Choice {
    int number = 0;
    std::uint32_t offset = 0;
    std::array<std::uint8_t, 24> header{};
};

// The header at offset for part, checked by checkedHeader, with its bytes read.
Choice choose(TRom& rom, const GameProfile& profile, std::uint32_t offset, int part);

// Loads both parts into the ROM state's tileset pair (a part already loaded is kept).
void load(TRom& rom, RomState& romState, const IniFile& tilesetsIni, const Choice& one,
          const Choice& two);

// Points the open map's footer at the tileset headers at header1 and header2. Both are checked
// and both parts loaded (tiles, palettes, blocks) before anything is written: a failure leaves
// the ROM and the loaded tilesets as they were. Then the pointer of part 1, of part 2, the disk;
// the map's copy of footer and tileset headers follows and its pictures are redrawn on the
// next request.
void write(TRom& rom, RomState& romState, MapState& map, const IniFile& tilesetsIni,
           std::uint32_t header1, std::uint32_t header2);

}  // namespace tileset_choice
}  // namespace quillon
