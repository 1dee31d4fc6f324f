#include "bench/big_rom.h"

#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#include "core/gfx/tile_entry.h"
#include "core/map/block_grid.h"

namespace quillon::bench {

romkit::TilesetSpec benchTileset(int seed, int blocks) {
    romkit::TilesetSpec t;
    t.compressed = true;
    t.tiles.resize(32 * 512);
    for (std::size_t i = 0; i < t.tiles.size(); ++i) {
        // Pictures with runs and repeats, as tile art has, so the stream is realistic.
        t.tiles[i] = static_cast<std::uint8_t>(((i / 7 + static_cast<std::size_t>(seed)) % 5) * 0x11);
    }
    for (int p = 0; p < 16; ++p) {
        std::array<std::uint16_t, 16> pal{};
        for (int c = 0; c < 16; ++c) {
            pal[static_cast<std::size_t>(c)] = static_cast<std::uint16_t>((p * 16 + c + seed) * 97);
        }
        t.palettes.push_back(pal);
    }
    for (int b = 0; b < blocks; ++b) {
        std::array<std::uint16_t, 8> rec{};
        for (int e = 0; e < 8; ++e) {
            rec[static_cast<std::size_t>(e)] =
                TileEntry::make((b * 8 + e) % 1024, (e & 1) != 0, (e & 2) != 0, b % 13).raw;
        }
        t.blocks.push_back(rec);
    }
    return t;
}

romkit::BuiltRom buildBigRom() {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON BIG", "QBGE", 16u << 20);
    for (int pair = 0; pair < 4; ++pair) {
        b.addTileset(benchTileset(pair * 2, 512));
        b.addTileset(benchTileset(pair * 2 + 1, 512));
    }
    for (int i = 0; i < 400; ++i) {
        b.addMapName("MAP NAME " + std::to_string(i));
    }
    for (int i = 1; i <= 411; ++i) {
        b.addPokemonName("MON" + std::to_string(i));
    }
    for (int bank = 0; bank < 32; ++bank) {
        for (int map = 0; map < 16; ++map) {
            romkit::MapSpec m;
            m.bank = bank;
            m.map = map;
            const bool big = bank == 0 && map < 3;
            m.width = big ? 89 : 20;
            m.height = big ? 89 : 15;
            const int pair = bank == 0 && map == 1 ? 1 : (bank + map) % 4 * (bank == 0 ? 0 : 1);
            m.primary = pair * 2;
            m.secondary = pair * 2 + 1;
            const bool uniform = bank == 0 && map == 2;
            for (int i = 0; i < m.width * m.height; ++i) {
                const auto block = static_cast<std::uint16_t>((i * 37) % 1024);
                const auto movement = static_cast<std::uint8_t>(i % 64);
                m.grid.push_back(uniform ? std::uint16_t{7}
                                         : GridEntry{block}.withMovement(movement).raw);
            }
            m.nameIndex = static_cast<std::uint8_t>((bank * 16 + map) % 200);
            if (big) {  // a busy map: its event tables are read with it
                for (std::uint16_t i = 0; i < 40; ++i) {
                    m.persons.push_back(romkit::personRecord(static_cast<std::uint8_t>(i), 0, i,
                                                             static_cast<std::uint16_t>(i + 1)));
                    m.warps.push_back(romkit::warpRecord(i, 0, 0, 0, 1));
                    m.signposts.push_back(romkit::signpostRecord(i, 2, 0, 0));
                    m.scripts.push_back(romkit::scriptRecord(i, 3, 0));
                }
            }
            b.addMap(m);
        }
    }
    return b.build();
}

namespace {

// The benchmark's own folder under the temporary directory, removed when the process ends.
class BenchFolder {
public:
    explicit BenchFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() /
                 ("quillon-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace

const std::filesystem::path& bigRomFolder() {
    static const BenchFolder folder("bench");
    static const bool written = [] {
        auto rom = buildBigRom();
        romkit::writeProgramFolder(folder.path(), rom);
        romkit::writeRomFile(folder.path() / "big.gba", rom);
        return true;
    }();
    (void)written;
    return folder.path();
}

const std::filesystem::path& romFolder(const std::string& name, romkit::BuiltRom (*build)()) {
    static std::map<std::string, BenchFolder> folders;
    auto [it, made] = folders.try_emplace(name, name);
    if (made) {
        const auto rom = build();
        romkit::writeProgramFolder(it->second.path(), rom);
        romkit::writeRomFile(it->second.path() / "rom.gba", rom);
    }
    return it->second.path();
}

}  // namespace quillon::bench
