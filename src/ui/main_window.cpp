#include "ui/main_window.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/base/numbers.h"
#include "core/map/map_list.h"
#include "core/session/map_listing.h"
#include "core/session/session.h"
#include "ui/big_block_view.h"
#include "ui/blocks/block_editor_form.h"
#include "ui/command.h"
#include "ui/connections/anbindungen_form.h"
#include "ui/dialogs.h"
#include "ui/escape_closes.h"
#include "ui/events/event_builder_form.h"
#include "ui/events/events_tab.h"
#include "ui/header_tab.h"
#include "ui/help_texts.h"
#include "ui/history_form.h"
#include "ui/language_texts.h"
#include "ui/map_chooser.h"
#include "ui/map_tab.h"
#include "ui/movement_tab.h"
#include "ui/picture_view.h"
#include "ui/qt_text.h"
#include "ui/readme_window.h"
#include "ui/wild_tab.h"

namespace quillon::ui {

namespace {

enum Page { kMapPage = 0, kMovementPage = 1, kEventsPage = 2, kWildPage = 3, kHeaderPage = 4 };

struct PageText {
    int number;
    const char* german;
};
// Tab captions by page; text 23 is not used.
constexpr PageText kPageTexts[] = {
    {20, "Map"}, {21, "Geh Daten"}, {22, "Events"}, {24, "WildePokemon"}, {25, "Header"}};

constexpr const char* kNoEvents = "Sorry keine Events für diese Map gefunden.";
constexpr const char* kNoWild = "Sorry für diese Map wurden keine WildePokemonDaten gefunden.";
constexpr const char* kNoHeader = "Sorry für die aktuelle Map kann kein Header angezeigt werden.";

}  // namespace

MainWindow::MainWindow(const std::filesystem::path& programFolder, std::unique_ptr<Dialogs> dialogs,
                       QWidget* parent)
    : MainWindow(placesBeside(programFolder), std::move(dialogs), parent) {}

MainWindow::MainWindow(const ProgramPlaces& places, std::unique_ptr<Dialogs> dialogs,
                       QWidget* parent)
    : QMainWindow(parent),
      m_session(std::make_unique<Session>(places)),
      m_dialogs(dialogs ? std::move(dialogs)
                        : std::make_unique<QtDialogs>(
                              m_session->rom(), m_session->lang(),
                              [session = m_session.get()]() -> const GameProfile& {
                                  return session->romState().profile();
                              })) {
    m_session->setTextPainter(&m_textPainter);
    m_dialogs->setLanguage(&m_session->lang());
    buildUi();
    connectMenu();
    FormCreate();
}

MainWindow::~MainWindow() {
    // Children going away must not reach the handlers of a half-destroyed window, and the
    // views must go while the session whose pictures they show still exists.
    for (QObject* sender : std::initializer_list<QObject*>{
             m_tabs, m_chooser, m_mapTab, m_movementTab, m_eventsTab, m_bigBlock,
             m_eventBuilder, m_verlauf, m_anbindungen}) {
        disconnect(sender, nullptr, this, nullptr);
    }
    delete takeCentralWidget();
    // The history window follows every command and reads the session: it goes with it.
    delete m_verlauf;
    delete m_anbindungen;
    delete m_blockEditor;  // its handler clears the pointer of a window still whole
    m_session->setTextPainter(nullptr);
}

void MainWindow::buildUi() {
    resize(1100, 750);
    m_menu = buildMainMenu(menuBar());

    m_chooser = new MapChooser(*m_session, *m_dialogs, this);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_bigBlock = new TGrosserBlockFrom(*m_session, this);
    m_eventBuilder = new TEventBuilderForm(*m_session, *m_dialogs, this);
    m_mapTab = new MapTab(*m_session, *m_dialogs, *m_bigBlock);
    m_movementTab = new MovementTab(*m_session, *m_dialogs);
    m_eventsTab = new EventsTab(*m_session, *m_dialogs, m_loading);
    m_wildTab = new WildTab(*m_session, *m_dialogs, m_loading);
    m_headerTab = new HeaderTab(*m_session, *m_dialogs, m_loading);
    m_headerTab->setNotice(QString::fromUtf8(kNoHeader));
    QWidget* pages[] = {m_mapTab, m_movementTab, m_eventsTab, m_wildTab, m_headerTab};
    for (std::size_t i = 0; i < std::size(pages); ++i) {
        m_tabs->addTab(pages[i], QString::fromUtf8(kPageTexts[i].german));
    }

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(m_chooser->tree());
    splitter->addWidget(m_tabs);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 840});
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chooser->comboBar());
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    buildStatusBar();

    Dialogs& d = *m_dialogs;
    connect(m_chooser, &MapChooser::mapChosen, this,
            commandSlot(this, d, this, &MainWindow::chooseMapLine));
    connect(m_tabs, &QTabWidget::currentChanged, this,
            commandSlot(this, d, this, &MainWindow::PageControlChange));
    connect(m_mapTab, &MapTab::statusText, this, &MainWindow::setStatus);
    connect(m_movementTab, &MovementTab::statusText, this, &MainWindow::setStatus);
    connect(m_eventsTab, &EventsTab::statusText, this, &MainWindow::setStatus);
    connect(m_eventsTab, &EventsTab::messageText, m_panel1, &QLabel::setText);
    connect(m_mapTab, &MapTab::mapEdited, this,
            commandSlot(this, d, this, &MainWindow::showEditState));
    connect(m_movementTab, &MovementTab::mapEdited, this,
            commandSlot(this, d, this, &MainWindow::showEditState));
    connect(m_eventsTab, &EventsTab::mapEdited, this,
            commandSlot(this, d, this, &MainWindow::showEditState));
    connect(m_eventsTab, &EventsTab::goRequested, this,
            commandSlot(this, d, this, &MainWindow::goToWarp));
    connect(m_mapTab, &MapTab::neighbourChosen, this,
            commandSlot(this, d, this, &MainWindow::openNeighbour));
    connect(m_mapTab, &MapTab::neighbourNotice, m_panel1, &QLabel::setText);
    connect(m_headerTab, &HeaderTab::tilesetsChanged, this, commandSlot(this, d, [this] {
                m_mapTab->refresh();
                refreshCurrentTab();
            }));
    connectDataMoves();
    connectHistory();
    connectMapFiles();
    connectTables();
    connectBlockEditor();
    connectConnections();
    connectZoom();
    for (QWidget* tool : {static_cast<QWidget*>(m_bigBlock), static_cast<QWidget*>(m_eventBuilder),
                          static_cast<QWidget*>(m_verlauf), static_cast<QWidget*>(m_anbindungen)}) {
        closeOnEscape(tool);
    }
}

// Panel 0: state and pointer texts; panel 1: hints.
void MainWindow::buildStatusBar() {
    statusBar()->setObjectName(QStringLiteral("Status"));
    m_panel0 = new QLabel;
    m_panel0->setObjectName(QStringLiteral("StatusPanel0"));
    m_panel1 = new QLabel;
    m_panel1->setObjectName(QStringLiteral("StatusPanel1"));
    statusBar()->addWidget(m_panel0, 3);
    statusBar()->addWidget(m_panel1, 2);
}

void MainWindow::FormCreate() {
    readSettings();
    restoreWindowState();
    // The movement palette never changes: drawn once, here.
    runCommand(this, *m_dialogs, [this] { m_movementTab->showPalette(); });
    buildLanguageMenu();
    m_eventsTab->fillKinds();
    m_headerTab->fillLists();
    m_chooser->setEnabled(false);
    m_tabs->setEnabled(false);
    showEditState();
    showStateStatus();
}

void MainWindow::applyLanguageTexts() {
    const LanguageTable& lang = m_session->lang();
    m_qtTexts.apply(lang);
    applyMenuTexts(menuBar(), lang);
    for (int i = 0; i < m_tabs->count(); ++i) {
        m_tabs->setTabText(i, langText(lang, kPageTexts[i].number, kPageTexts[i].german));
    }
    m_eventsTab->setNotice(langText(lang, 940, kNoEvents));
    m_eventsTab->applyLanguage();
    m_wildTab->setMapNotice(langText(lang, 941, kNoWild));
    m_wildTab->applyLanguage(lang);
    m_headerTab->setNotice(langText(lang, 942, kNoHeader));
    SpracheAendern(m_headerTab->attributeBox(), lang);
    m_headerTab->fillLists();
    m_verlauf->applyLanguage(lang);
    m_anbindungen->SpracheAendern(lang);
    if (m_blockEditor != nullptr) {
        runCommand(this, *m_dialogs, [this] { m_blockEditor->languageChanged(); });
    }
    m_eventBuilder->applyLanguage(lang);
    m_bigBlock->setWindowTitle(langText(lang, 1704, "Grosser Block"));
    if (m_session->romState().loaded()) {
        runCommand(this, *m_dialogs, [this] {
            m_chooser->retitleRoots(openRomMapList(m_session->romState(), m_session->data(),
                                                   m_session->settings(), m_session->lang()));
        });
    }
    showStateStatus();
}

