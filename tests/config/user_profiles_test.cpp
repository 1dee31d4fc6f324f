#include "core/config/user_profiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/config/data_files.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string readText(const std::filesystem::path& file) {
    const auto bytes = testing::fileBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

// The stored section replaces the one of the same name (any case) where it stood, or comes
// last; every other line stays as it was.
TEST(UserProfiles, ASectionIsReplacedInPlaceOrAdded) {
    const std::string section = "[GAME TITLEABCE 1.1]\nMapBankHeader=0x170\n";
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"empty file", "", section + "\n"},
        {"other sections", "[A]\nx=1\n", "[A]\nx=1\n\n" + section + "\n"},
        {"no end of line", "[A]\nx=1", "[A]\nx=1\n\n" + section + "\n"},
        {"replaced between others, other case",
         "; mine\n[A]\nx=1\n\n[game titleabce 1.1]\nMapBankHeader=0x1\nOld=2\n\n[B]\ny=2\n",
         "; mine\n[A]\nx=1\n\n" + section + "\n[B]\ny=2\n"},
        {"the title's section is another one", "[GAME TITLEABCE]\nMapBankHeader=0x100\n",
         "[GAME TITLEABCE]\nMapBankHeader=0x100\n\n" + section + "\n"},
        {"twice in the file: one left", "[GAME TITLEABCE 1.1]\na=1\n[C]\n[GAME TITLEABCE 1.1]\n",
         section + "\n[C]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(withSection(c.before, "GAME TITLEABCE 1.1", section), c.after);
    }
}

// The user's file serves a ROM before the shipped one, but a section for the ROM's revision
// wins over a title's section in either file.
TEST(UserProfiles, TheUsersSectionWinsAtTheSameRevision) {
    const testing::TempDir dir;
    writeText(dir.file("prog/Ini/Quillon.ini"),
              "[GAME TITLEABCE]\nMapBankHeader=0x100\n[GAME TITLEABCE 1.2]\nMapBankHeader=0x120\n");
    writeText(dir.file("user/Profile.ini"),
              "[GAME TITLEABCE]\nMapBankHeader=0x200\n[GAME TITLEABCE 1.1]\nMapBankHeader=0x210\n");
    DataFiles data(dir.file("prog"));
    struct Case {
        int revision;
        bool user;
        std::int32_t bankTable;
    };
    const Case cases[] = {{0, false, 0x100}, {0, true, 0x200}, {1, true, 0x210},
                          {2, true, 0x120},  {3, true, 0x200}, {3, false, 0x100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.revision) + (c.user ? " with user folder" : ""));
        data.setUserFolder(c.user ? dir.file("user") : std::filesystem::path());
        const ProfileSource source = data.profileFor("GAME TITLEABCE", c.revision);
        EXPECT_EQ(GameProfile::read(*source.file, source.section).mapBankHeader, c.bankTable);
    }
}

// Storing makes the user's folder, reads back at once and never touches the shipped file.
TEST(UserProfiles, StoringWritesTheUsersFileOnly) {
    const testing::TempDir dir;
    const std::string shipped = "[GAME TITLEABCE]\nMapBankHeader=0x100\n";
    writeText(dir.file("prog/Ini/Quillon.ini"), shipped);
    DataFiles data(dir.file("prog"));
    data.setUserFolder(dir.file("user/deeper"));
    storeProfileSection(data.userProfilesPath(), "GAME TITLEABCE",
                        "[GAME TITLEABCE]\nMapBankHeader=0x300\n");
    const ProfileSource source = data.profileFor("GAME TITLEABCE", 0);
    EXPECT_EQ(source.file->path(), dir.file("user/deeper/Profile.ini"));
    EXPECT_EQ(GameProfile::read(*source.file, source.section).mapBankHeader, 0x300);
    EXPECT_EQ(readText(dir.file("prog/Ini/Quillon.ini")), shipped);
    EXPECT_EQ(readText(dir.file("user/deeper/Profile.ini")),
              "[GAME TITLEABCE]\nMapBankHeader=0x300\n\n");

    // A folder where the file should be: refused, nothing else changed.
    std::filesystem::create_directories(dir.file("blocked/Profile.ini"));
    EXPECT_THROW(storeProfileSection(dir.file("blocked/Profile.ini"), "X", "[X]\n"), Error);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("blocked/Profile.ini")));
}

}  // namespace
}  // namespace quillon
