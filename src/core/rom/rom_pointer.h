#pragma once

#include <cstdint>
#include <optional>

namespace quillon {

// A GBA ROM pointer is the cartridge's bus address of a file offset: 0x08000000 + offset, for
// the whole 32 MiB a cartridge can map (top byte 0x08 below 16 MiB, 0x09 above). Every reader
// and writer of a pointer goes through these functions; nothing masks or adds by hand.

inline constexpr std::uint32_t kRomPointerBase = 0x08000000;
// The largest ROM image a pointer reaches: 32 MiB.
inline constexpr std::uint32_t kRomPointerReach = 0x02000000;
// What pointerTarget gives for a word that is not a ROM pointer: an offset past any ROM image
// (so every "inside the file" check refuses it), with room below 2^31 for any byte count.
inline constexpr std::uint32_t kNoRomOffset = 0x7F000000;

// Whether value is the address of a byte of a 32 MiB cartridge (0x08000000 to 0x09FFFFFF).
constexpr bool isRomPointer(std::uint32_t value) {
    return value >= kRomPointerBase && value - kRomPointerBase < kRomPointerReach;
}

// The file offset a ROM pointer names; nullopt for any other word.
constexpr std::optional<std::uint32_t> decodeRomPointer(std::uint32_t value) {
    if (!isRomPointer(value)) {
        return std::nullopt;
    }
    return value - kRomPointerBase;
}

// The file offset a pointer field names, for readers that check the offset against the file
// afterwards: 0 for a null word (offset 0 is the cartridge header, which no reader accepts),
// kNoRomOffset for any other word that is not a ROM pointer.
constexpr std::uint32_t pointerTarget(std::uint32_t value) {
    if (value == 0) {
        return 0;
    }
    return decodeRomPointer(value).value_or(kNoRomOffset);
}

// The ROM pointer of a file offset. Throws DataError for an offset a pointer cannot reach
// (32 MiB and above).
std::uint32_t encodeRomPointer(std::uint32_t fileOffset);

// The pointer field at p (4 bytes little-endian), through pointerTarget.
std::uint32_t readPointerField(const std::uint8_t* p);
// Stores the ROM pointer of fileOffset at p (4 bytes little-endian). Throws like
// encodeRomPointer, before writing.
void writePointerField(std::uint8_t* p, std::uint32_t fileOffset);

}  // namespace quillon
