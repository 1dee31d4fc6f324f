#include "core/connections/connection_list.h"

#include <gtest/gtest.h>

#include "core/connections/button_layout.h"
#include "core/errors.h"

namespace quillon {
namespace {

ConnectionList listOf(std::vector<Connection> records) {
    ConnectionTable table;
    table.headerOffset = 0x1000;
    table.records = std::move(records);
    return ConnectionList(table);
}

std::vector<std::int32_t> offsets(const ConnectionList& list) {
    std::vector<std::int32_t> out;
    for (const Connection& c : list.records()) {
        out.push_back(c.offset);
    }
    return out;
}

TEST(ConnectionList, RemovingMovesTheLaterOnesDown) {
    ConnectionList list =
        listOf({{1, 1, 0, 0, 0}, {1, 2, 0, 0, 0}, {1, 3, 0, 0, 0}, {1, 4, 0, 0, 0}});
    list.remove(2);
    EXPECT_EQ(offsets(list), (std::vector<std::int32_t>{1, 3, 4}));
    list.remove(3);
    EXPECT_EQ(offsets(list), (std::vector<std::int32_t>{1, 3}));
    EXPECT_THROW(list.remove(3), Error);
    EXPECT_THROW(list.remove(0), Error);
    list.remove(1);
    list.remove(1);
    EXPECT_EQ(list.count(), 0u);
    list.remove(1);  // nothing to remove: nothing happens
    EXPECT_EQ(list.count(), 0u);
}

TEST(ConnectionList, HoldsTenAndRefusesTheEleventh) {
    ConnectionList list;
    EXPECT_FALSE(list.hasTable());
    for (int i = 0; i < 10; ++i) {
        list.add();
    }
    EXPECT_EQ(list.records().back(), Connection{});
    EXPECT_THROW(list.add(), Error);
    EXPECT_EQ(list.count(), 10u);
    EXPECT_NO_THROW(list.requireSavable());
}

// A ROM table of 12 shows its first 10, says so and cannot be saved.
TEST(ConnectionList, ATableOfMoreThanTenIsShownInPartAndNotSaved) {
    std::vector<Connection> twelve;
    for (int i = 0; i < 12; ++i) {
        twelve.push_back({1, i, 0, 0, 0});
    }
    const ConnectionList list = listOf(twelve);
    EXPECT_EQ(list.count(), 10u);
    EXPECT_EQ(list.records().back().offset, 9);
    EXPECT_EQ(list.dropped(), 2u);
    ASSERT_TRUE(list.tooManyNotice());
    EXPECT_EQ(germanText(*list.tooManyNotice()),
              "Die Map hat 12 Anbindungen; gezeigt werden die ersten 10. Speichern geht nicht, es "
              "würde die übrigen löschen.");
    EXPECT_THROW(list.requireSavable(), Error);
    EXPECT_FALSE(listOf({}).tooManyNotice());
}

TEST(ConnectionList, FieldTextsFollowTheNumberRules) {
    struct Case {
        void (ConnectionList::*set)(std::size_t, std::string_view);
        const char* text;
        Connection expected;
    };
    const Connection start{1, 7, 3, 4, 0x10};
    const Case cases[] = {
        {&ConnectionList::setOffsetText, "-12", {1, -12, 3, 4, 0x10}},
        {&ConnectionList::setOffsetText, "-", start},
        {&ConnectionList::setOffsetText, "", start},
        {&ConnectionList::setOffsetText, "$10", {1, 16, 3, 4, 0x10}},
        {&ConnectionList::setBankText, "300", {1, 7, 44, 4, 0x10}},
        {&ConnectionList::setBankText, "", start},
        {&ConnectionList::setMapText, "$1FF", {1, 7, 3, 0xFF, 0x10}},
        {&ConnectionList::setFillerText, "$12345", {1, 7, 3, 4, 0x2345}},
        {&ConnectionList::setFillerText, "", start},
        // A lone "$" or sign waits for the digits that follow.
        {&ConnectionList::setFillerText, "$", start},
        {&ConnectionList::setMapText, "$", start},
        {&ConnectionList::setOffsetText, "-$", start},
        {&ConnectionList::setBankText, "-", start},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ConnectionList list = listOf({start});
        (list.*c.set)(1, c.text);
        EXPECT_EQ(list.at(1), c.expected);
    }
    ConnectionList list = listOf({start});
    EXPECT_THROW(list.setOffsetText(1, "1x"), ConversionError);
    EXPECT_THROW(list.setBankText(2, "1"), Error);
    list.setDirection(1, 6);
    EXPECT_EQ(list.at(1).direction, 6u);
    EXPECT_EQ(offsetText({0, -5, 0, 0, 0}), "-5");
    EXPECT_EQ(fillerText({0, 0, 0, 0, 0xAB}), "$00AB");
}

// --- the neighbour buttons -------------------------------------------------------------

constexpr std::size_t idx(NeighbourButton b) { return static_cast<std::size_t>(b); }
bool every(int, int) { return true; }

TEST(NeighbourButtons, TwoBelowAreOrderedByOffset) {
    const ButtonLayout l = layoutButtons({{1, 10, 0, 1, 0}, {1, -5, 0, 2, 0}}, every);
    EXPECT_EQ(l[idx(NeighbourButton::Down1)].connection, 2);  // offset -5
    EXPECT_EQ(l[idx(NeighbourButton::Down2)].connection, 1);  // offset 10
    EXPECT_EQ(l[idx(NeighbourButton::Down1)].rect, (ButtonRect{25, 205, 90, 25}));
    EXPECT_EQ(l[idx(NeighbourButton::Down2)].rect, (ButtonRect{115, 205, 90, 25}));
    EXPECT_FALSE(l[idx(NeighbourButton::Down3)].visible);
    EXPECT_EQ(l[idx(NeighbourButton::Down3)].connection, 0);
}

TEST(NeighbourButtons, ThreeAboveLeftToRightAndAFourthGetsNone) {
    const ButtonLayout l = layoutButtons(
        {{2, 20, 0, 1, 0}, {2, 0, 0, 2, 0}, {2, 10, 0, 3, 0}, {2, -9, 0, 4, 0}}, every);
    const int expected[] = {2, 3, 1};  // offsets 0, 10, 20; the fourth (-9) has no button
    const int starts[] = {25, 85, 145};
    for (std::size_t i = 0; i < 3; ++i) {
        const ButtonPlace& p = l[idx(NeighbourButton::Up1) + i];
        EXPECT_EQ(p.connection, expected[i]);
        EXPECT_EQ(p.rect, (ButtonRect{starts[i], 0, 60, 25}));
    }
}

// Columns run along y; one connection takes the whole edge; an edge without any shows its
// three buttons disabled; the last dive (emerge) counts; direction 0 and 7 get nothing.
TEST(NeighbourButtons, ColumnsMiddleAndEmptyEdges) {
    const ButtonLayout l = layoutButtons({{3, 0, 0, 1, 0},
                                          {4, 1, 0, 2, 0},
                                          {4, 0, 0, 3, 0},
                                          {5, 0, 0, 4, 0},
                                          {5, 0, 0, 5, 0},
                                          {0, 0, 0, 6, 0},
                                          {7, 0, 0, 7, 0},
                                          {6, 0, 0, 8, 0}},
                                         every);
    EXPECT_EQ(l[idx(NeighbourButton::Left1)].rect, (ButtonRect{0, 25, 25, 180}));
    EXPECT_FALSE(l[idx(NeighbourButton::Left2)].visible);
    EXPECT_EQ(l[idx(NeighbourButton::Right1)].connection, 3);
    EXPECT_EQ(l[idx(NeighbourButton::Right2)].rect, (ButtonRect{205, 115, 25, 90}));
    EXPECT_EQ(l[idx(NeighbourButton::Dive)].connection, 5);
    EXPECT_EQ(l[idx(NeighbourButton::Dive)].rect, (ButtonRect{75, 145, 80, 25}));
    EXPECT_EQ(l[idx(NeighbourButton::Emerge)].connection, 8);
    EXPECT_EQ(l[idx(NeighbourButton::Emerge)].rect, (ButtonRect{75, 60, 80, 25}));
    for (std::size_t i = idx(NeighbourButton::Down1); i <= idx(NeighbourButton::Up3); ++i) {
        EXPECT_EQ(l[i].connection, 0) << i;
        EXPECT_TRUE(l[i].visible) << i;
    }
    EXPECT_EQ(l[idx(NeighbourButton::Down3)].rect, (ButtonRect{145, 205, 60, 25}));
}

TEST(NeighbourButtons, ANeighbourNotListedIsMissing) {
    const ButtonLayout l =
        layoutButtons({{1, 0, 0, 1, 0}, {1, 4, 9, 9, 0}}, [](int bank, int) { return bank == 0; });
    EXPECT_FALSE(l[idx(NeighbourButton::Down1)].missing);
    EXPECT_TRUE(l[idx(NeighbourButton::Down2)].missing);
    EXPECT_FALSE(l[idx(NeighbourButton::Dive)].missing);
}

}  // namespace
}  // namespace quillon
