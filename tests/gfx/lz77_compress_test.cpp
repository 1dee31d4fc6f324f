#include "core/gfx/lz77_compress.h"

#include <gtest/gtest.h>

#include <random>

#include "core/errors.h"
#include "core/gfx/lz77.h"

namespace quillon {
namespace {

struct Reference {
    std::size_t length;
    std::size_t distance;
};

struct Decoded {
    std::vector<std::uint8_t> bytes;
    std::vector<Reference> references;
};

// A plain reading of the stream format, independent of the compressor: flag bits from bit 7,
// a set bit is a two-byte reference (length - 3, distance - 1), copied byte by byte.
Decoded decodeLz77(const std::vector<std::uint8_t>& s) {
    Decoded d;
    const std::size_t size = s.at(1) | s.at(2) << 8 | s.at(3) << 16;
    std::size_t pos = 4;
    while (d.bytes.size() < size) {
        const std::uint8_t flags = s.at(pos++);
        for (int bit = 7; bit >= 0 && d.bytes.size() < size; --bit) {
            if ((flags >> bit & 1) == 0) {
                d.bytes.push_back(s.at(pos++));
                continue;
            }
            const Reference ref{(s.at(pos) >> 4) + 3u,
                                ((s.at(pos) & 0xFu) << 8 | s.at(pos + 1)) + 1};
            pos += 2;
            EXPECT_LE(ref.distance, d.bytes.size()) << "reference before the first byte";
            for (std::size_t k = 0; k < ref.length && ref.distance <= d.bytes.size(); ++k) {
                d.bytes.push_back(d.bytes[d.bytes.size() - ref.distance]);
            }
            d.references.push_back(ref);
        }
    }
    return d;
}

std::vector<std::uint8_t> randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

std::vector<std::uint8_t> repeated(const std::vector<std::uint8_t>& unit, std::size_t times) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < times; ++i) {
        bytes.insert(bytes.end(), unit.begin(), unit.end());
    }
    return bytes;
}

TEST(Lz77Compress, RoundTripsAndFindsRealReferences) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        bool shrinks;
    };
    const std::vector<Case> cases = {
        {"empty", {}, false},
        {"one byte", {0x42}, false},
        {"run", std::vector<std::uint8_t>(1000, 0x11), true},
        {"period 2 (overlapping copies)", repeated({1, 2}, 300), true},
        {"period 300", repeated(randomBytes(300, 1), 8), true},
        {"random", randomBytes(5000, 2), false},
        {"blank 16 KiB tile sheet", std::vector<std::uint8_t>(0x4000, 0), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> stream = lz77Compress(c.data);
        ASSERT_GE(stream.size(), 4u);
        EXPECT_EQ(stream[0], 0x10);
        EXPECT_EQ(stream.size() % 4, 0u);
        const Decoded d = decodeLz77(stream);
        EXPECT_EQ(d.bytes, c.data);
        EXPECT_EQ(lz77Decompress(stream, c.data.size()), c.data) << "the editor's decoder";
        // The stream's own length ends within the padding to 4 bytes (an empty stream is its
        // header alone, which a reader in the ROM would take for the start of one item).
        if (!c.data.empty()) {
            const std::size_t length = lz77StreamLength(stream);
            EXPECT_LE(length, stream.size());
            EXPECT_GT(length + 4, stream.size());
        }
        if (c.shrinks) {
            EXPECT_FALSE(d.references.empty());
            EXPECT_LT(stream.size(), c.data.size() / 4);
        }
        for (const Reference& r : d.references) {
            EXPECT_TRUE(r.length >= 3 && r.length <= 18 && r.distance <= 4096);
        }
    }
}

TEST(Lz77Compress, ReachesExactlyTheWindow) {
    // The tail repeats the head at distance 4096 (allowed) or 4097 (out of reach).
    for (std::size_t gap : {4096u, 4097u}) {
        std::vector<std::uint8_t> data = randomBytes(gap, 7);
        data.insert(data.end(), data.begin(), data.begin() + 18);
        const Decoded d = decodeLz77(lz77Compress(data));
        EXPECT_EQ(d.bytes, data);
        const bool farReference = !d.references.empty() && d.references.back().distance == 4096 &&
                                  d.references.back().length == 18;
        EXPECT_EQ(farReference, gap == 4096) << gap;
    }
}

TEST(Lz77Compress, OverlapsAndVramSafeMode) {
    const std::vector<std::uint8_t> run(40, 0xAB);
    const Decoded normal = decodeLz77(lz77Compress(run));
    ASSERT_FALSE(normal.references.empty());
    EXPECT_EQ(normal.references.front().distance, 1u);
    EXPECT_EQ(normal.references.front().length, 18u);

    const Decoded safe = decodeLz77(lz77Compress(run, true));
    EXPECT_EQ(safe.bytes, run);
    ASSERT_FALSE(safe.references.empty());
    for (const Reference& r : safe.references) {
        EXPECT_GE(r.distance, 2u);
    }
}

// The length of a stream is where its last item ends: cut one byte shorter it runs out, and
// bytes behind it (another stream, padding) are not counted.
TEST(Lz77StreamLength, EndsWithTheItemThatReachesTheSize) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> stream;
        std::size_t length;
    };
    const std::vector<Case> cases = {
        {"two literals", {0x10, 2, 0, 0, 0x00, 7, 8, 0xEE, 0xEE}, 7},
        {"literal and reference", {0x10, 5, 0, 0, 0x40, 7, 0x10, 0x00, 0xEE}, 8},
        {"reference past the size", {0x10, 3, 0, 0, 0x40, 7, 0xF0, 0x00, 0xEE}, 8},
        {"size 0 reads one item", {0x10, 0, 0, 0, 0x00, 9, 0xEE}, 6},
        {"second flag byte", {0x10, 9, 0, 0, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0x00, 9, 0xEE}, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lz77StreamLength(c.stream), c.length);
        const std::span<const std::uint8_t> cut(c.stream.data(), c.length - 1);
        EXPECT_THROW(lz77StreamLength(cut), DataError);
    }
    const std::vector<std::uint8_t> before{0x10, 4, 0, 0, 0x40, 7, 0x00, 0x01};
    EXPECT_THROW(lz77StreamLength(before), DataError) << "a reference before the first byte";
}

}  // namespace
}  // namespace quillon
