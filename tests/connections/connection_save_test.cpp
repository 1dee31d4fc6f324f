#include "core/writers/connection_save.h"

#include <gtest/gtest.h>

#include "core/base/numbers.h"
#include "core/connections/way_back.h"
#include "core/errors.h"
#include "core/mapfile/map_from_file.h"
#include "core/rom/rom_file.h"
#include "core/session/session.h"
#include "tests/connections/connection_test_rom.h"

namespace quillon {
namespace {

using namespace testing;
using Bytes = std::vector<std::uint8_t>;

void put(Bytes& image, std::uint32_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + at);
}
Bytes le32(std::uint32_t v) {
    Bytes b(4);
    writeLe32(b.data(), v);
    return b;
}
Bytes recordsAndHeader(const std::vector<Connection>& records, std::uint32_t at) {
    Bytes b;
    for (const Connection& c : records) {
        const auto r = c.encode();
        b.insert(b.end(), r.begin(), r.end());
    }
    const Bytes count = le32(static_cast<std::uint32_t>(records.size()));
    const Bytes pointer = le32(0x08000000 | at);
    b.insert(b.end(), count.begin(), count.end());
    b.insert(b.end(), pointer.begin(), pointer.end());
    return b;
}

class ConnectionSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_built = connectionRomBuilder().build();
        writeProgramFolder(m_dir.path(), m_built);
        writeRomFile(m_dir.file("c.gba"), m_built);
        m_session.openRom(m_dir.file("c.gba"));
        m_free = (m_built.freeSpace + 0x100) & ~0xFFu;
    }
    Bytes file() { return fileBytes(m_dir.file("c.gba")); }
    ConnectionList open(const std::string& id) {
        m_session.openMap(id, "t");
        return loadConnections(m_session.rom(), m_session.mapState());
    }
    std::uint32_t header(int bank, int map) const { return m_built.maps.at({bank, map}).header; }
    // Where the last command wrote, in the order it wrote.
    std::vector<std::uint32_t> writeOrder() const {
        std::vector<std::uint32_t> offsets;
        for (const HistoryRange& r : m_session.rom().history().entries().back().ranges) {
            offsets.push_back(r.offset);
        }
        return offsets;
    }

    TempDir m_dir;
    romkit::BuiltRom m_built;
    Session m_session{m_dir.path()};
    std::uint32_t m_free = 0;
};

// Three connections: 36 bytes of records at R, then 03 00 00 00 and R's pointer, then the map
// header's pointer to that header; nothing else changes and the header copy follows.
TEST_F(ConnectionSaveTest, WritesRecordsHeaderAndPointerAndNothingElse) {
    ConnectionList list = open("0.0");
    list.remove(5);
    list.remove(4);
    list.setOffsetText(1, "-2");
    const SavedTable saved = saveConnections(m_session.rom(), m_session.mapState(), list, m_free);
    EXPECT_EQ(saved.records, m_free);
    EXPECT_EQ(saved.header, m_free + 36);
    Bytes expected = m_built.bytes;
    put(expected, m_free, recordsAndHeader(list.records(), m_free));
    put(expected, header(0, 0) + 12, le32(0x08000000 | (m_free + 36)));
    EXPECT_TRUE(file() == expected);
    EXPECT_EQ(m_session.mapState().map().header.connectionsOffset(), m_free + 36);
    EXPECT_EQ(m_session.rom().history().entries().back().name, "Anbindungen speichern 0.0");
    EXPECT_EQ(writeOrder(), (std::vector<std::uint32_t>{m_free, header(0, 0) + 12}));
    EXPECT_EQ(open("0.0").records(), list.records());
}

// A map without a connection header gets its first connection: a complete pointer.
TEST_F(ConnectionSaveTest, AMapWithoutTableGetsItsFirstConnection) {
    ConnectionList list = open("0.4");
    EXPECT_FALSE(list.hasTable());
    EXPECT_EQ(list.count(), 0u);
    list.add();
    list.setDirection(1, 1);
    list.setMapText(1, "1");
    saveConnections(m_session.rom(), m_session.mapState(), list, m_free);
    Bytes expected = m_built.bytes;
    put(expected, m_free, recordsAndHeader({{1, 0, 0, 1, 0}}, m_free));
    put(expected, header(0, 4) + 12, le32(0x08000000 | (m_free + 12)));
    EXPECT_TRUE(file() == expected);
    EXPECT_TRUE(open("0.4").hasTable());
}

