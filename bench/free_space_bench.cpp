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
    search(state, bigRomFolder() / "big.gba", {0x00, 4096, 0, 0xFFFFFF});
}
BENCHMARK(BM_FindFreeNoHitBigRom)->Unit(benchmark::kMillisecond);

// The whole file with a candidate every few bytes, none long enough.
void BM_FindFreeNoHitScattered(benchmark::State& state) {
    search(state, scatteredRom(), {0xFF, 16, 0, 0xFFFFFF});
}
BENCHMARK(BM_FindFreeNoHitScattered)->Unit(benchmark::kMillisecond);

// Without a range: thousands of possible hits, the search stops after ten.
void BM_FindFreeTenOfThousands(benchmark::State& state) {
    search(state, scatteredRom(), {0x00, 4, 0, std::nullopt});
}
BENCHMARK(BM_FindFreeTenOfThousands)->Unit(benchmark::kMicrosecond);

// With a range over the empty end of the game-size ROM: every second byte is a hit.
void BM_FindFreeAllHitsInRange(benchmark::State& state) {
    search(state, bigRomFolder() / "big.gba", {0xFF, 1, 0x6B0000, 0x700000});
}
BENCHMARK(BM_FindFreeAllHitsInRange)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench
