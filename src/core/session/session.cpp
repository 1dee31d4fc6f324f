#include "core/session/session.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/blocks/tileset_ranges.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/map_names.h"
#include "core/mapfile/map_from_file.h"
#include "core/state/map_places.h"
#include "core/state/map_state_check.h"
#include "core/rom/cartridge.h"

namespace quillon {

Session::Session(std::filesystem::path programFolder)
    : m_folder(std::move(programFolder)),
      m_data(m_folder),
      m_settings(m_data.quillon()),
      m_lang(m_data.languages()),
      m_romState(std::make_unique<RomState>()),
      m_mapState(std::make_unique<MapState>(*m_romState, m_settings, m_buffers)) {
    std::string language;
    if (m_lang.available()) {
        auto languages = m_lang.languages();
        language = m_settings.language();
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
    const std::string& language =
        m_lang.current().empty() ? std::string("Deutsch") : m_lang.current();
    m_movementNames = m_data.movementNames(language);
}

bool Session::applyLanguage(const std::string& language, bool remember) {
    m_lang.setCurrent(language);
    if (remember) {
        m_settings.setLanguage(language);
    }
    if (!m_lang.usable(language)) {
        return false;
    }
    refreshMovementNames();
    return true;
}

void Session::openRom(const std::filesystem::path& file, bool readOnly) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        throw Error("Die Datei \"" + file.string() + "\" wurde nicht gefunden.");
    }
    auto image = std::make_unique<DiskRomFile>(file, readOnly);
    checkRomImage(*image, file.filename().string());
    m_rom.attach(std::move(image), file.string());
    m_readOnly = readOnly;
    m_historyFile = file.string() + ".quillon-history";
    openHistory();
    loadRomTables();
}

void Session::openRom(std::unique_ptr<RomFile> image, const std::string& name,
                      std::optional<std::filesystem::path> historyFile) {
    checkRomImage(*image, name);
    m_rom.attach(std::move(image), name);
    m_readOnly = false;
    m_historyFile = std::move(historyFile);
    openHistory();
    loadRomTables();
}

void Session::openHistory() {
    m_rom.history().setBounds(
        {static_cast<std::uint64_t>(m_settings.historyMaxMB()) << 20,
         static_cast<std::size_t>(m_settings.historyMaxEntries())});
    m_rom.openHistory(m_settings.flag(Settings::Flag::KeepHistory) ? m_historyFile : std::nullopt,
                      m_readOnly);
}

std::string Session::openMapId() const { return mapLoaded() ? map().identifier : ""; }

std::vector<ByteRange> Session::openMapRanges() {
    if (!mapLoaded()) {
        return {};
    }
    auto ranges = mapRanges(m_rom, map());
    m_rom.Close();
    return ranges;
}

bool Session::touchesOpenMap(const std::vector<HistoryEntry>& steps) {
    const std::vector<ByteRange> ranges = openMapRanges();
    return std::any_of(steps.begin(), steps.end(),
                       [&](const HistoryEntry& e) { return touches(e.ranges, ranges); });
}

bool Session::undoTouchesOpenMap(std::uint64_t id) {
    return touchesOpenMap(history_commands::undoTargets(m_rom, id));
}

bool Session::redoTouchesOpenMap() {
    return touchesOpenMap(history_commands::redoTargets(m_rom, 1));
}

UndoOutcome Session::undoUntil(std::uint64_t id) {
    UndoOutcome outcome = history_commands::undoUntil(m_rom, id, openMapRanges());
    readTilesetsAgain();
    return outcome;
}

UndoOutcome Session::redoNext() {
    UndoOutcome outcome = history_commands::redoNext(m_rom, openMapRanges());
    readTilesetsAgain();
    return outcome;
}

void Session::readTilesetsAgain() {
    // An undone or redone step may have put other block records or attributes into the ROM
    // (the block editor's saves): the tilesets are read again rather than kept.
    m_romState->tilesets().reset();
    if (mapLoaded() && map().hasFooter()) {
        try {
            // A tile import moves the data and points the header there: the copies follow.
            CurrentMap& current = m_mapState->map();
            current.tilesetHeader1 =
                blocks::readTilesetHeader(m_rom, current.footer.tileset1Offset());
            current.tilesetHeader2 =
                blocks::readTilesetHeader(m_rom, current.footer.tileset2Offset());
            loadTilesets(map());
        } catch (const Error&) {
            // The pair holds nothing now; the next map opened reads both parts.
        }
        m_mapState->invalidatePictures();
    }
    m_rom.Close();
}

std::optional<Unfinished> Session::unfinished() const {
    const auto& pending = m_rom.history().unfinished();
    return pending ? std::optional(Unfinished{*pending}) : std::nullopt;
}

void Session::resolveUnfinished(bool complete) {
    if (!m_rom.history().unfinished()) {
        return;
    }
    m_rom.finishUnfinished(complete);
    loadRomTables();
}

void Session::reloadRom() {
    if (!m_rom.bound()) {
        throw Error("Es ist kein Rom geladen.");
    }
    m_rom.Rebind();
    openHistory();
    loadRomTables();
}

void Session::loadRomTables() {
    // The old states go first, so a failing read leaves "no ROM open", not a half-read one.
    m_mapState.reset();
    m_romState = std::make_unique<RomState>();
    m_mapState = std::make_unique<MapState>(*m_romState, m_settings, m_buffers);
    auto next = RomState::read(m_rom, m_data, m_settings.flag(Settings::Flag::ListLastBank));
    m_mapState.reset();
    m_romState = std::move(next);
    m_mapState = std::make_unique<MapState>(*m_romState, m_settings, m_buffers);
    m_mapState->pictures().setTextPainter(m_textPainter);
    m_rom.Close();
}

void Session::setListLastBank(bool on) {
    m_settings.setFlag(Settings::Flag::ListLastBank, on);
    if (romLoaded()) {
        m_romState->rescanBanks(m_rom, on);
        m_rom.Close();
    }
}

MapListTree Session::mapList() const {
    MapListTexts texts{m_lang.text(1270, "Nur aus Header"), m_lang.text(1271, "Aus Ini")};
    BankScan scan = m_romState->bankScan();
    scan.warnings.clear();
    return buildMapListTree(scan, m_data.mainFile(), m_data.mapsFile(), m_settings.mapListParts(),
                            texts);
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
    if (!romLoaded()) {
        throw Error("Es ist kein Rom geladen.");
    }
    const GameProfile& profile = m_romState->profile();
    requireKnownMap(identifier);
    m_rom.Open();
    LoadedMap loaded = readMap(m_rom, profile, m_data.mapsFile(), identifier, title, map());
    EventTables events;
    events.load(m_rom, loaded.map.eventsOffset, profile.flyPosHeader, loaded.map.bank,
                loaded.map.map);
    if (loaded.map.hasFooter()) {
        try {
            loadTilesets(loaded.map);
        } catch (...) {
            // The pair now holds nothing: the map still shown gets its own tilesets back, or,
            // when that fails too, the next map loads both afresh.
            if (mapLoaded() && (map().hasFooter() || map().outsideRom)) {
                try {
                    loadTilesets(map());
                } catch (const Error&) {
                }
            }
            throw;
        }
    }
    std::optional<std::string> notice = std::move(loaded.notice);
    replaceMap(std::make_unique<MapState>(*m_romState, m_settings, m_buffers, std::move(loaded),
                                          std::move(events)));
    m_rom.Close();
    return notice;
}

// A "bank.map" the map name file gives no place for is read through the bank table: only the
// maps its scan lists exist. Any other pointer found there leads into unrelated data, and a
// map read from it could be saved over that data.
void Session::requireKnownMap(const std::string& identifier) const {
    const auto dot = identifier.find('.');
    if (dot == std::string::npos ||
        m_data.mapsFile().readInteger(identifier, m_rom.Title(), 0) != 0) {
        return;
    }
    m_romState->requireTable(tables::Table::Banks);
    if (m_romState->bankScan().banks.empty()) {
        return;  // the loader reads it by its place, or says why there is no table
    }
    const auto bank = TryStrToInt(identifier.substr(0, dot));
    const auto map = TryStrToInt(identifier.substr(dot + 1));
    if (bank && map) {
        requireListedMap(m_romState->bankScan(), *bank, *map);
    }
}

void Session::openDetachedMap(DetachedMap parts) {
    if (!romLoaded()) {
        throw Error("Es ist kein Rom geladen.");
    }
    m_rom.Open();
    replaceMap(buildDetachedMapState(m_rom, *m_romState, m_settings, m_buffers,
                                     m_data.tilesets(), std::move(parts), map()));
    m_rom.Close();
}

void Session::loadTilesets(const CurrentMap& map) {
    m_romState->tilesets().LoadTilesets(
        m_rom, {map.tileset1, map.tilesetHeader1, map.footer.tileset1Offset()},
        {map.tileset2, map.tilesetHeader2, map.footer.tileset2Offset()}, m_data.tilesets(),
        m_romState->profile().tilesetHeight);
}

void Session::replaceMap(std::unique_ptr<MapState> next) {
    m_mapState = std::move(next);
    m_mapState->pictures().setTextPainter(m_textPainter);
}

void Session::setTextPainter(TextPainter* painter) {
    m_textPainter = painter;
    m_mapState->pictures().setTextPainter(painter);
}

void Session::saveMap() {
    writeMap("Map speichern " + openMapId());
    m_mapState->history().markSaved();
}

void Session::writeMap(const std::string& name) {
    if (!mapLoaded()) {
        throw Error("Es ist keine Map geöffnet.");
    }
    const CurrentMap& current = map();
    if (current.outsideRom) {
        throw Error("Die Map \"" + current.title +
                    "\" gehört zu keiner Map im Rom: \"Map Speichern\" schreibt sie in ihre "
                    "Map-Datei, \"Map Einfügen\" in einen Platz im Rom.");
    }
    if (!current.hasFooter()) {
        throw Error("Die Map \"" + current.identifier +
                    "\" hat keinen eigenen Block-Grid und wird nicht gespeichert.");
    }
    const std::vector<std::uint8_t> bytes = grid().encode();
    m_rom.Open();
    requireUnchangedInRom(m_rom, *m_mapState);
    TRom::Transaction tx(m_rom, name, current.identifier);
    m_rom.WriteBlock(bytes, static_cast<std::int32_t>(current.gridOffset));
    m_mapState->events().save(m_rom);
    tx.commit();
    m_rom.Close();
}

bool Session::saveMapAs(const std::filesystem::path& newName) {
    if (!mapLoaded()) {
        throw Error("Es ist keine Map geöffnet.");
    }
    const bool saved =
        m_rom.SaveAs(newName, [this] { writeMap("Map speichern unter " + openMapId()); });
    if (saved) {
        // Saved only now: a copy that could not take its name leaves the map modified.
        m_mapState->history().markSaved();
        if (m_historyFile) {
            m_historyFile = m_rom.FileName().string() + ".quillon-history";
        }
    }
    return saved;
}

}  // namespace quillon
