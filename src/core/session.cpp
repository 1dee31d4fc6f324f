#include "core/session.h"

#include "core/errors.h"
#include "core/gfx/map_renderer.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/map_names.h"

namespace quillon {

Session::Session(std::filesystem::path programFolder)
    : m_folder(std::move(programFolder)),
      m_data(m_folder),
      m_settings(m_data.quillon()),
      m_lang(m_data.sprachen()),
      m_tilesets(std::make_unique<TilesetPair>()),
      m_pictures(*m_tilesets, m_grid, m_settings),
      m_editor(m_grid, m_pictures),
      m_eventEditor(m_events, m_editor.history(), m_settings, m_sprites) {
    m_editor.setRecordSink(&m_eventEditor);
    std::string language;
    if (m_lang.available()) {
        auto languages = m_lang.languages();
        language = m_settings.sprache();
        if (language.empty() && !languages.empty()) {
            language = languages.front();
        }
        m_lang.setCurrent(language);
    }
    // The weather and type lists keep the language of the start. Without a language file
    // the interface is German, and so are they.
    const std::string listLanguage = language.empty() ? "Deutsch" : language;
    m_weatherNames = m_data.weatherNames(listLanguage);
    m_typeNames = m_data.typeNames(listLanguage);
    refreshMovementNames();
}

Session::~Session() = default;

void Session::refreshMovementNames() {
    const std::string& language = m_lang.current().empty() ? std::string("Deutsch")
                                                           : m_lang.current();
    m_movementNames = m_data.movementNames(language);
}

bool Session::applyLanguage(const std::string& language, bool remember) {
    m_lang.setCurrent(language);
    if (remember) {
        m_settings.setSprache(language);
    }
    if (!m_lang.usable(language)) {
        return false;
    }
    refreshMovementNames();
    return true;
}

void Session::openRom(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        throw Error("Die Datei \"" + file.string() + "\" wurde nicht gefunden.");
    }
    auto image = std::make_unique<DiskRomFile>(file);
    checkRomImage(*image, file.filename().string());
    m_rom.attach(std::move(image), file.string());
    loadRomTables();
}

void Session::openRom(std::unique_ptr<RomFile> image, const std::string& name) {
    checkRomImage(*image, name);
    m_rom.attach(std::move(image), name);
    loadRomTables();
}

void Session::reloadRom() {
    if (!m_rom.bound()) {
        throw Error("Es ist kein Rom geladen.");
    }
    m_rom.Rebind();
    loadRomTables();
}

void Session::loadRomTables() {
    m_romLoaded = false;
    m_mapLoaded = false;
    m_pictures.setEnabled(false);
    m_editor.romOpened();
    m_tilesets->reset();
    m_map = CurrentMap{};
    m_grid = BlockGrid{};
    m_events.clear();
    m_eventEditor.mapOpened();
    invalidatePictures();

    m_rom.ReadTitle();
    m_data.quillon().reload();
    m_romWarnings.clear();
    m_profile = GameProfile::read(m_data.quillon(), m_rom.Title(), m_rom.size(), m_romWarnings);
    if (!m_profile.found) {
        m_romWarnings.push_back("Für das Spiel \"" + m_rom.Title() +
                                "\" gibt es kein Profil in Ini\\Quillon.ini: es werden keine "
                                "Maps gefunden.");
    }
    m_chars.load(m_data.openCharTable(m_profile));
    m_pokemonNames = readPokemonNames(m_rom, m_profile, m_chars);
    m_mapNames = readMapNames(m_rom, m_profile, m_chars, m_romWarnings);
    m_data.reopenMapFiles(m_profile);
    m_scan = m_profile.found
                 ? scanBanks(m_rom, static_cast<std::uint32_t>(m_profile.mapBankHeader), m_mapNames)
                 : BankScan{};
    m_romWarnings.insert(m_romWarnings.end(), m_scan.warnings.begin(), m_scan.warnings.end());
    m_sprites.prepare(m_rom, m_profile);
    m_romLoaded = true;
    m_rom.Close();
}

MapListTree Session::mapList() const {
    MapListTexts texts{m_lang.text(1270, "Nur aus Header"), m_lang.text(1271, "Aus Ini")};
    BankScan scan = m_scan;
    scan.warnings.clear();
    return buildMapListTree(scan, m_data.mainFile(), m_data.mapsFile(),
                            m_settings.mapListParts(), texts);
}

std::vector<std::string> Session::groupLines(const std::string& group) const {
    std::vector<std::string> lines;
    const IniFile& main = m_data.mainFile();
    for (int i = 0; main.hasKey(group, std::to_string(i)); ++i) {
        std::string id = main.readString(group, std::to_string(i), "");
        lines.push_back(mapLineText(m_data.mapsFile().readString(id, "Name", "Kein Name"), id));
    }
    return lines;
}

std::optional<std::string> Session::openMap(const std::string& identifier,
                                            const std::string& title) {
    if (!m_romLoaded) {
        throw Error("Es ist kein Rom geladen.");
    }
    m_rom.Open();
    LoadedMap loaded = readMap(m_rom, m_profile, m_data.mapsFile(), identifier, title, m_map);
    EventTables events;
    events.load(m_rom, loaded.map.eventsOffset, m_profile.flugPosHeader, loaded.map.bank,
                loaded.map.map);
    if (loaded.map.hasFooter()) {
        try {
            m_tilesets->LoadTilesets(m_rom, m_map.tileset1, m_map.tileset2, loaded.map.tileset1,
                                     loaded.map.tileset2, loaded.map.tilesetHeader1,
                                     loaded.map.tilesetHeader2, m_data.tilesets(),
                                     m_profile.tilesethoehe);
        } catch (...) {
            restoreTilesets();
            throw;
        }
    }
    m_map = std::move(loaded.map);
    m_grid = std::move(loaded.grid);
    m_events = std::move(events);
    m_mapLoaded = true;
    m_editor.mapOpened();
    m_eventEditor.mapOpened();
    m_pictures.setEnabled(true);
    invalidatePictures();
    m_rom.Close();
    return loaded.notice;
}

// After a failed tileset load the block images are half replaced: the map still shown gets its
// own tilesets back, or, when that fails too, the next map loads both afresh.
void Session::restoreTilesets() {
    m_tilesets->reset();
    if (m_mapLoaded && m_map.hasFooter()) {
        try {
            m_tilesets->LoadTilesets(m_rom, TilesetPair::kNoTileset, TilesetPair::kNoTileset,
                                     m_map.tileset1, m_map.tileset2, m_map.tilesetHeader1,
                                     m_map.tilesetHeader2, m_data.tilesets(),
                                     m_profile.tilesethoehe);
            return;
        } catch (const Error&) {
            m_tilesets->reset();
        }
    }
    m_map.tileset1 = m_map.tileset2 = TilesetPair::kNoTileset;
}

void Session::setTextPainter(TextPainter* painter) { m_pictures.setTextPainter(painter); }

const Bitmap& Session::eventPicture() {
    const Bitmap& map = m_pictures.map();
    return m_eventEditor.picture(map, m_editor.gridRevision());
}

void Session::saveMap() {
    if (!m_mapLoaded) {
        throw Error("Es ist keine Map geöffnet.");
    }
    if (!m_map.hasFooter()) {
        throw Error("Die Map \"" + m_map.identifier +
                    "\" hat keinen eigenen Block-Grid und wird nicht gespeichert.");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(m_grid.cellCount()) * 2);
    for (int i = 0; i < m_grid.cellCount(); ++i) {
        writeLe16(&bytes[static_cast<std::size_t>(i) * 2], m_grid.cells[static_cast<std::size_t>(i)].raw);
    }
    m_rom.Open();
    m_rom.WriteBlock(bytes, static_cast<std::int32_t>(m_map.gridOffset));
    m_events.save(m_rom);
    m_rom.Flush();
    m_rom.Close();
    m_editor.markSaved();
}

bool Session::saveMapAs(const std::filesystem::path& newName) {
    if (!m_mapLoaded) {
        throw Error("Es ist keine Map geöffnet.");
    }
    return m_rom.SaveAs(newName, [this] { saveMap(); });
}

}  // namespace quillon
