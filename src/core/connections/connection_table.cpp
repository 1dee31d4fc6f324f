#include "core/connections/connection_table.h"

#include <optional>
#include <string>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/map/map_header.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

Connection Connection::decode(std::span<const std::uint8_t> bytes) {
    Connection c;
    c.direction = readLe32(bytes.data());
    c.offset = static_cast<std::int32_t>(readLe32(bytes.data() + 4));
    c.bank = bytes[8];
    c.map = bytes[9];
    c.filler = readLe16(bytes.data() + 10);
    return c;
}

std::array<std::uint8_t, Connection::kSize> Connection::encode() const {
    std::array<std::uint8_t, kSize> bytes{};
    writeLe32(bytes.data(), direction);
    writeLe32(bytes.data() + 4, static_cast<std::uint32_t>(offset));
    bytes[8] = bank;
    bytes[9] = map;
    writeLe16(bytes.data() + 10, filler);
    return bytes;
}

std::uint32_t oppositeDirection(std::uint32_t direction) {
    switch (static_cast<ConnectionDirection>(direction)) {
        case ConnectionDirection::Down: return 2;
        case ConnectionDirection::Up: return 1;
        case ConnectionDirection::Left: return 4;
        case ConnectionDirection::Right: return 3;
        case ConnectionDirection::Dive: return 6;
        case ConnectionDirection::Emerge: return 5;
        default: return direction;
    }
}

namespace {

// The connection header (count 0) or the count records after it.
struct ConnectionPlace {
    std::uint64_t offset;
    std::uint64_t bytes;
    std::optional<std::uint64_t> count;
};

// A place the map's connections are read from (and would be written back to).
void checkPlace(const ConnectionPlace& place, std::uint64_t fileSize) {
    const std::string at = hexOffset(place.offset);
    const std::string bytes = std::to_string(place.bytes);
    if (place.offset < kCartridgeHeaderSize) {
        throw DataError(place.count ? message("connection.records_in_rom_header",
                                              {std::to_string(*place.count), at})
                                    : message("connection.header_in_rom_header", {at}));
    }
    if (place.offset + place.bytes > fileSize) {
        throw DataError(place.count ? message("connection.records_past_end",
                                              {std::to_string(*place.count), at, bytes})
                                    : message("connection.header_past_end", {at, bytes}));
    }
}

}  // namespace

ConnectionTable readConnections(TRom& rom, const MapHeader& header) {
    ConnectionTable table;
    table.headerOffset = header.connectionsOffset();
    if (!table.exists()) {
        return table;
    }
    const std::uint64_t fileSize = rom.size();
    checkPlace({table.headerOffset, ConnectionTable::kHeaderSize, std::nullopt}, fileSize);
    const auto head = rom.ReadBlock(static_cast<std::int32_t>(table.headerOffset),
                                    ConnectionTable::kHeaderSize);
    const std::uint64_t count = readLe32(head.data());
    table.recordsOffset = readPointerField(head.data() + 4);
    if (count == 0) {
        return table;
    }
    checkPlace({table.recordsOffset, count * Connection::kSize, count}, fileSize);
    const auto bytes = rom.ReadBlock(static_cast<std::int32_t>(table.recordsOffset),
                                     static_cast<std::size_t>(count * Connection::kSize));
    table.records.reserve(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        table.records.push_back(Connection::decode(
            std::span(bytes).subspan(i * Connection::kSize, Connection::kSize)));
    }
    return table;
}

}  // namespace quillon
