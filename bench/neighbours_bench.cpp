#include <benchmark/benchmark.h>

#include "bench/big_rom.h"
#include "core/connections/neighbour_band.h"
#include "core/map/block_grid.h"
#include "core/state/neighbours.h"
#include "core/session/session.h"

namespace quillon::bench {
namespace {

// Maps 0.0 and 0.1 (40 x 30), each with a neighbour of the same size on all four edges:
// 0.2-0.5 around 0.0, 0.6-0.9 around 0.1. Every one of the ten maps has a tileset pair of its
// own, so opening 0.0 after 0.1 (and back) decodes both tilesets of the map and of each
// neighbour.
romkit::BuiltRom buildNeighbourRom() {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON NBR", "QNBE", 8u << 20);
    for (int seed = 0; seed < 20; ++seed) {
        b.addTileset(benchTileset(seed, 512));
    }
    for (int map = 0; map < 10; ++map) {
        romkit::MapSpec m;
        m.map = map;
        m.width = 40;
        m.height = 30;
        m.primary = 2 * map;
        m.secondary = 2 * map + 1;
        for (int i = 0; i < m.width * m.height; ++i) {
            m.grid.push_back(static_cast<std::uint16_t>((i * 37 + map) % 1024));
        }
        if (map < 2) {
            const auto first = static_cast<std::uint8_t>(2 + 4 * map);
            m.connections = std::vector<Connection>{{1, 3, 0, first, 0},
                                                    {2, -5, 0, std::uint8_t(first + 1), 0},
                                                    {3, 2, 0, std::uint8_t(first + 2), 0},
                                                    {4, -4, 0, std::uint8_t(first + 3), 0}};
        }
        b.addMap(m);
    }
    return b.build();
}

const std::filesystem::path& folder() { return romFolder("neighbours", buildNeighbourRom); }

// Opening a map and drawing it with its four neighbours around it, as the Map tab does with
// "Nachbarn anzeigen": the map (both tilesets new), the band (eight tilesets new) and the
// composed picture.
void BM_OpenMapWithFourNeighbours(benchmark::State& state) {
    Session session(folder());
    session.openRom(folder() / "rom.gba");
    int which = 0;
    Bitmap composed;
    for (auto _ : state) {
        session.openMap(which ? "0.1" : "0.0", "bench");
        const NeighbourBand band = drawNeighbourBand(session.rom(), session.romState(),
                                                     session.data(), session.mapState());
        composeNeighbourPicture(band, session.mapState().pictures().map(), composed);
        benchmark::DoNotOptimize(composed.data());
        if (band.neighbours.size() != 4) {
            state.SkipWithError("a neighbour is missing");
        }
        which ^= 1;
    }
}
BENCHMARK(BM_OpenMapWithFourNeighbours)->Unit(benchmark::kMillisecond);

// The band alone: four neighbours read and drawn, each pair of tilesets decoded.
void BM_NeighbourBandOnly(benchmark::State& state) {
    Session session(folder());
    session.openRom(folder() / "rom.gba");
    session.openMap("0.0", "bench");
    for (auto _ : state) {
        const NeighbourBand band = drawNeighbourBand(session.rom(), session.romState(),
                                                     session.data(), session.mapState());
        benchmark::DoNotOptimize(band.picture.data());
    }
}
BENCHMARK(BM_NeighbourBandOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench
