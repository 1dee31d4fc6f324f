#include "core/mapfile/slot_maps.h"

#include <gtest/gtest.h>

#include "core/session/session.h"
#include "tests/map/sample_rom.h"

namespace quillon {
namespace {

using namespace testing;

std::vector<std::string> named(const std::vector<BankMap>& maps) {
    std::vector<std::string> lines;
    for (const BankMap& m : maps) {
        lines.push_back(std::to_string(m.bank) + "." + std::to_string(m.map) + " " + m.name);
    }
    return lines;
}

// An insertion replaces the slot's map and every map sharing its footer; they are named
// before anything is written. Here 1.0 was made to share 0.1's footer.
TEST(SlotMaps, TheSlotsMapFirstThenEveryMapSharingItsFooter) {
    romkit::BuiltRom built = buildSampleRom();
    put32(built, built.maps.at({1, 0}).header, 0x08000000u | built.maps.at({0, 1}).footer);
    TempDir dir;
    romkit::writeProgramFolder(dir.path(), built);
    romkit::writeRomFile(dir.file("r.gba"), built);
    Session s(dir.path());
    s.openRom(dir.file("r.gba"));
    const auto slot = [&](int bank, int map) {
        return map_insertion::locateSlot(s.rom(), s.romState().bankScan(), bank, map);
    };
    EXPECT_EQ(named(map_insertion::mapsInSlot(s.rom(), s.romState().bankScan(), slot(1, 0))),
              (std::vector<std::string>{"1.0 PALLET", "0.1 ROUTE"}));
    EXPECT_EQ(named(map_insertion::mapsInSlot(s.rom(), s.romState().bankScan(), slot(0, 1))),
              (std::vector<std::string>{"0.1 ROUTE", "1.0 PALLET"}));
    EXPECT_EQ(named(map_insertion::mapsInSlot(s.rom(), s.romState().bankScan(), slot(0, 2))),
              (std::vector<std::string>{"0.2 PALLET"}));
}

}  // namespace
}  // namespace quillon
