#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

class TRom;
struct MapHeader;

// Where a connection leads, as the record's first word holds it.
enum class ConnectionDirection : std::uint32_t {
    None = 0,
    Down = 1,
    Up = 2,
    Left = 3,
    Right = 4,
    Dive = 5,
    Emerge = 6,
};

// One 12-byte connection record: direction (32 bits), offset along the edge in cells (signed
// 32 bits), bank and map of the neighbour, two filler bytes.
struct Connection {
    static constexpr std::size_t kSize = 12;

    std::uint32_t direction = 0;
    std::int32_t offset = 0;
    std::uint8_t bank = 0;
    std::uint8_t map = 0;
    std::uint16_t filler = 0;

    static Connection decode(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, kSize> encode() const;
    bool operator==(const Connection&) const = default;
};

// The direction that leads back: down <-> up, left <-> right, dive <-> emerge; none stays none.
std::uint32_t oppositeDirection(std::uint32_t direction);

// A map's connections as the ROM holds them: the 8-byte connection header (count, pointer to
// the records) and every record it lists.
struct ConnectionTable {
    static constexpr std::size_t kHeaderSize = 8;

    std::uint32_t headerOffset = 0;  // 0: the map has no connection header
    std::uint32_t recordsOffset = 0;
    std::vector<Connection> records;

    bool exists() const { return headerOffset != 0; }
};

// Reads the connections the map header points at (+12). A header pointer of 0 gives an empty
// table. Throws DataError, naming the offsets, when the header, its record pointer or the
// count's records lie outside the file or inside the cartridge header.
ConnectionTable readConnections(TRom& rom, const MapHeader& header);

}  // namespace quillon
