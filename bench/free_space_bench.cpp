#include <benchmark/benchmark.h>

#include <fstream>
#include <random>

#include "bench/big_rom.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"

namespace quillon::bench {
namespace {

// A 16 MiB image of used bytes with short filler runs (up to 15 bytes of 00 or FF) every few
// bytes: hundreds of thousands of candidates, none of them long enough for 16 bytes.
const std::filesystem::path& scatteredRom() {
    static const std::filesystem::path file = [] {
        std::vector<std::uint8_t> bytes(16u << 20);
        std::mt19937 rng(7);
        for (std::size_t i = 0; i < bytes.size();) {
            const std::size_t used = rng() % 24 + 1;
            const std::size_t free = rng() % 16;
            const std::uint8_t filler = rng() % 2 ? 0xFF : 0x00;
            for (std::size_t k = 0; k < used && i < bytes.size(); ++k, ++i) {
                bytes[i] = static_cast<std::uint8_t>(rng() % 254 + 1);
            }
            for (std::size_t k = 0; k < free && i < bytes.size(); ++k, ++i) {
                bytes[i] = filler;
            }
        }
        const auto path = bigRomFolder() / "scattered.gba";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return path;
    }();
    return file;
}

FreeSpaceQuery query(std::uint8_t value, std::uint32_t count, std::uint32_t start,
                     std::optional<std::uint32_t> end, std::uint32_t guard = kFreeSpaceGuard) {
    FreeSpaceQuery q;
    q.guard = guard;
    q.value = value;
    q.count = count;
    q.start = start;
    q.end = end;
    return q;
}

void search(benchmark::State& state, const std::filesystem::path& file, FreeSpaceQuery query) {
    TRom rom;
    rom.Open(file);
    std::size_t hits = 0;
    for (auto _ : state) {
        const FreeSpaceResult result = findFreeSpace(rom, query);
        hits = result.offsets.size();
        benchmark::DoNotOptimize(result.offsets.data());
    }
    state.counters["hits"] = static_cast<double>(hits);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(rom.size()));
}

// The whole 16 MiB game-size ROM without a hit: its data has short runs of 00 only, and its
// free end (FF) is read through in search of the next 00.
void BM_FindFreeNoHitBigRom(benchmark::State& state) {
    search(state, bigRomFolder() / "big.gba", query(0x00, 4096, 0, 0xFFFFFF));
}
BENCHMARK(BM_FindFreeNoHitBigRom)->Unit(benchmark::kMillisecond);

// The whole file with a candidate every few bytes, none long enough.
void BM_FindFreeNoHitScattered(benchmark::State& state) {
    search(state, scatteredRom(), query(0xFF, 16, 0, 0xFFFFFF));
}
BENCHMARK(BM_FindFreeNoHitScattered)->Unit(benchmark::kMillisecond);

// The same with a count above 64 bytes, which is looked for one run after another.
void BM_FindFreeNoHitScatteredLong(benchmark::State& state) {
    search(state, scatteredRom(), query(0xFF, 100, 0, 0xFFFFFF));
}
BENCHMARK(BM_FindFreeNoHitScatteredLong)->Unit(benchmark::kMillisecond);

// Without a range: thousands of possible hits, the search stops after ten (without a guard,
// which the short runs of this file could not give).
void BM_FindFreeTenOfThousands(benchmark::State& state) {
    search(state, scatteredRom(), query(0x00, 4, 0, std::nullopt, 0));
}
BENCHMARK(BM_FindFreeTenOfThousands)->Unit(benchmark::kMicrosecond);

// With a range over the empty end of the game-size ROM: every second byte is a hit.
void BM_FindFreeAllHitsInRange(benchmark::State& state) {
    search(state, bigRomFolder() / "big.gba", query(0xFF, 1, 0x6B0000, 0x700000));
}
BENCHMARK(BM_FindFreeAllHitsInRange)->Unit(benchmark::kMillisecond);

// Where the search starts on a ROM without a profile key: the longest run of FF in one pass
// over the whole file with a run every few bytes (the repoint dialog measures it when it opens).
void BM_LongestFreeRunScattered(benchmark::State& state) {
    TRom rom;
    rom.Open(scatteredRom());
    for (auto _ : state) {
        benchmark::DoNotOptimize(largestFreeRun(rom, 0xFF, 0xC0));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(rom.size()));
}
BENCHMARK(BM_LongestFreeRunScattered)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench
