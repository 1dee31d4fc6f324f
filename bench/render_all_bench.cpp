// The pictures of a whole game, as `quillon-cli render-all` writes them. The ROMs are laid out
// like the retail games (bench/game_rom.h): a FireRed-sized one (16 MiB, 425 maps in 43 banks,
// rooms to routes of 24 x 80 and maps over 100 blocks wide, 2 primary tilesets of 640 blocks
// and 48 secondary ones of 384, 13 palettes each, LZ77-compressed tile pictures) and an
// Emerald-sized one (518 maps in 34 banks, 512 + 512 blocks). The whole runs open the ROM and
// write every map as a PNG into a temporary folder; they use threads, so wall time counts
// (run with --benchmark_repetitions and take the median). The parts show where a run's time
// goes, each over every map or tileset of the FireRed-sized ROM.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QImage>
#include <algorithm>
#include <map>
#include <sstream>

#include "bench/big_rom.h"
#include "bench/game_rom.h"
#include "cli/cli_render_all.h"
#include "cli/png_writer_pool.h"
#include "core/base/ini_file.h"
#include "core/gfx/block_atlas.h"
#include "core/gfx/lz77.h"
#include "core/gfx/map_renderer.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/map_loader.h"
#include "core/rom/trom.h"
#include "core/session/session.h"
#include "imageio/bitmap_io.h"

namespace quillon::bench {
namespace {

const std::filesystem::path& fireRedFolder() {
    return romFolder("firered-sized", buildFireRedSizedRom);
}

const std::filesystem::path& emeraldFolder() {
    return romFolder("emerald-sized", buildEmeraldSizedRom);
}

// One run of the command: a fresh session opens the ROM, so every tileset is decoded anew.
int renderGame(const std::filesystem::path& folder) {
    const std::filesystem::path out = folder / "pictures";
    std::filesystem::remove_all(out);
    Session session(folder);
    session.settings().setPersistent(false);
    session.openRom(folder / "rom.gba");
    std::ostringstream errors;
    const int written = cli::renderAll(session, out, {}, errors, nullptr).written;
    if (!errors.str().empty()) {
        throw std::runtime_error(errors.str());
    }
    return written;
}

// CPU seconds the whole process used so far, on every thread.
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The whole run; "all threads cpu" is the CPU time of every thread, which on an idle machine
// of two cores bounds the wall time from below at half of it (the machine is shared, so wall
// time varies with the load of the moment).
void renderAllBenchmark(benchmark::State& state, const std::filesystem::path& folder) {
    int written = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double before = processCpuSeconds();
        written = renderGame(folder);
        cpu += processCpuSeconds() - before;
    }
    state.counters["maps"] = written;
    state.counters["all threads cpu"] =
        benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

void BM_RenderAllFireRedSized(benchmark::State& state) {
    renderAllBenchmark(state, fireRedFolder());
}
BENCHMARK(BM_RenderAllFireRedSized)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_RenderAllEmeraldSized(benchmark::State& state) {
    renderAllBenchmark(state, emeraldFolder());
}
BENCHMARK(BM_RenderAllEmeraldSized)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The older run: 512 small maps of 20 x 15 and three of 89 x 89 with four tileset pairs.
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
BENCHMARK(BM_RenderAllMaps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The FireRed-sized ROM opened once, with every map read (header, footer, grid) and listed in
// the order of its tileset pair, as the run draws them.
struct Game {
    Session session{fireRedFolder()};
    std::vector<LoadedMap> maps;

    Game() {
        session.settings().setPersistent(false);
        session.openRom(fireRedFolder() / "rom.gba");
        for (const auto& bank : session.romState().bankScan().banks) {
            for (const BankMap& m : bank) {
                const std::string id = std::to_string(m.bank) + "." + std::to_string(m.map);
                maps.push_back(readMap(session.rom(), session.romState().profile(),
                                       session.data().mapsFile(), id, id, CurrentMap{}));
            }
        }
        std::stable_sort(maps.begin(), maps.end(), [](const LoadedMap& a, const LoadedMap& b) {
            return std::pair(a.map.tileset1, a.map.tileset2) <
                   std::pair(b.map.tileset1, b.map.tileset2);
        });
    }

    // Loads the map's pair into tilesets (a part already loaded is kept); whether it changed.
    bool load(TilesetPair& tilesets, const LoadedMap& m) {
        const CurrentMap& c = m.map;
        return tilesets.LoadTilesets(
            session.rom(), {c.tileset1, c.tilesetHeader1, c.footer.tileset1Offset()},
            {c.tileset2, c.tilesetHeader2, c.footer.tileset2Offset()}, session.data().tilesets(),
            session.romState().profile().tilesetHeight);
    }
};

Game& game() {
    static Game g;
    return g;
}

// Expanding every tileset's LZ77 tile picture once.
void BM_PartDecompressTilesets(benchmark::State& state) {
    const romkit::BuiltRom built = buildFireRedSizedRom();
    std::vector<std::uint8_t> out(TGFX::kDataSize);
    for (auto _ : state) {
        for (const romkit::BuiltTileset& t : built.tilesets) {
            const std::span<const std::uint8_t> stream(built.bytes.data() + t.tiles,
                                                       t.storedTileBytes);
            benchmark::DoNotOptimize(lz77Decompress(stream, out));
        }
    }
    state.counters["tilesets"] = static_cast<double>(built.tilesets.size());
}
BENCHMARK(BM_PartDecompressTilesets)->Unit(benchmark::kMillisecond);

// Loading each tileset pair in the run's order: palettes, decompression and the images of
// the blocks of every part that changed.
void BM_PartLoadTilesetPairs(benchmark::State& state) {
    Game& g = game();
    int changes = 0;
    for (auto _ : state) {
        TilesetPair tilesets;
        changes = 0;
        for (const LoadedMap& m : g.maps) {
            changes += g.load(tilesets, m) ? 1 : 0;
        }
    }
    state.counters["pair changes"] = changes;
}
BENCHMARK(BM_PartLoadTilesetPairs)->Unit(benchmark::kMillisecond);

// Drawing every map picture from its grid with its pair loaded (loading not counted).
void BM_PartDrawMaps(benchmark::State& state) {
    Game& g = game();
    TilesetPair tilesets;
    Bitmap picture;
    double pixels = 0;
    for (auto _ : state) {
        pixels = 0;
        for (LoadedMap& m : g.maps) {
            state.PauseTiming();
            g.load(tilesets, m);
            state.ResumeTiming();
            UpdateMap(tilesets, m.grid, false, picture);
            pixels += static_cast<double>(picture.width()) * picture.height();
        }
    }
    state.counters["Mpixels"] = pixels / 1e6;
}
BENCHMARK(BM_PartDrawMaps)->Unit(benchmark::kMillisecond)->Iterations(3);

// Encoding and writing every map picture as the run's writers do, on this thread alone.
void BM_PartEncodePng(benchmark::State& state) {
    Game& g = game();
    TilesetPair tilesets;
    std::vector<QImage> pictures;
    for (LoadedMap& m : g.maps) {
        Bitmap picture;
        g.load(tilesets, m);
        UpdateMap(tilesets, m.grid, false, picture);
        pictures.push_back(imageio::wrapBitmap(picture).copy());
    }
    const std::filesystem::path out = fireRedFolder() / "encoded";
    std::filesystem::create_directories(out);
    for (auto _ : state) {
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            cli::writeFastPng(pictures[i], out / (std::to_string(i) + ".png"));
        }
    }
    state.counters["maps"] = static_cast<double>(pictures.size());
}
BENCHMARK(BM_PartEncodePng)->Unit(benchmark::kMillisecond)->Iterations(1);

// Taking each pair's block images as colour indices, once per pair change of the run.
void BM_PartBuildAtlases(benchmark::State& state) {
    Game& g = game();
    TilesetPair tilesets;
    BlockAtlas atlas;
    int built = 0;
    for (auto _ : state) {
        built = 0;
        for (const LoadedMap& m : g.maps) {
            state.PauseTiming();
            const bool changed = g.load(tilesets, m);
            state.ResumeTiming();
            if (changed) {
                atlas.update(tilesets);
                ++built;
            }
        }
    }
    state.counters["atlases"] = built;
}
BENCHMARK(BM_PartBuildAtlases)->Unit(benchmark::kMillisecond)->Iterations(3);

// Drawing every map picture as colour indices from its pair's atlas (the atlas not counted).
void BM_PartDrawIndexedMaps(benchmark::State& state) {
    Game& g = game();
    TilesetPair tilesets;
    BlockAtlas atlas;
    IndexedBitmap picture;
    for (auto _ : state) {
        for (const LoadedMap& m : g.maps) {
            state.PauseTiming();
            g.load(tilesets, m);
            atlas.update(tilesets);
            state.ResumeTiming();
            drawIndexedMap(atlas, m.grid, false, picture);
        }
    }
}
BENCHMARK(BM_PartDrawIndexedMaps)->Unit(benchmark::kMillisecond)->Iterations(3);

// Encoding and writing every map picture as a palette PNG, on this thread alone.
void BM_PartEncodeIndexedPng(benchmark::State& state) {
    Game& g = game();
    TilesetPair tilesets;
    BlockAtlas atlas;
    std::vector<IndexedBitmap> pictures;
    for (const LoadedMap& m : g.maps) {
        g.load(tilesets, m);
        atlas.update(tilesets);
        drawIndexedMap(atlas, m.grid, false, pictures.emplace_back());
    }
    const std::filesystem::path out = fireRedFolder() / "encoded-indexed";
    std::filesystem::create_directories(out);
    for (auto _ : state) {
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            cli::writeFastPng(pictures[i], out / (std::to_string(i) + ".png"));
        }
    }
    state.counters["maps"] = static_cast<double>(pictures.size());
}
BENCHMARK(BM_PartEncodeIndexedPng)->Unit(benchmark::kMillisecond)->Iterations(1);

// Opening every map in the run's order as the editor does (header, footer, grid, events,
// tilesets), without drawing it.
void BM_PartOpenMaps(benchmark::State& state) {
    Game& g = game();
    for (auto _ : state) {
        for (const LoadedMap& m : g.maps) {
            g.session.openMap(m.map.identifier, m.map.identifier);
        }
    }
    state.counters["maps"] = static_cast<double>(g.maps.size());
}
BENCHMARK(BM_PartOpenMaps)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quillon::bench
