#include <gtest/gtest.h>

#include "core/text/char_table.h"

namespace quillon {
namespace {

CharTable smallTable() {
    CharTable t;
    t.set(0x00, " ");
    t.set(0xBB, "A");
    t.set(0xBC, "B");
    t.set(0x53, "[PK]");
    t.set(0x54, "[");
    t.set(0x1B, "é");
    t.set(0xC0, "A");  // the same text as 0xBB: encoding takes the lower byte
    return t;
}

TEST(CharTable, DecodeStopsAtTerminatorAndDropsEmptyEntries) {
    CharTable t = smallTable();
    const std::vector<std::uint8_t> name{0xBB, 0x00, 0x99, 0xBC, 0xFF, 0xBB};
    EXPECT_EQ(t.decode(name), "A B");
    EXPECT_EQ(t.decode(std::vector<std::uint8_t>{0xFF, 0xBB}), "");
    EXPECT_EQ(t.decode(std::vector<std::uint8_t>{0x53, 0x1B}), "[PK]é");
}

TEST(CharTable, EncodeMatchesWholePendingTextLowestByteFirst) {
    CharTable t = smallTable();
    auto e = t.encode("AB");
    EXPECT_EQ(e.bytes, (std::vector<std::uint8_t>{0xBB, 0xBC}));
    EXPECT_EQ(e.pending, "");

    // "[" is itself an entry (0x54), so "[PK]" never collects: the documented greedy rule.
    e = t.encode("[PK]");
    EXPECT_EQ(e.bytes.front(), 0x54);

    t.set(0x54, "");
    e = t.encode("[P");
    EXPECT_TRUE(e.bytes.empty());
    EXPECT_EQ(e.pending, "[P");
    e = t.encode("[PK]A");
    EXPECT_EQ(e.bytes, (std::vector<std::uint8_t>{0x53, 0xBB}));
    EXPECT_EQ(e.accepted, "[PK]A");

    e = t.encode("é", 18);
    EXPECT_EQ(e.bytes, (std::vector<std::uint8_t>{0x1B})) << "a character is a code point";
    e = t.encode(std::string(22, 'A'), 18);
    EXPECT_EQ(e.bytes.size(), 18u);
}

}  // namespace
}  // namespace quillon
