#include "core/tables/rom_bytes.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon::tables {

namespace {

bool inside(std::uint64_t offset, std::size_t count, std::uint64_t size) {
    return offset <= size && count <= size - offset;
}

}  // namespace

std::optional<std::uint8_t> RomBytes::byte(std::uint64_t offset) const {
    std::uint8_t b = 0;
    if (!read(offset, 1, &b)) {
        return std::nullopt;
    }
    return b;
}

std::optional<std::uint16_t> RomBytes::half(std::uint64_t offset) const {
    std::uint8_t b[2] = {};
    if (!read(offset, 2, b)) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::optional<std::uint32_t> RomBytes::word(std::uint64_t offset) const {
    std::uint8_t b[4] = {};
    if (!read(offset, 4, b)) {
        return std::nullopt;
    }
    return readLe32(b);
}

std::optional<std::uint32_t> RomBytes::pointerAt(std::uint64_t offset, std::size_t count) const {
    const auto w = word(offset);
    if (!w) {
        return std::nullopt;
    }
    const auto target = decodeRomPointer(*w);
    if (!target || !inside(*target, std::max<std::size_t>(count, 1), size())) {
        return std::nullopt;
    }
    return target;
}

TRomBytes::TRomBytes(TRom& rom) : m_rom(rom), m_size(rom.size()) {}

bool TRomBytes::read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const {
    if (!inside(offset, count, m_size) || offset + count > kRomPointerReach) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    if (count > kWindow) {
        m_rom.ReadBlock(static_cast<std::int32_t>(offset), std::span<std::uint8_t>(out, count));
        return true;
    }
    if (m_windowBytes == 0 || offset < m_windowStart ||
        offset + count > m_windowStart + m_windowBytes) {
        const std::uint64_t reach = std::min<std::uint64_t>(m_size, kRomPointerReach);
        m_windowStart = offset;
        m_windowBytes = static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, reach - offset));
        m_rom.ReadBlock(static_cast<std::int32_t>(offset),
                        std::span<std::uint8_t>(m_window.data(), m_windowBytes));
    }
    std::copy_n(m_window.begin() + static_cast<std::ptrdiff_t>(offset - m_windowStart), count,
                out);
    return true;
}

bool SpanBytes::read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const {
    if (!inside(offset, count, m_image.size())) {
        return false;
    }
    std::copy_n(m_image.begin() + static_cast<std::ptrdiff_t>(offset), count, out);
    return true;
}

}  // namespace quillon::tables
