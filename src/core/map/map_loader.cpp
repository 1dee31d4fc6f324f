#include "core/map/map_loader.h"

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

// The bank table offset of the profile; its text is converted here, when a map is opened.
std::int32_t bankTableOffset(const GameProfile& profile) {
    std::int32_t offset = 0;
    try {
        offset = StrToInt(profile.mapBankHeaderText);
    } catch (const ConversionError& e) {
        throw ConversionError(e, "Ini\\Quillon.ini, [" + profile.section + "] MapBankHeader");
    }
    if (offset <= 0) {
        throw DataError(message("map.no_bank_table"));
    }
    return offset;
}

void readHeaderPath(TRom& rom, const GameProfile& profile, const std::string& identifier,
                    LoadedMap& out) {
    const std::int32_t bankTable = bankTableOffset(profile);
    const auto dot = identifier.find('.');
    const std::int32_t bank = StrToInt(identifier.substr(0, dot));
    const std::int32_t map = StrToInt(identifier.substr(dot + 1));
    if (bank < 0 || map < 0 || bank > 255 || map > 255) {
        throw DataError(message("map.no_such_map", {std::to_string(bank), std::to_string(map)}));
    }
    const std::uint32_t mapTable = rom.ReadPointer(bankTable + 4 * bank);
    const std::uint32_t header = rom.ReadPointer(static_cast<std::int32_t>(mapTable) + 4 * map);
    CurrentMap& m = out.map;
    m.bank = bank;
    m.map = map;
    m.headerOffset = header;
    m.header =
        MapHeader::decode(rom.ReadBlock(static_cast<std::int32_t>(header), MapHeader::kSize));
    m.footerOffset = m.header.footerOffset();
    m.eventsOffset = m.header.eventsOffset();
}

void readFooter(TRom& rom, const GameProfile& profile, LoadedMap& out) {
    CurrentMap& m = out.map;
    m.footer = MapFooter::decode(
        rom.ReadBlock(static_cast<std::int32_t>(m.footerOffset), MapFooter::kSize));
    const int width = m.footer.width();
    const int height = m.footer.height();
    if (static_cast<long>(width) * height > BlockGrid::kMaxCells) {
        throw DataError(message("map.too_large", {std::to_string(width), std::to_string(height),
                                                  std::to_string(BlockGrid::kMaxCells)}));
    }
    rom.ReadBlock(static_cast<std::int32_t>(m.footer.borderOffset()), m.border);
    m.gridOffset = m.footer.gridOffset();
    // A grid there would be saved over the cartridge header.
    if (m.gridOffset < kCartridgeHeaderSize && width * height > 0) {
        throw DataError(message("map.grid_in_header", {"$" + IntToHex(m.gridOffset, 6)}));
    }
    rom.ReadBlock(static_cast<std::int32_t>(m.footer.tileset1Offset()), m.tilesetHeader1);
    rom.ReadBlock(static_cast<std::int32_t>(m.footer.tileset2Offset()), m.tilesetHeader2);
    m.tileset1 =
        (static_cast<std::int32_t>(m.footer.tileset1Offset()) - profile.tilesetHeader) / 24;
    m.tileset2 =
        (static_cast<std::int32_t>(m.footer.tileset2Offset()) - profile.tilesetHeader) / 24;

    const auto bytes =
        rom.ReadBlock(static_cast<std::int32_t>(m.gridOffset),
                      static_cast<std::size_t>(width * height) * BlockGrid::kEntryBytes);
    out.grid = BlockGrid::decode(static_cast<std::uint16_t>(width),
                                 static_cast<std::uint16_t>(height), bytes);
}

}  // namespace

Message missingOffsetNotice(const std::string& identifier, const std::string& title) {
    return message("map.no_offset", {identifier, title});
}

namespace {
LoadedMap readMapUnchecked(TRom& rom, const GameProfile& profile, const IniFile& mapsFile,
                           const std::string& identifier, const std::string& title,
                           const CurrentMap& previous);
}  // namespace

LoadedMap readMap(TRom& rom, const GameProfile& profile, const IniFile& mapsFile,
                  const std::string& identifier, const std::string& title,
                  const CurrentMap& previous) {
    try {
        return readMapUnchecked(rom, profile, mapsFile, identifier, title, previous);
    } catch (const RomIoError& e) {
        // Say which map led there: the bare transfer message names no table.
        if (e.message().id == "io.read_beyond_end") {
            throw RomIoError(message("map.past_end", {identifier}));
        }
        throw RomIoError(message("map.read_failed", {e.message(), identifier}));
    } catch (const ConversionError& e) {
        throw ConversionError(e, "Map " + identifier);
    }
}

namespace {

LoadedMap readMapUnchecked(TRom& rom, const GameProfile& profile, const IniFile& mapsFile,
                           const std::string& identifier, const std::string& title,
                           const CurrentMap& previous) {
    LoadedMap out;
    CurrentMap& m = out.map;
    m.identifier = identifier;
    m.title = title;
    const bool hasDot = identifier.find('.') != std::string::npos;
    const std::int32_t fileOffset = mapsFile.readInteger(identifier, rom.Title(), 0);
    if (hasDot && fileOffset == 0) {
        readHeaderPath(rom, profile, identifier, out);
    } else {
        // The maps file names a footer by file offset or by ROM pointer.
        const auto value = static_cast<std::uint32_t>(fileOffset);
        m.footerOffset = decodeRomPointer(value).value_or(value);
        if (m.footerOffset == 0) {
            out.notice = missingOffsetNotice(identifier, rom.Title());
        }
    }
    if (m.footerOffset == 0) {
        // A placeholder 1 x 1 map: it keeps the previous map's footer and tilesets, and has no
        // grid of its own that could be saved.
        m.footer = previous.footer;
        m.gridOffset = 0;
        m.tileset1 = previous.tileset1;
        m.tileset2 = previous.tileset2;
        m.tilesetHeader1 = previous.tilesetHeader1;
        m.tilesetHeader2 = previous.tilesetHeader2;
        out.grid.width = 1;
        out.grid.height = 1;
        return out;
    }
    readFooter(rom, profile, out);
    return out;
}

}  // namespace

}  // namespace quillon
