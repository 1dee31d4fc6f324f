#include "core/blocks/block_edit.h"

#include <span>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/state/map_state.h"
#include "core/rom/trom.h"
#include "core/rom/placement.h"
#include "core/rom/trom.h"

namespace quillon::blocks {

namespace {

std::string blockNumber(int block) { return "$" + IntToHex(block, 2); }

bool isHexText(const std::string& text) {
    for (char c : text) {
        const bool digit =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!digit) {
            return false;
        }
    }
    return true;
}

}  // namespace

TileEntry BlockData::entry(int index) const {
    if (index < 0 || index > 7) {
        throw IndexError(index);
    }
    return TileEntry{readLe16(record.data() + 2 * index)};
}

void BlockData::setEntry(int index, TileEntry entry) {
    if (index < 0 || index > 7) {
        throw IndexError(index);
    }
    writeLe16(record.data() + 2 * index, entry.raw);
}

BlockAttributes BlockData::values() const {
    return decodeAttributes(frlg, std::span(attributes.data(), 4));
}

BlockData readBlock(TRom& rom, const TilesetPair& tilesets, int block) {
    BlockData data;
    data.block = block;
    data.frlg = rom.isFrlg();
    data.place = blockPlace(tilesets, data.frlg, block);
    const std::uint64_t size = rom.size();
    if (data.place.record + data.record.size() > size ||
        data.place.attribute + static_cast<std::uint64_t>(data.place.attributeBytes) > size) {
        throw RomIoError(message("block.record_past_end",
                                 {blockNumber(block), "$" + IntToHex(data.place.record, 6),
                                  "$" + IntToHex(data.place.attribute, 6)}));
    }
    rom.ReadBlock(static_cast<std::int32_t>(data.place.record), data.record);
    rom.ReadBlock(
        static_cast<std::int32_t>(data.place.attribute),
        std::span(data.attributes.data(), static_cast<std::size_t>(data.place.attributeBytes)));
    return data;
}

int parseAttributeField(const std::string& text, int max, const char* field) {
    const int digits = max > 0xFF ? 3 : (max > 0xF ? 2 : 1);
    const std::string low = IntToHex(0, digits);
    const std::string high = IntToHex(max, digits);
    if (!isHexText(text) || text.size() > 8) {
        throw Error(message("block.not_hex", {message(field), text, low, high}));
    }
    const std::int64_t value = text.empty() ? 0 : std::stoll(text, nullptr, 16);
    if (value > max) {
        throw Error(message("block.out_of_range", {message(field), text, low, high}));
    }
    return static_cast<int>(value);
}

void saveBlock(TRom& rom, TilesetPair& tilesets, MapState& map, const BlockChange& change) {
    const BlockData old = readBlock(rom, tilesets, change.block);
    const AttributeLayout layout = attributeLayout(old.frlg);
    const BlockAttributes values{
        parseAttributeField(change.behaviour, layout.maxBehaviour, "block.field.behaviour"),
        parseAttributeField(change.background, layout.maxBackground, "block.field.background")};
    // Both are rewritten where they lie: the check keeps them out of the cartridge header and
    // inside the file.
    const RomRange record{old.place.record, TilesetPair::kRecordSize, place_name::kBlockRecord};
    const RomRange attribute{old.place.attribute, static_cast<std::uint32_t>(layout.bytesPerBlock),
                             place_name::kBlockAttributes};
    requirePlacement(rom, {{{record, {record}}, {attribute, {attribute}}}, {}, kFreeFill});
    const std::array<std::uint8_t, 4> attributes =
        encodeAttributes(old.frlg, std::span(old.attributes.data(), 4), values);

    const std::string& id = map.map().identifier;
    TRom::Transaction tx(rom, message("history.name.block", {"$" + IntToHex(change.block, 2)}), id);
    rom.WriteBlock(change.record, static_cast<std::int32_t>(old.place.record));
    rom.WriteBlock(std::span(attributes.data(), static_cast<std::size_t>(layout.bytesPerBlock)),
                   static_cast<std::int32_t>(old.place.attribute));
    tx.commit();
    rom.Close();
    tilesets.replaceBlock(change.block, change.record);
    map.invalidatePictures();
}

}  // namespace quillon::blocks
