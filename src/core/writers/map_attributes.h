#pragma once

#include <cstdint>

#include "core/map/map_header.h"

namespace quillon {

class MapState;
class TRom;
struct GameProfile;

// The one-byte fields of the map header the "Header" tab writes.
enum class HeaderByte : std::uint8_t { NameIndex = 20, Weather = 22, Type = 23 };

// Attribute writes of the open map's header, each written into the ROM at once and brought
// onto the disk. The map state's copy of the header follows every write. Each throws Error
// before writing when no map with a header is open or the header lies past the end of the
// file, and RomIoError when the file cannot be written.
namespace map_attributes {

// The 16-bit music number, little-endian at header + 16.
void writeMusic(TRom& rom, MapState& map, std::uint16_t music);
// value must be 0-255; anything else is refused with a message naming the field.
void writeByte(TRom& rom, MapState& map, HeaderByte field, int value);
// Throws Error unless index names a map name of profile's name table (0 to AnzMapNamen): a
// name the table does not hold lists the map as "???" and names nothing in the game.
void checkNameIndex(const GameProfile& profile, int index);
// The name index (header + 20), checked by checkNameIndex first.
void writeNameIndex(TRom& rom, MapState& map, const GameProfile& profile, int index);
// The show-name bits of this ROM's game (ShowNameBits), every other bit kept.
void writeShowName(TRom& rom, MapState& map, bool show);
// The show-name layout of the ROM bound to rom.
ShowNameBits showNameBits(const TRom& rom);

}  // namespace map_attributes
}  // namespace quillon
