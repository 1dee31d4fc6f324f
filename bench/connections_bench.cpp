#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "core/connections/way_back.h"
#include "core/session/session.h"
#include "romkit/rom_builder.h"

namespace quillon::bench {
namespace {

constexpr int kBanks = 20;
constexpr int kMapsPerBank = 25;  // 500 maps

// 500 small maps in a grid of 20 banks by 25 maps: each map joined to the next map of its
// bank (right / left) and to the same map of the next bank (down / up), both ways; every
// seventh map's way back to the left has the wrong offset, and every map of the last bank
// also dives to a bank that does not exist.
romkit::BuiltRom buildConnectedRom() {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON TEST", "QTSE", 4 << 20);
    romkit::TilesetSpec t;
    t.tiles.assign(32, 0);
    t.palettes.push_back({});
    t.blocks.push_back({});
    b.addTileset(t);
    b.addTileset(t);
    for (int bank = 0; bank < kBanks; ++bank) {
        for (int map = 0; map < kMapsPerBank; ++map) {
            romkit::MapSpec m;
            m.bank = bank;
            m.map = map;
            m.width = m.height = 4;
            std::vector<Connection> c;
            const auto u8 = [](int v) { return static_cast<std::uint8_t>(v); };
            if (map + 1 < kMapsPerBank) c.push_back({4, 2, u8(bank), u8(map + 1), 0});
            if (map > 0) c.push_back({3, map % 7 == 0 ? 1 : -2, u8(bank), u8(map - 1), 0});
            if (bank + 1 < kBanks) c.push_back({1, 0, u8(bank + 1), u8(map), 0});
            if (bank > 0) c.push_back({2, 0, u8(bank - 1), u8(map), 0});
            if (bank + 1 == kBanks) c.push_back({5, 0, 200, 0, 0});
            m.connections = c;
            b.addMap(m);
        }
    }
    return b.build();
}

class Folder {
public:
    Folder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("quillon-bench-connections-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(m_path);
        const romkit::BuiltRom rom = buildConnectedRom();
        romkit::writeProgramFolder(m_path, rom);
        romkit::writeRomFile(m_path / "c.gba", rom);
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

const Folder& folder() {
    static const Folder f;
    return f;
}

// The check itself over the 500 maps of a ROM already open: each map's header and table read
// from the file once, every connection looked up in its neighbour's table.
void BM_CheckConnections(benchmark::State& state) {
    Session session(folder().path());
    session.settings().setPersistent(false);
    session.openRom(folder().path() / "c.gba");
    std::size_t found = 0;
    for (auto _ : state) {
        found = checkAllConnections(session.rom(), session.romState().bankScan()).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["maps"] = session.romState().bankScan().mapCount();
    state.counters["missing"] = static_cast<double>(found);
}
BENCHMARK(BM_CheckConnections)->Unit(benchmark::kMillisecond);

// What "quillon-cli check-connections" does after start: open the ROM (profile, names, bank
// scan) and check every map.
void BM_CheckConnectionsWithOpen(benchmark::State& state) {
    for (auto _ : state) {
        Session session(folder().path());
        session.settings().setPersistent(false);
        session.openRom(folder().path() / "c.gba");
        benchmark::DoNotOptimize(
            checkAllConnections(session.rom(), session.romState().bankScan()).size());
    }
}
BENCHMARK(BM_CheckConnectionsWithOpen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench
