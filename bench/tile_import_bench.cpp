#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "bench/big_rom.h"
#include "core/blocks/tileset_import.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"
#include "core/session/session.h"

namespace quillon::bench {
namespace {

// Part 1's picture with tile 5 inverted, or 512 tiles of noise.
blocks::IndexedPicture picture(Session& session, bool noise) {
    blocks::IndexedPicture edited = blocks::partIndices(session.romState().tilesets(), 1);
    for (std::size_t i = 0; i < 64; ++i) {
        edited.pixels[(i / 8) * 128 + 40 + i % 8] ^= 0x0F;
    }
    std::mt19937 random(3);
    for (std::uint8_t& pixel : edited.pixels) {
        pixel = noise ? static_cast<std::uint8_t>(random() % 16) : pixel;
    }
    return edited;
}

// A whole part of 512 tiles from a picture into the ROM: the checks, the LZ77 compression,
// the placement check and the transaction with its history record. The part's picture with
// tile 5 inverted (argument 0) or 512 tiles of noise (1, the compressor's worst case) goes to
// a free place of the ROM as built, each round on a fresh copy without history.
void BM_ImportFullPart(benchmark::State& state) {
    const auto& folder = romFolder("tile-import", buildBigRom);
    const auto rom = folder / "rom.gba";
    const auto pristine = folder / "pristine.gba";
    std::filesystem::copy_file(rom, pristine, std::filesystem::copy_options::skip_existing);
    std::size_t bytes = 0;
    for (auto _ : state) {
        // Untimed: the ROM as built, without history, and the part's picture edited.
        state.PauseTiming();
        std::filesystem::copy_file(pristine, rom,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(rom.string() + ".quillon-history");
        Session session(folder);
        session.openRom(rom);
        session.openMap("0.0", "bench");
        const blocks::IndexedPicture edited = picture(session, state.range(0) == 1);
        const auto run = largestFreeRun(session.rom(), kFreeFill, 0x100000);
        state.ResumeTiming();

        const blocks::TileImport plan = blocks::planTileImport(
            session.rom(), session.romState().profile(), session.romState().tilesets(),
            session.mapState().map(), 1, edited);
        blocks::importTiles(session.rom(), plan, (run->start + 3) & ~3u, kFreeFill, "bench");
        bytes = plan.data.size();
    }
    state.counters["stream_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ImportFullPart)->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench
