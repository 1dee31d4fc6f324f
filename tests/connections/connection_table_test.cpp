#include <gtest/gtest.h>

#include "core/base/numbers.h"
#include "core/connections/connection_table.h"
#include "core/errors.h"
#include "core/map/map_header.h"
#include "core/rom/trom.h"
#include "romkit/rom_builder.h"

namespace quillon {
namespace {

using romkit::BuiltRom;

BuiltRom buildWithConnections(std::optional<std::vector<Connection>> connections) {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON TEST", "QTSE", 1 << 20);
    romkit::TilesetSpec tileset;
    tileset.tiles.assign(32, 0);
    tileset.palettes.push_back({});
    tileset.blocks.push_back({});
    b.addTileset(tileset);
    b.addTileset(tileset);
    romkit::MapSpec map;
    map.connections = std::move(connections);
    b.addMap(map);
    map.map = 1;
    map.connections.reset();
    b.addMap(map);
    return b.build();
}

ConnectionTable read(const BuiltRom& built, int map = 0) {
    TRom rom;
    built.attachTo(rom);
    const std::uint32_t header = built.maps.at({0, map}).header;
    return readConnections(rom, MapHeader::decode(std::span(built.bytes).subspan(header, 28)));
}

TEST(ConnectionRecord, EncodesEveryFieldLittleEndianAndBack) {
    const Connection c{3, -5, 0x12, 0x34, 0xBEEF};
    const auto bytes = c.encode();
    const std::array<std::uint8_t, 12> expected{3, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF,
                                                0x12, 0x34, 0xEF, 0xBE};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Connection::decode(bytes), c);
}

TEST(ConnectionTable, ReadsTheRecordsTheHeaderCounts) {
    const std::vector<Connection> wanted{{1, 10, 0, 1, 0}, {2, -5, 0, 1, 0}, {4, 0, 3, 7, 0x1234}};
    const BuiltRom built = buildWithConnections(wanted);
    const ConnectionTable table = read(built);
    EXPECT_EQ(table.headerOffset, built.maps.at({0, 0}).connectionHeader);
    EXPECT_EQ(table.recordsOffset, built.maps.at({0, 0}).connectionRecords);
    EXPECT_EQ(table.records, wanted);

    const ConnectionTable none = read(built, 1);
    EXPECT_FALSE(none.exists());
    EXPECT_TRUE(none.records.empty());

    // A header that counts no records is an empty table, not a missing one.
    const ConnectionTable empty = read(buildWithConnections(std::vector<Connection>{}));
    EXPECT_TRUE(empty.exists());
    EXPECT_TRUE(empty.records.empty());
}

// Damaged tables are refused with the place named; nothing is read past the file.
TEST(ConnectionTable, RefusesPlacesOutsideTheFile) {
    struct Case {
        const char* what;
        void (*damage)(BuiltRom&);
        const char* message;
    };
    const Case cases[] = {
        {"count past the end", [](BuiltRom& b) {
             writeLe32(&b.bytes[b.maps.at({0, 0}).connectionHeader], 0x10000000);
         }, "hinter dem Dateiende"},
        {"records in the cartridge header", [](BuiltRom& b) {
             writeLe32(&b.bytes[b.maps.at({0, 0}).connectionHeader + 4], 0x08000010);
         }, "Rom-Header"},
        {"header past the end", [](BuiltRom& b) {
             writeLe32(&b.bytes[b.maps.at({0, 0}).header + 12], 0x08FFFFFC);
         }, "hinter dem Dateiende"},
    };
    for (const Case& c : cases) {
        BuiltRom built = buildWithConnections(std::vector<Connection>{{1, 0, 0, 1, 0}});
        c.damage(built);
        try {
            read(built);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.what << ": " << e.what();
        }
    }
}

}  // namespace
}  // namespace quillon
