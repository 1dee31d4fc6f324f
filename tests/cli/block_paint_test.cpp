#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_block_set.h"
#include "cli/cli_blocks.h"
#include "cli/cli_history.h"
#include "cli/cli_messages.h"
#include "cli/cli_paint.h"
#include "core/blocks/block_place.h"
#include "core/errors.h"
#include "core/session/session.h"
#include "romkit/rom_files.h"
#include "tests/cli/cli_test_rom.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Map 0.0 (8 x 6, a chequer of blocks 0 and 1) on tilesets 0 and 1 of two blocks each, part 2
// counting 512 blocks in Tilesets.ini: the palette offers blocks 0 to 1024, one more than a
// grid entry holds.
struct PaintRom {
    PaintRom() {
        romkit::RomBuilder b = testing::twoPairBuilder();
        b.addMap(testing::chequerMap(0, 0, 0));
        const romkit::BuiltRom rom = b.build();
        romkit::writeProgramFolder(dir.path(), rom,
                                   {{"Ini/Tilesets.ini",
                                     "[0]\nStart Pal=0\nBlocks=2\n"
                                     "[1]\nStart Pal=0\nBlocks=512\n"}});
        romkit::writeRomFile(file(), rom);
        session = std::make_unique<Session>(dir.path());
        session->settings().setPersistent(false);
        session->openRom(file());
    }
    std::filesystem::path file() const { return dir.file("rom.gba"); }
    Bytes bytes() const { return testing::fileBytes(file()); }
    std::size_t historySize() { return session->rom().history().entries().size(); }

    testing::TempDir dir;
    std::unique_ptr<Session> session;
};

void put16(Bytes& bytes, std::uint32_t at, std::uint16_t value) {
    bytes.at(at) = static_cast<std::uint8_t>(value);
    bytes.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t entry(int tile, bool x, bool y, int palette) {
    return TileEntry::make(tile, x, y, palette).raw;
}

class CliBlockPaint : public ::testing::Test {
protected:
    void SetUp() override { cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English"); }

    nlohmann::json printed(const std::string& block) {
        std::ostringstream out;
        cli::printBlock(*rom.session, "0.0", block, out);
        return nlohmann::json::parse(out.str());
    }

    PaintRom rom;
};

// Only the fields given change: the named tile entries and attribute bytes, nothing else of
// the file; the block's other entries and attribute byte stay as the ROM holds them.
TEST_F(CliBlockPaint, BlockSetWritesExactlyTheGivenFields) {
    const struct {
        std::vector<std::string> sets;
        std::vector<std::pair<int, std::uint16_t>> entries;  // record entry -> new word
        std::optional<std::uint8_t> behaviour, background;
    } cases[] = {
        {{"tiles=3:2,-,-,-,-,-,-,-"}, {{0, entry(3, false, false, 2)}}, {}, {}},
        {{"behaviour=$10"}, {}, 0x10, {}},
        {{"background=0x2", "tiles=-,-,-,-,-,-,-,$3FF:15:xy"},
         {{7, entry(1023, true, true, 15)}},
         {},
         2},
        {{"tiles=0:0,1:1:x,2:2:y,-,-,-,-,-,behaviour=255,background=0"},
         {{0, entry(0, false, false, 0)},
          {1, entry(1, true, false, 1)},
          {2, entry(2, false, true, 2)}},
         0xFF,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sets.front());
        PaintRom fresh;
        const nlohmann::json old = [&] {
            std::ostringstream out;
            cli::printBlock(*fresh.session, "0.0", "513", out);
            return nlohmann::json::parse(out.str());
        }();
        Bytes expected = fresh.bytes();
        const std::uint32_t record = old["record_offset"];
        const std::uint32_t attribute = old["attribute_offset"];
        for (const auto& [index, word] : c.entries) {
            put16(expected, record + 2 * static_cast<std::uint32_t>(index), word);
        }
        if (c.behaviour) {
            expected.at(attribute) = *c.behaviour;
        }
        if (c.background) {
            expected.at(attribute + 1) = *c.background;
        }
        std::ostringstream out;
        cli::setBlock(*fresh.session, "0.0", "513", c.sets, out);
        EXPECT_EQ(fresh.bytes(), expected);
        EXPECT_EQ(fresh.historySize(), 1u);
    }
}

// What "block" prints in "tiles" and in "entries" is what --set tiles= takes: block 0's
// entries set on block 1 make block 1's record block 0's.
TEST_F(CliBlockPaint, PrintedTilesGoBackIn) {
    std::ostringstream out;
    cli::setBlock(*rom.session, "0.0", "0", {"tiles=5:3:xy,6:4:x,7:5:y,8:6,9:7,10:8,11:9,12:10"},
                  out);
    const nlohmann::json zero = printed("0");
    EXPECT_EQ(zero["tiles"], "5:3:xy,6:4:x,7:5:y,8:6,9:7,10:8,11:9,12:10");
    for (const std::string& tiles : {zero["tiles"].get<std::string>(), zero["entries"].dump()}) {
        SCOPED_TRACE(tiles);
        cli::setBlock(*rom.session, "0.0", "1", {"tiles=" + tiles}, out);
        EXPECT_EQ(printed("1")["entries"], zero["entries"]);
        cli::setBlock(*rom.session, "0.0", "1", {"tiles=0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0"}, out);
    }
}

// Every refusal leaves the file byte for byte as it was and the history without an entry.
TEST_F(CliBlockPaint, BlockSetRefusalsWriteNothing) {
    const std::string keep = ",-,-,-,-,-,-,-";
    const struct {
        const char* block;
        std::vector<std::string> sets;
        const char* message;
    } cases[] = {
        {"1", {"tiles=1:16" + keep}, "palette: 16 is outside 0 to 15"},
        {"1", {"tiles=1024:0" + keep}, "tile: 1024 is outside 0 to 1023"},
        {"1", {"tiles=-1:0" + keep}, "tile: -1 is outside 0 to 1023"},
        {"1", {"tiles=1:0"}, "tiles: 1 entry given; a block has 8"},
        {"1", {"tiles=1:0" + keep + ",-"}, "tiles: 9 entries given"},
        {"1", {"tiles=1:0:z" + keep}, "tiles: \"1:0:z\" is no entry"},
        {"1", {"tiles=one:0" + keep}, "tile: \"one\" is not a number"},
        {"1", {"tiles=[{\"tile\":1}]"}, "tiles: 1 entry given"},
        {"1", {"tiles=[1,2,3,4,5,6,7,8]"}, "tiles: entry 0 does not have the fields"},
        {"1", {"tiles=[not json"}, "tiles: not a JSON list"},
        {"1", {"behaviour=256"}, "behaviour: 256 is outside 0 to 255"},
        {"1", {"behaviour=70000"}, "behaviour: 70000 is outside 0 to 255"},
        {"1", {"background=$100"}, "background: $100 is outside 0 to 255"},
        {"1", {"background=x"}, "background: \"x\" is not a number"},
        {"1", {"colour=1"}, "--set: there is no field \"colour\""},
        {"1", {"behaviour=1", "behaviour=2"}, "--set: the field behaviour is given twice"},
        {"1", {"1:0"}, "--set 1:0: expected FIELD=VALUE"},
        // Valid tiles do not go in alone when another field is refused.
        {"1", {"tiles=5:0" + keep + ",behaviour=999"}, "behaviour: 999 is outside 0 to 255"},
        {"2",
         {"behaviour=1"},
         "there is no block $02: the block table of tileset 1 ends with block $01"},
        {"1025", {"behaviour=1"}, "block: 1025 is outside 0 to 1024"},
    };
    const Bytes before = rom.bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sets.front());
        std::ostringstream out;
        const std::string error =
            testing::cliErrorOf([&] { cli::setBlock(*rom.session, "0.0", c.block, c.sets, out); });
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(rom.bytes(), before);
        EXPECT_EQ(rom.historySize(), 0u);
    }
}

