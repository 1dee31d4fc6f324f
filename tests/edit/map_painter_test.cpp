#include <gtest/gtest.h>

#include "core/edit/map_painter.h"

namespace quillon {
namespace {

// A grid from rows of block numbers; movement value = block % 4 unless given.
BlockGrid gridOf(const std::vector<std::vector<int>>& rows) {
    BlockGrid g;
    g.height = static_cast<std::uint16_t>(rows.size());
    g.width = static_cast<std::uint16_t>(rows[0].size());
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            int b = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            auto m = static_cast<std::uint8_t>(b % 4);
            g.at(x, y) = GridEntry{}.withBlock(static_cast<std::uint16_t>(b)).withMovement(m);
            g.movement[static_cast<std::size_t>(y * g.width + x)] = m;
        }
    }
    return g;
}

std::vector<std::vector<int>> blocksOf(const BlockGrid& g) {
    std::vector<std::vector<int>> rows(g.height, std::vector<int>(g.width));
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = g.at(x, y).block();
        }
    }
    return rows;
}

struct Fixture {
    explicit Fixture(const std::vector<std::vector<int>>& rows) : grid(gridOf(rows)) {}
    BlockGrid grid;
    EditHistory history;
    MapPainter painter{grid, history};
};

TEST(MapPainter, PaintingABlockKeepsTheCellsOwnMovementBitsBeforeAnyPictureIsDrawn) {
    // The movement array is only refilled by drawing; a scripted edit comes before that.
    BlockGrid grid;
    grid.width = 2;
    grid.height = 1;
    grid.cells[0].raw = 0x33C6;
    grid.cells[1].raw = 0x0402;
    EditHistory history;
    MapPainter painter{grid, history};
    EXPECT_EQ(painter.paintBlock(0, 0, 0x001), CellRect::cell(0, 0));
    EXPECT_EQ(grid.at(0, 0).raw, 0x3001) << "movement 0x0C stays";
    EXPECT_EQ(grid.movement[0], 0x0C) << "the movement view follows the edit";
    EXPECT_TRUE(painter.paintBlock(5, 0, 1).empty()) << "outside the map";
    EXPECT_TRUE(painter.paintBlock(1, 0, 2).empty()) << "the cell holds the block already";
    // Movement edits key on the entries too: value 1 of cell 1 is found without a picture.
    EXPECT_EQ(painter.replaceMovement(1, 0, 5), CellRect::cell(1, 0));
    EXPECT_EQ(grid.at(1, 0).raw, (5 << 10) | 2);
}

TEST(MapPainter, FillFollowsFourConnectedCellsOnly) {
    Fixture f({{1, 1, 2, 1},
               {2, 1, 2, 1},
               {1, 1, 2, 2},
               {1, 2, 1, 1}});
    CellRect r = f.painter.fillBlocks(0, 0, 9);
    EXPECT_EQ(blocksOf(f.grid), (std::vector<std::vector<int>>{{9, 9, 2, 1},
                                                                 {2, 9, 2, 1},
                                                                 {9, 9, 2, 2},
                                                                 {9, 2, 1, 1}}));
    EXPECT_EQ(r, (CellRect{0, 0, 2, 4}));
    EXPECT_EQ(f.grid.at(0, 0).movement(), 1) << "each cell keeps its own movement value";
    EXPECT_TRUE(f.painter.fillBlocks(0, 0, 9).empty()) << "same block: nothing happens";
}

TEST(MapPainter, FillOnOneRowAndOnAWholeLargeMap) {
    Fixture row({{5, 5, 5, 6, 5}});
    row.painter.fillBlocks(1, 0, 7);
    EXPECT_EQ(blocksOf(row.grid), (std::vector<std::vector<int>>{{7, 7, 7, 6, 5}}));

    // 89 x 89 of one block: the fill keeps its pending cells in a list, not on the stack.
    Fixture big({std::vector<int>(89, 3)});
    big.grid.height = 89;
    for (int i = 0; i < 89 * 89; ++i) {
        big.grid.cells[static_cast<std::size_t>(i)] = GridEntry{3};
    }
    EXPECT_EQ(big.painter.fillBlocks(44, 44, 4), (CellRect{0, 0, 89, 89}));
    EXPECT_EQ(big.grid.at(88, 88).block(), 4);
}

TEST(MapPainter, ReplaceAllReachesUnconnectedCells) {
    Fixture f({{1, 2, 1}, {2, 2, 2}, {1, 2, 1}});
    f.painter.replaceBlocks(0, 0, 8);
    EXPECT_EQ(blocksOf(f.grid), (std::vector<std::vector<int>>{{8, 2, 8}, {2, 2, 2}, {8, 2, 8}}));
}

TEST(MapPainter, StampIsCutAtTheEdgesAndCarriesMovementValues) {
    Fixture f({{0, 0, 0}, {0, 0, 0}});
    Stamp s;
    s.width = 2;
    s.height = 2;
    for (std::uint16_t b : {0x0C05, 0x0406, 0x0807, 0x0008}) {
        s.cells.push_back(GridEntry{b});
    }
    EXPECT_EQ(f.painter.pasteStamp(s, 2, 1), (CellRect{2, 1, 1, 1}));
    EXPECT_EQ(f.grid.at(2, 1).raw, 0x0C05);
    EXPECT_EQ(f.grid.movement[5], 3);
    EXPECT_EQ(f.grid.at(1, 1).raw, 0) << "nothing written left of the paste";
}

TEST(MapPainter, MovementEditsKeepBlocks) {
    Fixture f({{0x234, 1}, {1, 1}});
    f.grid.at(0, 0).raw = 0x1234;  // block 0x234, movement 4
    f.grid.movement[0] = 4;
    f.painter.paintMovement(0, 0, 0x0C);
    EXPECT_EQ(f.grid.at(0, 0).raw, 0x3234);
    f.painter.fillMovement(1, 1, 7);
    EXPECT_EQ(f.grid.movement[1], 7);
    EXPECT_EQ(f.grid.at(0, 1).movement(), 7);
    EXPECT_EQ(f.grid.at(0, 0).movement(), 0x0C) << "not connected through value 1";
    f.painter.replaceMovement(0, 0, 7);
    EXPECT_EQ(f.grid.at(0, 0).raw, (7 << 10) | 0x234);
}

TEST(Selection, NormalisesBackwardDragsAndLimitsTo500Cells) {
    Selection a;
    a.start(5, 5);
    a.dragTo(3, 2);
    Selection b;
    b.start(3, 2);
    b.dragTo(5, 5);
    EXPECT_EQ(a.rect(), b.rect());
    EXPECT_EQ(a.rect(), (CellRect{3, 2, 3, 4}));

    Selection big;
    big.start(0, 0);
    big.dragTo(29, 29);
    EXPECT_EQ(big.rect(), (CellRect{0, 0, 30, 16}));
    big.start(40, 40);
    big.dragTo(11, 11);  // 30 x 30 upwards and leftwards: the start corner stays
    EXPECT_EQ(big.rect(), (CellRect{11, 25, 30, 16}));
    big.start(0, 0);
    big.dragTo(999, 0);
    EXPECT_EQ(big.rect(), (CellRect{0, 0, 500, 1}));
}

TEST(EditHistory, UndoRedoStepsAndTheSavedState) {
    Fixture f({{1, 1, 1}});
    f.history.begin();
    f.painter.paintBlock(0, 0, 5);
    f.painter.paintBlock(1, 0, 5);
    f.painter.paintBlock(0, 0, 6);  // the same cell twice in one drag
    f.history.end();
    f.history.begin();
    f.painter.fillBlocks(2, 0, 7);
    f.history.end();
    f.history.begin();
    f.history.end();  // a step that changed nothing is no step
    EXPECT_TRUE(f.history.modified());

    EXPECT_EQ(f.history.undo(f.grid), (CellRect{2, 0, 1, 1}));
    EXPECT_EQ(f.history.undo(f.grid), (CellRect{0, 0, 2, 1}));
    EXPECT_EQ(blocksOf(f.grid), (std::vector<std::vector<int>>{{1, 1, 1}}));
    EXPECT_FALSE(f.history.modified()) << "back at the opened state";
    EXPECT_FALSE(f.history.canUndo());

    f.history.redo(f.grid);
    EXPECT_EQ(blocksOf(f.grid), (std::vector<std::vector<int>>{{6, 5, 1}}));
    f.history.markSaved();
    EXPECT_FALSE(f.history.modified());
    f.history.undo(f.grid);
    EXPECT_TRUE(f.history.modified()) << "undoing past the save differs from the ROM";
    f.history.redo(f.grid);
    EXPECT_FALSE(f.history.modified());

    f.history.undo(f.grid);
    f.history.begin();
    f.painter.paintBlock(2, 0, 9);  // a new edit drops the redo branch with the saved state
    f.history.end();
    EXPECT_FALSE(f.history.canRedo());
    EXPECT_TRUE(f.history.modified());
    f.history.undo(f.grid);
    EXPECT_TRUE(f.history.modified()) << "the saved state is gone for good";
}

TEST(EditHistory, AStepUnderWayModifiesTheMapFromItsFirstChange) {
    Fixture f({{1, 1}});
    f.history.begin();
    EXPECT_FALSE(f.history.modified()) << "nothing changed yet";
    f.painter.paintBlock(0, 0, 1);
    EXPECT_FALSE(f.history.modified()) << "the cell holds that block already";
    f.painter.paintBlock(0, 0, 5);
    EXPECT_TRUE(f.history.modified()) << "the first cell of a drag";
    f.history.end();
    EXPECT_TRUE(f.history.modified());
    f.history.markSaved();
    f.history.begin();
    EXPECT_FALSE(f.history.modified());
    f.painter.paintBlock(1, 0, 5);
    EXPECT_TRUE(f.history.modified());
}

}  // namespace
}  // namespace quillon
