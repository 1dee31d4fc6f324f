#include "core/base/ini_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/base/ini_file.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

struct SetCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

// Only the key's line changes or comes in; blank lines, comments and line ends stay.
const SetCase kSetCases[] = {
    {"replaces in place", "[A]\nx=1\n[Einstellungen]\nSprache=Deutsch\nGitter=1\n", "Einstellungen",
     "Sprache", "English", "[A]\nx=1\n[Einstellungen]\nSprache=English\nGitter=1\n"},
    {"names without regard to case", "[einstellungen]\n sprache = Deutsch\n", "Einstellungen",
     "Sprache", "English", "[einstellungen]\nSprache=English\n"},
    {"new key behind the section's last key", "[A]\nx=1\n\n; about B\n[B]\ny=2\n", "A", "z", "3",
     "[A]\nx=1\nz=3\n\n; about B\n[B]\ny=2\n"},
    {"new key in an empty section", "[A]\n[B]\n", "A", "z", "3", "[A]\nz=3\n[B]\n"},
    {"new section at the end, missing last line end", "[A]\nx=1", "B", "y", "2",
     "[A]\nx=1\n[B]\ny=2\n"},
    {"empty file", "", "A", "x", "1", "[A]\nx=1\n"},
    {"CR LF kept", "[A]\r\nx=1\r\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
    {"blanks kept by quotes", "[A]\n", "A", "x", " a ", "[A]\nx=\" a \"\n"},
    {"key of a later section untouched", "[A]\n[B]\nx=1\n", "A", "x", "2", "[A]\nx=2\n[B]\nx=1\n"},
    {"comment with the key's name untouched", "[A]\n;x=1\n", "A", "x", "2", "[A]\nx=2\n;x=1\n"},
};

TEST(IniText, SetChangesOnlyTheKeysLine) {
    for (const SetCase& c : kSetCases) {
        EXPECT_EQ(setIniValue(c.before, c.section, c.key, c.value), c.after) << c.name;
    }
}

TEST(IniText, RemoveTakesOnlyTheKeysLine) {
    EXPECT_EQ(removeIniKey("[A]\nx=1\ny=2\n\n[B]\nx=3\n", "a", "X"), "[A]\ny=2\n\n[B]\nx=3\n");
    EXPECT_EQ(removeIniKey("[A]\r\nx=1", "A", "x"), "[A]\r\n");
    EXPECT_EQ(removeIniKey("[A]\ny=2\n", "A", "x"), "[A]\ny=2\n");
    EXPECT_EQ(removeIniKey("[B]\nx=2\n", "A", "x"), "[B]\nx=2\n");
}

// The settings file as the user keeps it: a write leaves every other byte where it was.
TEST(IniText, IniFileWritesLeaveTheRestOfTheFile) {
    testing::TempDir dir;
    const auto path = dir.file("Quillon.ini");
    const std::string before =
        "; my settings\n[Einstellungen]\nSprache=Deutsch\nGitter=1\n[Fenster]\nMapZoom=2\n";
    std::ofstream(path, std::ios::binary) << before;
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString("Einstellungen", "Sprache", "English"));
    ASSERT_TRUE(ini.deleteKey("Fenster", "MapZoom"));
    std::stringstream after;
    after << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(after.str(),
              "; my settings\n[Einstellungen]\nSprache=English\nGitter=1\n[Fenster]\n");
    EXPECT_EQ(IniFile(path).readString("Einstellungen", "Sprache", ""), "English");
}

}  // namespace
}  // namespace quillon
