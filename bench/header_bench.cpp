#include <benchmark/benchmark.h>

#include "bench/big_rom.h"
#include "core/writers/map_attributes.h"
#include "core/session/session.h"

namespace quillon::bench {
namespace {

void writeWeather(benchmark::State& state, Session& session) {
    session.openMap("0.0", "bench");
    const int weather = session.mapState().map().header.weather();
    int i = 0;
    for (auto _ : state) {
        map_attributes::writeByte(session.rom(), session.mapState(), HeaderByte::Weather,
                                  i % 2 ? weather : 0x0B);
        ++i;
    }
    map_attributes::writeByte(session.rom(), session.mapState(), HeaderByte::Weather, weather);
}

// One weather change of the open map, written into the 16 MiB ROM file and brought onto the
// disk (fsync), as the Header tab does it. The wall time is mostly the disk's.
void BM_WriteWeather(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    writeWeather(state, session);
}
BENCHMARK(BM_WriteWeather)->Unit(benchmark::kMicrosecond);

// The same on an image held in memory: the editor's own part of the write.
void BM_WriteWeatherInMemory(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(buildBigRom().memoryFile(), "big.gba");
    writeWeather(state, session);
}
BENCHMARK(BM_WriteWeatherInMemory)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon::bench
