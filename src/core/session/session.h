#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/config/data_files.h"
#include "core/config/language_table.h"
#include "core/config/settings.h"
#include "core/history/history_commands.h"
#include "core/state/map_state.h"
#include "core/state/picture_buffers.h"
#include "core/rom/trom.h"
#include "core/state/rom_state.h"

namespace quillon {

class TextPainter;
struct DetachedMap;

// Everything the main window shows and every command it runs, without a window. It holds
// what lives as long as the program (data files, settings, languages, the ROM file access),
// the state of the open ROM and the state of the open map; opening a ROM or a map replaces
// the whole state object. Subsystems work on romState() and mapState().
class Session {
public:
    explicit Session(std::filesystem::path programFolder);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    DataFiles& data() { return m_data; }
    Settings& settings() { return m_settings; }
    LanguageTable& lang() { return m_lang; }
    const LanguageTable& lang() const { return m_lang; }
    TRom& rom() { return m_rom; }
    RomState& romState() { return *m_romState; }
    const RomState& romState() const { return *m_romState; }
    MapState& mapState() { return *m_mapState; }
    const GameProfile& profile() const { return m_romState->profile(); }

    // --- ROM ---------------------------------------------------------------------------
    // Opens a ROM image: identifies the game, reads the profile, character table, map and
    // species names, and scans the map list. Throws Error with a clear message for a file that
    // is not a ROM image; the ROM open before stays open then. readOnly: the ROM and its
    // history are only read (nothing can be written; a history that does not belong or holds
    // an unfinished transaction is reported and left as it is).
    void openRom(const std::filesystem::path& file, bool readOnly = false);
    // Binds an image held in memory (tests) and opens it the same way. Its history lives in
    // memory unless historyFile names a file for it.
    void openRom(std::unique_ptr<RomFile> image, const std::string& name,
                 std::optional<std::filesystem::path> historyFile = std::nullopt);
    // Opens the current file name anew (the file may have been replaced on disk) and re-reads
    // the profile and every table ("Neu Laden"). Throws Error when the file is gone or is no
    // ROM image any more; the ROM stays as it was then.
    void reloadRom();
    bool romLoaded() const { return m_romState->loaded(); }
    const std::vector<std::string>& mapNames() const { return m_romState->mapNames(); }
    // Problems found while opening (tables past the end of the file, names not loaded).
    const std::vector<std::string>& romWarnings() const { return m_romState->warnings(); }

    // --- history of the ROM's writes ----------------------------------------------------
    // Every write that reached the ROM, oldest first; read from the history file on the first
    // request. Throws Error when that file cannot be read.
    const std::vector<HistoryEntry>& history() const { return m_rom.history().entries(); }
    // Undoes every entry not undone yet from id on (newest first) as one new transaction;
    // refused with an Error naming the ranges when the ROM no longer holds their new bytes.
    UndoOutcome undoUntil(std::uint64_t id);
    // Redoes the oldest undone entry, with the same check on the old bytes.
    UndoOutcome redoNext();
    // Whether undoUntil(id) / redoNext() would change bytes the open map occupies (its
    // header, footer, border, grid, events or connections; mapRanges): the open map must then
    // be read again, and its unsaved changes are settled first. Nothing is written; throws as
    // the step would when there is nothing to undo or redo.
    bool undoTouchesOpenMap(std::uint64_t id);
    bool redoTouchesOpenMap();
    // After openRom: a transaction the history holds without its commit mark.
    std::optional<Unfinished> unfinished() const;
    // Its new bytes ("Vollenden") or its old bytes ("Zurücknehmen") written into the ROM; then
    // the ROM's tables are read again. Nothing when there is none.
    void resolveUnfinished(bool complete);
    // What opening the history found: a file set aside because it belongs to another ROM, ...
    std::vector<std::string> historyNotices() const { return m_rom.history().notices(); }

    // --- map list -----------------------------------------------------------------------
    const BankScan& bankScan() const { return m_romState->bankScan(); }
    // The list as the "Map Auflistung" setting asks for.
    MapListTree mapList() const;
    // Sets whether the bank scan lists the last bank (a setting) and scans the open ROM's bank
    // table again; the caller rebuilds the map list.
    void setListLastBank(bool on);
    // The lines of one group of the map group file (combo box mode).
    std::vector<std::string> groupLines(const std::string& group) const;