QString MainWindow::statusText(int panel) const {
    return panel == 0 ? m_panel0->text() : m_panel1->text();
}

void MainWindow::setStatus(const QString& text) { m_panel0->setText(text); }

void MainWindow::showStateStatus() {
    const LanguageTable& lang = m_session->lang();
    if (!m_chooser->isEnabled()) {
        setStatus(langText(lang, 30, "Wähle Datei->Laden... um das Rom zu Laden."));
    } else if (!m_tabs->isEnabled()) {
        setStatus(langText(lang, 31, "Rom Geladen! Map auswählen."));
    } else {
        // A map outside the ROM has no identifier: its name stands there.
        const bool outside =
            m_session->mapState().loaded() && m_session->mapState().map().outsideRom;
        setStatus(langText(lang, 32, "Map geladen.  Index:") + QLatin1Char(' ') +
                  (outside ? m_title : m_identifier));
    }
}

void MainWindow::inform(const QString& text) {
    m_dialogs->inform(this, langText(m_session->lang(), "01", "Info"), text);
}

// The application's hints go to the second panel of the status bar.
bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        m_panel1->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::Laden1Click() {
    // Another ROM replaces the open map: its changes are saved or dropped first.
    if (!finishInput() || !saveChangesFirst()) {
        return;
    }
    const LanguageTable& lang = m_session->lang();
    const QString file =
        m_dialogs->openFileName(this, langText(lang, 1736, "Laden"), romFilter(lang), romStart());
    if (!file.isEmpty()) {
        openRomFile(file);
    }
}

QString MainWindow::romStart() const {
    return m_session->romState().loaded() ? fromPath(m_session->rom().FileName()) : m_romFolder;
}

void MainWindow::openRomFile(const QString& path) {
    if (runCommand(this, *m_dialogs, [&] {
            m_session->openRom(toPath(path));
            m_historyNoticesShown =
                m_session->rom().history().notices().size();  // settleRomHistory
        })) {
        m_romFolder = QFileInfo(path).absolutePath();
        romOpened();
    }
    setRomCommandsEnabled(m_menu, m_session->romState().loaded());
    offerTableSearch();
}

// The map shown stays open (read anew from the file) on the page it was shown on.
void MainWindow::NeuLaden1Click() {
    if (!finishInput() || !saveChangesFirst()) {
        return;
    }
    const bool romMap = m_session->mapState().loaded() && !m_session->mapState().map().outsideRom;
    const QString identifier = romMap ? m_identifier : QString();
    const QString title = m_title;
    const int page = m_tabs->currentIndex();
    if (runCommand(this, *m_dialogs, [this] {
            m_session->reloadRom();
            m_historyNoticesShown =
                m_session->rom().history().notices().size();  // settleRomHistory
        })) {
        romOpened(!identifier.isEmpty());
        if (!identifier.isEmpty() && loadMap(identifier, title)) {
            m_tabs->setCurrentIndex(page);
        } else if (!identifier.isEmpty()) {
            refreshBlockEditor();
            m_anbindungen->hide();
        }
    }
    setRomCommandsEnabled(m_menu, m_session->romState().loaded());
}

// Back to the state "ROM open": the list is new, no map is shown.
void MainWindow::romOpened(bool mapFollows) {
    settleRomHistory();
    m_identifier.clear();
    m_title.clear();
    m_bigBlock->hide();
    m_eventBuilder->hide();
    m_mapTab->mapOpened();
    if (!mapFollows) {
        refreshBlockEditor();
        m_anbindungen->hide();
    }
    showEditState();
    m_tabs->setEnabled(false);
    setMapCommandsEnabled(m_menu, false);
    runCommand(this, *m_dialogs, [this] {
        m_mapTab->refresh();
        m_movementTab->refresh();
        m_eventsTab->refresh();
    });
    m_headerTab->fillNames();
    m_wildTab->fillSpecies();
    MapsLoad();
    m_chooser->setEnabled(true);
    showStateStatus();
    // The tables that failed their check first, then the other problems: one box.
    QStringList warnings;
    for (const auto& failure : m_session->romState().tableFailures()) {
        warnings << messageText(m_session->lang(), failure.message);
    }
    for (const Message& warning : m_session->romState().warnings()) {
        warnings << toQ(m_session->lang().text(warning));
    }
    if (!warnings.isEmpty()) {
        inform(warnings.join(QLatin1Char('\n')));
    }
    m_chooser->focusList();
}

