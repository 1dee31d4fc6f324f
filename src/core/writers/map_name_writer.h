#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/rom/placement.h"
#include "core/text/char_table.h"

namespace quillon {

class RomState;
class TRom;

// New map names for Ruby, Sapphire and Emerald, whose name table holds 8-byte records with
// the name's ROM pointer at +4. (FireRed/LeafGreen names are not edited.)
namespace map_name_writer {

constexpr std::size_t kMaxCodes = 18;

// The typed name through the character table: at most 18 codes; characters that start a
// longer table text stay pending until it is complete; what follows the 18th code is dropped.
CharTable::Encoded encode(const CharTable& chars, std::string_view typed);

// Name index's record in the ROM: where its pointer lies, where the name lies now and how many
// character bytes it has there (up to its 0xFF).
struct Slot {
    std::uint32_t pointer = 0;
    std::uint32_t offset = 0;
    std::size_t length = 0;
};
// Throws Error for FireRed/LeafGreen, a game without a name table, an index outside the list
// or a record or name pointer outside the file.
Slot slot(TRom& rom, const RomState& state, int index);

// The bytes a name of codes characters needs elsewhere: the characters, 0xFF and 0x00.
constexpr std::uint32_t bytesNeeded(std::size_t codes) {
    return static_cast<std::uint32_t>(codes) + 2;
}
// The name's current offset, when the name there has at least as many character bytes.
std::optional<std::uint32_t> proposedOffset(const Slot& slot, std::size_t codes);

// Everything write checks before its first byte: at most 18 codes, no 0xFF among them, the
// record, and the name's bytes through the placement check (in the file behind the cartridge
// header, on free bytes of fill or on the name's current characters and 0xFF, not on the
// record's pointer). Returns the record. Throws Error.
Slot checkPlace(TRom& rom, const RomState& state, int index, std::span<const std::uint8_t> codes,
                std::uint32_t offset, std::uint8_t fill = kFreeFill);

// Writes codes at offset after checkPlace: followed by 0xFF at the name's current offset, by
// 0xFF and 0x00 anywhere else; then the record's pointer to offset. Returns the name read
// back, which also replaces the name in state.
std::string write(TRom& rom, RomState& state, int index, std::span<const std::uint8_t> codes,
                  std::uint32_t offset, std::uint8_t fill = kFreeFill);

// The listed maps whose header names name index (header byte 20), as "bank.map" in list
// order: every one of them shows the name a write changes. Unreadable headers are left out.
std::vector<std::string> mapsWithName(TRom& rom, const RomState& state, int index);

}  // namespace map_name_writer
}  // namespace quillon
