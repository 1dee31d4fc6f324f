#pragma once

#include <QString>
#include <map>
#include <memory>
#include <string>

#include "romkit/rom_builder.h"
#include "tests/support/program_folder.h"

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
// "ZWEITE" (2 x 2); "Extra" opens 0.1's footer without a header. None of them has events.
// Bank 1 has them: 1.0 "EVENTS" (6 x 4): person 0 at (1, 1), person 1 at (4, 2) (trainer flag
// 2), warp 0 at (2, 1) to warp 2 of 1.1, warp 1 at (3, 3) to warp 5 of 0.1, a script trigger
// at (5, 0) (script 0), a signpost of type 3 at (1, 1) (script 0x400), the fly position at
// (5, 3); 1.1 "ZIEL" (2 x 2) has three warps. Wild encounters: 0.0 grass (rate 20) and
// fishing (rate 30), 1.0 water (rate 4); species names "MON1" to "MON40".
class TestProgram {
public:
    // withLanguages false leaves out Sprachen.ini. A FireRed ROM has the game code BPRE.
    explicit TestProgram(bool withLanguages = true, romkit::Family family = romkit::Family::Rse);

    const romkit::BuiltRom& rom() const { return m_rom; }
    QString romPath() const;
    std::filesystem::path folder() const { return m_dir.path(); }
    std::string readIni(const std::string& name) const;

    // A new main window on the folder; *dialogs receives its stand-in user.
    std::unique_ptr<ui::MainWindow> window(FakeDialogs** dialogs) const;

private:
    TempDir m_dir;
    romkit::BuiltRom m_rom;
};

}  // namespace quillon::testing
