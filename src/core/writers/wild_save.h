#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/wild/wild_table.h"

namespace quillon {

class MapState;
class TRom;

namespace wild {

// What the user typed for the shown kind: the rate, each row's two level texts and the
// species each row holds (the ROM's value unless the user picked another).
struct Input {
    std::string rate;
    std::vector<std::array<std::string, 2>> levels;  // {minimum, maximum} per row
    std::vector<std::uint16_t> species;              // per row
};

struct Values {
    std::uint32_t rate = 0;
    std::vector<Slot> entries;
};

// The numbers of input for kind. Throws Error naming the field for text that is no number
// (decimal, or hexadecimal after "$"), a rate above 255 (the game reads one byte of it), a
// level outside 0-255, or rows that do not match the kind's slot count.
Values parseInput(const Input& input, Kind kind);

// Levels the game accepts but that are almost always typing errors: outside 1-100, or a
// minimum above the maximum. One line per row ("wild.unusual_row"), empty when all look right.
std::vector<Message> unusualLevels(const std::vector<Slot>& entries);

enum class UnusualLevels { Refuse, Accept };

// Writes the shown kind of the open map as one transaction ("WildePokemon speichern <map>"):
// the rate as a 32-bit value at the record, then the slots. Everything is checked first:
// the wild table passed its check when the ROM opened, the open map has a place in the ROM
// and is the map shown was read for, the kind is
// available, the values fit it, the record still points at the slots that were read, and
// unusual levels (Refuse) throw Error listing them. Nothing is written then.
void save(TRom& rom, const MapState& map, const Encounter& shown, const Values& values,
          UnusualLevels unusual);

}  // namespace wild
}  // namespace quillon
