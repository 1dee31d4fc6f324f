#include "romkit/rom_image.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quillon::romkit {

RomImage::RomImage(std::size_t size, std::uint32_t dataStart)
    : m_bytes(size, 0xFF), m_cursor(dataStart) {
    if (dataStart > size) {
        throw std::length_error("ROM image smaller than its data start");
    }
}

std::uint32_t RomImage::reserve(std::size_t count, std::size_t align) {
    const std::uint64_t start = (m_cursor + align - 1) / align * align;
    if (start + count > m_bytes.size() || start + count > kRomPointerReach) {
        throw std::length_error("ROM image too small: " + std::to_string(count) +
                                " bytes do not fit at " + std::to_string(start));
    }
    m_cursor = static_cast<std::uint32_t>(start + count);
    return static_cast<std::uint32_t>(start);
}

std::uint32_t RomImage::place(std::span<const std::uint8_t> bytes, std::size_t align) {
    const std::uint32_t offset = reserve(bytes.size(), align);
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + offset);
    return offset;
}

void RomImage::check(std::uint64_t offset, std::size_t count) const {
    if (offset + count > m_bytes.size()) {
        throw std::out_of_range("write past the end of the ROM image at " + std::to_string(offset));
    }
}

void RomImage::put8(std::uint32_t offset, std::uint8_t value) {
    check(offset, 1);
    m_bytes[offset] = value;
}

void RomImage::put16(std::uint32_t offset, std::uint16_t value) {
    check(offset, 2);
    m_bytes[offset] = static_cast<std::uint8_t>(value);
    m_bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void RomImage::put32(std::uint32_t offset, std::uint32_t value) {
    check(offset, 4);
    for (int i = 0; i < 4; ++i) {
        m_bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void RomImage::putPointer(std::uint32_t offset, std::uint32_t target) {
    put32(offset, romPointer(target));
}

void RomImage::putBytes(std::uint32_t offset, std::span<const std::uint8_t> bytes) {
    check(offset, bytes.size());
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + offset);
}

void RomImage::putAscii(std::uint32_t offset, std::string_view text) {
    check(offset, text.size());
    std::copy(text.begin(), text.end(), m_bytes.begin() + offset);
}

}  // namespace quillon::romkit
