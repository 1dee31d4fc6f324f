#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// Compresses data into the LZ77 stream the GBA BIOS expands (type 0x10): byte 0 is 0x10, bytes
// 1-3 the uncompressed size (so at most 0xFFFFFF bytes), then groups of one flag byte (bit 7
// first, 1 = back-reference) and up to eight items. Matching is greedy: at every position the
// longest earlier run (3 to 18 bytes, 1 to 4096 bytes back, overlapping the bytes it produces)
// becomes a reference, the nearest one on a tie. vramSafe leaves out distance 1, which the
// BIOS routine that writes 16 bits at a time cannot expand. The stream is padded with zeros to
// a multiple of 4 bytes, as the games store it. Throws DataError above 0xFFFFFF bytes.
std::vector<std::uint8_t> lz77Compress(std::span<const std::uint8_t> data, bool vramSafe = false);

}  // namespace quillon
