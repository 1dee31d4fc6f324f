#include <gtest/gtest.h>

#include <regex>

#include "core/session/session.h"
#include "romkit/rom_builder.h"
#include "romkit/rom_files.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using romkit::BuiltRom;

// Two banks of one small map each, the header's revision byte set to revision.
BuiltRom revisionRom(std::uint8_t revision) {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON TEST", "QTSE", 1 << 20);
    b.setRevision(revision);
    romkit::TilesetSpec tileset;
    tileset.tiles.assign(64, 0x11);
    tileset.palettes.push_back({0x0000, 0x001F});
    tileset.blocks.push_back({1, 1, 1, 1, 0, 0, 0, 0});
    b.addTileset(tileset);
    b.addTileset(tileset);
    b.addMapName("TOWN");
    for (int bank = 0; bank < 2; ++bank) {
        romkit::MapSpec m;
        m.bank = bank;
        m.width = 3;
        m.height = 2;
        b.addMap(m);
    }
    return b.build();
}

// The ROM's true profile under another section name.
std::string profileNamed(const BuiltRom& built, const std::string& section) {
    return std::regex_replace(built.profileIni(), std::regex("^\\[[^\\]]*\\]"),
                              "[" + section + "]");
}

// The program folder holds the true profile under the title and under "1.1", and one whose
// bank table points at the cartridge header under "1.2": a ROM reads the section of its own
// revision (no maps for 1.2) and the title's section when it has none.
TEST(ProfileRevisions, ARomReadsTheSectionOfItsRevision) {
    struct Case {
        std::uint8_t revision;
        std::string section;
        int maps;
    };
    const Case cases[] = {
        {0, "QUILLON TESTQTSE", 2},
        {1, "QUILLON TESTQTSE 1.1", 2},
        {2, "QUILLON TESTQTSE 1.2", 0},
        {7, "QUILLON TESTQTSE", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("revision " + std::to_string(c.revision));
        const BuiltRom built = revisionRom(c.revision);
        const std::string wrong =
            std::regex_replace(profileNamed(built, built.title + " 1.2"),
                               std::regex("\nMapBankHeader=[^\n]*\n"), "\nMapBankHeader=0xA0\n");
        const testing::TempDir dir;
        romkit::writeProgramFolder(
            dir.path(), built,
            {{"Ini/Quillon.ini", profileNamed(built, built.title + " 1.1") + wrong}});
        romkit::writeRomFile(dir.file("a.gba"), built);
        Session s(dir.path());
        s.openRom(dir.file("a.gba"));
        EXPECT_EQ(s.rom().Revision(), c.revision);
        EXPECT_EQ(s.romState().profile().section, c.section);
        EXPECT_EQ(s.romState().bankScan().mapCount(), c.maps);
    }
}

}  // namespace
}  // namespace quillon
