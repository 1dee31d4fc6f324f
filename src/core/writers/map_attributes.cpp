#include "core/writers/map_attributes.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/state/map_state.h"
#include "core/rom/trom.h"

namespace quillon::map_attributes {

namespace {

// The id of the transaction's name: "Wetter ändern 3.0".
const char* commandName(HeaderByte field) {
    switch (field) {
        case HeaderByte::NameIndex:
            return "history.name.name_index";
        case HeaderByte::Weather:
            return "history.name.weather";
        case HeaderByte::Type:
            return "history.name.type";
    }
    return "?";
}

Message fieldName(HeaderByte field) {
    switch (field) {
        case HeaderByte::NameIndex:
            return message("attribute.field.name_index");
        case HeaderByte::Weather:
            return message("attribute.field.weather");
        case HeaderByte::Type:
            return message("attribute.field.type");
    }
    return "?";
}

// Checks that the open map has a header inside the file; returns its offset.
std::uint32_t headerOffset(TRom& rom, const MapState& map) {
    const CurrentMap& current = map.map();
    if (!map.loaded() || !current.hasHeader()) {
        throw Error(message("attribute.no_header"));
    }
    if (current.headerOffset + MapHeader::kSize > rom.size()) {
        throw RomIoError(
            message("edit.header_past_end", {"$" + IntToHex(current.headerOffset, 6)}));
    }
    return current.headerOffset;
}

// Writes bytes at header + at as the transaction named by the id command (with the map), then
// keeps the map's copy in step.
void writeHeaderBytes(TRom& rom, MapState& map, std::size_t at,
                      std::span<const std::uint8_t> bytes, const std::string& command) {
    const std::uint32_t header = headerOffset(rom, map);
    const std::string& id = map.map().identifier;
    TRom::Transaction tx(rom, message(command, {id}), id);
    rom.WriteBlock(bytes, static_cast<std::int32_t>(header + at));
    tx.commit();
    std::copy(bytes.begin(), bytes.end(), map.map().header.raw.begin() + static_cast<long>(at));
    rom.Close();
}

}  // namespace

void writeMusic(TRom& rom, MapState& map, std::uint16_t music) {
    std::array<std::uint8_t, 2> bytes{};
    writeLe16(bytes.data(), music);
    writeHeaderBytes(rom, map, 16, bytes, "history.name.music");
}

void writeByte(TRom& rom, MapState& map, HeaderByte field, int value) {
    if (value < 0 || value > 255) {
        throw Error(message("attribute.not_a_byte", {fieldName(field), std::to_string(value)}));
    }
    const std::array<std::uint8_t, 1> bytes{static_cast<std::uint8_t>(value)};
    writeHeaderBytes(rom, map, static_cast<std::size_t>(field), bytes, commandName(field));
}

void checkNameIndex(const GameProfile& profile, int index) {
    if (index < 0 || index > profile.mapNameCount) {
        throw Error(message("attribute.name_index",
                            {std::to_string(index), std::to_string(profile.mapNameCount)}));
    }
}

void writeNameIndex(TRom& rom, MapState& map, const GameProfile& profile, int index) {
    checkNameIndex(profile, index);
    writeByte(rom, map, HeaderByte::NameIndex, index);
}

void writeShowName(TRom& rom, MapState& map, bool show) {
    const ShowNameBits bits = showNameBits(rom);
    // The other bits as the ROM holds them now.
    const std::uint32_t header = headerOffset(rom, map);
    const std::uint8_t now = rom.ReadByte(static_cast<std::int32_t>(header + bits.byte));
    const std::array<std::uint8_t, 1> bytes{bits.write(now, show)};
    writeHeaderBytes(rom, map, bits.byte, bytes, "history.name.show_name");
}

ShowNameBits showNameBits(const TRom& rom) {
    return ShowNameBits::forGame(rom.gameCode3(), rom.isFrlg());
}

}  // namespace quillon::map_attributes
