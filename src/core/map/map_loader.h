#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/map/block_grid.h"
#include "core/map/map_header.h"
#include "core/text/message.h"

namespace quillon {

class TRom;
class IniFile;
struct GameProfile;

// What the editor knows of the open map besides its tilesets.
struct CurrentMap {
    std::string identifier;
    std::string title;
    int bank = 255;  // 255 for maps opened by footer offset alone
    int map = 255;
    std::uint32_t headerOffset = 0;  // 0 on the footer-only path
    MapHeader header;
    std::uint32_t eventsOffset = 0;
    std::uint32_t footerOffset = 0;  // 0: no footer known, a 1 x 1 placeholder map
    MapFooter footer;
    std::array<std::uint8_t, 8> border{};
    std::uint32_t gridOffset = 0;
    int tileset1 = 0;
    int tileset2 = 0;
    std::array<std::uint8_t, 24> tilesetHeader1{};
    std::array<std::uint8_t, 24> tilesetHeader2{};
    // The map file the map was read from or last saved to ("Map Speichern" writes there
    // without asking); empty when there is none.
    std::string mapFile;
    // Read from a map file or made new: tied to no map of the ROM (no header, no footer, no
    // grid or event place), until it is inserted into a slot.
    bool outsideRom = false;

    bool hasHeader() const { return headerOffset != 0; }
    // A map whose grid may be written back: it came from a footer, not the placeholder.
    bool hasFooter() const { return footerOffset != 0; }
};

struct LoadedMap {
    CurrentMap map;
    BlockGrid grid;
    // Shown to the user before the map appears (a map name file entry without an offset).
    std::optional<Message> notice;
};

// Reads header (header path) or map name file offset (footer-only path), footer, border,
// tileset headers and the block grid of identifier. Nothing of the editor's state is touched:
// the caller takes the result only when the whole load succeeded. Throws ConversionError for a
// bad bank table text or identifier, RomIoError for reads past the end, DataError for a grid
// the editor cannot hold. `previous` supplies what a 1 x 1 placeholder map keeps.
LoadedMap readMap(TRom& rom, const GameProfile& profile, const IniFile& mapsFile,
                  const std::string& identifier, const std::string& title,
                  const CurrentMap& previous);

// The footer-only path's notice for an identifier without an offset for this game.
Message missingOffsetNotice(const std::string& identifier, const std::string& title);

}  // namespace quillon
