#include "core/blocks/block_place.h"

#include <gtest/gtest.h>

#include "core/blocks/block_edit.h"
#include "core/errors.h"
#include "tests/blocks/block_test_rom.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using romkit::Family;
using testing::OpenedRom;

std::uint32_t attributeTableOf(const romkit::BuiltTileset& t, Family family) {
    return family == Family::Frlg ? t.attributes : t.behaviours;
}

// Block b of part 1 is record b there; any later block record b - P of part 2, with the
// family's attribute table (Ruby: +16, 2 bytes; FireRed: +20, 4 bytes). Each part's block table
// ends where its attribute table starts (8 records here): blocks past it have no record, and a
// save there would write into the attributes.
TEST(BlockPlace, RecordAndAttributeOffsetsFollowPartAndFamily) {
    for (Family family : {Family::Rse, Family::Frlg}) {
        SCOPED_TRACE(family == Family::Frlg ? "FireRed" : "Ruby");
        OpenedRom o(testing::buildBlockRom(family), "0.0");
        const auto& built = o.built();
        const TilesetPair& pair = o.session().romState().tilesets();
        const bool frlg = family == Family::Frlg;
        const int p = frlg ? 640 : 512;
        const int width = frlg ? 4 : 2;
        EXPECT_EQ(pair.blocksPart1(), p);
        EXPECT_EQ(blocks::partBlocks(pair, frlg, 1), 8);
        EXPECT_EQ(blocks::partBlocks(pair, frlg, 2), 8);
        EXPECT_EQ(blocks::lastBlockInTables(pair, frlg), p + 7);
        struct Case {
            int block, part, index;
        };
        for (const Case c : {Case{0, 1, 0}, Case{3, 1, 3}, Case{7, 1, 7}, Case{p, 2, 0},
                             Case{p + 5, 2, 5}, Case{p + 7, 2, 7}}) {
            SCOPED_TRACE(c.block);
            const romkit::BuiltTileset& t = built.tilesets[static_cast<std::size_t>(c.part - 1)];
            EXPECT_TRUE(blocks::blockInTables(pair, frlg, c.block));
            const blocks::BlockPlace place = blocks::blockPlace(pair, frlg, c.block);
            EXPECT_EQ(place.part, c.part);
            EXPECT_EQ(place.index, c.index);
            EXPECT_EQ(place.record, t.blocks + 16u * static_cast<std::uint32_t>(c.index));
            EXPECT_EQ(place.attribute,
                      attributeTableOf(t, family) + static_cast<std::uint32_t>(width * c.index));
            EXPECT_EQ(place.attributeBytes, width);
        }
        for (int bad : {-1, 8, p - 1, p + 8, pair.lastBlock(), pair.lastBlock() + 1}) {
            EXPECT_FALSE(blocks::blockInTables(pair, frlg, bad)) << bad;
            EXPECT_THROW(blocks::blockPlace(pair, frlg, bad), Error) << bad;
        }
    }
}

// An attribute table that does not follow the block table tells nothing of its length: the
// part keeps every slot.
TEST(BlockPlace, WithoutAnAttributeTableBehindItAPartKeepsItsSlots) {
    romkit::BuiltRom built = testing::buildBlockRom(Family::Rse);
    const romkit::BuiltTileset& t = built.tilesets[1];
    testing::put32(built, t.header + 16, 0x08000000u | (t.blocks - 32));
    OpenedRom o(std::move(built), "0.0");
    const TilesetPair& pair = o.session().romState().tilesets();
    EXPECT_EQ(blocks::partBlocks(pair, false, 2), pair.lastBlock() + 1 - 512);
    EXPECT_EQ(blocks::partBlocks(pair, false, 1), 8);
    EXPECT_NO_THROW(blocks::blockPlace(pair, false, pair.lastBlock()));
}

// FireRed's header +16 is a code pointer: reading block 5 of part 2 gives the words of the
// table at +20.
TEST(BlockPlace, FireRedReadsTheWordTableAtTwentyNotTheCodePointer) {
    OpenedRom o(testing::buildBlockRom(Family::Frlg), "0.0");
    const auto& t = o.built().tilesets[1];
    EXPECT_EQ(o.session().rom().ReadPointer(static_cast<std::int32_t>(t.header + 16)),
              romkit::kFrlgCodePointer);
    const blocks::BlockData data =
        blocks::readBlock(o.session().rom(), o.session().romState().tilesets(), 645);
    EXPECT_EQ(data.place.attribute, t.attributes + 20);
    EXPECT_EQ(data.values(), (blocks::BlockAttributes{0x0A, 0})) << "kFrlgWord + 5";
    EXPECT_EQ(data.entry(0).tile(), 1);  // block 5: entry e is tile (5 + e) % 4
    EXPECT_EQ(data.entry(0).palette(), 1);
}

