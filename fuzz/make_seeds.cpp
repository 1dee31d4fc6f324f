// Writes the seed inputs of the fuzz targets, all taken from romkit's builder:
//   quillon_fuzz_seeds DIR  ->  DIR/<target> for lz77, map, events, ini, wild, connections,
//   mapfile, write, tables
// lz77: compressed tile pictures and patterns; map, events, wild and connections: one patch
// record per structure of the fuzz ROM that rewrites it with its own bytes (so mutations
// start on the structure); ini: the ROM's profile section; mapfile: the fuzz ROM's maps
// saved as map files, with and without their event files; write: each writing command on each
// map, undamaged and with one structure it reads rewritten by its own bytes; tables: the
// pooled fuzz ROM as it is and with each table rewritten by its own bytes, and a raw image.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/gfx/lz77_compress.h"
#include "core/state/map_state.h"
#include "core/files/file_replace.h"
#include "core/mapfile/map_file.h"
#include "core/session/session.h"
#include "fuzz/fuzz_rom.h"

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

std::string mapName(const std::pair<int, int>& id) {
    return std::to_string(id.first) + "." + std::to_string(id.second);
}

// A part of every map of the fuzz ROM: its seed names start with prefix, its place is the
// member offset of the built map, count bytes long.
struct MapPart {
    std::string prefix;
    std::uint32_t romkit::BuiltMap::*offset;
    std::size_t count;
};

void mapPartSeeds(const std::filesystem::path& dir, std::initializer_list<MapPart> parts) {
    for (const auto& [id, map] : fuzz::fuzzRom().maps) {
        for (const MapPart& part : parts) {
            writeSeed(dir, part.prefix + mapName(id), samePatch(map.*part.offset, part.count));
        }
    }
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
    writeSeed(dir, "ramp", lz77Compress(ramp));
    writeSeed(dir, "ramp-vram", lz77Compress(ramp, true));
    writeSeed(dir, "run", lz77Compress(Bytes(300, 0x11)));
    writeSeed(dir, "empty", lz77Compress(Bytes{}));
}

