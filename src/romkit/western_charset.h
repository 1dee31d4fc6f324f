#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::romkit {

// The game-text character table of the Western releases, as the ROM builder encodes names:
// 256 entries (UTF-8 text, "" for a byte without text); 0xFF ends a text and has no entry.
const std::vector<std::string>& westernCharset();

// Encodes text the way the editor's encoder does: characters collect until they equal an
// entry, the lowest byte value winning. No terminator is appended. Throws
// std::invalid_argument when characters are left that no entry spells.
std::vector<std::uint8_t> encodeWestern(std::string_view text);

// The entries of the bytes before the first 0xFF.
std::string decodeWestern(std::span<const std::uint8_t> bytes);

// The table as the data file the editor loads: section "Table", keys "00" to "FE"; the space
// of byte 0x00 is quoted so the profile reader keeps it.
std::string westernTableIni();

}  // namespace quillon::romkit
