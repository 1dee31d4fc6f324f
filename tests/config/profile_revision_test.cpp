#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/config/game_profile.h"
#include "core/base/ini_file.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

IniFile iniWith(const testing::TempDir& dir, const std::string& text) {
    std::ofstream(dir.file("Quillon.ini"), std::ios::binary) << text;
    return IniFile(dir.file("Quillon.ini"));
}

GameProfile profileFor(const IniFile& ini, const std::string& title, int revision) {
    return GameProfile::read(ini, GameProfile::sectionFor(ini, title, revision));
}

// A file with sections for some revisions: each revision reads its own, the others the
// title's; a revision's section does not borrow keys from the title's section.
TEST(ProfileRevisions, TheSectionOfTitleAndRevisionWins) {
    const testing::TempDir dir;
    const IniFile ini = iniWith(dir,
                                "[GAME TITLEABCE]\nMapBankHeader=0x100\nFreierBereich=0x7000\n"
                                "[game titleabce 1.1]\nMapBankHeader=0x170\nFreierBereich=0x7070\n"
                                "[GAME TITLEABCE 1.2]\nMapBankHeader=0x180\n"
                                "[GAME TITLEABCF 1.1]\nMapBankHeader=0x900\n");
    struct Case {
        int revision;
        std::string section;
        std::int32_t bankTable;
        std::int32_t freeSpace;
    };
    const Case cases[] = {
        {0, "GAME TITLEABCE", 0x100, 0x7000},
        {1, "GAME TITLEABCE 1.1", 0x170, 0x7070},
        {2, "GAME TITLEABCE 1.2", 0x180, 0},
        {3, "GAME TITLEABCE", 0x100, 0x7000},
        {255, "GAME TITLEABCE", 0x100, 0x7000},
    };
    for (const Case& c : cases) {
        const GameProfile p = profileFor(ini, "GAME TITLEABCE", c.revision);
        EXPECT_TRUE(p.found) << c.revision;
        EXPECT_EQ(p.section, c.section) << c.revision;
        EXPECT_EQ(p.mapBankHeader, c.bankTable) << c.revision;
        EXPECT_EQ(p.freeSpaceStart, c.freeSpace) << c.revision;
    }
    // Another game's revision section is no profile for a title without a section.
    EXPECT_FALSE(profileFor(ini, "GAME TITLEABCD", 1).found);
    EXPECT_FALSE(profileFor(ini, "GAME TITLEABC", 1).found);
}

// A file written before revisions had sections: its title section serves every revision.
TEST(ProfileRevisions, AFileWithoutRevisionsServesEveryRevision) {
    const testing::TempDir dir;
    const IniFile ini = iniWith(dir, "[GAME TITLEABCE]\nMapBankHeader=$2000\nAnzMapNamen=87\n");
    for (const int revision : {0, 1, 2}) {
        const GameProfile p = profileFor(ini, "GAME TITLEABCE", revision);
        EXPECT_TRUE(p.found);
        EXPECT_EQ(p.section, "GAME TITLEABCE");
        EXPECT_EQ(p.mapBankHeader, 0x2000);
        EXPECT_EQ(p.mapNameCount, 87);
    }
}

// The shipped profiles: each release reads the section holding its own bank table, species
// names and free area (0: not measured for that release).
TEST(ProfileRevisions, EachShippedReleaseReadsItsOwnTables) {
    const IniFile ini{std::filesystem::path(QUILLON_SHIPPED_PROFILES)};
    ASSERT_TRUE(ini.exists());
    struct Release {
        const char* title;
        int revision;
        std::int32_t bankTable;
        std::int32_t pokemonNames;
        std::int32_t freeSpace;
    };
    const Release releases[] = {
        {"POKEMON RUBYAXVE", 0, 0x308588, 0x1F7177, 0x6B09F8},
        {"POKEMON RUBYAXVE", 1, 0x3085A0, 0x1F718F, 0x6B0A0C},
        {"POKEMON RUBYAXVE", 2, 0x3085A0, 0x1F718F, 0},
        {"POKEMON SAPPAXPE", 0, 0x308518, 0x1F7107, 0x6B0A54},
        {"POKEMON SAPPAXPE", 1, 0x308530, 0x1F711F, 0},
        {"POKEMON SAPPAXPE", 2, 0x308530, 0x1F711F, 0},
        {"POKEMON FIREBPRE", 0, 0x3526A8, 0x245EEB, 0x71A23C},
        {"POKEMON FIREBPRE", 1, 0x352718, 0x245F5B, 0x71A29C},
        {"POKEMON LEAFBPGE", 0, 0x352688, 0x245EC7, 0x719B18},
        {"POKEMON LEAFBPGE", 1, 0x3526F8, 0x245F37, 0},
        {"POKEMON EMERBPEE", 0, 0x486578, 0x3185D3, 0xE3CF64},
        {"POKEMON RUBYAXVD", 1, 0x313D70, 0x2040F3, 0},
        {"POKEMON SAPPAXPD", 1, 0x313D04, 0x204087, 0},
    };
    for (const Release& r : releases) {
        const GameProfile p = profileFor(ini, r.title, r.revision);
        SCOPED_TRACE(std::string(r.title) + " revision " + std::to_string(r.revision));
        EXPECT_TRUE(p.found);
        EXPECT_EQ(p.mapBankHeader, r.bankTable);
        EXPECT_EQ(p.pokemonNamesOffset, r.pokemonNames);
        EXPECT_EQ(p.freeSpaceStart, r.freeSpace);
    }
}

}  // namespace
}  // namespace quillon
