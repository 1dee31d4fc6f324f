#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_history.h"
#include "cli/cli_messages.h"
#include "core/writers/map_attributes.h"
#include "core/errors.h"
#include "core/rom/trom.h"
#include "core/session/session.h"
#include "tests/cli/cli_test_rom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using testing::OpenRom;

// The tool's messages in English, as it prints them without --lang.
class CliHistory : public ::testing::Test {
protected:
    void SetUp() override { cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English"); }
};

// The history commands' refusals reach the user in English, and a refusal writes nothing.
TEST_F(CliHistory, RefusalsAreEnglishAndWriteNothing) {
    romkit::RomBuilder b = testing::twoPairBuilder();
    b.addMap(testing::chequerMap(0, 0, 0));
    OpenRom open(b.build());
    Session& s = open.session;
    std::ostringstream out;
    EXPECT_EQ(testing::cliErrorOf([&] { cli::undo(s, 1, out); }), "nothing to undo");
    EXPECT_EQ(testing::cliErrorOf([&] { cli::redo(s, 1, out); }), "nothing to redo");
    cli::recover(s, true, false, out);
    EXPECT_EQ(out.str(), "No unfinished transaction in the history; nothing changed.\n");

    s.openMap("0.0", "0.0");
    map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Weather, 9);
    const std::uint32_t weather = s.mapState().map().headerOffset + 22;
    {
        std::fstream f(open.file(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(weather);
        f.put(0x01);
    }
    const auto before = testing::fileBytes(open.file());
    EXPECT_EQ(testing::cliErrorOf([&] { cli::undo(s, 2, out); }),
              "only 1 transaction can be undone; nothing was written");
    const std::string refused = testing::cliErrorOf([&] { cli::undo(s, 1, out); });
    EXPECT_EQ(refused.find("\"Change weather 0.0\" is refused: the ROM holds other bytes than "
                           "the history at $"),
              0u)
        << refused;
    EXPECT_EQ(testing::fileBytes(open.file()), before);
}

// What the history commands print names the transactions in English.
TEST_F(CliHistory, TransactionsAreNamedInEnglish) {
    romkit::RomBuilder b = testing::twoPairBuilder();
    b.addMap(testing::chequerMap(0, 0, 0));
    OpenRom open(b.build());
    Session& s = open.session;
    s.openMap("0.0", "0.0");
    map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Weather, 9);
    map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Type, 2);
    std::ostringstream out;
    cli::undo(s, 2, out);
    EXPECT_EQ(out.str(), "Undid 2 transactions: \"Undo: Change weather 0.0 (and 1 more)\"\n");
    out.str("");
    cli::printHistory(s, out);
    EXPECT_NE(out.str().find("\"name\": \"Change type 0.0\""), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("ändern"), std::string::npos) << out.str();
    EXPECT_EQ(testing::cliErrorOf([&] { cli::redo(s, 3, out); }),
              "only 2 transactions can be redone; nothing was written");
    cli::redo(s, 1, out);
    EXPECT_EQ(testing::cliErrorOf([&] { cli::redo(s, 2, out); }),
              "only 1 transaction can be redone; nothing was written");
}

