#include "core/blocks/block_place.h"

#include <algorithm>
#include <string>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/rom/rom_pointer.h"

namespace quillon::blocks {

namespace {

constexpr std::uint32_t kBehaviourBitsFrlg = 0x1FFu;
constexpr int kBackgroundShiftFrlg = 29;
constexpr std::uint32_t kBackgroundBitsFrlg = 0x3u << kBackgroundShiftFrlg;

}  // namespace

AttributeLayout attributeLayout(bool frlg) {
    if (frlg) {
        return {20, 4, 0x1FF, 3};
    }
    return {16, 2, 0xFF, 0xFF};
}

BlockAttributes decodeAttributes(bool frlg, std::span<const std::uint8_t> bytes) {
    if (!frlg) {
        return {bytes[0], bytes[1]};
    }
    const std::uint32_t word = readLe32(bytes.data());
    return {static_cast<int>(word & kBehaviourBitsFrlg),
            static_cast<int>((word & kBackgroundBitsFrlg) >> kBackgroundShiftFrlg)};
}

std::array<std::uint8_t, 4> encodeAttributes(bool frlg, std::span<const std::uint8_t> old,
                                             BlockAttributes values) {
    std::array<std::uint8_t, 4> bytes{};
    if (!frlg) {
        bytes[0] = static_cast<std::uint8_t>(values.behaviour);
        bytes[1] = static_cast<std::uint8_t>(values.background);
        return bytes;
    }
    std::uint32_t word = readLe32(old.data()) & ~(kBehaviourBitsFrlg | kBackgroundBitsFrlg);
    word |= static_cast<std::uint32_t>(values.behaviour) & kBehaviourBitsFrlg;
    word |= (static_cast<std::uint32_t>(values.background) << kBackgroundShiftFrlg) &
            kBackgroundBitsFrlg;
    writeLe32(bytes.data(), word);
    return bytes;
}

std::uint32_t attributeTable(const TilesetPair& tilesets, bool frlg, int part) {
    const auto& header = tilesets.header(part);
    const int field = attributeLayout(frlg).headerField;
    // A null or foreign word would put the table into the cartridge header or the code.
    if (!isRomPointer(readLe32(header.data() + field))) {
        throw Error(message(
            "block.attributes_pointer",
            {std::to_string(tilesets.tilesetNumber(part).value_or(0)), std::to_string(field)}));
    }
    return readPointerField(header.data() + field);
}

BlockPlace recordPlace(const TilesetPair& tilesets, int block) {
    if (!tilesets.tilesetNumber(1) || !tilesets.tilesetNumber(2)) {
        throw Error(message("block.no_tilesets"));
    }
    if (block < 0 || block > tilesets.lastBlock()) {
        throw Error(message("block.no_such",
                            {"$" + IntToHex(block, 2), "$" + IntToHex(tilesets.lastBlock(), 2)}));
    }
    BlockPlace place;
    const int p = tilesets.blocksPart1();
    place.part = block < p ? 1 : 2;
    place.index = block < p ? block : block - p;
    place.record = static_cast<std::uint32_t>(tilesets.blockTableOffset(place.part)) +
                   TilesetPair::kRecordSize * static_cast<std::uint32_t>(place.index);
    return place;
}

int partBlocks(const TilesetPair& tilesets, bool frlg, int part) {
    const int p = tilesets.blocksPart1();
    const int slots = part == 1 ? p : tilesets.lastBlock() + 1 - p;
    std::uint32_t attributes = 0;
    try {
        attributes = attributeTable(tilesets, frlg, part);
    } catch (const Error&) {
        return slots;  // no table to end at; blockPlace refuses the part anyway
    }
    const auto table = static_cast<std::uint32_t>(tilesets.blockTableOffset(part));
    if (attributes <= table) {
        return slots;
    }
    const std::uint32_t records = (attributes - table) / TilesetPair::kRecordSize;
    return static_cast<int>(std::min<std::uint32_t>(records, static_cast<std::uint32_t>(slots)));
}

bool blockInTables(const TilesetPair& tilesets, bool frlg, int block) {
    if (!tilesets.tilesetNumber(1) || !tilesets.tilesetNumber(2) || block < 0 ||
        block > tilesets.lastBlock()) {
        return false;
    }
    const int p = tilesets.blocksPart1();
    return block < p ? block < partBlocks(tilesets, frlg, 1)
                     : block - p < partBlocks(tilesets, frlg, 2);
}

int lastBlockInTables(const TilesetPair& tilesets, bool frlg) {
    return tilesets.blocksPart1() + partBlocks(tilesets, frlg, 2) - 1;
}

BlockPlace blockPlace(const TilesetPair& tilesets, bool frlg, int block) {
    BlockPlace place = recordPlace(tilesets, block);
    if (place.index >= partBlocks(tilesets, frlg, place.part)) {
        const int last = place.part == 1 ? partBlocks(tilesets, frlg, 1) - 1
                                         : lastBlockInTables(tilesets, frlg);
        throw Error(message(
            "block.past_table",
            {"$" + IntToHex(block, 2), std::to_string(place.part), "$" + IntToHex(last, 2)}));
    }
    const AttributeLayout layout = attributeLayout(frlg);
    place.attribute = attributeTable(tilesets, frlg, place.part) +
                      static_cast<std::uint32_t>(layout.bytesPerBlock * place.index);
    place.attributeBytes = layout.bytesPerBlock;
    return place;
}

int tileBoxEntry(int column, int row) {
    if (column < 0 || column > 3 || row < 0 || row > 1) {
        throw IndexError(row * 4 + column);
    }
    return column < 2 ? row * 2 + column : 4 + row * 2 + (column - 2);
}

TileBoxCell tileBoxCell(int entry) {
    if (entry < 0 || entry > 7) {
        throw IndexError(entry);
    }
    const int quarter = entry & 3;
    return {(quarter & 1) + (entry >= 4 ? 2 : 0), quarter >> 1};
}

}  // namespace quillon::blocks
