#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/rom/rom_pointer.h"

namespace quillon::romkit {

// A ROM image under construction: a buffer filled with 0xFF (free space) and a cursor that
// hands out room for the structures one after another. Every builder part places its data
// through it, so the layout follows the order of the calls and is the same on every run.
// Throws std::length_error when the data outgrow the image or the 32 MiB a ROM pointer reaches.
class RomImage {
public:
    RomImage(std::size_t size, std::uint32_t dataStart);

    // Room for count bytes at the next multiple of align; returns its file offset.
    std::uint32_t reserve(std::size_t count, std::size_t align = 4);
    // reserve() and copy bytes there.
    std::uint32_t place(std::span<const std::uint8_t> bytes, std::size_t align = 4);

    void put8(std::uint32_t offset, std::uint8_t value);
    void put16(std::uint32_t offset, std::uint16_t value);
    void put32(std::uint32_t offset, std::uint32_t value);
    // The ROM pointer of a file offset (core's pointer codec). Offset 0 writes a null word.
    void putPointer(std::uint32_t offset, std::uint32_t target);
    void putBytes(std::uint32_t offset, std::span<const std::uint8_t> bytes);
    void putAscii(std::uint32_t offset, std::string_view text);

    // The first byte no structure has claimed.
    std::uint32_t cursor() const { return m_cursor; }
    std::vector<std::uint8_t>& bytes() { return m_bytes; }
    std::vector<std::uint8_t> release() { return std::move(m_bytes); }

private:
    void check(std::uint64_t offset, std::size_t count) const;

    std::vector<std::uint8_t> m_bytes;
    std::uint32_t m_cursor;
};

// A ROM pointer to a file offset, as a 32-bit word (0 stays 0).
inline std::uint32_t romPointer(std::uint32_t fileOffset) {
    return fileOffset == 0 ? 0 : encodeRomPointer(fileOffset);
}

}  // namespace quillon::romkit
