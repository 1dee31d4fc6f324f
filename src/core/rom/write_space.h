#pragma once

#include <cstdint>

namespace quillon {

class TRom;

// Data that moves to a place the user chose must fit in the file and stay out of the
// cartridge header. Throws Error naming the offset and the bytes needed when count bytes from
// offset do not lie between the end of the cartridge header (0xC0) and the end of the file.
void requireWriteSpace(TRom& rom, std::uint32_t offset, std::uint32_t count);

}  // namespace quillon
