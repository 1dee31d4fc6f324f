#pragma once

#include <cstdint>
#include <vector>

#include "romkit/rom_builder.h"

namespace quillon::romkit {

// The tables a game's code reads, as the code holds them: the start of the bank table, the
// tileset headers, the map names, the species names (record 0), the wild table, the sprite
// table and the sprite palettes of built (those it has).
std::vector<std::uint32_t> referencedTables(const BuiltRom& built);

// Builds the ROM with a literal pool: the ROM pointer of each of referencedTables, one word
// after another from pool (a multiple of 4 in the code area, 0xC0 to 0x1000), as the code of
// a game keeps them. The layout is that of builder.build().
BuiltRom buildWithReferences(RomBuilder builder, std::uint32_t pool = 0xF00);

// The bytes of a literal pool holding the ROM pointers of targets, one after another.
std::vector<std::uint8_t> literalPool(const std::vector<std::uint32_t>& targets);

}  // namespace quillon::romkit
