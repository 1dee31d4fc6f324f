#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quillon {
class TRom;
}

namespace quillon::tables {

// The bytes of a ROM image as the table checks read them: a few hundred bytes through the open
// TRom when a ROM opens, the whole image held in memory by the table search.
class RomBytes {
public:
    virtual ~RomBytes() = default;
    virtual std::uint64_t size() const = 0;
    // count bytes from offset into out; false (out untouched) unless all lie inside the file.
    virtual bool read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const = 0;

    std::optional<std::uint8_t> byte(std::uint64_t offset) const;
    std::optional<std::uint16_t> half(std::uint64_t offset) const;
    std::optional<std::uint32_t> word(std::uint64_t offset) const;
    // The file offset the ROM pointer at offset names, when it is one and names a byte of the
    // file at least count bytes before its end.
    std::optional<std::uint32_t> pointerAt(std::uint64_t offset, std::size_t count = 1) const;
};

// Reads through the open ROM (its pending writes included), a window of 256 bytes at a time:
// the records of a table lie side by side, and each read of the file costs a call into the
// system. Made for one check; the ROM is not written while it lives.
class TRomBytes final : public RomBytes {
public:
    explicit TRomBytes(TRom& rom);
    std::uint64_t size() const override { return m_size; }
    bool read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const override;

private:
    static constexpr std::size_t kWindow = 256;
    TRom& m_rom;
    std::uint64_t m_size;
    mutable std::array<std::uint8_t, kWindow> m_window{};
    mutable std::uint64_t m_windowStart = 0;
    mutable std::size_t m_windowBytes = 0;  // 0: nothing read yet
};

// Reads from an image in memory.
class SpanBytes final : public RomBytes {
public:
    explicit SpanBytes(std::span<const std::uint8_t> image) : m_image(image) {}
    std::uint64_t size() const override { return m_image.size(); }
    bool read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const override;
    std::span<const std::uint8_t> image() const { return m_image; }

private:
    std::span<const std::uint8_t> m_image;
};

}  // namespace quillon::tables
