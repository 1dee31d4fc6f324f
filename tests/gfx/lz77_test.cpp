#include "core/gfx/lz77.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "core/errors.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes repeat(std::uint8_t value, std::size_t count) { return Bytes(count, value); }

// A greedy encoder written independently of the decoder, for round trips.
Bytes compress(const Bytes& plain) {
    Bytes out{0x10, static_cast<std::uint8_t>(plain.size()),
              static_cast<std::uint8_t>(plain.size() >> 8),
              static_cast<std::uint8_t>(plain.size() >> 16)};
    std::size_t pos = 0;
    while (pos < plain.size()) {
        const std::size_t flagAt = out.size();
        out.push_back(0);
        for (int bit = 7; bit >= 0 && pos < plain.size(); --bit) {
            std::size_t bestLen = 0, bestDist = 0;
            for (std::size_t d = 1; d <= std::min<std::size_t>(pos, 4096); ++d) {
                std::size_t len = 0;
                while (len < 18 && pos + len < plain.size() &&
                       plain[pos + len] == plain[pos + len - d]) {
                    ++len;
                }
                if (len > bestLen) {
                    bestLen = len;
                    bestDist = d;
                }
            }
            if (bestLen >= 3) {
                out[flagAt] |= static_cast<std::uint8_t>(1 << bit);
                out.push_back(
                    static_cast<std::uint8_t>(((bestLen - 3) << 4) | ((bestDist - 1) >> 8)));
                out.push_back(static_cast<std::uint8_t>(bestDist - 1));
                pos += bestLen;
            } else {
                out.push_back(plain[pos++]);
            }
        }
    }
    return out;
}

struct Case {
    const char* name;
    Bytes stream;
    std::size_t capacity;
    Bytes expected;
};

// A case prints as its name in test lists and failure messages.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class Lz77Cases : public ::testing::TestWithParam<Case> {};

TEST_P(Lz77Cases, DecodesAsDocumented) {
    const Case& c = GetParam();
    EXPECT_EQ(lz77Decompress(c.stream, c.capacity), c.expected);
}

// Size 16: eight literals, then a reference of 8 bytes at distance 1.
const Bytes kEightLiteralsThenRef{0x10, 0x10, 0x00, 0x00, 0x00, 0x55, 0x55, 0x55,
                                  0x55, 0x55, 0x55, 0x55, 0x55, 0x80, 0x50, 0x00};

INSTANTIATE_TEST_SUITE_P(
    Lz77, Lz77Cases,
    ::testing::Values(
        // Distance 1 after one literal repeats it: 1 + 18 equal bytes.
        Case{"DistanceOneRun", {0x10, 19, 0, 0, 0x40, 0xAA, 0xF0, 0x00}, 65536, repeat(0xAA, 19)},
        Case{"EightLiteralsThenOverlappingRef", kEightLiteralsThenRef, 65536, repeat(0x55, 16)},
        // The size test stops inside the reference; the next (broken) reference is never read.
        Case{"StopsInsideReference",
             {0x10, 5, 0, 0, 0x60, 0xAA, 0xF0, 0x00, 0xFF, 0xFF},
             65536,
             repeat(0xAA, 5)},
        // Another type byte decodes the same way.
        Case{"TypeByteIgnored", {0x00, 2, 0, 0, 0x00, 1, 2}, 65536, Bytes{1, 2}},
        // A declared size above the capacity is limited to it.
        Case{"SizeLimitedToCapacity", {0x10, 0, 1, 0, 0x40, 7, 0xF0, 0x00}, 4, repeat(7, 4)},
        // A stream cut short decodes the zeros that follow it.
        Case{"ShortStreamReadsZeros",
             {0x10, 12, 0, 0, 0x00, 'A', 'B'},
             65536,
             Bytes{'A', 'B', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Header size 0 still decodes the first item but yields nothing.
        Case{"SizeZero", {0x10, 0, 0, 0, 0x00, 9}, 65536, Bytes{}},
        Case{"CapacityZero", {0x10, 4, 0, 0, 0x80, 0x00, 0x00}, 0, Bytes{}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(Lz77, ReferenceBeforeStartIsADataError) {
    // Two literals, then distance 3.
    const Bytes stream{0x10, 8, 0, 0, 0x20, 1, 2, 0x00, 0x02};
    try {
        lz77Decompress(stream, 65536);
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_EQ(e.message().id, "compression.reference_before_start") << e.what();
    }
    // Distance 2 after two literals reaches exactly the first byte: fine.
    const Bytes ok{0x10, 5, 0, 0, 0x20, 1, 2, 0x00, 0x01};
    EXPECT_EQ(lz77Decompress(ok, 65536), (Bytes{1, 2, 1, 2, 1}));
    // Size 0 still decodes the first item, here a reference before any output.
    EXPECT_THROW(lz77Decompress(Bytes{0x10, 0, 0, 0, 0x80, 0x00, 0x00}, 65536), DataError);
}

TEST(Lz77, StreamPastTheInputWindowIsADataError) {
    // All literals: 64 KiB of output needs more than 64 KiB of input.
    Bytes stream{0x10, 0x00, 0x00, 0x01};
    EXPECT_THROW(lz77Decompress(stream, 65536), DataError);
    // Bytes beyond the window are never read, even when the caller supplies them.
    stream.resize(80000, 0);
    EXPECT_THROW(lz77Decompress(stream, 65536), DataError);
}

TEST(Lz77, RoundTripsEncodedData) {
    std::mt19937 rng(7);
    for (std::size_t size : {1u, 17u, 4095u, 8192u, 16384u}) {
        Bytes plain(size);
        for (auto& b : plain) {
            b = static_cast<std::uint8_t>(rng() % 4);  // few symbols: short references abound
        }
        for (std::size_t i = 3000; i + 300 < size; i += 1000) {
            // Long repeats far back use the high bits of the distance.
            std::copy_n(plain.begin() + static_cast<long>(i - 3000), 300,
                        plain.begin() + static_cast<long>(i));
        }
        EXPECT_EQ(lz77Decompress(compress(plain), 65536), plain) << size;
    }
}

}  // namespace
}  // namespace quillon