// The history command names each transaction in the language the tool was given; an entry
// from before names were messages keeps its stored name; the notices follow the language too.
TEST_F(CliHistory, NamesAndNoticesFollowTheLanguage) {
    romkit::RomBuilder b = testing::twoPairBuilder();
    b.addMap(testing::chequerMap(0, 0, 0));
    OpenRom open(b.build());
    Session& s = open.session;
    s.openMap("0.0", "0.0");
    {
        TRom::Transaction tx(s.rom(), "Wetter ändern 0.0", "0.0");  // as an old file holds it
        s.rom().WriteByte(static_cast<std::int32_t>(s.mapState().map().headerOffset + 22), 3);
        tx.commit();
    }
    map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Weather, 9);
    std::ostringstream out;
    cli::undo(s, 2, out);
    const struct {
        const char* language;
        std::vector<std::string> names;  // newest first
        const char* undid;
    } cases[] = {
        {"English",
         {"Undo: Wetter ändern 0.0 (and 1 more)", "Change weather 0.0", "Wetter ändern 0.0"},
         "Undid 2 transactions: \"Undo: Wetter ändern 0.0 (and 1 more)\"\n"},
        {"Deutsch",
         {"Rückgängig: Wetter ändern 0.0 (und 1 weitere)", "Wetter ändern 0.0",
          "Wetter ändern 0.0"},
         "Undid 2 transactions: \"Rückgängig: Wetter ändern 0.0 (und 1 weitere)\"\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, c.language);
        out.str("");
        cli::printHistory(s, out);
        std::vector<std::string> names;
        for (const auto& entry : nlohmann::json::parse(out.str())) {
            names.push_back(entry["name"]);
        }
        EXPECT_EQ(names, c.names);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, c.language);
        out.str("");
        cli::redo(s, 2, out);
        cli::undo(s, 2, out);
        EXPECT_EQ(out.str().substr(out.str().find("Undid")), c.undid);
    }
    // A history of another ROM beside a ROM opened for reading: told, left alone.
    std::filesystem::copy_file(s.rom().history().path(), open.file().string() + ".x");
    const auto other = open.folder / "other.gba";
    std::filesystem::copy_file(open.file(), other);
    {
        std::fstream f(other, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(s.mapState().map().headerOffset + 22));
        f.put(static_cast<char>(0xEE));
    }
    std::filesystem::rename(open.file().string() + ".x", other.string() + ".quillon-history");
    Session reader(open.folder);
    reader.settings().setPersistent(false);
    reader.openRom(other, true);
    const struct {
        const char* language;
        const char* start;
    } notices[] = {
        {"English", "quillon-cli: the history file \"other.gba.quillon-history\" does not belong "
                    "to this ROM (the ROM does not hold the bytes of its last entry \"Undo: "
                    "Wetter ändern 0.0 (and 1 more)\"); it was not applied and is left as it is"},
        {"Deutsch", "quillon-cli: Der Verlauf \"other.gba.quillon-history\" gehört nicht zu "
                    "diesem Rom: das Rom enthält die Bytes des letzten Eintrags \"Rückgängig: "
                    "Wetter ändern 0.0 (und 1 weitere)\" nicht. Er wurde nicht angewendet und "
                    "bleibt unverändert liegen."},
    };
    for (const auto& n : notices) {
        cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, n.language);
        std::ostringstream err;
        EXPECT_EQ(cli::printHistoryNotices(reader, err), 1u);
        EXPECT_EQ(err.str(), std::string(n.start) + "\n");
    }
}

// A transaction cut off: undo points to recover instead of saying there is nothing to undo.
TEST_F(CliHistory, UndoAfterACrashPointsToRecover) {
    romkit::RomBuilder b = testing::twoPairBuilder();
    b.addMap(testing::chequerMap(0, 0, 0));
    OpenRom open(b.build());
    Session& s = open.session;
    s.openMap("0.0", "0.0");
    int writes = 0;
    s.rom().history().setWriteHook([&writes] {
        if (++writes == 3) {  // header, record, then the mark
            throw RomIoError("crash");
        }
    });
    EXPECT_THROW(map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Weather, 9),
                 RomIoError);
    Session reopened(open.folder);
    reopened.settings().setPersistent(false);
    reopened.openRom(open.file(), true);
    std::ostringstream out;
    std::ostringstream err;
    cli::printUnfinishedNotice(reopened, err);
    EXPECT_NE(err.str().find("unfinished transaction (\"Change weather 0.0\""),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("quillon-cli recover"), std::string::npos) << err.str();
    EXPECT_NE(testing::cliErrorOf([&] { cli::undo(reopened, 1, out); }).find("recover"),
              std::string::npos);
}

}  // namespace
}  // namespace quillon
