#include <benchmark/benchmark.h>

#include <fstream>

#include "bench/big_rom.h"
#include "core/rom/history_format.h"
#include "core/session/map_saving.h"
#include "core/session/open_map_history.h"
#include "core/session/session.h"
#include "core/writers/map_attributes.h"

namespace quillon::bench {
namespace {

namespace fmt = history_format;

// One weather change with "Verlauf speichern" off: the ROM write and its fsync only (compare
// BM_WriteWeather, which keeps the history file: record + fsync, ROM + fsync, mark + fsync).
void BM_WriteWeatherWithoutHistoryFile(benchmark::State& state) {
    Session session(bigRomFolder());
    session.settings().setPersistent(false);
    session.settings().setFlag(Settings::Flag::KeepHistory, false);
    session.openRom(bigRomFolder() / "big.gba");
    session.openMap("0.0", "bench");
    const int weather = session.mapState().map().header.weather();
    int i = 0;
    for (auto _ : state) {
        map_attributes::writeByte(session.rom(), session.mapState(), HeaderByte::Weather,
                                  i++ % 2 ? weather : 0x0B);
    }
}
BENCHMARK(BM_WriteWeatherWithoutHistoryFile)->Unit(benchmark::kMicrosecond);

// "Map speichern" of an 89 x 89 map with 40 events of each kind, history on, on the disk:
// about 16 KB of grid and the four event tables, each journaled with old and new bytes.
void BM_SaveLargestMapWithHistory(benchmark::State& state) {
    Session session(bigRomFolder());
    session.openRom(bigRomFolder() / "big.gba");
    session.openMap("0.0", "bench");
    int i = 0;
    for (auto _ : state) {
        session.mapState().grid().cells[0] =
            session.mapState().grid().cells[0].withBlock(i++ % 2 ? 1 : 2);
        saveOpenMap(session.rom(), session.mapState());
    }
    state.counters["bytes"] =
        static_cast<double>(session.rom().history().entries().back().byteCount());
}
BENCHMARK(BM_SaveLargestMapWithHistory)->Unit(benchmark::kMillisecond);

// A copy of the big ROM with a history of count one-byte transactions beside it.
std::filesystem::path romWithHistory(int count) {
    const auto rom = bigRomFolder() / ("history" + std::to_string(count) + ".gba");
    std::filesystem::copy_file(bigRomFolder() / "big.gba", rom,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(rom.string() + ".quillon-history");
    if (count == 0) {
        return rom;
    }
    std::ofstream out(rom.string() + ".quillon-history", std::ios::binary);
    const auto put = [&](const std::vector<std::uint8_t>& bytes) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    };
    put(fmt::header({std::filesystem::file_size(rom), 1}));
    for (int i = 1; i <= count; ++i) {
        HistoryEntry e;
        e.id = static_cast<std::uint64_t>(i);
        e.name = "Wetter ändern 0.0";
        e.map = "0.0";
        e.ranges.push_back({0xFFFF00, {0xFF}, {0xFF}});
        put(fmt::frame(fmt::entryPayload(e)));
        put(fmt::frame(fmt::markPayload(e.id, true)));
    }
    return rom;
}

// Opening a ROM without a history and with 10,000 transactions beside it: only the end of
// the history is read, so the difference stays small.
void BM_OpenRomWithHistory(benchmark::State& state) {
    const auto rom = romWithHistory(static_cast<int>(state.range(0)));
    Session session(bigRomFolder());
    for (auto _ : state) {
        session.openRom(rom);
        benchmark::DoNotOptimize(unfinishedTransaction(session.rom()));
    }
    // A history set aside would make the figure meaningless: counted, and the list read.
    state.counters["notices"] = static_cast<double>(session.rom().history().notices().size());
    state.counters["entries"] = static_cast<double>(session.rom().history().entries().size());
}
BENCHMARK(BM_OpenRomWithHistory)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench
