// The main window's submenu "Map": maps kept in map files ("Map Öffnen", "Map Speichern",
// "Map Speichern unter"), new maps ("Neue Map") and putting the map in memory into a slot of
// the ROM ("Map Einfügen").
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTabWidget>

#include "core/map_from_file.h"
#include "core/mapfile/map_insertion.h"
#include "core/session.h"
#include "ui/big_block_view.h"
#include "ui/command.h"
#include "ui/events/event_builder_form.h"
#include "ui/events/events_tab.h"
#include "ui/header_tab.h"
#include "ui/language_texts.h"
#include "ui/main_window.h"
#include "ui/map_tab.h"
#include "ui/mapfiles/new_map_form.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

const QString kMapFilter = QStringLiteral("Quillon MapDatei (*.map *.Map *.MAP)");
// The tileset numbers "Neue Map" offers.
constexpr int kLastTileset = 57;
// The grid starts 8 bytes behind its offset and needs an even address; event tables and
// headers are read as 32-bit words.
constexpr int kGridAlignment = 2;
constexpr int kEventAlignment = 4;
constexpr int kSlotTries = 3;

// Where a new map goes, when that is not a folder "Maps" the user already had.
QString newMapPlaceText(const NewMapPlace& place) {
    const QString where = place.inUserFolder
                              ? QStringLiteral(
                                    "im Ordner der Benutzerdaten, weil der "
                                    "Programmordner nicht beschreibbar ist")
                              : QStringLiteral("im neu angelegten Ordner \"Maps\" beim Programm");
    return QStringLiteral("\"Map Speichern\" speichert die neue Map %1: \"%2\".")
        .arg(where, QDir::toNativeSeparators(fromPath(place.file)));
}

}  // namespace

void MainWindow::connectMapFiles() {
    connectCommand(m_menu.NeueMap1, &MainWindow::NeueMap1Click);
    connectCommand(m_menu.MapOffnen1, &MainWindow::MapOffnen1Click);
    connectCommand(m_menu.MapSpeichern1, &MainWindow::MapSpeichern1Click);
    connectCommand(m_menu.MapSpeichernunter1, &MainWindow::MapSpeichernunter1Click);
    connectCommand(m_menu.MapEinfugen1, &MainWindow::MapEinfugen1Click);
}

void MainWindow::MapOffnen1Click() {
    if (!m_session->romLoaded() || !finishInput() || !saveChangesFirst()) {
        return;
    }
    QString start = toQ(m_session->map().mapFile);
    const QString file =
        m_dialogs->openFileName(this, m_menu.MapOffnen1->text(), kMapFilter, start);
    if (file.isEmpty()) {
        return;
    }
    DetachedMap parts = detachedFromFiles(toPath(file));
    {
        LoadingGuard loading(m_loading);
        m_session->openDetachedMap(std::move(parts));
    }
    showOpenedMap(QFileInfo(file).completeBaseName());
}

void MainWindow::MapSpeichern1Click() {
    if (finishInput()) {
        saveMapFile(false);
    }
}

void MainWindow::MapSpeichernunter1Click() {
    if (finishInput()) {
        saveMapFile(true);
    }
}

bool MainWindow::saveMapFile(bool ask) {
    if (!m_session->mapLoaded()) {
        return false;
    }
    QString file = toQ(m_session->map().mapFile);
    if (ask || file.isEmpty()) {
        file = m_dialogs->saveFileName(this, m_menu.MapSpeichernunter1->text(), kMapFilter,
                                       QString(), file);
        if (file.isEmpty()) {
            return false;
        }
        file = fromPath(map_file::withMapExtension(toPath(file)));
    }
    const bool saved =
        runCommand(this, *m_dialogs, [&] { saveMapFiles(m_session->mapState(), toPath(file)); });
    showEditState();
    return saved;
}

