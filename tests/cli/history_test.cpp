#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_history.h"
#include "cli/cli_messages.h"
#include "core/edit/map_attributes.h"
#include "core/errors.h"
#include "tests/cli/cli_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using testing::OpenRom;

std::string englishError(const std::function<void()>& run) {
    try {
        run();
    } catch (const Error& e) {
        return cli::englishMessage(e.what());
    }
    return "(no error)";
}

// The history commands' refusals reach the user in English, and a refusal writes nothing.
TEST(CliHistory, RefusalsAreEnglishAndWriteNothing) {
    romkit::RomBuilder b = testing::twoPairBuilder();
    b.addMap(testing::chequerMap(0, 0, 0));
    OpenRom open(b.build());
    Session& s = open.session;
    std::ostringstream out;
    EXPECT_EQ(englishError([&] { cli::undo(s, 1, out); }), "nothing to undo");
    EXPECT_EQ(englishError([&] { cli::redo(s, 1, out); }), "nothing to redo");
    cli::recover(s, true, false, out);
    EXPECT_EQ(out.str(), "No unfinished transaction in the history; nothing changed.\n");

    s.openMap("0.0", "0.0");
    map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Weather, 9);
    const std::uint32_t weather = s.map().headerOffset + 22;
    {
        std::fstream f(open.file(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(weather);
        f.put(0x01);
    }
    const auto before = testing::fileBytes(open.file());
    EXPECT_EQ(englishError([&] { cli::undo(s, 2, out); }),
              "only 1 transaction can be undone; nothing was written");
    const std::string refused = englishError([&] { cli::undo(s, 1, out); });
    EXPECT_EQ(refused.find("\"Wetter ändern 0.0\" is refused: the ROM holds other bytes than the "
                           "history at $"),
              0u)
        << refused;
    EXPECT_EQ(testing::fileBytes(open.file()), before);
}

}  // namespace
}  // namespace quillon
