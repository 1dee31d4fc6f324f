#pragma once

#include <QMainWindow>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "core/config/program_places.h"
#include "core/config/settings.h"
#include "imageio/qt_text_painter.h"
#include "ui/dialogs.h"
#include "ui/loading_guard.h"
#include "ui/main_menu.h"
#include "ui/qt_translations.h"

class QActionGroup;
class QCloseEvent;
class QLabel;
class QTabWidget;

namespace quillon {
class Bitmap;
class MapEditor;
class MapState;
class Session;
struct CellRect;
namespace map_insertion {
struct Plan;
struct Result;
struct Slot;
}  // namespace map_insertion
}  // namespace quillon

namespace quillon::ui {

class EventsTab;
class MovementTab;
class HeaderTab;
class MapChooser;
class MapTab;
class TAnbindungenForm;
class TEventBuilderForm;
class TBlockEditorForm;
class TGrosserBlockFrom;
class TVerlaufForm;
class WildTab;

// The editor's main window: menus, the map list, the tabs and the status bar `Status`. It owns
// the one Session; every command reads its controls, calls one session operation and redraws.
// Every slot runs through the command boundary (commandSlot, runCommand): an error ends in the
// error box, never in the event loop. States: no ROM (map list disabled), ROM open (tabs disabled),
// map open. The caption ends in " *" while the open map has unsaved changes; closing the window or
// opening another map asks first whether to save them.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // programFolder holds Ini/ and the settings. dialogs answers every box; nullptr means the
    // real ones.
    explicit MainWindow(const std::filesystem::path& programFolder,
                        std::unique_ptr<Dialogs> dialogs = nullptr, QWidget* parent = nullptr);
    // The shipped files and the settings where places say.
    explicit MainWindow(const ProgramPlaces& places, std::unique_ptr<Dialogs> dialogs = nullptr,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return *m_session; }
    const MainMenu& menu() const { return m_menu; }
    // Panel 0: the state and the cell under the pointer; panel 1: hints.
    QString statusText(int panel) const;
    QString mapIdentifier() const { return m_identifier; }

    // "Laden..." once the file is chosen.
    void openRomFile(const QString& path);
    // Opens a map by identifier; the title goes into the caption. Unsaved changes of the map
    // shown before are offered for saving first. That map stays when this fails, when its
    // save fails, when text typed into one of its fields is refused, or when the new map cannot
    // be opened. True when the map was opened.
    bool openMap(const QString& identifier, const QString& title);
    TGrosserBlockFrom* bigBlockView() const { return m_bigBlock; }

