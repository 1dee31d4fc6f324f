// The main window's submenu "Map": maps kept in map files ("Map Öffnen", "Map Speichern",
// "Map Speichern unter") and new maps ("Neue Map"); "Map Einfügen" is in
// main_window_insertion.cpp.
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTabWidget>

#include "core/base/numbers.h"
#include "core/writers/tileset_choice.h"
#include "core/mapfile/map_from_file.h"
#include "core/mapfile/map_insertion.h"
#include "core/mapfile/slot_maps.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"
#include "core/session/session.h"
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

QString mapFilter(const LanguageTable& lang) {
    return langText(lang, 1719, "Quillon MapDatei") + QStringLiteral(" (*.map *.Map *.MAP)");
}
// The tileset numbers "Neue Map" offers when the ROM's table cannot be measured.
constexpr int kLastTileset = 57;
// The grid starts 8 bytes behind its offset and needs an even address; event tables and
// headers are read as 32-bit words.

// Where a new map goes, when that is not a folder "Maps" the user already had.
QString newMapPlaceText(const LanguageTable& lang, const NewMapPlace& place) {
    const QString where =
        place.inUserFolder
            ? langText(lang, 11411,
                       "\"Map Speichern\" speichert die neue Map im Ordner der Benutzerdaten, "
                       "weil der Programmordner nicht beschreibbar ist:")
            : langText(lang, 11410,
                       "\"Map Speichern\" speichert die neue Map im neu angelegten Ordner "
                       "\"Maps\" beim Programm:");
    return QStringLiteral("%1 \"%2\".").arg(where, QDir::toNativeSeparators(fromPath(place.file)));
}

// The name a new map is proposed: the open map's name without its "(bank.map)".
QString proposedName(const QString& title) {
    const qsizetype open = title.lastIndexOf(QStringLiteral(" ("));
    return open > 0 && title.endsWith(QLatin1Char(')')) ? title.left(open) : title;
}

TilesetItem tilesetItem(const GameProfile& profile, std::uint32_t header) {
    return {toQ(tileset_choice::headerText(profile, header)), header};
}

// The headers of the ROM's tileset table of part (1 primary, 2 secondary); the headers of the
// numbers 0 to 57 when the table cannot be measured. Refused without a usable table.
std::vector<TilesetItem> tilesetItems(Session& session, int part) {
    const GameProfile& profile = session.romState().profile();
    tileset_choice::requireTable(session.romState());
    const auto headers = tileset_choice::tableHeaders(session.rom(), profile);
    session.rom().Close();
    std::vector<TilesetItem> items;
    for (const auto& h : headers) {
        if (h.secondary == (part == 2)) {
            items.push_back(tilesetItem(profile, h.offset));
        }
    }
    if (headers.empty()) {
        for (int n = 0; n <= kLastTileset; ++n) {
            items.push_back({QString::number(n), static_cast<std::uint32_t>(
                                                     profile.tilesetHeader + 24 * n)});
        }
    }
    return items;
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
    if (!m_session->romState().loaded() || !finishInput() || !saveChangesFirst()) {
        return;
    }
    QString start = toQ(m_session->mapState().map().mapFile);
    const QString file = m_dialogs->openFileName(this, m_menu.MapOffnen1->text(),
                                                 mapFilter(m_session->lang()), start);
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
    if (!m_session->mapState().loaded()) {
        return false;
    }
    QString file = toQ(m_session->mapState().map().mapFile);
    if (ask || file.isEmpty()) {
        file = m_dialogs->saveFileName(this, m_menu.MapSpeichernunter1->text(),
                                       mapFilter(m_session->lang()), QString(), file);
        if (file.isEmpty()) {
            return false;
        }
        file = fromPath(map_file::withMapExtension(toPath(file)));
    }
    const bool saved = runCommand(this, *m_dialogs, [&] {
        saveMapFiles(m_session->mapState(), m_session->romState().profile(), toPath(file));
    });
    showEditState();
    return saved;
}

void MainWindow::NeueMap1Click() {
    if (!m_session->romState().loaded() || !finishInput()) {
        return;
    }
    const GameProfile& profile = m_session->romState().profile();
    TMapForm form(*m_dialogs, m_session->lang(), tilesetItems(*m_session, 1),
                  tilesetItems(*m_session, 2), this);
    std::array<std::uint8_t, 8> border{};
    if (m_session->mapState().loaded()) {
        const CurrentMap& map = m_session->mapState().map();
        form.fill(m_session->mapState().grid().width, m_session->mapState().grid().height,
                  tilesetItem(profile, map.footer.tileset1Offset()),
                  tilesetItem(profile, map.footer.tileset2Offset()), proposedName(m_title));
        border = map.border;
    }
    if (m_dialogs->runDialog(form) != QDialog::Accepted || !saveChangesFirst()) {
        return;
    }
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const NewMapPlace place =
        newMapPlace(m_session->data().places().mapsFolder, toPath(userFolder), form.name());
    // The user says where the map is kept ("Maps" beside the program proposed); the file
    // dialog asks before an existing file is replaced.
    QString file =
        m_dialogs->saveFileName(this, m_menu.NeueMap1->text(), mapFilter(m_session->lang()),
                                QString(), fromPath(place.file));
    if (file.isEmpty()) {
        return;
    }
    file = fromPath(map_file::withMapExtension(toPath(file)));
    const LanguageTable& lang = m_session->lang();
    DetachedMap parts = newDetachedMap(
        form.width(), form.height(), map_file::tilesetValue(profile, form.tileset1()),
        map_file::tilesetValue(profile, form.tileset2()), form.name(), border);
    parts.mapFile = toPath(file);
    {
        LoadingGuard loading(m_loading);
        m_session->openDetachedMap(std::move(parts));
    }
    showOpenedMap(toQ(form.name()));
    if ((place.folderMade || place.inUserFolder) && toPath(file) == place.file) {
        inform(newMapPlaceText(lang, place));
    }
}

}  // namespace quillon::ui
