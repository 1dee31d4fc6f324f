#include "romkit/table_references.h"

#include "romkit/rom_image.h"

namespace quillon::romkit {

namespace {

constexpr std::uint32_t kSpeciesNameLength = 11;

}  // namespace

std::vector<std::uint32_t> referencedTables(const BuiltRom& built) {
    std::vector<std::uint32_t> tables;
    for (std::uint32_t table :
         {built.bankTable, built.tilesetHeaders, built.nameTable,
          built.pokemonNames == 0 ? 0 : built.pokemonNames - kSpeciesNameLength, built.wildTable,
          built.spriteHeader, built.spritePalettes}) {
        if (table != 0) {
            tables.push_back(table);
        }
    }
    return tables;
}

std::vector<std::uint8_t> literalPool(const std::vector<std::uint32_t>& targets) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t target : targets) {
        const std::uint32_t word = romPointer(target);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(word >> shift));
        }
    }
    return bytes;
}

BuiltRom buildWithReferences(RomBuilder builder, std::uint32_t pool) {
    builder.putCodeBytes(pool, literalPool(referencedTables(builder.build())));
    return builder.build();
}

}  // namespace quillon::romkit
