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

// Excluded bytes [begin, end) as the scanner keeps them.
struct Span {
    std::uint64_t begin;
    std::uint64_t end;
};

// Reads the file through one window of chunk bytes and finds bytes in it by the equality
// masks of its 64-byte blocks (each block's mask is made once per visit; a byte in an excluded
// range never counts as equal to the value); positions are file
// offsets. find clamps its limit to the end of the file and returns it when nothing is found.
class ByteScanner {
public:
    ByteScanner(TRom& rom, std::size_t chunk, std::uint8_t value,
                const std::vector<ByteRange>& excluded = {})
        : m_rom(rom), m_size(rom.size()), m_value(value),
          m_buffer(std::max<std::size_t>((chunk + 63) / 64 * 64, 64)),
          m_excluded(mergedRanges(excluded)) {}

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

    // The start of the first run of at least count bytes equal to the value from x on (a run
    // that began before x counts from x), if it starts no later than maxStart.
    std::optional<std::uint64_t> findRun(std::uint64_t x, std::uint64_t count,
                                         std::uint64_t maxStart) {
        return count <= 64 ? findShortRun(x, count, maxStart) : findLongRun(x, count, maxStart);
    }

private:
    // 64-byte blocks at a time: the bits of a block and the one before it, ANDed with
    // themselves shifted, keep the bytes that end count equal bytes in a row.
    std::optional<std::uint64_t> findShortRun(std::uint64_t x, std::uint64_t count,
                                              std::uint64_t maxStart) {
        std::uint64_t block = x & ~std::uint64_t{63};
        std::uint64_t previous = 0;
        while (block < m_size && block <= maxStart + count) {
            std::uint64_t mask = blockMask(block);
            if (x > block) {
                mask &= ~std::uint64_t{0} << (x - block);
            }
            if (mask == 0) {  // no run ends in a block without the value: the common case
                previous = 0;
                block += 64;
                continue;
            }
            // Bits of this block (here) over those of the one before (before), as one word of
            // 128 bits shifted towards here.
            std::uint64_t here = mask;
            std::uint64_t before = previous;
            for (std::uint64_t length = 1; length < count;) {
                const std::uint64_t step = std::min(length, count - length);  // 1 to 32
                here &= (here << step) | (before >> (64 - step));
                before &= before << step;
                length += step;
            }
            if (here != 0) {
                const std::uint64_t start =
                    block + static_cast<std::uint64_t>(std::countr_zero(here)) + 1 - count;
                return start <= maxStart ? std::optional(start) : std::nullopt;
            }
            previous = mask;
            block += 64;
        }
        return std::nullopt;
    }

    // A run of more than 64 bytes is one of the runs of at least 64: each of those is
    // measured, and one shorter than count is passed over.
    std::optional<std::uint64_t> findLongRun(std::uint64_t x, std::uint64_t count,
                                             std::uint64_t maxStart) {
        while (const std::optional<std::uint64_t> run = findShortRun(x, 64, maxStart)) {
            const std::uint64_t runEnd = find(*run + 64, false, *run + count);
            if (runEnd - *run == count) {
                return run;
            }
            if (runEnd >= m_size) {
                return std::nullopt;
            }
            x = runEnd + 1;
        }
        return std::nullopt;
    }

    // Bit i set when byte block + i equals the value and lies in no excluded range; bits past
    // the end of the file clear.
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
            if (!m_excluded.empty()) {
                m_mask &= ~excludedMask(block);
            }
        }
        return m_mask;
    }

    // Bit i set when byte block + i lies in an excluded range.
    std::uint64_t excludedMask(std::uint64_t block) const {
        std::uint64_t mask = 0;
        auto it = std::upper_bound(m_excluded.begin(), m_excluded.end(), block,
                                   [](std::uint64_t b, const Span& r) { return b < r.end; });
        for (; it != m_excluded.end() && it->begin < block + 64; ++it) {
            const std::uint64_t from = std::max(it->begin, block) - block;
            const std::uint64_t to = std::min(it->end, block + 64) - block;
            const std::uint64_t ones = to - from == 64 ? ~std::uint64_t{0}
                                                       : (std::uint64_t{1} << (to - from)) - 1;
            mask |= ones << from;
        }
        return mask;
    }

    // The ranges sorted by start, overlapping and touching ones joined, empty ones dropped.
    static std::vector<Span> mergedRanges(const std::vector<ByteRange>& ranges) {
        std::vector<Span> spans;
        for (const ByteRange& r : ranges) {
            if (r.end > r.begin) {
                spans.push_back({r.begin, r.end});
            }
        }
        std::sort(spans.begin(), spans.end(),
                  [](const Span& a, const Span& b) { return a.begin < b.begin; });
        std::vector<Span> merged;
        for (const Span& s : spans) {
            if (!merged.empty() && s.begin <= merged.back().end) {
                merged.back().end = std::max(merged.back().end, s.end);
            } else {
                merged.push_back(s);
            }
        }
        return merged;
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
    std::vector<Span> m_excluded;
    std::uint64_t m_maskBlock = ~std::uint64_t{0};
    std::uint64_t m_mask = 0;
};

