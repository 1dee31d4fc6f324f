#include <gtest/gtest.h>

#include "core/blocks/block_edit.h"
#include "core/blocks/tileset_pictures.h"
#include "core/errors.h"
#include "core/session/open_map_history.h"
#include "tests/blocks/block_test_rom.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using romkit::Family;
using testing::expectOnly;
using testing::OpenedRom;

void save(OpenedRom& o, const blocks::BlockChange& change) {
    Session& s = o.session();
    blocks::saveBlock(s.rom(), s.romState().tilesets(), s.mapState(), change);
}

std::map<std::uint32_t, std::uint8_t> bytesAt(std::uint32_t at,
                                              std::initializer_list<std::uint8_t> bytes) {
    std::map<std::uint32_t, std::uint8_t> changes;
    for (std::uint8_t b : bytes) {
        changes[at++] = b;
    }
    return changes;
}

// Part 2's block 5 (map cell 1) gets a new record and attributes: exactly its 16 record bytes
// and its attribute bytes change; the map picture and the block image follow.
TEST(BlockSave, WritesExactlyTheRecordAndTheAttributeBytes) {
    struct Case {
        Family family;
        const char* behaviour;
        const char* background;
        std::initializer_list<std::uint8_t> attributes;
    };
    // FireRed: behaviour 1A5 and layer 2 into kFrlgWord + 5 (0x87003E0A), other bits kept.
    const Case cases[] = {{Family::Rse, "3c", "10", {0x3C, 0x10}},
                          {Family::Frlg, "1A5", "2", {0xA5, 0x3F, 0x00, 0xC7}}};
    for (const Case& c : cases) {
        OpenedRom o(testing::buildBlockRom(c.family), "0.0");
        Session& s = o.session();
        const int block = s.romState().tilesets().blocksPart1() + 5;
        blocks::BlockData data = blocks::readBlock(s.rom(), s.romState().tilesets(), block);
        data.setEntry(0, TileEntry::make(2, true, false, 3));
        data.setEntry(7, TileEntry::make(1, false, true, 0));
        const Bitmap oldCell = s.mapState().pictures().map();
        const auto before = o.image();

        save(o, {block, data.record, c.behaviour, c.background});

        auto changes = bytesAt(data.place.record, {});
        for (std::size_t i = 0; i < 16; ++i) {
            changes[data.place.record + static_cast<std::uint32_t>(i)] = data.record[i];
        }
        changes.merge(bytesAt(data.place.attribute, c.attributes));
        expectOnly(before, o.image(), changes);
        EXPECT_EQ(s.rom().history().entries().size(), 1u) << "one transaction";

        const Bitmap composed = blocks::composedBlock(s.romState().tilesets(), data.record);
        EXPECT_EQ(*s.romState().tilesets().blockImage(block), composed);
        const Bitmap& map = s.mapState().pictures().map();
        EXPECT_EQ(map.pixel(16, 0), composed.pixel(0, 0)) << "the map shows the new block";
        EXPECT_NE(map.pixel(16, 0), oldCell.pixel(16, 0));
    }
}

// Every field is checked before the first byte: a refused save leaves the file as it was and
// writes no history.
TEST(BlockSave, RefusedFieldsWriteNothing) {
    struct Case {
        Family family;
        int block;  // -1: part 2's block 5; -2: the block after part 2's table (8 records)
        const char* behaviour;
        const char* background;
    };
    const Case cases[] = {
        {Family::Rse, -1, "100", "0"},   {Family::Rse, -1, "0", "100"},
        {Family::Rse, -1, "x", "0"},     {Family::Rse, 5000, "0", "0"},
        {Family::Frlg, -1, "200", "0"},  {Family::Frlg, -1, "0", "4"},
        {Family::Frlg, -1, "1FF", "-1"},
        {Family::Rse, -2, "0", "0"},     {Family::Frlg, -2, "0", "0"},
        {Family::Rse, 8, "0", "0"},      {Family::Frlg, 639, "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.behaviour) + " / " + c.background);
        OpenedRom o(testing::buildBlockRom(c.family), "0.0");
        Session& s = o.session();
        const int p = s.romState().tilesets().blocksPart1();
        const int block = c.block == -1 ? p + 5 : c.block == -2 ? p + 8 : c.block;
        const Bitmap image = *s.romState().tilesets().blockImage(5);
        const auto before = o.image();
        std::array<std::uint8_t, 16> record{};
        record.fill(0x77);
        EXPECT_THROW(save(o, {block, record, c.behaviour, c.background}), Error);
        expectOnly(before, o.image(), {});
        EXPECT_TRUE(s.rom().history().entries().empty());
        EXPECT_EQ(*s.romState().tilesets().blockImage(5), image);
    }
}

// Undoing a save through the ROM's history brings the block's old look back.
TEST(BlockSave, UndoRestoresTheBlockImage) {
    OpenedRom o(testing::buildBlockRom(Family::Rse), "0.0");
    Session& s = o.session();
    const Bitmap old = *s.romState().tilesets().blockImage(3);
    const auto before = o.image();
    blocks::BlockData data = blocks::readBlock(s.rom(), s.romState().tilesets(), 3);
    data.setEntry(0, TileEntry::make(3, false, false, 3));
    save(o, {3, data.record, "0", "0"});
    ASSERT_NE(*s.romState().tilesets().blockImage(3), old);
    undoWithOpenMap(s.rom(), s.romState(), s.mapState(), s.data().tilesets(),
                    s.rom().history().entries().back().id);
    expectOnly(before, o.image(), {});
    EXPECT_EQ(*s.romState().tilesets().blockImage(3), old);
    EXPECT_EQ(s.mapState().pictures().map().pixel(0, 0), old.pixel(0, 0));
}

}  // namespace
}  // namespace quillon
