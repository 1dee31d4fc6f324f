#include <gtest/gtest.h>

#include <array>
#include <random>

#include "core/base/numbers.h"
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

FreeSpaceQuery ask(std::uint8_t value, std::uint32_t count, std::uint32_t start,
                   std::optional<std::uint32_t> end, std::uint32_t guard = kFreeSpaceGuard) {
    FreeSpaceQuery q;
    q.value = value;
    q.count = count;
    q.start = start;
    q.end = end;
    q.guard = guard;
    return q;
}

// The search as the user would do it by hand: each candidate from the start, a hit when the
// guard bytes before it and the count bytes from it are all free (the value, outside every
// excluded range); after a hit the next candidate is count + 1 further.
FreeSpaceResult byHand(const std::vector<std::uint8_t>& bytes, const FreeSpaceQuery& q) {
    std::vector<std::uint64_t> freeFrom(bytes.size() + 1, 0);  // free bytes in a row from i
    for (std::size_t i = bytes.size(); i-- > 0;) {
        bool excluded = false;
        for (const ByteRange& r : q.excluded) {
            excluded = excluded || (i >= r.begin && i < r.end);
        }
        freeFrom[i] = bytes[i] == q.value && !excluded ? freeFrom[i + 1] + 1 : 0;
    }
    FreeSpaceResult result;
    const std::uint64_t last = q.end.value_or(bytes.size());
    for (std::uint64_t p = q.start; p <= last && p < bytes.size();) {
        if (p < q.guard || freeFrom[p - q.guard] < std::uint64_t{q.guard} + q.count) {
            ++p;
            continue;
        }
        result.offsets.push_back(static_cast<std::uint32_t>(p));
        if (!q.end && result.offsets.size() == 10) {
            result.end = FreeSpaceEnd::TenFound;
            break;
        }
        p += q.count + 1;
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
        q.guard = std::array<std::uint32_t, 5>{0, 1, 7, 32, 100}[rng() % 5];
        for (std::size_t n = rng() % 4; n > 0; --n) {
            const auto begin = static_cast<std::uint32_t>(rng() % bytes.size());
            q.excluded.push_back({begin, begin + static_cast<std::uint32_t>(rng() % 300), "t"});
        }
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
        const FreeSpaceQuery q = ask(0xFF, c.count, c.start, c.end, 0);
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
    for (std::uint32_t count : {1u, 63u, 64u, 65u, 255u, 699u, 700u, 1599u, 1600u, 1601u}) {
        const FreeSpaceQuery q = ask(0x00, count, 0, 0x300000, 0);
        expectSame(byHand(bytes, q), findFreeSpace(rom, q), "count " + std::to_string(count));
    }
}

TEST(FreeSpaceSearch, RefusesWhatCannotBeSearched) {
    TRom rom = memoryRom(std::vector<std::uint8_t>(0x100, 0xFF));
    EXPECT_THROW(findFreeSpace(rom, ask(0xFF, 0, 0, std::nullopt)), Error);
    EXPECT_THROW(findFreeSpace(rom, ask(0x12, 4, 0, std::nullopt)), Error);
}

TEST(FreeSpaceSearch, KeepsAGuardAndLeavesExcludedTablesAlone) {
    // One run of FF in used bytes (0x11); the default guard of 32 filler bytes before a hit.
    struct Case {
        const char* what;
        std::uint32_t runStart, runLength, count, start;
        std::vector<ByteRange> excluded;
        std::vector<std::uint32_t> hits;
    } cases[] = {
        {"the run's first guard bytes are not offered", 100, 60, 4, 0, {},
         {132, 137, 142, 147, 152}},
        {"a run of exactly guard + count bytes", 100, 36, 4, 0, {}, {132}},
        {"a run one byte shorter", 100, 35, 4, 0, {}, {}},
        {"a start with the guard before it is offered", 100, 60, 4, 140, {},
         {140, 145, 150, 155}},
        {"a start too close to the run's start", 100, 60, 4, 110, {}, {132, 137, 142, 147, 152}},
        {"a table inside the run splits it", 100, 200, 4, 0, {{150, 170, "t"}},
         {132, 137, 142, 202, 207, 212}},
        {"a table before the run counts as used", 100, 60, 4, 0, {{90, 110, "t"}},
         {142, 147, 152}},
        {"a hit may not reach into a table", 100, 60, 4, 0, {{140, 141, "t"}}, {132}},
        {"a run inside a table gives nothing", 100, 60, 4, 0, {{0, 400, "t"}}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(400, 0x11);
        std::fill_n(bytes.begin() + c.runStart, c.runLength, 0xFF);
        TRom rom = memoryRom(bytes);
        FreeSpaceQuery q = ask(0xFF, c.count, c.start, 215);
        q.excluded = c.excluded;
        const auto got = findFreeSpace(rom, q, 64);
        EXPECT_EQ(c.hits, got.offsets) << c.what;
        expectSame(byHand(bytes, q), got, c.what);
    }
}

TEST(FreeSpaceSearch, WithoutAnEndLooksThroughTheWholeFile) {
    // A 32 MiB image: its only free run lies above 16 MiB, and hits there are shown with
    // seven digits.
    std::vector<std::uint8_t> bytes(std::size_t{32} << 20, 0x11);
    std::fill_n(bytes.begin() + 0x1F00000, 0x100, 0xFF);
    std::fill_n(bytes.end() - 40, 40, 0xFF);  // up to the very last byte
    TRom rom = memoryRom(bytes);
    const FreeSpaceResult found = findFreeSpace(rom, ask(0xFF, 8, 0x100, std::nullopt));
    EXPECT_EQ((std::vector<std::uint32_t>{0x1F00020, 0x1F00029, 0x1F00032, 0x1F0003B, 0x1F00044,
                                          0x1F0004D, 0x1F00056, 0x1F0005F, 0x1F00068, 0x1F00071}),
              found.offsets);
    const std::uint32_t last = static_cast<std::uint32_t>(bytes.size()) - 8;
    EXPECT_EQ(std::vector<std::uint32_t>{last},
              findFreeSpace(rom, ask(0xFF, 8, 0x1FFFFF0, std::nullopt)).offsets);
    EXPECT_EQ("$1F00020", hexOffset(found.offsets.front()));
}

TEST(FreeSpaceCheck, IsFreeOnlyWhenEveryByteHoldsTheFill) {
    std::vector<std::uint8_t> bytes(0x200, 0x11);
    std::fill_n(bytes.begin() + 0x100, 0x20, 0xFF);
    std::fill_n(bytes.begin() + 0x1F0, 0x10, 0x00);  // the file's last 16 bytes
    TRom rom = memoryRom(bytes);
    struct Case {
        std::uint32_t offset, count;
        std::uint8_t fill;
        bool free;
    } cases[] = {
        {0x100, 0x20, 0xFF, true},  {0x100, 0x21, 0xFF, false}, {0x0FF, 2, 0xFF, false},
        {0x110, 0x10, 0x00, false}, {0x1F0, 0x10, 0x00, true},  {0x1F0, 0x11, 0x00, false},
        {0x1FF, 1, 0x00, true},     {0x200, 1, 0x00, false},    {0x200, 0, 0x00, true},
        {0x201, 0, 0x00, false},    {0xFFFFFFF0, 0x20, 0xFF, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.free, isFreeSpace(rom, c.offset, c.count, c.fill))
            << std::hex << c.offset << " count " << c.count;
    }
}

TEST(FreeSpaceCheck, LargestRunIsFoundInOnePass) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;  // start, length
        std::uint32_t from;
        std::optional<std::uint32_t> start;
        std::uint32_t length;
    } cases[] = {
        {"the longest wins", {{0x1000, 0x200}, {0x30000, 0x5000}, {0x50000, 0x4FFF}}, 0xC0,
         0x30000, 0x5000},
        {"the first of equal ones", {{0x2000, 0x300}, {0x9000, 0x300}}, 0xC0, 0x2000, 0x300},
        {"a run across reading blocks", {{0xFFF00, 0x20000}, {0x150000, 0x1000}}, 0xC0, 0xFFF00,
         0x20000},
        {"a run to the end of the file", {{0x1000, 0x200}, {0x1F0000, 0x10000}}, 0xC0, 0x1F0000,
         0x10000},
        {"runs before from are passed over", {{0x1000, 0x9000}, {0x20000, 0x10}}, 0x11000,
         0x20000, 0x10},
        {"no fill byte at all", {}, 0xC0, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(0x200000, 0x11);
        for (const auto& [start, length] : c.runs) {
            std::fill_n(bytes.begin() + start, length, 0xFF);
        }
        TRom rom = memoryRom(bytes);
        const std::optional<FreeRun> run = largestFreeRun(rom, 0xFF, c.from);
        EXPECT_EQ(c.start, run ? std::optional(run->start) : std::nullopt) << c.what;
        EXPECT_EQ(c.length, run ? run->length : 0) << c.what;
    }
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
    // A table inside the run ends it: the aligned start may not reach into the table.
    const std::vector<ByteRange> table{{0x10C, 0x110, "t"}};
    EXPECT_EQ(std::optional<std::uint32_t>(0x104), nextAlignedFree(rom, 0x101, 8, 4, table));
    EXPECT_EQ(std::nullopt, nextAlignedFree(rom, 0x101, 9, 4, table));
    EXPECT_EQ(std::nullopt, nextAlignedFree(rom, 0x10A, 2, 4, table));
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
