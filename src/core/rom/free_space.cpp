#include "core/rom/free_space.h"

#include <algorithm>
#include <bit>
#include <span>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/trom.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {

namespace {

constexpr std::size_t kDefaultChunk = std::size_t{1} << 20;

// Bit i set when byte i of the 64 at p equals value.
std::uint64_t equalMask64(const std::uint8_t* p, std::uint8_t value) {
#if defined(__SSE2__)
    const __m128i pattern = _mm_set1_epi8(static_cast<char>(value));
    std::uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern)));
        mask |= static_cast<std::uint64_t>(bits & 0xFFFFu) << (16 * i);
    }
    return mask;
#else
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) {
        mask |= static_cast<std::uint64_t>(p[i] == value) << i;
    }
    return mask;
#endif
}

// Reads the file through one window of chunk bytes and finds bytes in it by the equality
// masks of its 64-byte blocks (each block's mask is made once per visit); positions are file
// offsets. find clamps its limit to the end of the file and returns it when nothing is found.
class ByteScanner {
public:
    ByteScanner(TRom& rom, std::size_t chunk, std::uint8_t value)
        : m_rom(rom), m_size(rom.size()), m_value(value),
          m_buffer(std::max<std::size_t>((chunk + 63) / 64 * 64, 64)) {}

    std::uint64_t size() const { return m_size; }

    // The first position in [from, limit) whose byte equals the value (equal) or differs.
    std::uint64_t find(std::uint64_t from, bool equal, std::uint64_t limit) {
        limit = std::min(limit, m_size);
        while (from < limit) {
            const std::uint64_t block = from & ~std::uint64_t{63};
            const std::uint64_t mask = (equal ? blockMask(block) : ~blockMask(block)) >> (from - block);
            if (mask != 0) {
                return std::min(limit, from + static_cast<std::uint64_t>(std::countr_zero(mask)));
            }
            from = block + 64;
        }
        return limit;
    }

    // Whether the byte at offset (below the file size) equals the value.
    bool equalAt(std::uint64_t offset) {
        const std::uint64_t block = offset & ~std::uint64_t{63};
        return ((blockMask(block) >> (offset - block)) & 1) != 0;
    }

private:
    // Bit i set when byte block + i equals the value; bits past the end of the file clear.
    std::uint64_t blockMask(std::uint64_t block) {
        if (block != m_maskBlock) {
            m_maskBlock = block;
            const std::uint8_t* p = window(block);
            const std::uint64_t available = std::min<std::uint64_t>(64, m_size - block);
            if (available == 64) {
                m_mask = equalMask64(p, m_value);
            } else {
                m_mask = 0;
                for (std::uint64_t i = 0; i < available; ++i) {
                    m_mask |= static_cast<std::uint64_t>(p[i] == m_value) << i;
                }
            }
        }
        return m_mask;
    }

    // The buffered bytes of the block at offset (a multiple of 64 below the file size).
    const std::uint8_t* window(std::uint64_t offset) {
        if (offset < m_windowStart || offset >= m_windowEnd) {
            m_windowStart = offset;
            m_windowEnd = std::min<std::uint64_t>(m_size, offset + m_buffer.size());
            m_rom.ReadBlock(static_cast<std::int32_t>(offset),
                            std::span(m_buffer.data(), m_windowEnd - m_windowStart));
        }
        return m_buffer.data() + (offset - m_windowStart);
    }

    TRom& m_rom;
    std::uint64_t m_size;
    std::uint8_t m_value;
    std::vector<std::uint8_t> m_buffer;
    std::uint64_t m_windowStart = 0;
    std::uint64_t m_windowEnd = 0;
    std::uint64_t m_maskBlock = ~std::uint64_t{0};
    std::uint64_t m_mask = 0;
};

void checkQuery(const FreeSpaceQuery& query) {
    if (query.value != 0x00 && query.value != 0xFF) {
        throw Error("Gesucht werden nur die Bytes 00 und FF, nicht " + IntToHex(query.value, 2) + ".");
    }
    if (query.count < 1) {
        throw Error("Benötigte Bytes: mindestens 1.");
    }
}

