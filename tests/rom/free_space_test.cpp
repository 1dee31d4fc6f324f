#include <gtest/gtest.h>

#include <random>

#include "core/errors.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"

namespace quillon {
namespace {

// The image needs its cartridge title at 0xA0: at least 0xC0 bytes.
TRom memoryRom(std::vector<std::uint8_t> bytes) {
    TRom rom;
    rom.attach(std::make_unique<MemoryRomFile>(std::move(bytes)), "free.gba");
    return rom;
}

// The search as the user would do it by hand: one candidate after another, byte by byte.
FreeSpaceResult byHand(const std::vector<std::uint8_t>& bytes, const FreeSpaceQuery& q) {
    FreeSpaceResult result;
    const std::uint64_t last = q.end.value_or(kFreeSpaceDefaultEnd);
    for (std::uint64_t p = q.start; p <= last;) {
        std::uint64_t k = 0;
        while (k < q.count && p + k < bytes.size() && bytes[p + k] == q.value) {
            ++k;
        }
        if (k < q.count && p + k >= bytes.size()) {
            break;  // the next byte to compare lies past the end of the file
        }
        if (k == q.count) {
            result.offsets.push_back(static_cast<std::uint32_t>(p));
            if (!q.end && result.offsets.size() == 10) {
                result.end = FreeSpaceEnd::TenFound;
                break;
            }
        }
        p += k + 1;
    }
    return result;
}

// Bytes with free runs of every length between used bytes.
std::vector<std::uint8_t> runsOf(std::mt19937& rng, std::size_t size) {
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < size) {
        const int kind = static_cast<int>(rng() % 4);
        const std::size_t length = kind == 3 ? rng() % (rng() % 8 == 0 ? 700 : 40) + 1
                                             : rng() % 6 + 1;
        const std::uint8_t value = kind == 0 ? 0x00 : kind == 1 ? 0xFF : kind == 2 ? 0x5A : 0xFF;
        for (std::size_t i = 0; i < length && bytes.size() < size; ++i) {
            bytes.push_back(kind == 2 ? static_cast<std::uint8_t>(rng()) : value);
        }
    }
    return bytes;
}

void expectSame(const FreeSpaceResult& want, const FreeSpaceResult& got, const std::string& what) {
    EXPECT_EQ(want.offsets, got.offsets) << what;
    EXPECT_EQ(want.end, got.end) << what;
}

TEST(FreeSpaceSearch, MatchesTheSearchByHandOnRandomRuns) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 600; ++round) {
        const auto bytes = runsOf(rng, rng() % 3000 + 0xC0);
        TRom rom = memoryRom(bytes);
        FreeSpaceQuery q;
        q.value = rng() % 2 ? 0xFF : 0x00;
        q.count = static_cast<std::uint32_t>(rng() % 4 == 0 ? rng() % 500 + 1 : rng() % 24 + 1);
        q.start = static_cast<std::uint32_t>(rng() % (bytes.size() + 4));
        if (rng() % 2) {
            q.end = static_cast<std::uint32_t>(q.start + rng() % (bytes.size() + 16)) - 3;
        }
        const auto want = byHand(bytes, q);
        for (std::size_t chunk : {std::size_t{64}, std::size_t{65}, std::size_t{127},
                                  std::size_t{1000}, std::size_t{1} << 20}) {
            expectSame(want, findFreeSpace(rom, q, chunk),
                       "round " + std::to_string(round) + " chunk " + std::to_string(chunk));
        }
    }
}

