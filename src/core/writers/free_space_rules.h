#pragma once

#include <cstdint>
#include <vector>

#include "core/rom/free_space.h"

namespace quillon {

class TRom;
struct GameProfile;

// Where free space may be offered in a ROM of a known game: the start of its free area and
// the tables its profile names. The repoint dialog and `find-free` search through these; the
// placement check refuses offsets inside profileTableRanges too.

// The cartridge header and every table the profile names, as far as its size is known or
// its end can be measured: the bank table and each bank's map table (as the bank scan reads
// them), the tileset headers (each header the tileset table lists), the map names
// (AnzMapNamen + 1 records of 8 bytes, 4 on FireRed/LeafGreen), the species names (record 0
// to 411), the wild table up to and with its FF FF end mark, the sprite pointer table and the
// sprite palette table (entries while they hold ROM pointers, and the end entry), the slot tag
// table (4 pointers), the special palette table (26 entries of 8 bytes) and the fly table
// (records while bytes 6-7 are 0). Tables the profile does not name (0) are left out; every
// range is cut to the file. Reads the ROM; throws RomIoError when it cannot be read.
std::vector<ByteRange> profileTableRanges(TRom& rom, const GameProfile& profile);

// Where a search for free bytes begins by default: the profile's FreierBereich when it lies
// in the file, otherwise the start of the longest run of fill bytes behind the cartridge
// header (the end of the cartridge header when the file holds none).
std::uint32_t defaultFreeSpaceStart(TRom& rom, const GameProfile& profile, std::uint8_t fill);

// The rules every search the user starts follows: the guard of kFreeSpaceGuard filler bytes
// before a hit and the profile's tables excluded, whatever start and end the user typed.
FreeSpaceQuery withFreeSpaceRules(TRom& rom, const GameProfile& profile, FreeSpaceQuery query);

// The search a command offers before the user changes anything: count bytes of fill from
// defaultFreeSpaceStart to the end of the file (ten hits), under withFreeSpaceRules.
FreeSpaceQuery defaultFreeSpaceQuery(TRom& rom, const GameProfile& profile, std::uint32_t count,
                                     std::uint8_t fill);

}  // namespace quillon
