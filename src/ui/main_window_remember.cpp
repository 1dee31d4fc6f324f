// What the main window remembers between runs (Quillon.ini, section "Fenster"): its size and
// place, the splitter between the map list and the tabs, the zoom of the map and of the block
// palette, and the folders of the last ROM and the last picture. Read at start, written when
// the window closes (the zoom at each change too).
#include <QByteArray>
#include <QSplitter>
#include <QStringList>

#include "core/session/session.h"
#include "ui/main_window.h"
#include "ui/map_tab.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

constexpr const char* kGeometry = "Fenster";
constexpr const char* kSplitter = "Teilung";
constexpr const char* kMapZoom = "MapZoom";
constexpr const char* kPaletteZoom = "PaletteZoom";
constexpr const char* kRomFolder = "RomOrdner";
constexpr const char* kPictureFolder = "BildOrdner";

int zoomValue(const Settings& s, const char* key) {
    bool ok = false;
    const int zoom = toQ(s.windowValue(key)).toInt(&ok);
    return ok ? zoom : 1;
}

}  // namespace

void MainWindow::restoreWindowState() {
    const Settings& s = m_session->settings();
    const QByteArray geometry = QByteArray::fromBase64(toQ(s.windowValue(kGeometry)).toLatin1());
    if (!geometry.isEmpty()) {
        restoreGeometry(geometry);
    }
    QList<int> sizes;
    for (const QString& part : toQ(s.windowValue(kSplitter)).split(QLatin1Char(','))) {
        bool ok = false;
        const int size = part.toInt(&ok);
        if (ok && size >= 0) {
            sizes << size;
        }
    }
    auto* splitter = findChild<QSplitter*>(QStringLiteral("Splitter1"));
    if (sizes.size() == splitter->count()) {
        splitter->setSizes(sizes);
    }
    m_mapTab->setZooms(zoomValue(s, kMapZoom), zoomValue(s, kPaletteZoom));
    m_romFolder = toQ(s.windowValue(kRomFolder));
    m_pictureFolder = toQ(s.windowValue(kPictureFolder));
}

void MainWindow::rememberZoom() {
    Settings& s = m_session->settings();
    s.setWindowValue(kMapZoom, std::to_string(m_mapTab->mapZoom()));
    s.setWindowValue(kPaletteZoom, std::to_string(m_mapTab->paletteZoom()));
}

void MainWindow::rememberWindowState() {
    Settings& s = m_session->settings();
    s.setWindowValue(kGeometry, toStd(QString::fromLatin1(saveGeometry().toBase64())));
    QStringList sizes;
    for (int size : findChild<QSplitter*>(QStringLiteral("Splitter1"))->sizes()) {
        sizes << QString::number(size);
    }
    s.setWindowValue(kSplitter, toStd(sizes.join(QLatin1Char(','))));
    rememberZoom();
    s.setWindowValue(kRomFolder, toStd(m_romFolder));
    s.setWindowValue(kPictureFolder, toStd(m_pictureFolder));
}

}  // namespace quillon::ui
