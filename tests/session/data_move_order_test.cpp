#include <gtest/gtest.h>

#include "core/writers/map_resize.h"
#include "core/errors.h"
#include "core/writers/event_counts.h"
#include "core/session/session.h"
#include "tests/events/event_test_rom.h"

namespace quillon {
namespace {

using namespace romkit;
using namespace testing;

// An image in memory that notes where each write went and fails the write number failAt, as a
// full disk would in the middle of a command.
class WriteLog final : public RomFile {
public:
    explicit WriteLog(std::vector<std::uint8_t> bytes) : m_image(std::move(bytes)) {}
    void read(std::uint32_t offset, std::span<std::uint8_t> out) override {
        m_image.read(offset, out);
    }
    void write(std::uint32_t offset, std::span<const std::uint8_t> data) override {
        if (static_cast<int>(writes.size()) == failAt) {
            throw RomIoError("I/O error 28");
        }
        writes.push_back(offset);
        m_image.write(offset, data);
    }
    std::uint64_t size() const override { return m_image.size(); }

    std::vector<std::uint32_t> writes;
    int failAt = -1;

private:
    MemoryRomFile m_image;
};

struct Command {
    const char* name;
    // Runs the command at offset; returns the offsets its writes must go to, in order.
    std::vector<std::uint32_t> (*run)(Session&, const BuiltMap&, std::uint32_t offset);
    // Whether the map read from the ROM is still the one from before.
    bool (*unchanged)(Session&);
};

const Command kCommands[] = {
    {"resize",
     [](Session& s, const BuiltMap& m, std::uint32_t at) {
         resizeMap(s.rom(), s.romState().profile(), s.mapState(), 10, 3, at);
         return std::vector<std::uint32_t>{at + 8, m.footer};
     },
     [](Session& s) { return s.mapState().grid().width == 8 && s.mapState().grid().height == 6; }},
    {"event counts",
     [](Session& s, const BuiltMap& m, std::uint32_t at) {
         applyEventCounts(s.rom(), s.mapState(), {3, 1, 0, 0}, at);
         return std::vector<std::uint32_t>{at, at + 80, m.header + 4};
     },
     [](Session& s) {
         return eventCounts(s.mapState().events()) == EventCounts{1, 1, 0, 0};
     }},
};

// The data go first and the pointer that publishes them last: a write that fails on the way
// leaves a ROM whose map reads as before, and the open map as it was.
TEST(DataMoveOrder, TheMapChangesOnlyWithItsLastWrite) {
    RomBuilder b = eventRomBuilder();
    MapSpec m = eventMap(0, 0);
    m.persons = {personRecord(1, 0, 1, 1)};
    m.warps = {warpRecord(2, 2, 0, 0, 0)};
    b.addMap(m);
    const BuiltRom built = b.build();
    TempDir dir;
    writeProgramFolder(dir.path(), built);
    const std::uint32_t at = (built.freeSpace + 0x100) & ~0xFFu;
    for (const Command& c : kCommands) {
        for (int failAt : {0, 1, 2, -1}) {
            SCOPED_TRACE(std::string(c.name) + ", failing write " + std::to_string(failAt));
            Session s(dir.path());
            auto image = std::make_unique<WriteLog>(built.bytes);
            WriteLog& log = *image;
            s.openRom(std::move(image), "t.gba");
            s.openMap("0.0", "t");
            log.failAt = failAt;
            std::vector<std::uint32_t> expected;
            try {
                expected = c.run(s, built.maps.at({0, 0}), at);
            } catch (const RomIoError&) {
                EXPECT_TRUE(c.unchanged(s)) << "the open map";
                s.openMap("0.0", "t");
                EXPECT_TRUE(c.unchanged(s)) << "the map read back";
                continue;
            }
            EXPECT_TRUE(failAt < 0 || failAt >= static_cast<int>(expected.size()))
                << "the failing write was not reported";
            EXPECT_EQ(log.writes, expected);
            s.openMap("0.0", "t");
            EXPECT_FALSE(c.unchanged(s));
        }
    }
}

}  // namespace
}  // namespace quillon
