#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "core/errors.h"
#include "core/session/session.h"
#include "tests/events/event_test_rom.h"
#include "tests/map/sample_rom.h"

namespace quillon {
namespace {

// Opens the ROM and every map it lists, and draws every picture of each. Bad data must end in
// the editor's own errors, never in a crash or a read outside a buffer.
void openEverything(Session& s, const std::filesystem::path& rom) {
    try {
        s.openRom(rom);
    } catch (const Error&) {
        return;
    }
    for (const auto& bank : s.romState().bankScan().banks) {
        for (const auto& m : bank) {
            try {
                s.openMap(std::to_string(m.bank) + "." + std::to_string(m.map), "t");
                s.mapState().pictures().map();
                s.mapState().pictures().blockPalette();
                s.mapState().pictures().movementView();
                s.mapState().eventPicture();
            } catch (const Error&) {
            }
        }
    }
}

// A map with events of every kind, persons drawn from two sprites (one through slot 10).
romkit::BuiltRom eventRom() {
    using namespace romkit;
    using namespace testing;
    RomBuilder b = eventRomBuilder();
    SpriteSpec person;
    person.pixels.assign(16 * 32 / 2, 0x12);
    SpriteSpec special{.width = 32, .height = 32, .slot = 10, .paletteTag = 0x1111};
    special.pixels.assign(32 * 32 / 2, 0x34);
    b.addSprite(person);
    b.addSprite(special);
    b.addSpritePalette(0x1100, {0x0000, 0x001F, 0x03E0});
    b.setSlotTags({0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100,
                   0x1100});
    b.addSpecialPalette(0x1111, 0x1100);
    MapSpec m = eventMap(0, 0);
    m.persons = {personRecord(1, 0, 1, 1), personRecord(2, 1, 7, 5), personRecord(3, 250, 3, 3)};
    m.warps = {warpRecord(2, 2, 0, 0, 0)};
    m.scripts = {scriptRecord(4, 2, 0x300)};
    m.signposts = {signpostRecord(5, 2, 7, 0x400)};
    b.addMap(m);
    b.addFlyRecord(0, 0, 2, 5);
    return b.build();
}

// Sample ROMs of both families and one with events and sprites, with random bytes of their
// tables, records, pictures and pointers overwritten.
TEST(DamagedRom, RandomDamageNeverCrashes) {
    testing::TempDir dir;
    for (int kind = 0; kind < 3; ++kind) {
        const romkit::BuiltRom pristine =
            kind == 2
                ? eventRom()
                : testing::buildSampleRom(kind == 0 ? romkit::Family::Rse : romkit::Family::Frlg);
        romkit::writeProgramFolder(dir.path(), pristine);
        Session s(dir.path());
        std::mt19937 random(7u + static_cast<unsigned>(kind));
        // QUILLON_DAMAGE_ROUNDS runs more rounds (for a sanitizer build).
        const char* wanted = std::getenv("QUILLON_DAMAGE_ROUNDS");
        const int rounds = wanted ? std::atoi(wanted) : 150;
        for (int round = 0; round < rounds; ++round) {
            romkit::BuiltRom damaged = pristine;
            std::uniform_int_distribution<std::uint32_t> where(0xA0, pristine.freeSpace - 1);
            const int hits = 1 + round % 12;
            for (int i = 0; i < hits; ++i) {
                damaged.bytes[where(random)] = static_cast<std::uint8_t>(random());
            }
            romkit::writeRomFile(dir.file("d.gba"), damaged);
            openEverything(s, dir.file("d.gba"));
        }
    }
}

}  // namespace
}  // namespace quillon
