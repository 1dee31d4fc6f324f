#include "core/state/rom_state.h"

#include "core/errors.h"
#include "core/config/data_files.h"
#include "core/map/map_names.h"
#include "core/rom/trom.h"
#include "core/tables/rom_bytes.h"

namespace quillon {

std::unique_ptr<RomState> RomState::read(TRom& rom, DataFiles& data, bool listLastBank) {
    auto state = std::make_unique<RomState>();
    RomState& s = *state;
    rom.ReadTitle();
    const ProfileSource source = data.profileFor(rom.Title(), rom.Revision());
    s.m_profile = GameProfile::read(*source.file, source.section, rom.size(), s.m_warnings);
    if (!s.m_profile.found) {
        s.m_warnings.push_back(message("profile.none", {rom.Title()}));
    } else {
        s.m_tableFailures = tables::checkProfileTables(tables::TRomBytes(rom), s.m_profile,
                                                       rom.isFrlg());
    }
    s.m_chars.load(data.openCharTable(s.m_profile));
    s.m_pokemonNames = readPokemonNames(rom, s.m_profile, s.m_chars);
    s.m_mapNames = readMapNames(rom, s.m_profile, s.m_chars, s.m_warnings);
    data.reopenMapFiles(s.m_profile);
    s.rescanBanks(rom, listLastBank);
    s.m_warnings.insert(s.m_warnings.end(), s.m_scan.warnings.begin(), s.m_scan.warnings.end());
    s.m_sprites.prepare(rom, s.m_profile);
    s.m_loaded = true;
    return state;
}

void RomState::rescanBanks(TRom& rom, bool listLastBank) {
    // A bank table that failed its check lists nothing; its failure says why.
    if (const tables::TableFailure* failure = tableFailure(tables::Table::Banks)) {
        m_scan = BankScan{};
        m_scan.unusable = failure->message;
    } else if (m_profile.found) {
        m_scan = scanBanks(rom, static_cast<std::uint32_t>(m_profile.mapBankHeader), m_mapNames,
                           listLastBank);
    }
}

const tables::TableFailure* RomState::tableFailure(tables::Table table) const {
    for (const tables::TableFailure& failure : m_tableFailures) {
        if (failure.table == table) {
            return &failure;
        }
    }
    return nullptr;
}

void RomState::requireTable(tables::Table table) const {
    if (const tables::TableFailure* failure = tableFailure(table)) {
        throw DataError(failure->message);
    }
}

void RomState::setMapName(std::size_t index, std::string name) {
    if (index >= m_mapNames.size()) {
        throw IndexError(static_cast<long long>(index));
    }
    m_mapNames[index] = std::move(name);
}

}  // namespace quillon
