#include <gtest/gtest.h>

#include <regex>

#include "core/session/session.h"
#include "core/tables/table_finder.h"
#include "romkit/rom_files.h"
#include "tests/session/finder_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon::testing {
namespace {

// A later release (tables +0x70) of a game whose shipped profile is the first release's: the
// shipped section misleads, the stored one opens the ROM with every map the true profile
// lists, and the shipped file keeps its bytes.
TEST(FoundProfile, TheStoredSectionOpensTheRomWithItsMaps) {
    for (romkit::Family family : {romkit::Family::Rse, romkit::Family::Frlg}) {
        SCOPED_TRACE(family == romkit::Family::Frlg ? "FireRed" : "Ruby");
        const romkit::BuiltRom first = buildFinderRom({family});
        const romkit::BuiltRom later = buildFinderRom({family, 0x1070, 1 << 20, 1, 0});
        const TempDir dir;
        romkit::writeProgramFolder(dir.path(), first);
        romkit::writeRomFile(dir.file("later.gba"), later);
        const auto shipped = fileBytes(dir.file("Ini/Quillon.ini"));

        Session session(dir.path());
        session.data().setUserFolder(dir.file("user"));
        session.openRom(dir.file("later.gba"));
        const tables::FoundProfile found = tables::findTables(session.rom());
        tables::storeFoundProfile(found, session.data().userProfilesPath());
        session.openRom(dir.file("later.gba"));

        EXPECT_EQ(session.romState().profile().section, later.title + " 1.1");
        EXPECT_EQ(session.romState().profile().mapBankHeader,
                  static_cast<std::int32_t>(later.bankTable));
        EXPECT_EQ(session.romState().profile().mapNamesHeader,
                  static_cast<std::int32_t>(later.nameTable));
        EXPECT_EQ(session.romState().profile().tilesetHeight,
                  family == romkit::Family::Frlg ? 40 : 32);

        const TempDir truth;
        romkit::writeProgramFolder(truth.path(), later);
        romkit::writeRomFile(truth.file("later.gba"), later);
        Session reference(truth.path());
        reference.openRom(truth.file("later.gba"));
        ASSERT_GT(reference.romState().bankScan().mapCount(), 0);
        EXPECT_EQ(session.romState().bankScan().mapCount(),
                  reference.romState().bankScan().mapCount());
        EXPECT_EQ(session.romState().mapNames(), reference.romState().mapNames());
        EXPECT_EQ(fileBytes(dir.file("Ini/Quillon.ini")), shipped);
    }
}

}  // namespace
}  // namespace quillon::testing
