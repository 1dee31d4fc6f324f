#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_commands.h"
#include "cli/cli_messages.h"
#include "cli/cli_wild.h"
#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/tables/table_check.h"
#include "tests/cli/cli_test_rom.h"
#include "tests/map/sample_rom.h"
#include "tests/wild/wild_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

// The ROM's bytes with a profile whose offset of one table is 0x18 short of the table.
romkit::BuiltRom shifted(romkit::BuiltRom built, std::uint32_t romkit::BuiltRom::*table) {
    built.*table -= 0x18;
    return built;
}

// "info" lists each table that failed its check in English; the commands that need the
// table refuse with the same sentence.
TEST(CliTableCheck, FailedTablesAreListedAndRefusedInEnglish) {
    const romkit::BuiltRom sample = testing::buildSampleRom();
    const romkit::BuiltRom wild = testing::buildWildRom();
    const struct {
        romkit::BuiltRom layout;
        std::uint32_t romkit::BuiltRom::*table;
        const char* name;
        const char* why;
        std::function<void(Session&)> command;  // refused with the failure
    } cases[] = {
        {shifted(sample, &romkit::BuiltRom::bankTable), &romkit::BuiltRom::bankTable,
         "the bank table", "does not hold map tables",
         [](Session& s) { cli::checkBankTable(s); }},
        {shifted(sample, &romkit::BuiltRom::tilesetHeaders), &romkit::BuiltRom::tilesetHeaders,
         "the tileset table", "holds no tileset header", nullptr},
        {shifted(sample, &romkit::BuiltRom::nameTable), &romkit::BuiltRom::nameTable,
         "the map name table", "does not point to a text at name 1", nullptr},
        {shifted(wild, &romkit::BuiltRom::wildTable), &romkit::BuiltRom::wildTable,
         "the wild encounter table", "holds no wild encounter records",
         [](Session& s) {
             std::ostringstream out, err;
             cli::printWild(s, "0.1", out, err);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenRom open(c.layout);
        const std::string line = std::string(c.name) + " at " + hexOffset(c.layout.*c.table) +
                                 " " + c.why + ": this ROM does not match the profile \"" +
                                 c.layout.title + "\"";
        std::ostringstream info;
        cli::printInfo(open.session, info);
        EXPECT_NE(info.str().find("Table not used: " + line + "\n"), std::string::npos)
            << info.str();
        if (c.command) {
            EXPECT_EQ(testing::cliErrorOf([&] { c.command(open.session); }), line);
        }
    }
}

// A map slot refused for the bank table keeps the slot in front, in either language.
TEST(CliTableCheck, TheSlotOfAnInsertionStaysInFront) {
    const Message failure = tables::failureMessage(
        tables::Table::SpritePalettes, 0x1234, message("table.why.palette_missing", {"2"}), "X Y");
    const Error refusal(message("insert.slot", {"3.0", failure}));
    EXPECT_EQ(std::string(refusal.what()),
              "Bank/Nr 3.0: Die Tabelle der Sprite-Paletten bei $001234 enthält bei Eintrag 2 "
              "keine Palette: dieses Rom passt nicht zum Profil \"X Y\".");
    EXPECT_EQ(cli::errorText(refusal),
              "--slot 3.0: the sprite palette table at $001234 holds no palette at record 2: "
              "this ROM does not match the profile \"X Y\"");
}

}  // namespace
}  // namespace quillon
