#pragma once

#include <cstdint>

namespace quillon {

// The GBA cartridge header at the start of every ROM image (entry point, logo, title, game
// code, checksum). No map data lives there and the editor never writes into it.
constexpr std::uint64_t kCartridgeHeaderSize = 0xC0;

}  // namespace quillon
