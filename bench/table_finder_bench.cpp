#include <benchmark/benchmark.h>

#include <random>

#include "core/tables/table_finder.h"
#include "romkit/rom_image.h"
#include "tests/session/finder_test_rom.h"

namespace quillon::bench {
namespace {

// A 32 MiB ROM with its tables above 16 MiB and the 18 MiB below them full of words, one in
// three a ROM pointer to an aligned place anywhere in the file: millions of references and
// about a million distinct targets for the search to look at.
const std::vector<std::uint8_t>& crowdedRom() {
    static const std::vector<std::uint8_t> image = [] {
        romkit::BuiltRom built =
            testing::buildFinderRom({romkit::Family::Frlg, 0x1200000, 32u << 20, 0, 0});
        std::mt19937 rng(11);
        for (std::uint32_t at = 0x1000; at + 4 <= 0x1200000; at += 4) {
            const std::uint32_t word = rng() % 3 == 0
                                           ? romkit::romPointer((rng() % (32u << 20)) & ~3u)
                                           : static_cast<std::uint32_t>(rng());
            for (int i = 0; i < 4; ++i) {
                built.bytes[at + static_cast<std::uint32_t>(i)] =
                    static_cast<std::uint8_t>(word >> (8 * i));
            }
        }
        return built.bytes;
    }();
    return image;
}

// The whole search (index, every table kind) on the crowded ROM; must stay under a second.
void BM_FindTablesOn32MiB(benchmark::State& state) {
    const auto& image = crowdedRom();
    const tables::GameIdentity identity = tables::GameIdentity::of(image);
    for (auto _ : state) {
        const tables::FoundProfile found = tables::findTables(image, identity);
        benchmark::DoNotOptimize(found.tables.data());
        if (!found.banksFound()) {
            state.SkipWithError("the bank table was not found");
        }
    }
}
BENCHMARK(BM_FindTablesOn32MiB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench
