#include "core/connections/connection_table.h"

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

// A place the map's connections are read from (and would be written back to).
void checkPlace(std::uint64_t offset, std::uint64_t bytes, std::uint64_t fileSize,
                const std::string& what) {
    if (offset < kCartridgeHeaderSize) {
        throw DataError(what + " (" + hexOffset(offset) + ") liegt im Rom-Header.");
    }
    if (offset + bytes > fileSize) {
        throw DataError(what + " (" + hexOffset(offset) + ", " + std::to_string(bytes) +
                        " Bytes) liegt hinter dem Dateiende.");
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
    checkPlace(table.headerOffset, ConnectionTable::kHeaderSize, fileSize, "Der Anbindungskopf");
    const auto head = rom.ReadBlock(static_cast<std::int32_t>(table.headerOffset),
                                    ConnectionTable::kHeaderSize);
    const std::uint64_t count = readLe32(head.data());
    table.recordsOffset = readPointerField(head.data() + 4);
    if (count == 0) {
        return table;
    }
    checkPlace(table.recordsOffset, count * Connection::kSize, fileSize,
               "Die Anbindungen (" + std::to_string(count) + ")");
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
