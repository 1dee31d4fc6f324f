#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// The LZ77 streams of the GBA BIOS (type 0x10) in which tile pictures may be stored:
//   byte 0 type (not examined), bytes 1-3 uncompressed size (24 bits, little-endian), then
//   groups of one flag byte (bit 7 first) and up to eight items: a 0 bit is one literal byte,
//   a 1 bit a reference B0 B1 of length (B0 >> 4) + 3 and distance ((B0 & 0x0F) << 8 | B1) + 1,
//   copied byte by byte so it may overlap its own output.
// Decoding stops right after the output byte that reaches the size, even inside a reference;
// at least one item is always decoded, even for size 0.
//
// Input window: the decoder sees kLz77Window bytes. When the caller supplies fewer (the file
// ended, or only the tile picture's size was read) the rest of the window reads as zero
// bytes, so a stream cut short decodes zeros. Reading beyond the window throws.
//
// Throws DataError ("LZ77: ...") for a reference that reaches before the first output byte
// and for a stream that needs input beyond the window. A declared size larger than the
// output capacity is limited to the capacity.
constexpr std::size_t kLz77Window = 65536;

// Decodes into out (its size is the capacity) and returns the number of bytes decoded,
// min(declared size, out.size()). out.size() 0 decodes nothing and returns 0. For a declared
// size 0 the first item is still decoded (and may write out[0]), but 0 is returned.
std::size_t lz77Decompress(std::span<const std::uint8_t> stream, std::span<std::uint8_t> out);

// The same into a new vector of min(declared size, capacity) bytes.
std::vector<std::uint8_t> lz77Decompress(std::span<const std::uint8_t> stream,
                                         std::size_t capacity);

// The size a stream declares in its header (bytes 1-3); missing header bytes count as 0.
std::uint32_t lz77DeclaredSize(std::span<const std::uint8_t> stream);

// The bytes a stream occupies in the ROM: its 4-byte header, then every flag byte and item up
// to the item that reaches the declared size (a size-0 stream: its first item), without any
// padding behind it. Throws DataError for a reference before the first output byte and for a
// stream that runs past the bytes given.
std::size_t lz77StreamLength(std::span<const std::uint8_t> stream);

// What lz77StreamLength reads, and whether any reference copies from 1 byte back (a stream
// the BIOS routine that writes 16 bits at a time would expand wrongly).
struct Lz77Scan {
    std::size_t length = 0;
    bool nearReferences = false;
};
Lz77Scan lz77Scan(std::span<const std::uint8_t> stream);

}  // namespace quillon
