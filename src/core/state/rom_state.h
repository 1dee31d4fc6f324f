#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/config/game_profile.h"
#include "core/edit/brush.h"
#include "core/gfx/sprites.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/map_list.h"
#include "core/tables/table_check.h"
#include "core/text/char_table.h"

namespace quillon {

class DataFiles;
class TRom;

// What lives as long as the open ROM: its game profile, character table, map and species
// names, the bank scan, the overworld sprites, the tileset pair that maps with the same
// tilesets share, and the brush. Opening another ROM (or reloading) builds a new one.
class RomState {
public:
    // The state of "no ROM open": empty lists, default profile.
    RomState() = default;
    RomState(const RomState&) = delete;
    RomState& operator=(const RomState&) = delete;

    // Reads the profile (section rom.Title() of Quillon.ini), checks each table it names for
    // its shape (a table that fails is cleared from the profile and kept in tableFailures()),
    // then reads the character table, names, map list and sprite palettes of the ROM bound to
    // rom. Tables that cannot be read become warnings; the ROM still opens. listLastBank: the
    // bank scan lists the last bank too.
    static std::unique_ptr<RomState> read(TRom& rom, DataFiles& data, bool listLastBank = false);
    // Scans the bank table again, listing the last bank or not; the warnings stay as read.
    void rescanBanks(TRom& rom, bool listLastBank);

    bool loaded() const { return m_loaded; }
    const GameProfile& profile() const { return m_profile; }
    const CharTable& chars() const { return m_chars; }
    const std::vector<std::string>& mapNames() const { return m_mapNames; }
    // Name index as read again after a new name was written into the ROM.
    void setMapName(std::size_t index, std::string name);
    const std::vector<std::string>& pokemonNames() const { return m_pokemonNames; }
    // Problems found while opening (no profile, tables past the end of the file).
    const std::vector<Message>& warnings() const { return m_warnings; }
    // The profile's tables that do not have their shape in this ROM, in the order of
    // tables::kTables; the profile holds 0 for each of them.
    const std::vector<tables::TableFailure>& tableFailures() const { return m_tableFailures; }
    const tables::TableFailure* tableFailure(tables::Table table) const;
    // Throws DataError with the failure's message when table failed its check.
    void requireTable(tables::Table table) const;
    const BankScan& bankScan() const { return m_scan; }
    SpriteSet& sprites() { return m_sprites; }
    TilesetPair& tilesets() { return m_tilesets; }
    const TilesetPair& tilesets() const { return m_tilesets; }
    Brush& brush() { return m_brush; }

private:
    bool m_loaded = false;
    GameProfile m_profile;
    CharTable m_chars;
    std::vector<std::string> m_mapNames;
    std::vector<std::string> m_pokemonNames;
    std::vector<Message> m_warnings;
    std::vector<tables::TableFailure> m_tableFailures;
    BankScan m_scan;
    SpriteSet m_sprites;
    TilesetPair m_tilesets;
    Brush m_brush;
};

}  // namespace quillon