    void Laden1Click();
    void NeuLaden1Click();
    void Mapffnen1Click();
    void TabellenSuchen1Click();
    void Comboboxen1Click();
    void Grid1Click();
    void BlockPaletteBreite1Click();
    void NameEndernClick(const QString& language);
    void Readme1Click();
    void Info1Click();
    void Save1Click();
    void SaveAs1Click();
    void Rueckgaengig1Click();
    void Wiederholen1Click();
    void SaveMapPic1Click();
    void SaveTilesetPic1Click();
    void SaveEventPic1Click();
    void BuildEvents1Click();
    void Verlauf1Click();
    TVerlaufForm* historyForm() const { return m_verlauf; }
    // The submenu "Map" (main_window_map_files.cpp): maps kept in map files, new maps, and
    // putting the map in memory into a slot of the ROM.
    void NeueMap1Click();
    void MapOffnen1Click();
    void MapSpeichern1Click();
    void MapSpeichernunter1Click();
    void MapEinfugen1Click();
    void BlockEditor1Click();
    // The open block editor, or nullptr.
    TBlockEditorForm* blockEditor() const { return m_blockEditor; }
    void Anbindungen1Click();
    TAnbindungenForm* connectionsForm() const { return m_anbindungen; }
    void Exit1Click();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUi();
    void buildStatusBar();
    // The commands that move map data (new size, event counts) and what follows them
    // (main_window_data_moves.cpp).
    void connectDataMoves();
    // The ROM's write history: its window, undo and redo of what reached the ROM, and the
    // question after an interrupted command (main_window_history.cpp).
    void connectHistory();
    void connectMapFiles();
    // "Tabellen suchen": the table search on the open ROM, its result stored as the ROM's
    // profile on the user's word (main_window_tables.cpp).
    void connectTables();
    // A ROM without a profile just opened: the user is offered the table search.
    void offerTableSearch();
    // Every view, tab and window follows the map just opened (ROM, map file or new).
    void showOpenedMap(const QString& title);
    // Saves the open map into its map file; asks for one first when it has none or ask is set.
    bool saveMapFile(bool ask);
    std::optional<QString> askInsertionSlot();
    // The events' place for an insertion into slot (bank, map) with the grid's place chosen,
    // checked with the whole plan; nullopt when cancelled.
    std::optional<map_insertion::Plan> askEventPlace(const map_insertion::Plan& base,
                                                     bool ownFooter, std::uint32_t gridBytes);
    void checkInsertion(const map_insertion::Plan& plan);
    bool askSharedFooter(const map_insertion::Slot& slot, map_insertion::Plan& plan, bool& own);
    std::optional<std::uint32_t> askOwnFooterPlace(const map_insertion::Plan& plan);
    void mapInserted(const QString& slot, const map_insertion::Result& result);
    bool replaceSlotMaps(const map_insertion::Slot& slot);
    // The block editor: opening it and what follows its saves (main_window_blocks.cpp).
    void connectBlockEditor();
    void blockSaved();
    void refreshBlockEditor();
    void settleRomHistory();
    void showNewHistoryNotices();
    void undoHistory(std::uint64_t id);
    void redoHistory();
    // The window "Anbindungen": its menu item, its neighbour buttons, and its reload after
    // a step of the history (main_window_connections.cpp).
    void connectConnections();
    // Runs an undo or redo of the history: touches tells beforehand whether it changes the
    // open map, step runs it and tells whether it did.
    void historyStep(const std::function<bool()>& touches, const std::function<bool()>& step,
                     bool undo);
    bool settleChangesBeforeStep(bool undo);
    // Opens the map without asking about its changes (they were offered for saving already).
    bool loadMap(const QString& identifier, const QString& title);
    void connectMenu();
    void connectCommand(QAction* action, void (MainWindow::*command)());
    void FormCreate();
    void readSettings();
    // Size, place, splitter, zoom and last folders kept between runs
    // (main_window_remember.cpp); the zoom menu items (main_window_zoom.cpp).
    void restoreWindowState();
    void rememberWindowState();
    void rememberZoom();
    void connectZoom();
    void buildLanguageMenu();
    void applyLanguageTexts();
    void MapsLoad();
    void MapListPartsClick(QAction* clicked);
    void LetzteBank1Click();
    void chooseMapLine(const QString& line);
    void goToWarp(const QString& identifier, const QString& title, int warp);
    void openNeighbour(const QString& identifier, const QString& title);
    // mapFollows: the map shown is opened again right after (F5), so the tool windows that
    // follow the map stay; the caller closes them when that fails.
    void romOpened(bool mapFollows = false);
    void PageControlChange();
    void refreshCurrentTab();
    void showStateStatus();
    void setStatus(const QString& text);
    void inform(const QString& text);
    void showEditState();
    // Before a command that saves, undoes, closes or moves on: ends a drag in progress and
    // hands over text still pending in a field. False when that text was refused: the command
    // stops, so the user can mend it.
    bool finishInput();
    // Where the ROM dialogs start: the open ROM's file, or nothing.
    QString romStart() const;
    bool saveMap();
    bool saveChangesFirst();
    bool FormClose();
    void undoStep(CellRect (MapEditor::*step)());
    bool savePicture(const QAction* item, const QString& filter,
                     const Bitmap& (*picture)(MapState&));

    // A display setting has changed (or was read at start): the views follow it.
    void applySetting(Settings::Flag flag, bool on);

    std::unique_ptr<Session> m_session;
    std::unique_ptr<Dialogs> m_dialogs;
    // History notices already shown (they accumulate while a ROM is open).
    std::size_t m_historyNoticesShown = 0;
    imageio::QtTextPainter m_textPainter;
    QtTranslations m_qtTexts;  // Qt's own buttons and dialogs in the chosen language
    LoadingFlag m_loading;
    MainMenu m_menu;
    QActionGroup* m_languages = nullptr;
    MapChooser* m_chooser = nullptr;
    QTabWidget* m_tabs = nullptr;
    MapTab* m_mapTab = nullptr;
    MovementTab* m_movementTab = nullptr;
    EventsTab* m_eventsTab = nullptr;
    WildTab* m_wildTab = nullptr;
    HeaderTab* m_headerTab = nullptr;
    TGrosserBlockFrom* m_bigBlock = nullptr;
    TEventBuilderForm* m_eventBuilder = nullptr;
    TVerlaufForm* m_verlauf = nullptr;
    TBlockEditorForm* m_blockEditor = nullptr;  // cleared when the window goes
    TAnbindungenForm* m_anbindungen = nullptr;
    QLabel* m_panel0 = nullptr;
    QLabel* m_panel1 = nullptr;
    QString m_identifier;
    // The slot the last "Map Einfügen" wrote; proposed to the next one until a map is opened.
    QString m_insertedSlot;
    QString m_title;
    QString m_pictureFolder;  // where the last picture was saved
    QString m_romFolder;      // the folder of the last ROM opened
};

}  // namespace quillon::ui
