#include "core/session/session.h"

#include "core/errors.h"
#include "core/mapfile/map_from_file.h"
#include "core/session/map_opening.h"
#include "core/session/map_saving.h"
#include "core/session/rom_opening.h"

namespace quillon {

Session::Session(std::filesystem::path programFolder)
    : Session(placesBeside(programFolder)) {}

Session::Session(const ProgramPlaces& places)
    : m_folder(places.dataFolder),
      m_data(places),
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
    // Without a language file the interface is German, and so are the weather and type lists.
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
    m_weatherNames = m_data.weatherNames(language);
    m_typeNames = m_data.typeNames(language);
    return true;
}

void Session::openRom(const std::filesystem::path& file, bool readOnly) {
    attachRomFile(m_rom, file, readOnly);
    m_readOnly = readOnly;
    m_historyFile = std::filesystem::path(file) += ".quillon-history";
    openHistory();
    loadRomTables();
}

void Session::openRom(std::unique_ptr<RomFile> image, const std::string& name,
                      std::optional<std::filesystem::path> historyFile) {
    attachRomImage(m_rom, std::move(image), name);
    m_readOnly = false;
    m_historyFile = std::move(historyFile);
    openHistory();
    loadRomTables();
}

void Session::openHistory() { openRomHistory(m_rom, m_settings, m_historyFile, m_readOnly); }

void Session::reloadRom() {
    if (!m_rom.bound()) {
        throw Error(message("session.no_rom"));
    }
    m_rom.Rebind();
    openHistory();
    loadRomTables();
}

void Session::readRomAgain() { loadRomTables(); }

void Session::loadRomTables() {
    // The old states go first, so a failing read leaves "no ROM open", not a half-read one.
    m_mapState.reset();
    m_romState = std::make_unique<RomState>();
    m_mapState = std::make_unique<MapState>(*m_romState, m_settings, m_buffers);
    auto next = readRomState(m_rom, m_data, m_settings);
    m_mapState.reset();
    m_romState = std::move(next);
    m_mapState = std::make_unique<MapState>(*m_romState, m_settings, m_buffers);
    m_mapState->pictures().setTextPainter(m_textPainter);
}

std::optional<Message> Session::openMap(const std::string& identifier,
                                            const std::string& title) {
    if (!m_romState->loaded()) {
        throw Error(message("session.no_rom"));
    }
    OpenedMap opened = readMapState(m_rom, *m_romState, m_data, m_settings, m_buffers, *m_mapState,
                                    identifier, title);
    replaceMap(std::move(opened.state));
    m_rom.Close();
    return std::move(opened.notice);
}

void Session::openDetachedMap(DetachedMap parts) {
    if (!m_romState->loaded()) {
        throw Error(message("session.no_rom"));
    }
    m_rom.Open();
    replaceMap(buildDetachedMapState(m_rom, *m_romState, m_settings, m_buffers, m_data.tilesets(),
                                     std::move(parts), m_mapState->map()));
    m_rom.Close();
}

void Session::replaceMap(std::unique_ptr<MapState> next) {
    m_mapState = std::move(next);
    m_mapState->pictures().setTextPainter(m_textPainter);
}

void Session::setTextPainter(TextPainter* painter) {
    m_textPainter = painter;
    m_mapState->pictures().setTextPainter(painter);
}

bool Session::saveMapAs(const std::filesystem::path& newName) {
    const bool saved = saveOpenMapAs(m_rom, *m_mapState, newName);
    if (saved && m_historyFile) {
        m_historyFile = std::filesystem::path(m_rom.FileName()) += ".quillon-history";
    }
    return saved;
}

}  // namespace quillon