// Everything is checked before the first byte: the file stays as it was.
TEST_F(ConnectionSaveTest, RefusalsWriteNothing) {
    const auto size = static_cast<std::uint32_t>(m_built.bytes.size());
    struct Case {
        const char* what;
        std::uint32_t offset;
    };
    for (const Case& c : {Case{"past the end", size - 8}, Case{"cartridge header", 0x40},
                          Case{"not on 4", m_free + 2}}) {
        SCOPED_TRACE(c.what);
        ConnectionList list = open("0.0");
        EXPECT_THROW(saveConnections(m_session.rom(), m_session.mapState(), list, c.offset), Error);
        EXPECT_TRUE(file() == m_built.bytes);
    }
}

// The neighbour gets its way back in the same transaction: this map's table, the neighbour's
// old records plus the new one, the neighbour's pointer, this map's pointer.
TEST_F(ConnectionSaveTest, CounterpartIsWrittenWithThisMapsSave) {
    ConnectionList list = open("0.0");
    const CounterpartPlan plan = planCounterpart(m_session.rom(), m_session.romState().bankScan(),
                                                 m_session.mapState(), list, 3);
    EXPECT_EQ(plan.records, (std::vector<Connection>{{4, 3, 0, 0, 0}, {4, -3, 0, 0, 0}}));
    const std::uint32_t theirs = m_free + 0x100;
    saveWithCounterpart(m_session.rom(), m_session.mapState(), list, m_free, plan, theirs);
    Bytes expected = m_built.bytes;
    put(expected, m_free, recordsAndHeader(list.records(), m_free));
    put(expected, theirs, recordsAndHeader(plan.records, theirs));
    put(expected, header(0, 3) + 12, le32(0x08000000 | (theirs + 24)));
    put(expected, header(0, 0) + 12, le32(0x08000000 | (m_free + 60)));
    EXPECT_TRUE(file() == expected);
    EXPECT_EQ(wayBackOf(m_session.rom(), m_session.romState().bankScan(), 0, 0, list.at(3)),
              WayBack::Present);
    EXPECT_EQ(m_session.rom().history().entries().size(), 1u);
    EXPECT_EQ(writeOrder(),
              (std::vector<std::uint32_t>{m_free, theirs, header(0, 3) + 12, header(0, 0) + 12}));
}

// A neighbour without a connection header gets its first one: a complete pointer to it.
TEST_F(ConnectionSaveTest, CounterpartIntoANeighbourWithoutTable) {
    ConnectionList list = open("0.0");
    list.setMapText(3, "4");  // left, offset 3, now to 0.4
    const CounterpartPlan plan = planCounterpart(m_session.rom(), m_session.romState().bankScan(),
                                                 m_session.mapState(), list, 3);
    EXPECT_EQ(plan.records, (std::vector<Connection>{{4, -3, 0, 0, 0}}));
    const std::uint32_t theirs = m_free + 0x100;
    saveWithCounterpart(m_session.rom(), m_session.mapState(), list, m_free, plan, theirs);
    Bytes expected = m_built.bytes;
    put(expected, m_free, recordsAndHeader(list.records(), m_free));
    put(expected, theirs, recordsAndHeader(plan.records, theirs));
    put(expected, header(0, 4) + 12, le32(0x08000000 | (theirs + 12)));
    put(expected, header(0, 0) + 12, le32(0x08000000 | (m_free + 60)));
    EXPECT_TRUE(file() == expected);
    EXPECT_EQ(open("0.4").records(), plan.records);
}

TEST_F(ConnectionSaveTest, CounterpartRefusals) {
    ConnectionList list = open("0.0");
    auto plan = [&](std::size_t n) {
        return planCounterpart(m_session.rom(), m_session.romState().bankScan(),
                               m_session.mapState(), list, n);
    };
    EXPECT_THROW(plan(1), Error);  // 0.1 leads back already
    EXPECT_THROW(plan(4), Error);  // 7.7 does not exist
    list.setDirection(2, 0);
    EXPECT_THROW(plan(2), Error);  // leads nowhere
    list.setDirection(2, 1);
    list.setBankText(2, "0");
    list.setMapText(2, "0");
    EXPECT_THROW(plan(2), Error);  // this map itself
    const CounterpartPlan p = plan(3);
    // Overlapping places, and the neighbour's place in the cartridge header.
    for (std::uint32_t theirs : {m_free + 32, std::uint32_t{0x80}}) {
        EXPECT_THROW(
            saveWithCounterpart(m_session.rom(), m_session.mapState(), list, m_free, p, theirs),
            Error);
        EXPECT_TRUE(file() == m_built.bytes);
    }
}