TEST(FreeSpaceSearch, RunsOfEveryShape) {
    // Filler runs in used bytes (0x11); each case: run start, run length, value searched.
    struct Case {
        const char* what;
        std::uint32_t runStart, runLength, count;
        std::uint32_t start;
        std::optional<std::uint32_t> end;
        std::vector<std::uint32_t> hits;
        FreeSpaceEnd end_ = FreeSpaceEnd::Finished;
    } cases[] = {
        {"2n+1 run gives p and p+n+1", 100, 9, 4, 0, 300, {100, 105}},
        {"2n run gives p only", 100, 8, 4, 0, 300, {100}},
        {"n=1 lists every second byte", 100, 7, 1, 0, 300, {100, 102, 104, 106}},
        {"hit at the end offset extends past it", 100, 50, 10, 0, 122, {100, 111, 122}},
        {"start inside a run", 100, 20, 3, 105, 300, {105, 109, 113, 117}},
        {"start past the end offset", 100, 20, 3, 200, 150, {}},
        {"no range: ten hits then stop", 100, 200, 1, 0, std::nullopt,
         {100, 102, 104, 106, 108, 110, 112, 114, 116, 118}, FreeSpaceEnd::TenFound},
        {"no range: the file ends after fewer hits", 1000, 24, 5, 0, std::nullopt,
         {1000, 1006, 1012, 1018}},
        {"run at the end of the file cut short", 1018, 6, 8, 0, 5000, {}},
        {"range end past the end of the file", 1000, 24, 3, 990, 9000,
         {1000, 1004, 1008, 1012, 1016, 1020}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(1024, 0x11);
        for (std::uint32_t i = 0; i < c.runLength; ++i) {
            bytes[c.runStart + i] = 0xFF;
        }
        TRom rom = memoryRom(bytes);
        const FreeSpaceQuery q{0xFF, c.count, c.start, c.end};
        const auto got = findFreeSpace(rom, q, 100);
        EXPECT_EQ(c.hits, got.offsets) << c.what;
        EXPECT_EQ(c.end_, got.end) << c.what;
        expectSame(byHand(bytes, q), got, c.what);
    }
}

TEST(FreeSpaceSearch, RunsAcrossBlockBoundariesOfTheFile) {
    // Larger than two reading blocks, with runs that straddle each boundary.
    std::vector<std::uint8_t> bytes((std::size_t{1} << 21) + 5000, 0x33);
    for (std::size_t boundary : {std::size_t{1} << 20, std::size_t{2} << 20}) {
        std::fill(bytes.begin() + static_cast<long>(boundary - 700),
                  bytes.begin() + static_cast<long>(boundary + 900), 0x00);
    }
    TRom rom = memoryRom(bytes);
    for (std::uint32_t count : {1u, 255u, 699u, 700u, 1599u, 1600u, 1601u}) {
        const FreeSpaceQuery q{0x00, count, 0, 0x300000};
        expectSame(byHand(bytes, q), findFreeSpace(rom, q), "count " + std::to_string(count));
    }
}

TEST(FreeSpaceSearch, RefusesWhatCannotBeSearched) {
    TRom rom = memoryRom(std::vector<std::uint8_t>(0x100, 0xFF));
    EXPECT_THROW(findFreeSpace(rom, {0xFF, 0, 0, std::nullopt}), Error);
    EXPECT_THROW(findFreeSpace(rom, {0x12, 4, 0, std::nullopt}), Error);
}

TEST(FreeSpaceQueryText, ReadsTheFieldsAsTyped) {
    const auto q = freeSpaceQuery("00", "12", "$6B0000", std::string_view("7340032"));
    EXPECT_EQ(0x00, q.value);
    EXPECT_EQ(12u, q.count);
    EXPECT_EQ(0x6B0000u, q.start);
    EXPECT_EQ(std::optional<std::uint32_t>(0x700000), q.end);
    EXPECT_FALSE(freeSpaceQuery("FF", "1", "0", std::nullopt).end.has_value());

    struct Bad {
        const char *byte, *count, *from, *to;
    } bad[] = {
        {"FF", "zwölf", "0", nullptr}, {"FF", "0", "0", nullptr},   {"FF", "-3", "0", nullptr},
        {"FF", "4", "$XYZ", nullptr},  {"FF", "4", "-1", nullptr},  {"FF", "4", "0", "$70000G"},
        {"FF", "4", "0", "-5"},        {"7F", "4", "0", nullptr},   {"FF", "", "0", nullptr},
    };
    for (const Bad& b : bad) {
        const auto to = b.to ? std::optional<std::string_view>(b.to) : std::nullopt;
        EXPECT_THROW(freeSpaceQuery(b.byte, b.count, b.from, to), Error)
            << b.byte << " " << b.count << " " << b.from << " " << (b.to ? b.to : "");
    }
}

TEST(AlignedFreeSpace, OffersTheNextAlignedStartInTheSameRun) {
    // Used bytes, a run of FF at 0x101..0x10F, used byte, a run of 00 at 0x111..0x11F.
    std::vector<std::uint8_t> bytes(0x140, 0x22);
    std::fill(bytes.begin() + 0x101, bytes.begin() + 0x110, 0xFF);
    std::fill(bytes.begin() + 0x111, bytes.begin() + 0x120, 0x00);
    TRom rom = memoryRom(bytes);
    struct Case {
        std::uint32_t offset, count, alignment;
        std::optional<std::uint32_t> want;
    } cases[] = {
        {0x101, 4, 4, 0x104},        {0x101, 12, 4, 0x104},       {0x101, 13, 4, std::nullopt},
        {0x101, 4, 2, 0x102},        {0x104, 12, 4, 0x104},       {0x10F, 1, 2, std::nullopt},
        {0x111, 14, 2, 0x112},       {0x111, 15, 2, std::nullopt}, {0x100, 1, 1, std::nullopt},
        {0x13F, 1, 4, std::nullopt}, {0x200, 1, 4, std::nullopt}, {0x105, 3, 1, 0x105},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.want, nextAlignedFree(rom, c.offset, c.count, c.alignment))
            << std::hex << c.offset << " count " << c.count << " alignment " << c.alignment;
    }
}

TEST(AlignedFreeSpace, RequireAlignedNamesTheAlternative) {
    std::vector<std::uint8_t> bytes(0x140, 0x22);
    std::fill(bytes.begin() + 0x101, bytes.begin() + 0x110, 0xFF);
    TRom rom = memoryRom(bytes);
    EXPECT_NO_THROW(requireAligned(rom, 0x104, 64, 4));  // aligned: the caller owns the room
    EXPECT_NO_THROW(requireAligned(rom, 0x101, 4, 1));
    try {
        requireAligned(rom, 0x101, 4, 4);
        FAIL() << "misaligned offset accepted";
    } catch (const Error& e) {
        EXPECT_EQ("Der Offset $000101 ist nicht durch 4 teilbar; der nächste passende Offset im "
                  "selben freien Bereich ist $000104.",
                  std::string(e.what()));
    }
    try {
        requireAligned(rom, 0x10D, 4, 2);
        FAIL() << "misaligned offset accepted";
    } catch (const Error& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("kein passender Offset für 4"));
    }
}

}  // namespace
}  // namespace quillon