    // --- the open map -------------------------------------------------------------------
    // Opens a map by identifier ("3.1", or a section of the map name file). Returns a notice
    // to show first (footer offset missing for this game). A "bank.map" the bank scan does
    // not list is refused (requireListedMap). On an error the previous map stays open and
    // unchanged.
    std::optional<std::string> openMap(const std::string& identifier, const std::string& title);
    // Shows a map that lives outside the ROM (map_from_file.h): read from a map file or made
    // new, with the open ROM's tilesets. On an error the previous map stays open.
    void openDetachedMap(DetachedMap parts);
    bool mapLoaded() const { return m_mapState->loaded(); }
    const CurrentMap& map() const { return m_mapState->map(); }
    const BlockGrid& grid() const { return m_mapState->grid(); }
    BlockGrid& grid() { return m_mapState->grid(); }
    const TilesetPair& tilesets() const { return m_romState->tilesets(); }
    // The open map differs from the ROM: painted or its events edited since it was opened or
    // last saved.
    bool modified() const { return m_mapState->modified(); }
    MapEditor& editor() { return m_mapState->editor(); }
    // The events of the open map, read when it was opened; edited through eventEditor().
    const EventTables& events() const { return m_mapState->events(); }
    EventEditor& eventEditor() { return m_mapState->eventEditor(); }

    // Writes the grid of the open map into the ROM at its grid offset, then its event tables
    // and fly record where they were read ("Speichern"). A map opened without a footer of its
    // own is refused (its grid offset would name another map's grid). Throws RomIoError when
    // the file cannot be written; the map then stays modified.
    void saveMap();
    // Copies the ROM file to newName (".gba" added when missing), continues on the copy and
    // saves the map there; the copy appears only complete. False when the target is another
    // existing file; RomIoError when the copy or the save fails. Either way nothing is left
    // behind and the editor stays on the old file.
    bool saveMapAs(const std::filesystem::path& newName);

    // Weather and map type names in the language of the start; movement value names in the
    // current language (refilled on a language change).
    const std::vector<std::string>& weatherNames() const { return m_weatherNames; }
    const std::vector<std::string>& typeNames() const { return m_typeNames; }
    const std::vector<std::string>& movementNames() const { return m_movementNames; }
    void refreshMovementNames();
    // Applies the language (Sprachen.ini section) and remembers it in the settings. Returns
    // false when the language has no texts (nothing changes but the setting).
    bool applyLanguage(const std::string& language, bool remember);

    // --- pictures -----------------------------------------------------------------------
    // Labels for the movement squares are drawn by the platform's font code.
    void setTextPainter(TextPainter* painter);
    // Built on demand; each is redrawn only when something it shows has changed.
    const Bitmap& mapPicture() { return m_mapState->pictures().map(); }
    const Bitmap& blockPalette() { return m_mapState->pictures().blockPalette(); }
    const Bitmap& movementView() { return m_mapState->pictures().movementView(); }
    const Bitmap& movementPalette() { return m_mapState->pictures().movementPalette(); }
    // The map picture with the events drawn over it; the state message of the drawing comes
    // from eventEditor().pictureMessage().
    const Bitmap& eventPicture() { return m_mapState->eventPicture(); }
    // Forces the next picture request to redraw (grid toggle, palette width change).
    void invalidatePictures() { m_mapState->invalidatePictures(); }
    // Reads the open map's tileset headers and both tileset parts from the ROM again (after a
    // write into their tiles or palettes, an undo or a redo) and redraws its pictures on the
    // next request. A part that cannot be read leaves the pair empty until the next map.
    void readTilesetsAgain();

private:
    void loadRomTables();
    void loadTilesets(const CurrentMap& map);
    void replaceMap(std::unique_ptr<MapState> next);
    void openHistory();
    void writeMap(const std::string& name);
    std::string openMapId() const;
    std::vector<ByteRange> openMapRanges();
    bool touchesOpenMap(const std::vector<HistoryEntry>& steps);
    void requireKnownMap(const std::string& identifier) const;

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
