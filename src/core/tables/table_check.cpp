#include "core/tables/table_check.h"

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

Message failureMessage(Table table, std::uint32_t offset, const Message& why,
                       const std::string& section) {
    return message("table.failure", {tableName(table), hexOffset(offset), why, section});
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
