#include <gtest/gtest.h>

#include "cli/cli_messages.h"
#include "core/tables/table_finder.h"

namespace quillon {
namespace {

using tables::Basis;
using tables::Confidence;
using tables::Table;

// Every verdict the table search gives reads in English, numbers and offsets kept.
TEST(CliMessages, TableSearchVerdictsAreEnglish) {
    const struct {
        tables::FoundTable found;
        const char* english;
    } cases[] = {
        {{Table::Banks, Confidence::Sure, Basis::Unique, 0x3526A8, 0x3526A8, 43, 1, 0},
         "the bank table: $3526A8, sure (43 records in a row, 1 reference)"},
        {{Table::Sprites, Confidence::Likely, Basis::MostReferenced, 0x1000, 0x1000, 1, 2, 1},
         "the sprite table: $001000, likely (1 record in a row, 2 references; 1 other place "
         "with as many records)"},
        {{Table::Wild, Confidence::Likely, Basis::MostReferenced, 0x1000, 0x1000, 5, 1, 3},
         "the wild encounter table: $001000, likely (5 records in a row, 1 reference; 3 other "
         "places with as many records)"},
        {{Table::Tilesets, Confidence::Likely, Basis::PartlyCovered, 0x2000, 0x2000, 4, 6, 0},
         "the tileset table: $002000, likely (4 records in a row, 6 references; not every "
         "tileset the maps use is in the table)"},
        {{Table::MapNames, Confidence::NotFound, Basis::NeedsMaps, 0, 0, 0, 0, 0},
         "the map name table: not found (cannot be checked without the bank table and its "
         "maps)"},
        {{Table::SpritePalettes, Confidence::NotFound, Basis::NoCandidate, 0, 0, 0, 0, 0},
         "the sprite palette table: not found (no place the ROM refers to has its shape)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::messageText(tables::describe(c.found)), c.english);
    }
}

}  // namespace
}  // namespace quillon
