#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_connections.h"
#include "cli/cli_history.h"
#include "cli/cli_messages.h"
#include "core/errors.h"
#include "tests/cli/cli_test_rom.h"
#include "tests/connections/connection_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

class CliConnectionsSet : public ::testing::Test {
protected:
    void SetUp() override { cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English"); }
};

std::string run(OpenRom& open, const std::string& id, const cli::ConnectionEdit& edit) {
    std::ostringstream out;
    cli::editConnections(open.session, id, edit, out);
    return out.str();
}

void put32(std::vector<std::uint8_t>& bytes, std::uint32_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// A table as the game reads it, written by hand: the records at at, count and pointer behind
// them, and the map header's pointer at +12 to that header.
void putTable(std::vector<std::uint8_t>& bytes, std::uint32_t mapHeader, std::uint32_t at,
              const std::vector<Connection>& records) {
    std::uint32_t p = at;
    for (const Connection& c : records) {
        const auto record = c.encode();
        std::copy(record.begin(), record.end(), bytes.begin() + p);
        p += Connection::kSize;
    }
    put32(bytes, p, static_cast<std::uint32_t>(records.size()));
    put32(bytes, p + 4, 0x08000000 + at);
    put32(bytes, mapHeader + 12, 0x08000000 + p);
}

cli::ConnectionEdit adding(const std::string& text, const std::string& at = "") {
    cli::ConnectionEdit e;
    e.add = text;
    e.at = at;
    return e;
}

// Each writer changes exactly the table it writes and the map header's pointer; undo puts
// every byte back.
TEST_F(CliConnectionsSet, WritesExactlyTheTable) {
    const romkit::BuiltRom rom = testing::connectionRomBuilder().build();
    const std::uint32_t free = (rom.freeSpace + 0x100) & ~3u;
    const romkit::BuiltMap& m00 = rom.maps.at({0, 0});
    const romkit::BuiltMap& m01 = rom.maps.at({0, 1});
    const romkit::BuiltMap& m03 = rom.maps.at({0, 3});
    const std::vector<Connection> table00{
        {1, 0, 0, 1, 0}, {4, 5, 0, 2, 0}, {3, 3, 0, 3, 0}, {2, 0, 7, 7, 0}, {5, 0, 1, 0, 0}};
    cli::ConnectionEdit remove;
    remove.remove = "2";
    cli::ConnectionEdit removeOnly;
    removeOnly.remove = "0";
    cli::ConnectionEdit wayBack;
    wayBack.wayBack = "2";
    wayBack.at = std::to_string(free);
    std::vector<Connection> removed = table00;
    removed.erase(removed.begin() + 2);
    const struct {
        const char* id;
        cli::ConnectionEdit edit;
        std::vector<std::tuple<std::uint32_t, std::uint32_t, std::vector<Connection>>> tables;
    } cases[] = {
        {"0.1",
         adding("LEFT,-2,0.3", std::to_string(free)),
         {{m01.header, free, {{2, 0, 0, 0, 0}, {3, -2, 0, 3, 0}}}}},
        {"0.0", remove, {{m00.header, m00.connectionRecords, removed}}},
        {"0.1", removeOnly, {{m01.header, m01.connectionRecords, {}}}},
        {"0.0",
         wayBack,
         {{m00.header, m00.connectionRecords, table00},
          {m03.header, free, {{4, 3, 0, 0, 0}, {4, -3, 0, 0, 0}}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        OpenRom open(rom);
        const auto original = testing::fileBytes(open.file());
        run(open, c.id, c.edit);
        std::vector<std::uint8_t> expected = original;
        for (const auto& [header, at, records] : c.tables) {
            putTable(expected, header, at, records);
        }
        EXPECT_EQ(testing::fileBytes(open.file()), expected);
        std::ostringstream out;
        cli::undo(open.session, 1, out);
        EXPECT_EQ(testing::fileBytes(open.file()), original);
    }
}

// What `connections` prints, edited and given back with --json, is written as the list it
// shows; the records the map holds stay as they are.
TEST_F(CliConnectionsSet, PrintedJsonRoundTrips) {
    const romkit::BuiltRom rom = testing::connectionRomBuilder().build();
    const std::uint32_t free = (rom.freeSpace + 0x100) & ~3u;
    OpenRom open(rom);
    const auto original = testing::fileBytes(open.file());
    std::ostringstream printed;
    cli::printConnections(open.session, "0.0", printed);
    std::string json = printed.str();
    const std::string from = "\"offset\": 3,";
    ASSERT_NE(json.find(from), std::string::npos) << json;
    json.replace(json.find(from), from.size(), "\"offset\": -3,");
    const std::filesystem::path file = open.dir.file("c.json");
    std::ofstream(file) << json;
    cli::ConnectionEdit edit;
    edit.jsonFile = file.string();
    edit.at = std::to_string(free);
    run(open, "0.0", edit);
    std::vector<std::uint8_t> expected = original;
    putTable(
        expected, rom.maps.at({0, 0}).header, free,
        {{1, 0, 0, 1, 0}, {4, 5, 0, 2, 0}, {3, -3, 0, 3, 0}, {2, 0, 7, 7, 0}, {5, 0, 1, 0, 0}});
    EXPECT_EQ(testing::fileBytes(open.file()), expected);
}

// Every refusal names what is wrong and leaves the file as it was.
TEST_F(CliConnectionsSet, RefusalsWriteNothing) {
    const romkit::BuiltRom rom = testing::connectionRomBuilder().build();
    const std::uint32_t free = (rom.freeSpace + 0x100) & ~3u;
    const std::string at = std::to_string(free);
    const auto edit = [](const char* field, const std::string& value, const std::string& where) {
        cli::ConnectionEdit e;
        e.at = where;
        (std::string(field) == "remove" ? e.remove : e.wayBack) = value;
        return e;
    };
    const auto json = [](const std::string& where) {
        cli::ConnectionEdit e;
        e.jsonFile = "c.json";
        e.at = where;
        return e;
    };
    const struct {
        const char* id;
        cli::ConnectionEdit edit;
        std::string file;  // content of c.json
        const char* message;
    } cases[] = {
        {"0.9", adding("down,0,0.1", at), "", "map 0.9: "},
        {"0.1", adding("north,0,0.3", at), "", "direction \"north\" is none of down, up"},
        {"0.1", adding("none,0,0.3", at), "", "direction \"none\" is none of"},
        {"0.1", adding("down,abc,0.3", at), "", "offset \"abc\" is not a number of blocks"},
        {"0.1", adding("down,0,9.9", at), "", "there is no map 9.9"},
        {"0.1", adding("down,0,0.300", at), "", "\"0.300\" is no map"},
        {"0.1", adding("down,0", at), "", "--add down,0: expected DIR,OFFSET,BANK.MAP"},
        {"0.4", adding("down,0,0.1"), "",
         "map 0.4 has no connection table yet; give --at with "
         "room for 20 bytes"},
        {"0.1", adding("down,0,0.3", "$" + std::to_string(4)), "", "the cartridge header"},
        {"0.1", adding("down,0,0.3", "$FFFF0"), "", "past the end"},
        {"0.1", adding("down,0,0.3", std::to_string(rom.maps.at({0, 0}).header)), "",
         "nothing was written"},
        {"0.0", edit("remove", "5", ""), "",
         "there is no connection 5 (the map has 5, counted "
         "from 0)"},
        {"0.0", edit("remove", "x", ""), "", "there is no connection x"},
        {"0.0", edit("way", "1", at), "", "map 0.2 already has the way back"},
        {"0.0", edit("way", "3", at), "", "there is no map 7.7"},
        {"0.0", edit("way", "2", ""), "",
         "the connections of 0.3 grow and move: give --at with "
         "room for 32 bytes"},
        {"0.0", json(at), "null", "null, but the map has a connection table"},
        {"0.0", json(at), "{}", "expected a list of connections, or null"},
        {"0.0", json(at), "[{\"direction\": 1}]", "connection 0 must be an object with"},
        {"0.0", json(at), "[{\"direction\": 1, \"offset\": 0, \"bank\": 0, \"map\": 300}]",
         "connection 0: map is 300, expected a whole number from 0 to 255"},
        {"0.0", json(at), "[{\"direction\": 9, \"offset\": 0, \"bank\": 0, \"map\": 1}]",
         "direction \"9\" is none of"},
        {"0.0", json(at),
         "[{\"direction\": \"up\", \"offset\": 0, \"bank\": 0, \"map\": 1, "
         "\"to\": 1}]",
         "connection 0: unknown key \"to\""},
        {"0.0", json(at),
         "[" +
             [] {
                 std::string list;
                 for (int i = 0; i < 11; ++i) {
                     list += std::string(i ? "," : "") +
                             "{\"direction\": 1, \"offset\": 0, \"bank\": 0, \"map\": 1}";
                 }
                 return list;
             }() +
             "]",
         "there are already 10 connections"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        OpenRom open(rom);
        const auto before = testing::fileBytes(open.file());
        cli::ConnectionEdit e = c.edit;
        if (!e.jsonFile.empty()) {
            e.jsonFile = open.dir.file("c.json").string();
            std::ofstream(e.jsonFile) << c.file;
        }
        try {
            run(open, c.id, e);
            ADD_FAILURE() << "no error";
        } catch (const Error& err) {
            EXPECT_NE(cli::errorText(err).find(c.message), std::string::npos)
                << cli::errorText(err);
        }
        EXPECT_EQ(testing::fileBytes(open.file()), before);
    }
}

}  // namespace
}  // namespace quillon
