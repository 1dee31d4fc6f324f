#include <benchmark/benchmark.h>

#include "bench/big_rom.h"
#include "core/session/session.h"
#include "core/tables/rom_bytes.h"
#include "core/tables/table_check.h"

namespace quillon::bench {
namespace {

// Opening a ROM: profile, character table, map and species names, the bank scan.
void BM_OpenRom(benchmark::State& state) {
    Session session(bigRomFolder());
    for (auto _ : state) {
        session.openRom(bigRomFolder() / "big.gba");
        benchmark::DoNotOptimize(session.romState().bankScan().mapCount());
    }
    state.counters["maps"] = session.romState().bankScan().mapCount();
    state.counters["names"] = static_cast<double>(session.romState().mapNames().size());
}
BENCHMARK(BM_OpenRom)->Unit(benchmark::kMillisecond);

// The check of the profile's tables that opening a ROM runs, alone: a fitting profile, so
// every table passes.
void BM_CheckProfileTables(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    std::size_t failures = 0;
    for (auto _ : state) {
        GameProfile profile = session.romState().profile();
        failures = tables::checkProfileTables(tables::TRomBytes(session.rom()), profile,
                                              session.rom().isFrlg())
                       .size();
        benchmark::DoNotOptimize(profile.mapBankHeader);
    }
    state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_CheckProfileTables)->Unit(benchmark::kMicrosecond);

// An 89 x 89 map whose two tilesets both differ from the previous map's: decompression,
// palettes, 1,024 block images and the map picture.
void BM_OpenLargestMapBothTilesetsChange(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    int which = 0;
    for (auto _ : state) {
        session.openMap(which ? "0.1" : "0.0", "bench");
        benchmark::DoNotOptimize(session.mapState().pictures().map().data());
        which ^= 1;
    }
}
BENCHMARK(BM_OpenLargestMapBothTilesetsChange)->Unit(benchmark::kMillisecond);

// The same size of map with both tilesets kept: the grid read and the map picture.
void BM_OpenLargestMapTilesetsKept(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    int which = 0;
    for (auto _ : state) {
        session.openMap(which ? "0.2" : "0.0", "bench");
        benchmark::DoNotOptimize(session.mapState().pictures().map().data());
        which ^= 1;
    }
}
BENCHMARK(BM_OpenLargestMapTilesetsKept)->Unit(benchmark::kMicrosecond);

void BM_MovementView(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    session.openMap("0.0", "bench");
    for (auto _ : state) {
        session.mapState().invalidatePictures();
        session.mapState().pictures().map();
        benchmark::DoNotOptimize(session.mapState().pictures().movementView().data());
    }
}
BENCHMARK(BM_MovementView)->Unit(benchmark::kMillisecond);

// The event picture of the busy 89 x 89 map: a copy of the map picture and 160 markers.
void BM_EventPicture(benchmark::State& state) {
    Session session(bigRomFolder());
    session.settings().setPersistent(false);
    session.settings().setFlag(Settings::Flag::ShowSprites, false);
    session.openRom(bigRomFolder() / "big.gba");
    session.openMap("0.0", "bench");
    session.mapState().pictures().map();
    for (auto _ : state) {
        session.mapState().eventEditor().select(EventKind::Person,
                                                static_cast<int>(state.iterations() % 40));
        benchmark::DoNotOptimize(session.mapState().eventPicture().data());
    }
}
BENCHMARK(BM_EventPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench
