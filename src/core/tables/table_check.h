#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/tables/table_shapes.h"

namespace quillon {
struct GameProfile;
}

namespace quillon::tables {

// Records of each table looked at when a ROM opens: enough to tell a table from the bytes
// a release or another tool left at its old place, while reading well under a kilobyte.
inline constexpr int kOpenCheckDepth = 4;

// A table the profile names that does not have its shape in the ROM.
struct TableFailure {
    Table table = Table::Banks;
    std::uint32_t offset = 0;
    Message why;      // the end of a sentence: "enthält keine Map-Tabellen"
    Message message;  // the whole sentence the user reads (table.failure)
};

// What the shapes need from the profile and the ROM's family.
ShapeContext shapeContext(const GameProfile& profile, bool frlg);

// "Die Bank-Tabelle bei $3526A8 enthält keine Map-Tabellen: dieses Rom passt nicht zum
// Profil \"POKEMON FIREBPRE\"."
Message failureMessage(Table table, std::uint32_t offset, const Message& why,
                       const std::string& section);

// Checks every table the profile names (offset 0: not named, not checked) with depth records,
// tolerantly (ShapeContext::tolerant), and clears each one that fails from the profile, so
// nothing is listed from it or written through it. Returns the failures in the order of kTables.
std::vector<TableFailure> checkProfileTables(const RomBytes& rom, GameProfile& profile, bool frlg,
                                             int depth = kOpenCheckDepth);

}  // namespace quillon::tables
