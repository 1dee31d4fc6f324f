#include <benchmark/benchmark.h>

#include "bench/big_rom.h"
#include "core/edit/map_attributes.h"
#include "core/session.h"

namespace quillon::bench {
namespace {

// One weather change of the open map, written into the 16 MiB ROM file and brought onto the
// disk, as the Header tab does it.
void BM_WriteWeather(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    session.openMap("0.0", "bench");
    const int weather = session.map().header.weather();
    int i = 0;
    for (auto _ : state) {
        map_attributes::writeByte(session.rom(), session.mapState(), HeaderByte::Weather,
                                  i % 2 ? weather : 0x0B);
        ++i;
    }
    map_attributes::writeByte(session.rom(), session.mapState(), HeaderByte::Weather, weather);
}
BENCHMARK(BM_WriteWeather)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon::bench