// The cells given change, each in the grid entry at its place; the movement value of a cell
// given without one stays.
TEST_F(CliBlockPaint, PaintWritesExactlyTheCells) {
    Session& s = *rom.session;
    s.openMap("0.0", "0.0");
    const std::uint32_t grid = s.mapState().map().gridOffset;
    Bytes expected = rom.bytes();
    // The chequer holds block 0 at (0,0) and (2,0), block 1 at (7,5).
    put16(expected, grid + 2 * 0, 1);
    put16(expected, grid + 2 * 2, static_cast<std::uint16_t>(0 | 5 << 10));
    put16(expected, grid + 2 * (5 * 8 + 7), static_cast<std::uint16_t>(0x3FF | 63 << 10));
    std::ostringstream out;
    cli::paintMap(s, "0.0", {"0,0=1", "2,0=0:5", "7,5=$3FF:63", "1,0=1"}, out);
    EXPECT_EQ(rom.bytes(), expected);
    EXPECT_EQ(rom.historySize(), 1u);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["cells"], 4);
    EXPECT_EQ(json["changed"], 3);
}

// Cells outside the map, blocks the palette does not offer or a grid entry cannot hold,
// movement values past 63, malformed or repeated cells: refused, nothing written, also
// when the cells before them were fine.
TEST_F(CliBlockPaint, PaintRefusalsWriteNothing) {
    const struct {
        std::vector<std::string> cells;
        const char* message;
    } cases[] = {
        {{"8,0=1"}, "the cell 8,0=1 lies outside the map (8 x 6 blocks"},
        {{"0,6=1"}, "the cell 0,6=1 lies outside the map"},
        {{"-1,0=1"}, "the cell -1,0=1 lies outside the map"},
        {{"0,0=1024"}, "0,0=1024: the map's tilesets have no such block ($000 to $3FF)"},
        {{"0,0=-1"}, "0,0=-1: the map's tilesets have no such block"},
        {{"0,0=1:64"}, "0,0=1:64: the movement value is outside $00 to $3F"},
        {{"0,0=1", "1,1"}, "\"1,1\" is no cell X,Y=BLOCK or X,Y=BLOCK:MOVEMENT"},
        {{"1,1="}, "\"1,1=\" is no cell"},
        {{"1,1=1:2:3"}, "\"1,1=1:2:3\" is no cell"},
        {{"a,1=1"}, "a,1=1: \"a\" is not a number"},
        {{"1,1=1", "1,1=0"}, "the cell 1,1=0 is given twice"},
        {{"0,0=1", "2,0=1", "3,3=1:99"}, "3,3=1:99: the movement value is outside"},
    };
    const Bytes before = rom.bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cells.back());
        std::ostringstream out;
        const std::string error =
            testing::cliErrorOf([&] { cli::paintMap(*rom.session, "0.0", c.cells, out); });
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(rom.bytes(), before);
        EXPECT_EQ(rom.historySize(), 0u);
    }
}

// Each call is one step of the history beside the ROM: a later run's undo takes back the
// newest call whole, the next undo the one before.
TEST_F(CliBlockPaint, UndoTakesBackOneCallAtATime) {
    const Bytes original = rom.bytes();
    std::ostringstream out;
    cli::setBlock(*rom.session, "0.0", "513",
                  {"tiles=9:1" + std::string(",-,-,-,-,-,-,-"), "behaviour=7"}, out);
    const Bytes afterBlock = rom.bytes();
    cli::paintMap(*rom.session, "0.0", {"0,0=513:3", "1,0=0", "5,5=$200"}, out);
    ASSERT_NE(rom.bytes(), afterBlock);
    rom.session.reset();
    EXPECT_TRUE(std::filesystem::exists(rom.file().string() + ".quillon-history"));

    Session later(rom.dir.path());
    later.settings().setPersistent(false);
    later.openRom(rom.file());
    cli::undo(later, 1, out);
    EXPECT_EQ(testing::fileBytes(rom.file()), afterBlock);
    cli::undo(later, 1, out);
    EXPECT_EQ(testing::fileBytes(rom.file()), original);
    EXPECT_NE(out.str().find("Undid 1 transaction: \"Undo: Paint 3 cells of 0.0\""),
              std::string::npos)
        << out.str();
}

}  // namespace
}  // namespace quillon
