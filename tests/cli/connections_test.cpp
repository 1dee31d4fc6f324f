#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_connections.h"
#include "core/errors.h"
#include "tests/cli/cli_test_rom.h"
#include "tests/connections/connection_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

std::string connections(OpenRom& open, const std::string& id) {
    std::ostringstream out;
    cli::printConnections(open.session, id, out);
    return out.str();
}

std::string squeezed(std::string text) {
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
    return text;
}

TEST(CliConnections, PrintsEachRecordWithItsWayBack) {
    OpenRom open(testing::connectionRomBuilder().build());
    EXPECT_EQ(squeezed(connections(open, "0.0")),
              "[{\"direction\":1,\"offset\":0,\"bank\":0,\"map\":1,\"filler\":0,\"reverse\":true},"
              "{\"direction\":4,\"offset\":5,\"bank\":0,\"map\":2,\"filler\":0,\"reverse\":true},"
              "{\"direction\":3,\"offset\":3,\"bank\":0,\"map\":3,\"filler\":0,\"reverse\":false},"
              "{\"direction\":2,\"offset\":0,\"bank\":7,\"map\":7,\"filler\":0,\"reverse\":false},"
              "{\"direction\":5,\"offset\":0,\"bank\":1,\"map\":0,\"filler\":0,\"reverse\":true}]");
    EXPECT_EQ(connections(open, "0.4"), "null\n");
    EXPECT_THROW(connections(open, "0.9"), Error);
}

TEST(CliConnections, ChecksEveryMap) {
    OpenRom open(testing::connectionRomBuilder().build());
    std::ostringstream out;
    EXPECT_EQ(cli::checkConnections(open.session, out), 3u);
    EXPECT_EQ(out.str(),
              "0.0 left +3 -> 0.3: no way back\n"
              "0.0 up +0 -> 7.7: no such map\n"
              "0.3 right +3 -> 0.0: no way back\n");
}

TEST(CliConnections, UnreadableTablesAreNamedInEnglish) {
    romkit::BuiltRom rom = testing::connectionRomBuilder().build();
    testing::patch32(rom, rom.maps.at({0, 1}).connectionHeader, 0x100000);
    OpenRom open(rom);
    std::ostringstream out;
    cli::checkConnections(open.session, out);
    EXPECT_NE(out.str().find("0.0 down +0 -> 0.1: connections of 0.1 unreadable\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("0.1: connections unreadable: the map's 1048576 connections at $"),
              std::string::npos)
        << out.str();
    try {
        connections(open, "0.1");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("map 0.1: the map's 1048576 connections"),
                  std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace quillon
