#include "core/tables/table_check.h"

#include <cctype>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"

namespace quillon::tables {

ShapeContext shapeContext(const GameProfile& profile, bool frlg) {
    ShapeContext c;
    c.frlg = frlg;
    c.nameLength = profile.nameLength;
    c.mapNameCount = profile.mapNameCount;
    c.spritePaletteCount = profile.spritePaletteCount;
    return c;
}

std::string failureMessage(Table table, std::uint32_t offset, const std::string& why,
                           const std::string& section) {
    std::string name = tableName(table);
    // The name reads "die ..." inside a sentence; here it opens one.
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name + " bei " + hexOffset(offset) + " " + why +
           ": dieses Rom passt nicht zum Profil \"" + section + "\".";
}

std::vector<TableFailure> checkProfileTables(const RomBytes& rom, GameProfile& profile, bool frlg,
                                             int depth) {
    std::vector<TableFailure> failures;
    ShapeContext context = shapeContext(profile, frlg);
    context.tolerant = true;  // whether the table is there; its records are the readers' matter
    for (Table table : kTables) {
        const std::int32_t offset = profileOffset(profile, table);
        if (offset == 0) {
            continue;
        }
        const auto at = static_cast<std::uint32_t>(offset);
        const Shape shape = checkShape(rom, table, at, context, depth);
        if (shape.ok) {
            continue;
        }
        failures.push_back(
            {table, at, shape.why, failureMessage(table, at, shape.why, profile.section)});
        clearTable(profile, table);
    }
    return failures;
}

}  // namespace quillon::tables
