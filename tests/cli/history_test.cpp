#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_history.h"
#include "cli/cli_messages.h"
#include "core/writers/map_attributes.h"
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
    const std::uint32_t weather = s.mapState().map().headerOffset + 22;
    {
        std::fstream f(open.file(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(weather);
        f.put(0x01);
    }
    const auto before = testing::fileBytes(open.file());
    EXPECT_EQ(englishError([&] { cli::undo(s, 2, out); }),
              "only 1 transaction can be undone; nothing was written");
    const std::string refused = englishError([&] { cli::undo(s, 1, out); });
    EXPECT_EQ(refused.find("\"Change weather 0.0\" is refused: the ROM holds other bytes than "
                           "the history at $"),
              0u)
        << refused;
    EXPECT_EQ(testing::fileBytes(open.file()), before);
}

// What the history commands print names the transactions in English.
TEST(CliHistory, TransactionsAreNamedInEnglish) {
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
    EXPECT_EQ(englishError([&] { cli::redo(s, 3, out); }),
              "only 2 transactions can be redone; nothing was written");
    cli::redo(s, 1, out);
    EXPECT_EQ(englishError([&] { cli::redo(s, 2, out); }),
              "only 1 transaction can be redone; nothing was written");
}

TEST(CliHistory, TransactionNamesAndHistoryNoticesReadInEnglish) {
    const struct {
        const char* german;
        const char* english;
    } cases[] = {
        {"Header ändern 3.0", "Change header 3.0"},
        {"Rückgängig: Wetter ändern 0.1 (und 2 weitere)", "Undo: Change weather 0.1 (and 2 more)"},
        {"Wiederherstellen: Map speichern unter 1.2", "Redo: Save map as 1.2"},
        {"Block speichern $1F", "Save block $1F"},
        {"Namen ändern", "Rename map"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::englishTransactionName(c.german), c.english);
    }
    const struct {
        const char* german;
        const char* english;
    } notices[] = {
        {"Der Verlauf \"r.gba.quillon-history\" gehört nicht zu diesem Rom: das Rom enthält "
         "die Bytes des letzten Eintrags \"Grösse ändern 3.0\" nicht. Er wurde nicht angewendet "
         "und als \"r.gba.quillon-history.2025-01-02-0304\" beiseitegelegt.",
         "the history file \"r.gba.quillon-history\" does not belong to this ROM (the ROM does "
         "not hold the bytes of its last entry \"Resize 3.0\"); it was not applied and was set "
         "aside as \"r.gba.quillon-history.2025-01-02-0304\""},
        {"Der Verlauf \"r.h\" gehört nicht zu diesem Rom: das Rom enthält bei $000208 (8 Bytes) "
         "weder die alten noch die neuen Bytes der unvollendeten Änderung \"Event menge 0.1\". "
         "Er wurde nicht angewendet und bleibt unverändert liegen.",
         "the history file \"r.h\" does not belong to this ROM (the ROM holds neither the old "
         "nor the new bytes of the unfinished transaction \"Change event counts 0.1\" at "
         "$000208 (8 Bytes)); it was not applied and is left as it is"},
        {"Der Verlauf \"r.h\" gehört nicht zu diesem Rom: das Rom hat 16 Bytes, der Verlauf "
         "gehört zu 32 Bytes. Er wurde nicht angewendet und bleibt unverändert liegen.",
         "the history file \"r.h\" does not belong to this ROM (the ROM has 16 bytes, the "
         "history belongs to one of 32 bytes); it was not applied and is left as it is"},
        {"Im Verlauf steht eine unvollendete Änderung (\"Wetter ändern 0.1\"); sie muss zuerst "
         "vollendet oder zurückgenommen werden.",
         "the history holds an unfinished transaction (\"Change weather 0.1\"); resolve it "
         "first with quillon-cli recover ROM --complete or --rollback"},
        {"Der Verlauf \"r.h\" konnte nicht gekürzt werden und bleibt größer als eingestellt: Der "
         "Verlauf \"r.h\" konnte nicht geschrieben werden: I/O error 5",
         "warning: the history file \"r.h\" could not be shortened and stays larger than its "
         "bounds (the history file \"r.h\" cannot be used: I/O error 5)"},
    };
    for (const auto& n : notices) {
        EXPECT_EQ(cli::englishMessage(n.german), n.english);
    }
}

// A transaction cut off: undo points to recover instead of saying there is nothing to undo.
TEST(CliHistory, UndoAfterACrashPointsToRecover) {
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
    EXPECT_NE(englishError([&] { cli::undo(reopened, 1, out); }).find("recover"),
              std::string::npos);
}

}  // namespace
}  // namespace quillon