void MainWindow::MapsLoad() {
    runCommand(this, *m_dialogs, [this] {
        m_chooser->load(openRomMapList(m_session->romState(), m_session->data(),
                                       m_session->settings(), m_session->lang()));
    });
}

void MainWindow::chooseMapLine(const QString& line) {
    if (auto identifier = identifierFromLine(toStd(line))) {
        openMap(toQ(*identifier), line);
    }
}

void MainWindow::Mapffnen1Click() {
    const LanguageTable& lang = m_session->lang();
    const QString caption = langText(lang, 135, "Map öffnen");
    const auto input = m_dialogs->inputText(
        this, caption,
        langText(lang, 1702,
                 "Bitte geben sie die zu öffnende Map an. Und zwar im Format \"<Bank>.<Map>\""),
        QStringLiteral("0.0"));
    if (!input) {
        return;
    }
    if (!isValidTypedIdentifier(toStd(*input))) {
        inform(langText(lang, 1703, "Ungültige Eingabe"));
        return;
    }
    openMap(*input, caption + QStringLiteral(" (") + *input + QLatin1Char(')'));
}

bool MainWindow::openMap(const QString& identifier, const QString& title) {
    if (!finishInput() || !saveChangesFirst()) {
        return false;
    }
    return loadMap(identifier, title);
}

bool MainWindow::loadMap(const QString& identifier, const QString& title) {
    std::optional<Message> notice;
    const bool opened = runCommand(this, *m_dialogs, [&] {
        LoadingGuard loading(m_loading);
        notice = m_session->openMap(toStd(identifier), toStd(title));
    });
    if (!opened) {
        return false;
    }
    if (notice) {
        inform(toQ(m_session->lang().text(*notice)));
    }
    m_identifier = identifier;
    m_insertedSlot.clear();
    // However the map was opened, the caption names it as its line in the list does.
    const QString line = m_chooser->selectMap(identifier, title);
    showOpenedMap(line.isEmpty() ? title : line);
    return true;
}

// Every view, tab and window follows the map just opened (from the ROM, a map file or new).
void MainWindow::showOpenedMap(const QString& title) {
    m_title = title;
    m_mapTab->mapOpened();
    m_bigBlock->hide();
    m_headerTab->showMap();
    if (m_eventBuilder->isVisible()) {
        m_eventBuilder->FormShow();
    }
    m_eventsTab->mapOpened();
    runCommand(this, *m_dialogs, [this] {
        m_wildTab->showMap();
        m_anbindungen->Laden();
        m_mapTab->refresh();
        refreshCurrentTab();
    });
    m_tabs->setEnabled(true);
    setMapCommandsEnabled(m_menu, true);
    showEditState();
    showStateStatus();
    refreshBlockEditor();
}

// The warp panel's "Go": the target map opens as any other, then its warp is selected (its
// last one when it has fewer).
void MainWindow::goToWarp(const QString& identifier, const QString& title, int warp) {
    if (openMap(identifier, title)) {
        runCommand(this, *m_dialogs, [&] { m_eventsTab->choose(EventKind::Warp, warp); });
    }
}

// A double click on a neighbour around the map opens it as the map list would.
void MainWindow::openNeighbour(const QString& identifier, const QString& title) {
    openMap(identifier, title);
}

void MainWindow::PageControlChange() {
    // The event picture takes the keys on its page, unless the user is on the tab bar.
    const bool events = m_tabs->currentIndex() == kEventsPage;
    if (events && !m_tabs->tabBar()->hasFocus()) {
        m_eventsTab->eventBox()->setFocus();
    }
    runCommand(this, *m_dialogs, [this] { refreshCurrentTab(); });
}

// The pictures are drawn when their tab is shown.
void MainWindow::refreshCurrentTab() {
    switch (m_tabs->currentIndex()) {
        case kMapPage:
            m_mapTab->refresh();
            break;
        case kMovementPage:
            m_movementTab->refresh();
            break;
        case kEventsPage:
            m_eventsTab->refresh();
            break;
        default:
            break;
    }
}

void MainWindow::Readme1Click() {
    const QString folder = fromPath(m_session->data().programFolder());
    for (const QString& file : readmeCandidates(folder)) {
        // Shown here: a desktop without a program for the file type must not hide it.
        if (QFileInfo::exists(file) && showReadme(this, file)) {
            return;
        }
    }
    inform(noReadmeText(m_session->lang(), folder));
}

void MainWindow::Info1Click() {
    m_dialogs->about(this, langText(m_session->lang(), 141, "Info"), aboutText(m_session->lang()));
}

void MainWindow::Exit1Click() { close(); }

}  // namespace quillon::ui
