#include "core/rom/free_space.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr std::size_t kDefaultChunk = std::size_t{1} << 20;

// The first byte in [begin, end) that differs from value; end when none. Eight bytes at a
// time: a free run is mostly compared in whole words.
const std::uint8_t* firstDifferent(const std::uint8_t* begin, const std::uint8_t* end,
                                   std::uint8_t value) {
    const std::uint64_t pattern = 0x0101010101010101ull * value;
    while (end - begin >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, begin, 8);
        if (word != pattern) {
            break;
        }
        begin += 8;
    }
    while (begin != end && *begin == value) {
        ++begin;
    }
    return begin;
}

// Reads the file through one window of chunk bytes and finds bytes in it; positions are file
// offsets. Both finders clamp their limit to the end of the file and return it when nothing
// is found.
class ByteScanner {
public:
    ByteScanner(TRom& rom, std::size_t chunk)
        : m_rom(rom), m_size(rom.size()), m_buffer(std::max<std::size_t>(chunk, 1)) {}

    std::uint64_t size() const { return m_size; }

    std::uint64_t findEqual(std::uint64_t from, std::uint8_t value, std::uint64_t limit) {
        limit = std::min(limit, m_size);
        while (from < limit) {
            const std::uint8_t* begin = window(from);
            const auto n = static_cast<std::size_t>(std::min(limit, m_windowEnd) - from);
            if (const void* hit = std::memchr(begin, value, n)) {
                return from + static_cast<std::uint64_t>(static_cast<const std::uint8_t*>(hit) - begin);
            }
            from += n;
        }
        return limit;
    }

    std::uint64_t findDifferent(std::uint64_t from, std::uint8_t value, std::uint64_t limit) {
        limit = std::min(limit, m_size);
        while (from < limit) {
            const std::uint8_t* begin = window(from);
            const auto n = static_cast<std::size_t>(std::min(limit, m_windowEnd) - from);
            const std::uint8_t* stop = firstDifferent(begin, begin + n, value);
            if (stop != begin + n) {
                return from + static_cast<std::uint64_t>(stop - begin);
            }
            from += n;
        }
        return limit;
    }

private:
    // The buffered bytes from offset on (offset < size): the window moves when needed.
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
    std::vector<std::uint8_t> m_buffer;
    std::uint64_t m_windowStart = 0;
    std::uint64_t m_windowEnd = 0;
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
    ByteScanner scan(rom, chunkBytes);
    const std::uint64_t last = query.end.value_or(kFreeSpaceDefaultEnd);
    const std::uint64_t count = query.count;
    FreeSpaceResult result;
    std::uint64_t p = query.start;
    while (p <= last) {
        // Candidates on other bytes fail at once: go to the next byte that holds the value.
        p = scan.findEqual(p, query.value, last + 1);
        if (p > last || p >= scan.size()) {
            break;
        }
        const std::uint64_t stop = scan.findDifferent(p, query.value, p + count);
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
    ByteScanner scan(rom, kDefaultChunk);
    if (runEnd > scan.size() || scan.findDifferent(offset, value, runEnd) != runEnd) {
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
