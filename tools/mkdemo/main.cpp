// quillon-mkdemo OUT.gba: writes the demo ROM; silent on success (its game profile ships in
// data/Ini).

#include <cstdio>
#include <exception>
#include <string>

#include "core/map/block_grid.h"
#include "romkit/rom_builder.h"
#include "romkit/table_references.h"
#include "tools/mkdemo/demo_events.h"
#include "tools/mkdemo/demo_maps.h"
#include "tools/mkdemo/demo_wild.h"
#include "tools/mkdemo/palettes.h"
#include "tools/mkdemo/pokemon_names.h"
#include "tools/mkdemo/sprite_art.h"

namespace quillon::mkdemo {

namespace {

constexpr int kOutdoorPrimary = 0, kTownSecondary = 1, kRoomPrimary = 2, kFurnitureSecondary = 3;

struct PairArt {
    TilesetArt* primary;
    TilesetArt* secondary;
    BlockInfo info(std::uint16_t block) const {
        return block < 512 ? primary->info(block) : secondary->info(block);
    }
};

romkit::MapSpec mapSpec(const DemoMap& demo, DemoArt& art, const std::vector<std::string>& names) {
    const bool outdoor = demo.tilesets == Pair::Outdoor;
    const PairArt pair = outdoor ? PairArt{&art.outdoor.tiles(), &art.town.tiles()}
                                 : PairArt{&art.interior.rooms(), &art.interior.furniture()};
    romkit::MapSpec wanted;
    wanted.bank = demo.bank;
    wanted.map = demo.map;
    wanted.width = static_cast<std::uint16_t>(demo.canvas.width());
    wanted.height = static_cast<std::uint16_t>(demo.canvas.height());
    wanted.grid = demo.canvas.grid(outdoor ? &art.outdoor : nullptr,
                                 [&](std::uint16_t b) { return pair.info(b); });
    for (int q = 0; q < 4; ++q) {
        // Outside the map: a tree outdoors, the dark beyond the walls indoors.
        const std::uint16_t block = outdoor ? art.outdoor.tree(q) : 0;
        wanted.border[q] = GridEntry{block}.withMovement(kBlocked).raw;
    }
    wanted.primary = outdoor ? kOutdoorPrimary : kRoomPrimary;
    wanted.secondary = outdoor ? kTownSecondary : kFurnitureSecondary;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == demo.name) {
            wanted.nameIndex = static_cast<std::uint8_t>(i);
        }
    }
    wanted.weather = demo.weather;
    wanted.type = demo.type;
    wanted.showName = demo.showName;
    wanted.music = demo.music;
    wanted.connections = demo.connections;
    return wanted;
}

romkit::BuiltRom buildDemo() {
    DemoArt art;
    const std::vector<std::string> names = demoMapNames();
    DemoScripts scripts;
    std::vector<romkit::MapSpec> specs;
    for (const DemoMap& demo : demoMaps(art)) {
        specs.push_back(mapSpec(demo, art, names));
        addDemoEvents(specs.back(), scripts);
    }
    // Every block exists now: the maps asked for them.
    romkit::RomBuilder builder(romkit::Family::Rse, "QUILLON DEMO", "QDME");
    builder.addTileset(art.outdoor.tiles().finish(true, outdoorPalettes()));
    builder.addTileset(art.town.tiles().finish(false, townPalettes()));
    builder.addTileset(art.interior.rooms().finish(true, roomPalettes()));
    builder.addTileset(art.interior.furniture().finish(false, furniturePalettes()));
    for (const romkit::MapSpec& wanted : specs) {
        builder.addMap(wanted);
    }
    for (const std::string& name : names) {
        builder.addMapName(name);
    }
    for (const std::string& name : demoPokemonNames()) {
        builder.addPokemonName(name);
    }
    addDemoSprites(builder);
    addDemoFlyPositions(builder);
    addDemoWild(builder);
    scripts.writeTo(builder);
    // The code's literal pool naming the tables, as a game's code holds one.
    romkit::BuiltRom rom = romkit::buildWithReferences(builder);
    rom.mainFile = "Ini\\Demo\\Main.ini";
    rom.mapsFile = "Ini\\Demo\\Maps.ini";
    return rom;
}

}  // namespace

}  // namespace quillon::mkdemo

// quillon-mkdemo --profile prints the game profile of the layout instead: the section shipped
// in data/Ini/Quillon.ini must match it (the end-to-end test compares them).
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon-mkdemo OUT.gba | --profile\n");
        return 2;
    }
    try {
        const quillon::romkit::BuiltRom rom = quillon::mkdemo::buildDemo();
        if (std::string(argv[1]) == "--profile") {
            std::fputs(rom.profileIni().c_str(), stdout);
            return 0;
        }
        quillon::romkit::writeRomFile(argv[1], rom);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-mkdemo: %s\n", e.what());
        return 1;
    }
    return 0;
}
