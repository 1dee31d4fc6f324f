#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/text/message.h"

namespace quillon {

class TRom;

// The one check every command runs before it moves data in the ROM. It knows every range the
// command will write and every range the command relies on (the map's header, footer, border,
// grid, events, connections, a neighbour's), and refuses, before the first byte, a write that
// - reaches into the cartridge header or past the end of the file,
// - overlaps another range the same command writes,
// - overlaps a range the command relies on, except inside the write's own old place,
// - covers bytes that are neither free space (every byte the fill value) nor its own old place.
// Rewriting data where it lies now (a footer in place, a grid grown over the free bytes behind
// it) is fine; a run of the fill value inside the ROM's own data is not told apart here: the
// free-space search keeps its distance from data.

// What free space holds unless the user searched for 0x00.
inline constexpr std::uint8_t kFreeFill = 0xFF;

// A byte range [offset, offset + size) and what it holds, named for the user: "Block-Grid",
// "Map-Header von 3.1" (the names in placeName below, with " von <map>" where it matters).
struct RomRange {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    Message what;

    std::uint64_t end() const { return std::uint64_t{offset} + size; }
};

// One range the command writes, with the places its data has now: bytes written inside them
// need not be free and may cover what the command relies on there.
struct PlannedWrite {
    RomRange range;
    std::vector<RomRange> oldPlaces;
    // The free-space value for this range when it differs from the placement's (two places
    // the user found by searching for different bytes).
    std::optional<std::uint8_t> fill = std::nullopt;
};

struct Placement {
    std::vector<PlannedWrite> writes;
    std::vector<RomRange> reliedOn;
    std::uint8_t fill = kFreeFill;  // the free-space search's value: 0xFF, or 0x00
};

// The names ranges go by in messages (message ids: "Block-Grid", "the grid").
namespace place_name {
inline const Message kHeader = message("place.name.header");
inline const Message kFooter = message("place.name.footer");
inline const Message kBorder = message("place.name.border");
inline const Message kGrid = message("place.name.grid");
inline const Message kEventHeader = message("place.name.event_header");
inline const Message kEventTables = message("place.name.event_tables");
inline const Message kConnectionHeader = message("place.name.connection_header");
inline const Message kConnections = message("place.name.connections");
inline const Message kName = message("place.name.name");
inline const Message kNamePointer = message("place.name.name_pointer");
inline const Message kBlockRecord = message("place.name.block_record");
inline const Message kBlockAttributes = message("place.name.block_attributes");
inline const Message kTilesetHeader = message("place.name.tileset_header");
inline const Message kTiles = message("place.name.tiles");
inline const Message kPalettes = message("place.name.palettes");
inline const Message kBlockTable = message("place.name.block_table");
}  // namespace place_name

// "<what> von <map>" ("Map-Header von 3.1"), or what alone for an empty map.
Message ownedName(const Message& what, const std::string& map);
// "<what> von Tileset <number>".
Message tilesetOwnedName(const Message& what, int tileset);
// "Palette <number>".
Message paletteName(int palette);

// Throws Error naming the written range, the offset where it fails, what lies there and why,
// ending in "es wurde nichts geschrieben". Writes of size 0 are ignored. Reads the ROM (for
// the free-space test) but writes nothing.
void requirePlacement(TRom& rom, const Placement& placement);

}  // namespace quillon
