#include <benchmark/benchmark.h>

#include <sstream>

#include "bench/big_rom.h"
#include "cli/cli_render_all.h"
#include "core/session/session.h"

namespace quillon::bench {
namespace {

// The pictures of a whole game in one run: every one of the 512 maps opened, drawn and written
// as a PNG, with the index. Each run starts from a freshly opened ROM, so every tileset pair is
// decoded anew.
void BM_RenderAllMaps(benchmark::State& state) {
    const std::filesystem::path out = bigRomFolder() / "pictures";
    int written = 0;
    for (auto _ : state) {
        Session session(bigRomFolder());
        session.settings().setPersistent(false);
        session.openRom(bigRomFolder() / "big.gba");
        std::ostringstream errors;
        written = cli::renderAll(session, out, {}, errors, nullptr).written;
        benchmark::DoNotOptimize(written);
    }
    state.counters["maps"] = written;
}
BENCHMARK(BM_RenderAllMaps)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quillon::bench