// The table may be rewritten where it lies; another map's table is no free space.
TEST_F(ConnectionSaveTest, OnlyTheOldTableNeedNotBeFree) {
    ConnectionList list = open("0.0");
    const std::uint32_t own = m_built.maps.at({0, 0}).connectionRecords;
    const std::uint32_t neighbours = m_built.maps.at({0, 3}).connectionRecords;
    try {
        saveConnections(m_session.rom(), m_session.mapState(), list, neighbours);
        ADD_FAILURE() << "written over the table of 0.3";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("ist bei " + hexOffset(neighbours) + " nicht frei"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(file() == m_built.bytes);

    saveConnections(m_session.rom(), m_session.mapState(), list, own);
    Bytes expected = m_built.bytes;
    put(expected, own, recordsAndHeader(list.records(), own));
    put(expected, header(0, 0) + 12, le32(0x08000000 | (own + 12 * list.count())));
    EXPECT_TRUE(file() == expected);
}

// A new table never lands on a map header, and a map from a map file (no header in the ROM)
// gets no connections written, not even its way back: the file stays as it was.
TEST_F(ConnectionSaveTest, NoTableOverAMapHeaderNorForAMapOutsideTheRom) {
    ConnectionList list = open("0.0");
    const CounterpartPlan plan = planCounterpart(m_session.rom(), m_session.romState().bankScan(),
                                                 m_session.mapState(), list, 3);
    EXPECT_THROW(saveConnections(m_session.rom(), m_session.mapState(), list, header(0, 0) - 8),
                 Error);
    for (const auto& [ours, theirs] :
         {std::pair{m_free, header(0, 3)}, std::pair{m_free, header(0, 0) + 24},
          std::pair{header(0, 3) - 4, m_free}}) {
        EXPECT_THROW(
            saveWithCounterpart(m_session.rom(), m_session.mapState(), list, ours, plan, theirs),
            Error);
    }
    EXPECT_TRUE(file() == m_built.bytes);

    m_session.openDetachedMap(newDetachedMap(2, 2, 0, 1, "Neu", {}));
    ASSERT_TRUE(m_session.mapState().map().outsideRom);
    try {
        saveConnections(m_session.rom(), m_session.mapState(), list, m_free);
        ADD_FAILURE() << "a map outside the ROM got connections";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("keiner Map im Rom"), std::string::npos) << e.what();
    }
    EXPECT_THROW(planCounterpart(m_session.rom(), m_session.romState().bankScan(),
                                 m_session.mapState(), list, 3),
                 Error);
    EXPECT_TRUE(file() == m_built.bytes);
    EXPECT_TRUE(m_session.rom().history().entries().empty());
}

// An image whose write number failAt fails, as a full disk would in the middle of a command.
class FailingWrite final : public RomFile {
public:
    FailingWrite(std::vector<std::uint8_t> bytes, int failAt)
        : m_image(std::move(bytes)), m_failAt(failAt) {}
    void read(std::uint32_t offset, std::span<std::uint8_t> out) override {
        m_image.read(offset, out);
    }
    void write(std::uint32_t offset, std::span<const std::uint8_t> data) override {
        if (m_writes++ == m_failAt) {
            throw RomIoError("I/O error 28");
        }
        m_image.write(offset, data);
    }
    std::uint64_t size() const override { return m_image.size(); }
    const Bytes& bytes() const { return m_image.bytes(); }

private:
    MemoryRomFile m_image;
    int m_failAt;
    int m_writes = 0;
};

// Whichever write fails, the ROM ends as it was and the open map keeps its old table.
TEST(ConnectionSaveFailure, AFailingWriteLeavesTheRomAsItWas) {
    const romkit::BuiltRom built = connectionRomBuilder().build();
    TempDir dir;
    writeProgramFolder(dir.path(), built);
    const std::uint32_t at = (built.freeSpace + 0x100) & ~0xFFu;
    for (int failAt : {0, 1}) {
        SCOPED_TRACE(failAt);
        Session s(dir.path());
        auto image = std::make_unique<FailingWrite>(built.bytes, failAt);
        const FailingWrite& rom = *image;
        s.openRom(std::move(image), "f.gba");
        s.openMap("0.0", "t");
        ConnectionList list = loadConnections(s.rom(), s.mapState());
        list.remove(1);
        EXPECT_THROW(saveConnections(s.rom(), s.mapState(), list, at), RomIoError);
        EXPECT_TRUE(rom.bytes() == built.bytes);
        EXPECT_EQ(s.mapState().map().header.connectionsOffset(),
                  built.maps.at({0, 0}).connectionHeader);
    }
}

}  // namespace
}  // namespace quillon
