#include "core/gfx/lz77.h"

#include <algorithm>
#include <string>

#include "core/errors.h"

namespace quillon {

namespace {

// A back reference that would copy from before the first output byte.
DataError referenceBeforeStart(std::uint64_t at, std::uint64_t distance) {
    return DataError(
        message("compression.reference_before_start", {std::to_string(at), std::to_string(distance)}));
}

// Reads the stream through the input window: supplied bytes, then zeros up to the window's
// end, then an error.
class WindowReader {
public:
    explicit WindowReader(std::span<const std::uint8_t> stream)
        : m_stream(stream.first(std::min(stream.size(), kLz77Window))) {}

    std::uint8_t next() {
        if (m_pos < m_stream.size()) {
            return m_stream[m_pos++];
        }
        if (m_pos >= kLz77Window) {
            throw DataError(message("compression.past_window", {std::to_string(kLz77Window)}));
        }
        ++m_pos;
        return 0;
    }

private:
    std::span<const std::uint8_t> m_stream;
    std::size_t m_pos = 4;
};

}  // namespace

std::uint32_t lz77DeclaredSize(std::span<const std::uint8_t> stream) {
    // Header bytes missing from a short stream read as zero, like any byte past it.
    std::uint32_t size = 0;
    for (std::size_t i = 1; i < 4 && i < stream.size(); ++i) {
        size |= static_cast<std::uint32_t>(stream[i]) << (8 * (i - 1));
    }
    return size;
}

std::size_t lz77Decompress(std::span<const std::uint8_t> stream, std::span<std::uint8_t> out) {
    const std::size_t limit = std::min<std::size_t>(lz77DeclaredSize(stream), out.size());
    if (out.empty()) {
        return 0;
    }
    WindowReader in(stream);
    std::size_t count = 0;
    // The size test follows every output byte, so the first item is decoded even for size 0.
    for (;;) {
        const std::uint8_t flags = in.next();
        for (int bit = 7; bit >= 0; --bit) {
            if (((flags >> bit) & 1) == 0) {
                out[count++] = in.next();
                if (count >= limit) {
                    return limit;
                }
                continue;
            }
            const std::uint8_t b0 = in.next();
            const std::uint8_t b1 = in.next();
            const std::size_t length = (b0 >> 4) + 3;
            const std::size_t distance = (((b0 & 0x0F) << 8) | b1) + 1;
            if (distance > count) {
                throw referenceBeforeStart(count, distance);
            }
            for (std::size_t i = 0; i < length; ++i) {
                out[count] = out[count - distance];
                ++count;
                if (count >= limit) {
                    return limit;
                }
            }
        }
    }
}

Lz77Scan lz77Scan(std::span<const std::uint8_t> stream) {
    Lz77Scan scan;
    const std::uint64_t size = lz77DeclaredSize(stream);
    std::size_t pos = 4;
    const auto need = [&](std::size_t bytes) {
        if (pos + bytes > stream.size()) {
            throw DataError(message("compression.past_end", {std::to_string(stream.size())}));
        }
    };
    std::uint64_t count = 0;
    for (;;) {
        need(1);
        const std::uint8_t flags = stream[pos++];
        for (int bit = 7; bit >= 0; --bit) {
            if (((flags >> bit) & 1) == 0) {
                need(1);
                ++pos;
                ++count;
            } else {
                need(2);
                const std::uint64_t distance = (((stream[pos] & 0x0F) << 8) | stream[pos + 1]) + 1;
                if (distance > count) {
                    throw referenceBeforeStart(count, distance);
                }
                scan.nearReferences = scan.nearReferences || distance == 1;
                count += (stream[pos] >> 4) + 3;
                pos += 2;
            }
            if (count >= size) {
                scan.length = pos;
                return scan;
            }
        }
    }
}

std::size_t lz77StreamLength(std::span<const std::uint8_t> stream) {
    return lz77Scan(stream).length;
}

std::vector<std::uint8_t> lz77Decompress(std::span<const std::uint8_t> stream,
                                         std::size_t capacity) {
    std::size_t size = std::min<std::size_t>(lz77DeclaredSize(stream), capacity);
    // One spare byte holds the item a size-0 stream still decodes.
    std::vector<std::uint8_t> out(std::max<std::size_t>(size, capacity == 0 ? 0 : 1));
    lz77Decompress(stream, out);
    out.resize(size);
    return out;
}

}  // namespace quillon