void mapSeeds(const std::filesystem::path& dir) {
    const romkit::BuiltRom& rom = fuzz::fuzzRom();
    writeSeed(dir, "none", {});
    writeSeed(dir, "banks", samePatch(rom.bankTable, 12));
    for (std::size_t i = 0; i < rom.mapTables.size(); ++i) {
        writeSeed(dir, "maptable-" + std::to_string(i), samePatch(rom.mapTables[i], 12));
    }
    mapPartSeeds(dir, {{"header-", &romkit::BuiltMap::header, 28},
                       {"footer-", &romkit::BuiltMap::footer, 28},
                       {"grid-", &romkit::BuiltMap::grid, 24},
                       {"border-", &romkit::BuiltMap::border, 8}});
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

void wildSeeds(const std::filesystem::path& dir) {
    const romkit::BuiltRom& rom = fuzz::fuzzRom();
    writeSeed(dir, "none", {});
    writeSeed(dir, "table", samePatch(rom.wildTable, 4 * wild::kHeaderSize));
    for (const auto& [id, built] : rom.wild) {
        const std::string name = mapName(id);
        writeSeed(dir, "header-" + name, samePatch(built.header, wild::kHeaderSize));
        for (std::size_t k = 0; k < built.records.size(); ++k) {
            const auto kind = static_cast<wild::Kind>(k);
            const std::string part = name + "-" + std::to_string(k);
            writeSeed(dir, "record-" + part, samePatch(built.records[k], wild::kRecordSize));
            writeSeed(dir, "slots-" + part,
                      samePatch(built.slotArrays[k], wild::kSlotSize * wild::slotCount(kind)));
        }
    }
}

void connectionSeeds(const std::filesystem::path& dir) {
    const romkit::BuiltRom& rom = fuzz::fuzzRom();
    writeSeed(dir, "none", {});
    writeSeed(dir, "banks", samePatch(rom.bankTable, 12));
    mapPartSeeds(dir, {{"header-", &romkit::BuiltMap::header, 28},
                       {"footer-", &romkit::BuiltMap::footer, 28},
                       {"connection-header-", &romkit::BuiltMap::connectionHeader, 8},
                       {"connections-", &romkit::BuiltMap::connectionRecords, 60}});
}

// The map file seed: a flag byte (1: with the event file), the map file's length, the map
// file and the event file, as "Map Speichern" writes them for the map.
Bytes mapFileSeed(const std::string& id, bool withEvents) {
    Session& session = fuzz::fuzzSession();
    if (!session.romState().loaded()) {
        session.openRom(fuzz::fuzzRom().memoryFile(), "fuzz.gba");
    }
    session.openMap(id, "seed");
    const auto file = fuzz::fuzzProgramFolder() / "seed.map";
    map_file::write(file, session.mapState().map(), session.mapState().grid(),
                    session.mapState().events(), session.romState().profile());
    const Bytes map = readWholeFile(file, map_file::kMaxMapFileBytes);
    const Bytes events = readWholeFile(map_file::eventFileName(file), map_file::kMaxEventFileBytes);
    Bytes seed{static_cast<std::uint8_t>(withEvents), static_cast<std::uint8_t>(map.size()),
               static_cast<std::uint8_t>(map.size() >> 8)};
    seed.insert(seed.end(), map.begin(), map.end());
    seed.insert(seed.end(), events.begin(), events.end());
    return seed;
}

void mapFileSeeds(const std::filesystem::path& dir) {
    for (const std::string& id : {std::string("0.0"), std::string("1.0")}) {
        writeSeed(dir, id, mapFileSeed(id, true));
        writeSeed(dir, id + "-no-events", mapFileSeed(id, false));
    }
}

void writeSeeds(const std::filesystem::path& dir) {
    const romkit::BuiltRom& rom = fuzz::fuzzRom();
    std::vector<std::pair<std::string, Bytes>> damage{{"none", {}}};
    for (const auto& [id, map] : rom.maps) {
        const std::string name = mapName(id);
        damage.emplace_back("header-" + name, samePatch(map.header, 28));
        damage.emplace_back("footer-" + name, samePatch(map.footer, 24));
        damage.emplace_back("events-" + name, samePatch(map.events, 20));
        damage.emplace_back("connections-" + name, samePatch(map.connectionHeader, 8));
    }
    damage.emplace_back("wild", samePatch(rom.wildTable, 4 * wild::kHeaderSize));
    const char* commands[] = {"resize", "event-counts", "save", "weather", "connections"};
    for (std::uint8_t c = 0; c < 5; ++c) {
        for (std::uint8_t map = 0; map < 3; ++map) {
            for (const auto& [name, patch] : damage) {
                // A place 0x40 bytes into the free space, small sizes and counts.
                Bytes seed{c, map, 0x00, 0x40, 0x00, 0x17, 0x05, 0x03};
                seed.insert(seed.end(), patch.begin(), patch.end());
                writeSeed(dir, std::string(commands[c]) + "-" + std::to_string(map) + "-" + name,
                          seed);
            }
        }
    }
}

void iniSeeds(const std::filesystem::path& dir) {
    const std::string profile = fuzz::fuzzRom().profileIni();
    writeSeed(dir, "profile", Bytes(profile.begin(), profile.end()));
    const std::string settings = profile + "\n[Einstellungen]\nSprache=English\nShowSprite=0\n";
    writeSeed(dir, "profile-settings", Bytes(settings.begin(), settings.end()));
}

void tableSeeds(const std::filesystem::path& dir) {
    const romkit::BuiltRom& rom = fuzz::fuzzRom();
    writeSeed(dir, "pooled", Bytes{0});
    const std::pair<const char*, std::uint32_t> tables[] = {
        {"banks", rom.bankTable},         {"tilesets", rom.tilesetHeaders},
        {"names", rom.nameTable},         {"species", rom.pokemonNames},
        {"wild", rom.wildTable},          {"sprites", rom.spriteHeader},
        {"palettes", rom.spritePalettes}, {"pool", 0xF00}};
    for (const auto& [name, offset] : tables) {
        Bytes seed{0};
        const Bytes patch = samePatch(offset, 32);
        seed.insert(seed.end(), patch.begin(), patch.end());
        writeSeed(dir, name, seed);
    }
    // A raw image: the ROM's first 4 KiB, header and pool area.
    Bytes raw{1};
    raw.insert(raw.end(), rom.bytes.begin(), rom.bytes.begin() + 0x1000);
    writeSeed(dir, "raw", raw);
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
    wildSeeds(dir / "wild");
    connectionSeeds(dir / "connections");
    mapFileSeeds(dir / "mapfile");
    writeSeeds(dir / "write");
    tableSeeds(dir / "tables");
    return 0;
}