void MainWindow::NeueMap1Click() {
    if (!m_session->romLoaded() || !finishInput()) {
        return;
    }
    TMapForm form(*m_dialogs, m_session->lang(), kLastTileset, this);
    std::array<std::uint8_t, 8> border{};
    if (m_session->mapLoaded()) {
        const CurrentMap& map = m_session->map();
        form.fill(m_session->grid().width, m_session->grid().height, map.tileset1, map.tileset2,
                  m_title);
        border = map.border;
    }
    if (m_dialogs->runDialog(form) != QDialog::Accepted || !saveChangesFirst()) {
        return;
    }
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const NewMapPlace place =
        newMapPlace(m_session->data().programFolder(), toPath(userFolder), form.name());
    const QString file = fromPath(place.file);
    const LanguageTable& lang = m_session->lang();
    if (QFileInfo::exists(file) &&
        !m_dialogs->confirm(this, langText(lang, "00", "Frage"),
                            QStringLiteral("Die Datei \"%1\" gibt es schon; \"Map Speichern\" "
                                           "ersetzt sie. Die Map trotzdem anlegen?")
                                .arg(QDir::toNativeSeparators(file)))) {
        return;
    }
    DetachedMap parts = newDetachedMap(form.width(), form.height(), form.tileset1(),
                                       form.tileset2(), form.name(), border);
    parts.mapFile = place.file;
    {
        LoadingGuard loading(m_loading);
        m_session->openDetachedMap(std::move(parts));
    }
    showOpenedMap(toQ(form.name()));
    if (place.folderMade || place.inUserFolder) {
        inform(newMapPlaceText(place));
    }
}

// Up to three answers; one without "." counts as invalid. nullopt when the user cancelled or
// gave three invalid answers (the box saying so was shown).
std::optional<QString> MainWindow::askInsertionSlot() {
    const LanguageTable& lang = m_session->lang();
    for (int i = 0; i < kSlotTries; ++i) {
        const auto answer = m_dialogs->inputText(
            this, langText(lang, 11431, "Bank/Nr"),
            langText(lang, 11432, "Als welche Map (\"Bank\".\"MapNr\") soll es eingefügt werden?"),
            m_insertedSlot.isEmpty() ? m_identifier : m_insertedSlot);
        if (!answer) {
            inform(langText(lang, 11430, "Map einfügen abgebrochen!"));
            return std::nullopt;
        }
        if (answer->contains(QLatin1Char('.'))) {
            return answer->trimmed();
        }
    }
    inform(langText(lang, 11436,
                    "Einfügen fehlgeschlagen, da 3mal eine ungültige Bank und MapNr. "
                    "eingegeben wurde!"));
    return std::nullopt;
}

// Every answer comes before the first byte is written: the grid's place, the slot (refused
// when the ROM's tables do not have it), the events' place.
void MainWindow::MapEinfugen1Click() {
    if (!m_session->mapLoaded() || !finishInput()) {
        return;
    }
    const LanguageTable& lang = m_session->lang();
    const QString cancelled = langText(lang, 11430, "Map einfügen abgebrochen!");
    RepointRequest request{langText(lang, 882, "Neuer MapOffset"),
                           map_insertion::gridSpace(m_session->grid()), QString(), kGridAlignment};
    const auto gridSpace = m_dialogs->repoint(this, request);
    if (!gridSpace) {
        inform(cancelled);
        return;
    }
    const auto answer = askInsertionSlot();
    if (!answer) {
        return;
    }
    const auto [bank, map] = *map_insertion::parseSlot(toStd(*answer));
    map_insertion::locateSlot(m_session->rom(), m_session->bankScan(), bank, map);
    request = {langText(lang, 883, "Neuer EventOffset"),
               map_insertion::eventSpace(m_session->events()), QString(), kEventAlignment};
    const auto events = m_dialogs->repoint(this, request);
    if (!events) {
        inform(cancelled);
        return;
    }
    map_insertion::insert(m_session->rom(), m_session->profile(), m_session->bankScan(),
                          m_session->map(), m_session->grid(), m_session->events(),
                          {bank, map, *gridSpace, *events});
    mapInserted(*answer);
}

void MainWindow::mapInserted(const QString& slot) {
    const LanguageTable& lang = m_session->lang();
    inform(langText(lang, 11434, "Die Map wurde erfolgreich als Map") + QLatin1Char(' ') + slot +
           QLatin1Char(' ') + langText(lang, 11435, "eingetragen!"));
    const auto [bank, map] = *map_insertion::parseSlot(toStd(slot));
    const CurrentMap& open = m_session->map();
    // A ROM map put into its own slot lies elsewhere now: it is read again from there.
    const bool ownSlot =
        !open.outsideRom && open.hasHeader() && open.bank == bank && open.map == map;
    m_insertedSlot = slot;
    if (ownSlot) {
        loadMap(slot, m_title);
    }
    showStateStatus();
}

}  // namespace quillon::ui
