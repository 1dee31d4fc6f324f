// Writes the seed inputs of the fuzz targets, all taken from romkit's builder:
//   quillon_fuzz_seeds DIR  ->  DIR/lz77, DIR/map, DIR/events, DIR/ini
// lz77: compressed tile pictures and patterns; map and events: one patch record per
// structure of the fuzz ROM that rewrites it with its own bytes (so mutations start on the
// structure); ini: the ROM's profile section.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_rom.h"
#include "romkit/lz77_compress.h"

using namespace quillon;
using Bytes = std::vector<std::uint8_t>;

namespace {

void writeSeed(const std::filesystem::path& dir, const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A patch seed that rewrites count bytes at offset with the ROM's own bytes.
Bytes samePatch(std::uint32_t offset, std::size_t count) {
    const Bytes& rom = fuzz::fuzzRom().bytes;
    Bytes seed;
    if (offset != 0 && offset + count <= rom.size()) {
        fuzz::appendPatch(seed, offset, {rom.data() + offset, count});
    }
    return seed;
}

void lz77Seeds(const std::filesystem::path& dir) {
    const romkit::BuiltRom& rom = fuzz::fuzzRom();
    for (const auto& tileset : rom.tilesets) {
        writeSeed(dir, "tileset-" + std::to_string(tileset.tiles),
                  Bytes(rom.bytes.begin() + tileset.tiles,
                        rom.bytes.begin() + tileset.tiles +
                            static_cast<std::ptrdiff_t>(tileset.storedTileBytes)));
    }
    Bytes ramp;
    for (int i = 0; i < 600; ++i) {
        ramp.push_back(static_cast<std::uint8_t>(i * i / 7));
    }
    writeSeed(dir, "ramp", romkit::lz77Compress(ramp));
    writeSeed(dir, "ramp-vram", romkit::lz77Compress(ramp, true));
    writeSeed(dir, "run", romkit::lz77Compress(Bytes(300, 0x11)));
    writeSeed(dir, "empty", romkit::lz77Compress(Bytes{}));
}

void mapSeeds(const std::filesystem::path& dir) {
    const romkit::BuiltRom& rom = fuzz::fuzzRom();
    writeSeed(dir, "none", {});
    writeSeed(dir, "banks", samePatch(rom.bankTable, 12));
    for (std::size_t i = 0; i < rom.mapTables.size(); ++i) {
        writeSeed(dir, "maptable-" + std::to_string(i), samePatch(rom.mapTables[i], 12));
    }
    for (const auto& [id, map] : rom.maps) {
        const std::string name = std::to_string(id.first) + "." + std::to_string(id.second);
        writeSeed(dir, "header-" + name, samePatch(map.header, 28));
        writeSeed(dir, "footer-" + name, samePatch(map.footer, 28));
        writeSeed(dir, "grid-" + name, samePatch(map.grid, 24));
        writeSeed(dir, "border-" + name, samePatch(map.border, 8));
    }
    for (std::size_t i = 0; i < rom.tilesets.size(); ++i) {
        const auto& t = rom.tilesets[i];
        const std::string name = std::to_string(i);
        writeSeed(dir, "tileset-header-" + name, samePatch(t.header, 24));
        writeSeed(dir, "tileset-tiles-" + name, samePatch(t.tiles, 32));
        writeSeed(dir, "tileset-blocks-" + name, samePatch(t.blocks, 32));
    }
}

void eventSeeds(const std::filesystem::path& dir) {
    const romkit::BuiltRom& rom = fuzz::fuzzRom();
    writeSeed(dir, "none", {});
    const romkit::BuiltMap& map = rom.maps.at({0, 0});
    writeSeed(dir, "event-header", samePatch(map.events, 20));
    writeSeed(dir, "persons", samePatch(map.persons, 48));
    writeSeed(dir, "warps", samePatch(map.warps, 8));
    writeSeed(dir, "scripts", samePatch(map.scripts, 16));
    writeSeed(dir, "signposts", samePatch(map.signposts, 12));
    writeSeed(dir, "sprite-table", samePatch(rom.spriteHeader, 8));
    for (std::size_t i = 0; i < rom.spriteRecords.size(); ++i) {
        writeSeed(dir, "sprite-" + std::to_string(i), samePatch(rom.spriteRecords[i], 36));
    }
    writeSeed(dir, "sprite-palettes", samePatch(rom.spritePalettes, 8));
    writeSeed(dir, "slot-tags", samePatch(rom.spritePalHeader, 20));
    writeSeed(dir, "special-palettes", samePatch(rom.spezialPalHeader, 16));
    writeSeed(dir, "fly", samePatch(rom.flyTable, 16));
}

void iniSeeds(const std::filesystem::path& dir) {
    const std::string profile = fuzz::fuzzRom().profileIni();
    writeSeed(dir, "profile", Bytes(profile.begin(), profile.end()));
    const std::string settings = profile + "\n[Einstellungen]\nSprache=English\nShowSprite=0\n";
    writeSeed(dir, "profile-settings", Bytes(settings.begin(), settings.end()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    lz77Seeds(dir / "lz77");
    mapSeeds(dir / "map");
    eventSeeds(dir / "events");
    iniSeeds(dir / "ini");
    return 0;
}
