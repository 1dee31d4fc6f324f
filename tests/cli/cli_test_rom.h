#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "cli/cli_messages.h"
#include "core/errors.h"
#include "core/session/session.h"
#include "tests/events/event_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon::testing {

// The text of the error run throws, as the tool prints it; "(no error)" when it throws none.
inline std::string cliErrorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const Error& e) {
        return cli::errorText(e);
    }
    return "(no error)";
}

// Two primary tilesets that differ in colour (0 green, 2 red) and a shared secondary one (1),
// so that a map drawn with the wrong pair shows it.
inline romkit::RomBuilder twoPairBuilder() {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON TEST", "QTSE", 1 << 20);
    for (std::uint16_t colour :
         {std::uint16_t{0x03E0}, std::uint16_t{0x7C00}, std::uint16_t{0x001F}}) {
        romkit::TilesetSpec t;
        t.tiles.assign(32, 0x00);
        t.tiles.insert(t.tiles.end(), 32, 0x11);
        t.palettes.push_back({0x0000, colour});
        t.blocks.push_back({1, 1, 1, 1, 0, 0, 0, 0});
        t.blocks.push_back({0, 0, 0, 0, 0, 0, 0, 0});
        b.addTileset(t);
    }
    return b;
}

// An 8 x 6 map of the pair (primary, 1) in a chequer of blocks 0 and 1.
inline romkit::MapSpec chequerMap(int bank, int map, int primary) {
    romkit::MapSpec m = eventMap(bank, map);
    m.primary = primary;
    m.secondary = 1;
    for (int i = 0; i < m.width * m.height; ++i) {
        m.grid.push_back(static_cast<std::uint16_t>((i + i / m.width) % 2));
    }
    return m;
}

// Two banks of chequer maps: 0.0 and 0.1 on the pair (0, 1), 1.0 on the pair (2, 1).
inline romkit::BuiltRom twoBankRom() {
    romkit::RomBuilder b = twoPairBuilder();
    b.addMap(chequerMap(0, 0, 0));
    b.addMap(chequerMap(0, 1, 0));
    b.addMap(chequerMap(1, 0, 2));
    return b.build();
}

// A program folder with the ROM file "rom.gba" and a session that has it open.
struct OpenRom {
    explicit OpenRom(const romkit::BuiltRom& rom) : folder(prepared(dir, rom)), session(folder) {
        session.settings().setPersistent(false);
        session.openRom(file());
    }
    std::filesystem::path file() const { return dir.file("rom.gba"); }

    static std::filesystem::path prepared(const TempDir& dir, const romkit::BuiltRom& rom) {
        romkit::writeProgramFolder(dir.path(), rom);
        romkit::writeRomFile(dir.file("rom.gba"), rom);
        return dir.path();
    }

    TempDir dir;
    std::filesystem::path folder;
    Session session;
};

}  // namespace quillon::testing