// Without a ROM pointer to the attribute table nothing of the block is read or written.
TEST(BlockPlace, AHeaderWithoutAttributePointerIsRefused) {
    for (Family family : {Family::Rse, Family::Frlg}) {
        romkit::BuiltRom built = testing::buildBlockRom(family);
        const std::uint32_t field = family == Family::Frlg ? 20 : 16;
        testing::put32(built, built.tilesets[1].header + field, 0);
        OpenedRom o(std::move(built), "0.0");
        const TilesetPair& pair = o.session().romState().tilesets();
        const bool frlg = family == Family::Frlg;
        EXPECT_NO_THROW(blocks::blockPlace(pair, frlg, 3));
        try {
            blocks::blockPlace(pair, frlg, pair.blocksPart1());
            ADD_FAILURE() << "part 2 has no attribute table";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("+" + std::to_string(field)), std::string::npos)
                << e.what();
        }
    }
}

TEST(BlockAttributes, FieldsTakeTheirBitsAndEveryOtherBitStays) {
    struct Case {
        bool frlg;
        std::uint32_t old;
        blocks::BlockAttributes shown;
        blocks::BlockAttributes written;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {false, 0x3521, {0x21, 0x35}, {0x7F, 0x10}, 0x107F},
        {false, 0xFFFF, {0xFF, 0xFF}, {0, 0}, 0x0000},
        // FireRed: behaviour bits 0-8, layer bits 29-30; terrain, encounter, bit 31 kept.
        {true, 0x87003FFF, {0x1FF, 0}, {0x0AB, 2}, 0xC7003EAB},
        {true, 0x7FFFFFFF, {0x1FF, 3}, {0, 0}, 0x1FFFFE00},
        {true, 0x00000100, {0x100, 0}, {0x1FF, 1}, 0x200001FF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.old);
        const std::array<std::uint8_t, 4> old{
            static_cast<std::uint8_t>(c.old), static_cast<std::uint8_t>(c.old >> 8),
            static_cast<std::uint8_t>(c.old >> 16), static_cast<std::uint8_t>(c.old >> 24)};
        EXPECT_EQ(blocks::decodeAttributes(c.frlg, old), c.shown);
        const auto bytes = blocks::encodeAttributes(c.frlg, old, c.written);
        const std::uint32_t word = c.frlg ? readLe32(bytes.data()) : readLe16(bytes.data());
        EXPECT_EQ(word, c.expected);
    }
}

TEST(BlockAttributes, FieldTextIsHexWithinTheFamilysRange) {
    EXPECT_EQ(blocks::parseAttributeField("", 0xFF, "block.field.behaviour"), 0);
    EXPECT_EQ(blocks::parseAttributeField("1a", 0xFF, "block.field.behaviour"), 0x1A);
    EXPECT_EQ(blocks::parseAttributeField("1FF", 0x1FF, "block.field.behaviour"), 0x1FF);
    EXPECT_EQ(blocks::parseAttributeField("3", 3, "block.field.background"), 3);
    for (const auto& [text, max] : std::vector<std::pair<std::string, int>>{{"100", 0xFF},
                                                                            {"200", 0x1FF},
                                                                            {"4", 3},
                                                                            {"-1", 0xFF},
                                                                            {"G", 0xFF},
                                                                            {" 1", 0xFF},
                                                                            {"$10", 0xFF},
                                                                            {"FFFFFFFFF", 0xFF}}) {
        try {
            blocks::parseAttributeField(text, max, "block.field.background");
            ADD_FAILURE() << text;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("Hintergrund-Byte"), std::string::npos);
        }
    }
}

// The layer box: lower layer's quarters on the left, upper layer's on the right.
TEST(TileBox, QuartersMapToEntriesAndBack) {
    const int entries[2][4] = {{0, 1, 4, 5}, {2, 3, 6, 7}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            const int entry = blocks::tileBoxEntry(column, row);
            EXPECT_EQ(entry, entries[row][column]) << column << ", " << row;
            EXPECT_EQ(blocks::tileBoxCell(entry).column, column);
            EXPECT_EQ(blocks::tileBoxCell(entry).row, row);
        }
    }
    EXPECT_THROW(blocks::tileBoxEntry(4, 0), Error);
    EXPECT_THROW(blocks::tileBoxCell(8), Error);
}

// The pen an editor builds from palette, tile and flips, and what picking an entry up gives.
TEST(Pen, EntryFromPaletteTileAndFlipsAndBack) {
    EXPECT_EQ(TileEntry::make(0x2A5, true, false, 3).raw, 0x36A5);
    EXPECT_EQ(TileEntry::make(0x012, true, true, 5).raw, 0x5C12);
    const TileEntry picked{0x5C12};
    EXPECT_EQ(picked.tile(), 0x012);
    EXPECT_EQ(picked.palette(), 5);
    EXPECT_TRUE(picked.flipX());
    EXPECT_TRUE(picked.flipY());
    EXPECT_EQ(TileEntry{0x83FF}.tile(), 0x3FF);
    EXPECT_EQ(TileEntry{0x83FF}.palette(), 8);
}

}  // namespace
}  // namespace quillon
