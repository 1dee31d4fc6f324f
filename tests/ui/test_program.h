#pragma once

#include <QString>
#include <map>
#include <memory>
#include <string>

#include "tests/support/program_folder.h"
#include "tests/support/rom_builder.h"

namespace quillon::ui {
class MainWindow;
}

namespace quillon::testing {

class FakeDialogs;

// Colours the test tilesets draw: block 0 is red, block 1 green (GBA words 0x001F, 0x03E0).
constexpr std::uint32_t kRed = 0xFFF80000u;
constexpr std::uint32_t kGreen = 0xFF00F800u;

// A program folder with the game profile, language, weather and movement files, a map
// group file, and the test ROM written beside it as "test.gba". Maps: 0.0 "TESTHAUS" (3 x 2,
// grid 0000 0C01 0000 / 0001 0000 0000, music 012C, weather 2, type 1, name shown) and 0.1
// "ZWEITE" (2 x 2); "Extra" opens 0.1's footer without a header.
class TestProgram {
public:
    // withLanguages false leaves out Sprachen.ini.
    explicit TestProgram(bool withLanguages = true);

    const BuiltRom& rom() const { return m_rom; }
    QString romPath() const;
    std::filesystem::path folder() const { return m_dir.path(); }
    std::string readIni(const std::string& name) const;

    // A new main window on the folder; *dialogs receives its stand-in user.
    std::unique_ptr<ui::MainWindow> window(FakeDialogs** dialogs) const;

private:
    TempDir m_dir;
    BuiltRom m_rom;
};

}  // namespace quillon::testing