void checkQuery(const FreeSpaceQuery& query) {
    if (query.value != 0x00 && query.value != 0xFF) {
        throw Error(message("space.byte", {IntToHex(query.value, 2)}));
    }
    if (query.count < 1) {
        throw Error(message("space.count"));
    }
}

std::uint32_t offsetFromText(std::string_view text) {
    const std::int32_t value = StrToInt(text);
    if (value < 0) {
        throw Error(message("space.negative_offset", {std::string(text)}));
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

FreeSpaceResult findFreeSpace(TRom& rom, const FreeSpaceQuery& query) {
    return findFreeSpace(rom, query, kDefaultChunk);
}

FreeSpaceResult findFreeSpace(TRom& rom, const FreeSpaceQuery& query, std::size_t chunkBytes) {
    checkQuery(query);
    ByteScanner scan(rom, chunkBytes, query.value, query.excluded);
    const std::uint64_t last = query.end ? std::uint64_t{*query.end} : scan.size();
    const std::uint64_t guard = query.guard;
    const std::uint64_t count = query.count;
    FreeSpaceResult result;
    if (last < guard) {
        return result;
    }
    // A run of free bytes is looked for from guard bytes before the start, so that a hit at
    // the start itself needs the guard there. Each run of at least guard + count bytes gives
    // its hits count + 1 apart from guard bytes in; the byte at the run's end is used (or the
    // file ends there), so the next run starts behind it.
    for (std::uint64_t x = query.start - std::min<std::uint64_t>(query.start, guard);
         x <= last - guard;) {
        const std::optional<std::uint64_t> run = scan.findRun(x, guard + count, last - guard);
        if (!run) {
            break;
        }
        const std::uint64_t runEnd = scan.find(*run + guard + count, false, scan.size());
        for (std::uint64_t p = *run + guard; p + count <= runEnd && p <= last; p += count + 1) {
            result.offsets.push_back(static_cast<std::uint32_t>(p));
            if (!query.end && result.offsets.size() == kFreeSpaceHitLimit) {
                result.end = FreeSpaceEnd::TenFound;
                return result;
            }
        }
        x = runEnd + 1;
    }
    return result;
}

bool isFreeSpace(TRom& rom, std::uint32_t offset, std::uint32_t count, std::uint8_t fill) {
    const std::uint64_t end = std::uint64_t{offset} + count;
    if (end > rom.size()) {
        return false;
    }
    ByteScanner scan(rom, std::min<std::size_t>(count, kDefaultChunk), fill);
    return scan.find(offset, false, end) == end;
}

std::optional<FreeRun> largestFreeRun(TRom& rom, std::uint8_t fill, std::uint32_t from) {
    ByteScanner scan(rom, kDefaultChunk, fill);
    std::optional<FreeRun> best;
    for (std::uint64_t x = from; x < scan.size();) {
        const std::uint64_t start = scan.find(x, true, scan.size());
        if (start >= scan.size()) {
            break;
        }
        const std::uint64_t end = scan.find(start, false, scan.size());
        if (!best || end - start > best->length) {
            best = FreeRun{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
        }
        x = end;
    }
    return best;
}

FreeSpaceQuery freeSpaceQuery(std::string_view byte, std::string_view count,
                              std::string_view from, std::optional<std::string_view> to) {
    FreeSpaceQuery query;
    if (byte == "00" || byte == "FF" || byte == "ff") {
        query.value = byte == "00" ? 0x00 : 0xFF;
    } else {
        throw Error(message("space.byte", {std::string(byte)}));
    }
    const std::int32_t n = StrToInt(count);
    if (n < 1) {
        throw Error(message("space.count"));
    }
    query.count = static_cast<std::uint32_t>(n);
    query.start = offsetFromText(from);
    if (to) {
        query.end = offsetFromText(*to);
    }
    return query;
}

std::optional<std::uint32_t> nextAlignedFree(TRom& rom, std::uint32_t offset,
                                             std::uint32_t count, std::uint32_t alignment,
                                             const std::vector<ByteRange>& excluded) {
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
    ByteScanner scan(rom, kDefaultChunk, value, excluded);
    if (runEnd > scan.size() || scan.find(offset, false, runEnd) != runEnd) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(aligned);
}

Message misalignedText(std::uint32_t offset, std::uint32_t alignment,
                       std::optional<std::uint32_t> alternative, std::uint32_t count) {
    const std::string at = "$" + IntToHex(offset, 6);
    if (alternative) {
        return message("space.misaligned",
                       {at, std::to_string(alignment), "$" + IntToHex(*alternative, 6)});
    }
    return message("space.misaligned_none", {at, std::to_string(alignment), std::to_string(count)});
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
