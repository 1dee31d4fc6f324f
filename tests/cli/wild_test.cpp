#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_wild.h"
#include "tests/cli/cli_test_rom.h"
#include "tests/map/sample_rom.h"
#include "tests/wild/wild_test_rom.h"

namespace quillon {
namespace {

using testing::buildWildRom;
using testing::OpenRom;

struct Printed {
    std::string out, err;
};

Printed printWild(const romkit::BuiltRom& rom, const std::string& id) {
    OpenRom open(rom);
    std::ostringstream out, err;
    cli::printWild(open.session, id, out, err);
    return {out.str(), err.str()};
}

// What the wild table's reader says about a damaged table reaches the user in English.
TEST(CliWild, DamagedTablesAreReportedInEnglish) {
    romkit::BuiltRom slotsOutside = buildWildRom();
    testing::put32(slotsOutside, slotsOutside.wild.at({0, 1}).records[0] + 4, 0x09FFFFFF);
    romkit::BuiltRom recordOutside = buildWildRom();
    testing::put32(recordOutside, recordOutside.wild.at({0, 1}).header + 16, 0x09FFFFF0);
    // A table in the free space: map 0.1's header, then headers of map 9.9 without end.
    romkit::BuiltRom unended = buildWildRom();
    const std::uint32_t first = unended.wild.at({0, 1}).header;
    for (std::uint32_t i = 0; i < 1100 * 20; ++i) {
        unended.bytes.at(unended.freeSpace + i) = i < 20       ? unended.bytes[first + i]
                                                  : i % 20 < 2 ? 9
                                                               : 0;
    }
    unended.wildTable = unended.freeSpace;
    const struct {
        const romkit::BuiltRom& rom;
        const char* nullKind;
        const char* message;
    } cases[] = {
        {slotsOutside, "\"grass\": null",
         "the grass encounters of map 0.1: the slots (pointer $09FFFFFF at $"},
        {recordOutside, "\"fishing\": null",
         "the fishing encounters of map 0.1: the record at $1FFFFF0 lies outside the file"},
        {unended, "\"rock\": {", "has no end mark (FF FF): read no further than 1024 entries"},
    };
    for (const auto& c : cases) {
        const Printed printed = printWild(c.rom, "0.1");
        EXPECT_NE(printed.out.find(c.nullKind), std::string::npos) << printed.out;
        EXPECT_NE(printed.err.find(c.message), std::string::npos) << printed.err;
        EXPECT_EQ(printed.err.find("Datei"), std::string::npos) << printed.err;
    }
}

}  // namespace
}  // namespace quillon
