#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class IniFile;
class MapState;
class RomState;
class TRom;
struct GameProfile;

// Choosing the two tilesets of the open map: tileset n is the 24-byte tileset header at the
// profile's TilesetHeader + n * 24; the footer points at it from +16 (part 1) and +20 (part 2).
namespace tileset_choice {

// The number typed for part (1 or 2): decimal, or hexadecimal with "$". Throws Error naming
// the part and the text when it is not a number.
int numberFromText(const std::string& text, int part);

// Where tileset number's header lies. Throws Error naming the part and the number when the
// profile has no tileset table, the number is negative, the header runs past the end of the
// file or one of its four data pointers (tiles, palettes, blocks, block attributes at +16, on
// FireRed/LeafGreen at +20) is no ROM pointer into the file.
std::uint32_t headerOffset(TRom& rom, const GameProfile& profile, int number, int part);

// The numbers of the ROM's tileset table: 0, 1, 2, ... as long as headerOffset accepts them,
// at most kMaxTableNumbers; empty when the profile names no table or tileset 0 is no header.
inline constexpr int kMaxTableNumbers = 256;
std::vector<int> tableNumbers(TRom& rom, const GameProfile& profile);

// One part's tileset as chosen: its number, where its header lies and the header's bytes.
struct Choice {
    int number = 0;
    std::uint32_t offset = 0;
    std::array<std::uint8_t, 24> header{};
};

// Tileset number of part (1 or 2), checked by headerOffset, with its header read.
Choice choose(TRom& rom, const GameProfile& profile, int number, int part);

// Loads both parts into the ROM state's tileset pair (a part already loaded is kept).
void load(TRom& rom, RomState& romState, const IniFile& tilesetsIni, const Choice& one,
          const Choice& two);

// Points the open map's footer at tilesets n1 and n2. Both numbers are checked and both parts
// loaded (tiles, palettes, blocks) before anything is written: a failure leaves the ROM and
// the loaded tilesets as they were. Then the pointer of part 1, of part 2, the disk; the map's
// copy of footer and tileset headers follows and its pictures are redrawn on the next request.
void write(TRom& rom, RomState& romState, MapState& map, const IniFile& tilesetsIni, int n1,
           int n2);

}  // namespace tileset_choice
}  // namespace quillon