std::uint32_t offsetFromText(std::string_view text) {
    const std::int32_t value = StrToInt(text);
    if (value < 0) {
        throw Error("Der Offset " + std::string(text) + " ist negativ.");
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

FreeSpaceResult findFreeSpace(TRom& rom, const FreeSpaceQuery& query) {
    return findFreeSpace(rom, query, kDefaultChunk);
}

FreeSpaceResult findFreeSpace(TRom& rom, const FreeSpaceQuery& query, std::size_t chunkBytes) {
    checkQuery(query);
    ByteScanner scan(rom, chunkBytes, query.value);
    const std::uint64_t last = query.end.value_or(kFreeSpaceDefaultEnd);
    const std::uint64_t count = query.count;
    FreeSpaceResult result;
    std::uint64_t p = query.start;
    while (p <= last) {
        // Candidates on other bytes fail at once: go to the next byte that holds the value.
        p = scan.find(p, true, last + 1);
        if (p > last || p >= scan.size()) {
            break;
        }
        if (p + count > scan.size()) {
            break;  // no run from here holds count bytes before the end of the file
        }
        // Every candidate up to the run's last byte needs that byte: when it differs, they all
        // fail there, and the one behind it is next.
        if (count > 1 && !scan.equalAt(p + count - 1)) {
            p += count;
            continue;
        }
        const std::uint64_t stop = scan.find(p, false, p + count);
        if (stop - p == count) {
            result.offsets.push_back(static_cast<std::uint32_t>(p));
            if (!query.end && result.offsets.size() == kFreeSpaceHitLimit) {
                result.end = FreeSpaceEnd::TenFound;
                break;
            }
            p += count + 1;
        } else if (stop >= scan.size()) {
            break;  // the run reaches the end of the file before count bytes
        } else {
            p = stop + 1;
        }
    }
    return result;
}

FreeSpaceQuery freeSpaceQuery(std::string_view byte, std::string_view count,
                              std::string_view from, std::optional<std::string_view> to) {
    FreeSpaceQuery query;
    if (byte == "00" || byte == "FF" || byte == "ff") {
        query.value = byte == "00" ? 0x00 : 0xFF;
    } else {
        throw Error("Gesucht werden nur die Bytes 00 und FF, nicht " + std::string(byte) + ".");
    }
    const std::int32_t n = StrToInt(count);
    if (n < 1) {
        throw Error("Benötigte Bytes: mindestens 1.");
    }
    query.count = static_cast<std::uint32_t>(n);
    query.start = offsetFromText(from);
    if (to) {
        query.end = offsetFromText(*to);
    }
    return query;
}

std::optional<std::uint32_t> nextAlignedFree(TRom& rom, std::uint32_t offset,
                                             std::uint32_t count, std::uint32_t alignment) {
    if (offset >= rom.size()) {
        return std::nullopt;
    }
    const std::uint8_t value = rom.ReadByte(static_cast<std::int32_t>(offset));
    if (value != 0x00 && value != 0xFF) {
        return std::nullopt;
    }
    const std::uint64_t step = std::max<std::uint32_t>(alignment, 1);
    const std::uint64_t aligned = (offset + step - 1) / step * step;
    const std::uint64_t runEnd = aligned + count;
    ByteScanner scan(rom, kDefaultChunk, value);
    if (runEnd > scan.size() || scan.find(offset, false, runEnd) != runEnd) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(aligned);
}

std::string misalignedText(std::uint32_t offset, std::uint32_t alignment,
                           std::optional<std::uint32_t> alternative, std::uint32_t count) {
    std::string text = "Der Offset $" + IntToHex(offset, 6) + " ist nicht durch " +
                       std::to_string(alignment) + " teilbar; ";
    if (alternative) {
        return text + "der nächste passende Offset im selben freien Bereich ist $" +
               IntToHex(*alternative, 6) + ".";
    }
    return text + "im selben freien Bereich ist kein passender Offset für " +
           std::to_string(count) + " Bytes.";
}

void requireAligned(TRom& rom, std::uint32_t offset, std::uint32_t count,
                    std::uint32_t alignment) {
    if (alignment <= 1 || offset % alignment == 0) {
        return;
    }
    throw Error(misalignedText(offset, alignment, nextAlignedFree(rom, offset, count, alignment),
                               count));
}

}  // namespace quillon
