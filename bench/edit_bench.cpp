#include <benchmark/benchmark.h>

#include "bench/big_rom.h"
#include "core/session/session.h"

namespace quillon::bench {
namespace {

// One cell painted into the largest map and its picture brought up to date.
void BM_PaintOneCell(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    session.openMap("0.0", "bench");
    session.mapState().pictures().map();
    session.mapState().pictures().movementView();
    int i = 0;
    for (auto _ : state) {
        session.mapState().editor().selectBlock(i % 2 ? 5 : 6);
        session.mapState().editor().beginStroke();
        benchmark::DoNotOptimize(session.mapState().editor().paint(40, 40));
        session.mapState().editor().endStroke();
        benchmark::DoNotOptimize(session.mapState().pictures().map().data());
        ++i;
    }
}
BENCHMARK(BM_PaintOneCell)->Unit(benchmark::kMicrosecond);

// A fill over the whole 89 x 89 map and the redraw of its picture.
void BM_FillWholeMap(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    session.openMap("0.2", "bench");  // one block in every cell
    int i = 0;
    for (auto _ : state) {
        session.mapState().editor().selectBlock(i % 2 ? 7 : 1);
        benchmark::DoNotOptimize(session.mapState().editor().fillBlocks(44, 44));
        benchmark::DoNotOptimize(session.mapState().pictures().map().data());
        ++i;
    }
}
BENCHMARK(BM_FillWholeMap)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon::bench
