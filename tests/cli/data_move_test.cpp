#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_data_move.h"
#include "cli/cli_messages.h"
#include "core/base/numbers.h"
#include "core/writers/map_resize.h"
#include "core/errors.h"
#include "core/writers/event_counts.h"
#include "tests/cli/cli_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using testing::OpenRom;
using Bytes = std::vector<std::uint8_t>;

romkit::BuiltRom eventRom() {
    romkit::RomBuilder b = testing::twoPairBuilder();
    romkit::MapSpec m = testing::chequerMap(0, 0, 0);
    m.persons = {romkit::personRecord(1, 0, 1, 1)};
    m.warps = {romkit::warpRecord(2, 2, 0, 0, 0)};
    b.addMap(m);
    return b.build();
}

std::uint32_t freeAt(const romkit::BuiltRom& rom) { return (rom.freeSpace + 0x100) & ~0xFFu; }

// The tool and the window's core call give the same file.
TEST(CliDataMove, WritesWhatTheWindowWrites) {
    const romkit::BuiltRom rom = eventRom();
    const std::uint32_t at = freeAt(rom);
    const std::string offset = "$" + IntToHex(at, 6);
    OpenRom tool(rom);
    OpenRom window(rom);
    std::ostringstream out;
    cli::resizeMap(tool.session, "0.0", "12", "$A", offset, out);
    cli::setEventCounts(tool.session, "0.0", {"3", "0", "1", "2"}, "$" + IntToHex(at + 0x400, 6),
                        out);
    window.session.openMap("0.0", "t");
    resizeMap(window.session.rom(), window.session.romState().profile(), window.session.mapState(),
              12, 10, at);
    applyEventCounts(window.session.rom(), window.session.mapState(), {3, 0, 1, 2}, at + 0x400);
    const Bytes written = testing::fileBytes(tool.file());
    EXPECT_TRUE(written == testing::fileBytes(window.file()));
    EXPECT_FALSE(written == rom.bytes);
    EXPECT_NE(out.str().find("\"grid_offset\": " + std::to_string(at + 8)), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("\"events_offset\": " + std::to_string(at + 0x400 + 3 * 24 + 16 + 24)),
              std::string::npos)
        << out.str();
}

TEST(CliDataMove, RefusesInEnglishAndWritesNothing) {
    const romkit::BuiltRom rom = eventRom();
    const std::uint32_t at = freeAt(rom);
    const auto hex = [](std::uint32_t offset) { return "$" + IntToHex(offset, 6); };
    const auto end = static_cast<std::uint32_t>(rom.bytes.size());
    const struct {
        bool resize;
        std::vector<std::string> numbers;
        std::string offset;
        std::string says;
    } cases[] = {
        {true, {"0", "5"}, hex(at), "WIDTH: 0 is outside 1 to 8001"},
        {true, {"5", "-2"}, hex(at), "HEIGHT: -2 is outside"},
        {true, {"90", "90"}, hex(at), "8100 blocks; at most 8001"},
        {true, {"vier", "5"}, hex(at), "\"vier\" is not a number"},
        {true,
         {"5", "5"},
         hex(at + 1),
         "the next such offset in the same free run is " + hex(at + 2)},
        // The grid (offset + 8, 50 bytes) two bytes past the end of the file.
        {true,
         {"5", "5"},
         hex(end - 56),
         "the grid at " + hex(end - 48) + " (50 bytes) runs past the end of the file"},
        {true,
         {"5", "5"},
         "$40",
         "the grid at $000048 (50 bytes) reaches into the cartridge header"},
        // Data of the ROM where the user pointed: the bank table, the map's own header.
        {true,
         {"5", "5"},
         hex(rom.bankTable - 8),
         "the grid at " + hex(rom.bankTable) + " (50 bytes) is not free at " + hex(rom.bankTable) +
             ": the byte there is $"},
        {false,
         {"1", "1", "0", "0"},
         hex(rom.maps.at({0, 0}).header),
         "the event tables at " + hex(rom.maps.at({0, 0}).header) + " (32 bytes) are not free at " +
             hex(rom.maps.at({0, 0}).header) + ": the map header of map 0.0 at " +
             hex(rom.maps.at({0, 0}).header) + " (28 bytes) lies there; nothing was written"},
        {false, {"1", "1", "0", "256"}, hex(at), "signposts: 256 is outside 0 to 255"},
        {false,
         {"1", "1", "0", "0"},
         hex(at + 6),
         "the next such offset in the same free run is " + hex(at + 8)},
        {false, {"1", "1", "0", "0"}, "zz", "--at: \"zz\" is not a number"},
        {false, {"1", "1", "0"}, hex(at), "four counts"},
        {false, {"1", "1", "0", "0"}, hex(at), "--fill: \"7\" is neither 00 nor FF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        OpenRom tool(rom);
        std::ostringstream out;
        try {
            if (c.resize) {
                cli::resizeMap(tool.session, "0.0", c.numbers[0], c.numbers[1], c.offset, out);
            } else {
                cli::setEventCounts(tool.session, "0.0", c.numbers, c.offset, out,
                                    c.says.find("--fill") == 0 ? "7" : "FF");
            }
            ADD_FAILURE() << "not refused";
        } catch (const Error& e) {
            const std::string english = cli::errorText(e);
            EXPECT_NE(english.find(c.says), std::string::npos) << english;
        }
        EXPECT_TRUE(testing::fileBytes(tool.file()) == rom.bytes);
        EXPECT_TRUE(out.str().empty());
    }
}

}  // namespace
}  // namespace quillon
