#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/config/data_files.h"
#include "core/config/language_table.h"
#include "core/config/settings.h"
#include "core/rom/trom.h"
#include "core/state/map_state.h"
#include "core/state/picture_buffers.h"
#include "core/state/rom_state.h"

namespace quillon {

class TextPainter;
struct DetachedMap;

// What lives as long as the program (data files, settings, languages, the ROM file access,
// picture buffers, name lists), the state of the open ROM and the state of the open map.
// Opening a ROM or a map replaces the whole state object; commands are units of their own that
// work on rom(), romState() and mapState().
class Session {
public:
    // Data files and settings beside the program (placesBeside).
    explicit Session(std::filesystem::path programFolder);
    explicit Session(const ProgramPlaces& places);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    DataFiles& data() { return m_data; }
    const DataFiles& data() const { return m_data; }
    Settings& settings() { return m_settings; }
    LanguageTable& lang() { return m_lang; }
    const LanguageTable& lang() const { return m_lang; }
    TRom& rom() { return m_rom; }
    const TRom& rom() const { return m_rom; }
    RomState& romState() { return *m_romState; }
    const RomState& romState() const { return *m_romState; }
    MapState& mapState() { return *m_mapState; }
    const MapState& mapState() const { return *m_mapState; }

    // --- ROM ---------------------------------------------------------------------------
    // Opens a ROM image (rom_opening.h): identifies the game, reads the profile, character
    // table, map and species names, and scans the map list. Throws Error with a clear message
    // for a file that is not a ROM image; the ROM open before stays open then. readOnly: the
    // ROM and its history are only read (nothing can be written; a history that does not
    // belong or holds an unfinished transaction is reported and left as it is).
    void openRom(const std::filesystem::path& file, bool readOnly = false);
    // Binds an image held in memory (tests) and opens it the same way. Its history lives in
    // memory unless historyFile names a file for it.
    void openRom(std::unique_ptr<RomFile> image, const std::string& name,
                 std::optional<std::filesystem::path> historyFile = std::nullopt);
    // Opens the current file name anew (the file may have been replaced on disk) and re-reads
    // the profile and every table ("Neu Laden"). Throws Error when the file is gone or is no
    // ROM image any more; the ROM stays as it was then.
    void reloadRom();
    // Reads the open ROM's tables again into a new ROM state (after its history wrote into
    // it); the open map closes.
    void readRomAgain();

    // --- the open map -------------------------------------------------------------------
    // Opens a map by identifier ("3.1", or a section of the map name file; map_opening.h).
    // Returns a notice to show first (footer offset missing for this game). A "bank.map" the
    // bank scan does not list is refused (requireKnownMap). On an error the previous map
    // stays open and unchanged.
    std::optional<Message> openMap(const std::string& identifier, const std::string& title);
    // Shows a map that lives outside the ROM (map_from_file.h): read from a map file or made
    // new, with the open ROM's tilesets. On an error the previous map stays open.
    void openDetachedMap(DetachedMap parts);
    // Saves the open map on a copy of the ROM (saveOpenMapAs in map_saving.h) and, when the
    // ROM continues on the copy, keeps the history beside the copy from now on.
    bool saveMapAs(const std::filesystem::path& newName);

    // Weather, map type and movement value names in the current language (refilled when a
    // language is applied).
    const std::vector<std::string>& weatherNames() const { return m_weatherNames; }
    const std::vector<std::string>& typeNames() const { return m_typeNames; }
    const std::vector<std::string>& movementNames() const { return m_movementNames; }
    void refreshMovementNames();
    // Applies the language (Sprachen.ini section) and remembers it in the settings. Returns
    // false when the language has no texts (nothing changes but the setting).
    bool applyLanguage(const std::string& language, bool remember);

    // Labels for the movement squares are drawn by the platform's font code; every map state
    // draws with it.
    void setTextPainter(TextPainter* painter);

private:
    void loadRomTables();
    void replaceMap(std::unique_ptr<MapState> next);
    void openHistory();

    std::filesystem::path m_folder;
    DataFiles m_data;
    Settings m_settings;
    LanguageTable m_lang;
    TRom m_rom;
    std::optional<std::filesystem::path> m_historyFile;
    bool m_readOnly = false;
    TextPainter* m_textPainter = nullptr;
    PictureBuffers m_buffers;
    // Never null: "no ROM" and "no map" are states of their own. The map state refers to the
    // ROM state (tilesets, sprites, brush), so it goes first whenever the ROM state goes.
    std::unique_ptr<RomState> m_romState;
    std::unique_ptr<MapState> m_mapState;

    std::vector<std::string> m_weatherNames;
    std::vector<std::string> m_typeNames;
    std::vector<std::string> m_movementNames;
};

}  // namespace quillon
