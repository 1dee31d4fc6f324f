#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_history.h"
#include "cli/cli_messages.h"
#include "cli/cli_wild.h"
#include "core/errors.h"
#include "tests/cli/cli_test_rom.h"
#include "tests/wild/wild_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

// The tool's messages in English, as it prints them without --lang.
class CliWildSet : public ::testing::Test {
protected:
    void SetUp() override { cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English"); }
};

std::string run(OpenRom& open, const std::string& id, const cli::WildEdit& edit) {
    std::ostringstream out, err;
    cli::setWild(open.session, id, edit, out, err);
    return out.str();
}

std::string printed(OpenRom& open, const std::string& id) {
    std::ostringstream out, err;
    cli::printWild(open.session, id, out, err);
    return out.str();
}

void putSlot(std::vector<std::uint8_t>& bytes, std::uint32_t at, wild::Slot s) {
    bytes.at(at) = s.minLevel;
    bytes.at(at + 1) = s.maxLevel;
    bytes.at(at + 2) = static_cast<std::uint8_t>(s.species);
    bytes.at(at + 3) = static_cast<std::uint8_t>(s.species >> 8);
}

// Several assignments of two kinds are one write: exactly the rate word and the slots given
// change, a species by number or by name; undo puts every byte back.
TEST_F(CliWildSet, WritesTheGivenValuesAndNothingElse) {
    const romkit::BuiltRom rom = testing::buildWildRom();
    OpenRom open(rom);
    const auto original = testing::fileBytes(open.file());
    const romkit::BuiltWild& w = rom.wild.at({0, 1});
    run(open, "0.1", {{"grass.rate=33", "grass.0=3,9,mon5", "fishing.9=$0A,12,17"}, "", false});

    std::vector<std::uint8_t> expected = original;
    const std::uint32_t grassRecord = w.records[0];
    expected[grassRecord] = 33;
    expected[grassRecord + 1] = expected[grassRecord + 2] = expected[grassRecord + 3] = 0;
    putSlot(expected, w.slotArrays[0], {3, 9, 5});
    putSlot(expected, w.slotArrays[3] + 9 * wild::kSlotSize, {10, 12, 17});
    EXPECT_EQ(testing::fileBytes(open.file()), expected);

    std::ostringstream out;
    cli::undo(open.session, 1, out);
    EXPECT_EQ(testing::fileBytes(open.file()), original);
}

// What `wild` prints, edited and given back with --json, writes exactly the edit; the same
// file again writes nothing (not even a step of the history), and null leaves a kind alone.
TEST_F(CliWildSet, PrintedJsonRoundTrips) {
    const romkit::BuiltRom rom = testing::buildWildRom();
    OpenRom open(rom);
    const auto original = testing::fileBytes(open.file());
    std::string json = printed(open, "0.1");
    const std::string from = "\"rate\": 4,";  // water's rate
    ASSERT_NE(json.find(from), std::string::npos) << json;
    json.replace(json.find(from), from.size(), "\"rate\": 7,");
    const std::string grass =
        json.substr(json.find("\"grass\""), json.find("\"water\"") - json.find("\"grass\""));
    json.replace(json.find(grass), grass.size(), "\"grass\": null,\n  ");
    const std::filesystem::path file = open.dir.file("wild.json");
    std::ofstream(file) << json;

    run(open, "0.1", {{}, file.string(), false});
    std::vector<std::uint8_t> expected = original;
    expected[rom.wild.at({0, 1}).records[1]] = 7;
    EXPECT_EQ(testing::fileBytes(open.file()), expected);
    run(open, "0.1", {{}, file.string(), false});
    EXPECT_EQ(testing::fileBytes(open.file()), expected);
    std::ostringstream out;
    cli::undo(open.session, 1, out);  // the unchanged file was no step of its own
    EXPECT_EQ(testing::fileBytes(open.file()), original);
}

// Unusual levels are written only with --force, as the window writes them only when the user
// agrees.
TEST_F(CliWildSet, UnusualLevelsNeedForce) {
    const romkit::BuiltRom rom = testing::buildWildRom();
    OpenRom open(rom);
    const auto original = testing::fileBytes(open.file());
    const cli::WildEdit edit{{"water.1=0,5,3", "water.2=9,8,3"}, "", false};
    try {
        run(open, "0.1", edit);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(cli::errorText(e),
                  "unusual levels, nothing was written: water.1: 0 - 5 (level outside 1 to 100); "
                  "water.2: 9 - 8 (minimum level above maximum level); give --force to write "
                  "them");
    }
    EXPECT_EQ(testing::fileBytes(open.file()), original);
    run(open, "0.1", {edit.sets, "", true});
    std::vector<std::uint8_t> expected = original;
    putSlot(expected, rom.wild.at({0, 1}).slotArrays[1] + 4, {0, 5, 3});
    putSlot(expected, rom.wild.at({0, 1}).slotArrays[1] + 8, {9, 8, 3});
    EXPECT_EQ(testing::fileBytes(open.file()), expected);
}

// Every refusal names what is wrong and leaves the file as it was.
TEST_F(CliWildSet, RefusalsWriteNothing) {
    const romkit::BuiltRom rom = testing::buildWildRom();
    const struct {
        const char* id;
        std::vector<std::string> sets;
        const char* json;  // file content, "" for none
        const char* message;
    } cases[] = {
        {"0.0",
         {"grass.rate=3"},
         "",
         "map 0.0 has no entry in the wild encounter table; none "
         "is created"},
        {"0.2", {"water.rate=3"}, "", "map 0.2 has no water encounters; none are created"},
        {"0.1", {"grass"}, "", "--set grass: expected KIND.rate=N or KIND.SLOT=MIN,MAX,SPECIES"},
        {"0.1",
         {"cave.rate=3"},
         "",
         "--set cave.rate=3: unknown kind \"cave\" (grass, water, "
         "rock, fishing)"},
        {"0.1",
         {"grass.rate=abc"},
         "",
         "grass.rate: rate \"abc\" is not a number (decimal, or "
         "hexadecimal after $)"},
        {"0.1", {"grass.rate=256"}, "", "grass.rate: rate 256 is outside 0 to 255"},
        {"0.1", {"grass.12=3,4,1"}, "", "grass.12: there is no slot 12; grass has slots 0 to 11"},
        {"0.1", {"rock.-1=3,4,1"}, "", "rock.-1: there is no slot -1; rock has slots 0 to 4"},
        {"0.1", {"grass.0=3,4"}, "", "grass.0: expected MIN,MAX,SPECIES, not \"3,4\""},
        {"0.1", {"grass.0=3,300,1"}, "", "grass.0: maximum level 300 is outside 0 to 255"},
        {"0.1", {"grass.0=x,3,1"}, "", "grass.0: minimum level \"x\" is not a number"},
        {"0.1", {"grass.0=3,4,412"}, "", "grass.0: species 412 is outside 0 to 411"},
        {"0.1", {"grass.0=3,4,MEW"}, "", "grass.0: no species is named \"MEW\""},
        {"0.1", {"grass.0=3,4,1", "grass.0=3,4,2"}, "", "grass.0 is given twice"},
        {"0.1", {"grass.rate=9", "grass.1=101,101,1"}, "", "unusual levels, nothing was written"},
        {"0.1", {}, "[1]", "expected an object of grass, water, rock and fishing, or null"},
        {"0.1", {}, "{\"cave\": null}", "unknown key \"cave\""},
        {"0.1", {}, "{\"rock\": {\"rate\": 1}}", "rock must be null or an object with rate"},
        {"0.1",
         {},
         "{\"rock\": {\"rate\": 1, \"slots\": []}}",
         "rock has 5 slots, the file "
         "gives 0"},
        {"0.1",
         {},
         "{\"rock\": {\"rate\": 1.5, \"slots\": []}}",
         "rock.rate must be a whole "
         "number or a text"},
        {"0.1",
         {},
         "{\"water\": null, \"rock\": {\"rate\": 1, \"slots\": [{\"min\": 2, "
         "\"max\": 3, \"species\": 4, \"name\": \"MON5\"}, 1, 2, 3, 4]}}",
         "rock.0: species 4 is named \"MON4\", not \"MON5\""},
        {"0.1", {}, "{", "is no JSON"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        OpenRom open(rom);
        const auto before = testing::fileBytes(open.file());
        cli::WildEdit edit{c.sets, "", false};
        if (*c.json != '\0') {
            edit.jsonFile = open.dir.file("wild.json").string();
            std::ofstream(edit.jsonFile) << c.json;
        }
        try {
            run(open, c.id, edit);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_NE(cli::errorText(e).find(c.message), std::string::npos) << cli::errorText(e);
        }
        EXPECT_EQ(testing::fileBytes(open.file()), before);
    }
}

// A name the species list holds twice is refused naming both numbers; a number the slot
// holds already is taken even outside the list, as the window keeps it.
TEST_F(CliWildSet, SpeciesNamesMustBeUnique) {
    romkit::BuiltRom rom = testing::buildWildRom();
    const std::uint32_t name3 = rom.pokemonNames + 3 * 11;  // 11-byte names
    std::copy_n(rom.bytes.begin() + rom.pokemonNames + 2 * 11, 11, rom.bytes.begin() + name3);
    const std::uint32_t slot0 = rom.wild.at({0, 2}).slotArrays[0];
    rom.bytes[slot0 + 2] = 0xF4;  // species 500
    rom.bytes[slot0 + 3] = 0x01;
    OpenRom open(rom);
    try {
        run(open, "0.2", {{"grass.1=3,4,Mon3"}, "", false});
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(cli::errorText(e),
                  "grass.1: \"Mon3\" names several species (3, 4); give the number");
    }
    const auto before = testing::fileBytes(open.file());
    run(open, "0.2", {{"grass.0=7,8,500"}, "", false});
    std::vector<std::uint8_t> expected = before;
    putSlot(expected, slot0, {7, 8, 500});
    EXPECT_EQ(testing::fileBytes(open.file()), expected);
}

}  // namespace
}  // namespace quillon
