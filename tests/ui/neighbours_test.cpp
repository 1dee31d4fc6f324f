#include "core/state/neighbours.h"

#include <QAction>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <fstream>

#include "core/base/numbers.h"
#include "core/session/session.h"
#include "imageio/bitmap_io.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/blocks/block_editor_form.h"
#include "ui/picture_view.h"

using quillon::testing::child;
using quillon::testing::hover;
using quillon::testing::Opened;
using quillon::ui::MainWindow;
using quillon::ui::PictureView;

namespace {

constexpr int kBand = quillon::kNeighbourBandCells;

// Gives map 0.0 of the test ROM file a connection table in its free space: 0.1 below it at
// offset 1 (cells x 1-2, y 2-3), 1.0 right of it at offset -1 (x 3-8, y -1 to 2), and a map
// above it that does not exist.
void addConnections(const Opened& o) {
    const auto& rom = o.program.rom();
    const std::uint32_t records = (rom.freeSpace + 3) & ~3u;
    const quillon::Connection connections[] = {{1, 1, 0, 1, 0}, {4, -1, 1, 0, 0}, {2, 0, 9, 9, 0}};
    std::fstream file(o.program.romPath().toStdString(),
                      std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(records);
    for (const auto& c : connections) {
        const auto bytes = c.encode();
        file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    std::uint8_t header[8];
    quillon::writeLe32(header, std::size(connections));
    quillon::writeLe32(header + 4, 0x08000000u | records);
    file.write(reinterpret_cast<const char*>(header), sizeof header);
    std::uint8_t pointer[4];
    quillon::writeLe32(pointer, 0x08000000u | (records + 12 * std::size(connections)));
    file.seekp(rom.maps.at({0, 0}).header + 12);
    file.write(reinterpret_cast<const char*>(pointer), sizeof pointer);
}

// A point inside cell (x, y) of the map (negative: the band left of or above it).
QPoint at(int x, int y, int cell) {
    return {(x + kBand) * cell + 3, (y + kBand) * cell + cell - 2};
}

void click(QWidget* view, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(view, button, {}, pos);
    QTest::mouseRelease(view, button, {}, pos);
}

// Press, release, press, the double-click event, release, as a user's double click comes.
void doubleClick(QWidget* view, QPoint pos) {
    click(view, pos);
    QTest::mousePress(view, Qt::LeftButton, {}, pos);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, pos, view->mapToGlobal(pos), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &dbl);
    QTest::mouseRelease(view, Qt::LeftButton, {}, pos);
}

}  // namespace

// "Nachbarn anzeigen" on the real main window: the map view grows by the band, only the map
// itself is painted, a double click on a neighbour opens it.
class NeighboursTest : public QObject {
    Q_OBJECT

private slots:
    void bandAroundTheMapOnlyTheMapIsPainted_data();
    void bandAroundTheMapOnlyTheMapIsPainted();
    void doubleClickOnANeighbourOpensIt();
    void blockSaveRedrawsTheNeighboursToo();
};

// A block saved in the block editor changes the neighbours drawn with it as well as the map.
void NeighboursTest::blockSaveRedrawsTheNeighboursToo() {
    Opened o;
    addConnections(o);
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    w.menu().NachbarnAnzeigen1->trigger();
    auto* map = child<PictureView>(w, "MapBox");
    const QImage before = map->image();
    w.menu().BlockEditor1->trigger();
    QWidget* editor = w.blockEditor();
    QTest::mouseClick(child(*editor, "Image1"), Qt::LeftButton, {}, QPoint(20, 4));  // tile 1
    for (const QPoint quarter : {QPoint(8, 8), QPoint(40, 8), QPoint(8, 40), QPoint(40, 40)}) {
        QTest::mouseClick(child(*editor, "TileBox"), Qt::LeftButton, {}, quarter);
    }
    QTest::mouseClick(child<QPushButton>(*editor, "Cmd_Speichern"), Qt::LeftButton);
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));

    auto& session = w.session();
    const quillon::NeighbourBand band = quillon::drawNeighbourBand(
        session.rom(), session.romState(), session.data(), session.mapState());
    quillon::Bitmap composed;
    quillon::composeNeighbourPicture(band, session.mapState().pictures().map(), composed);
    const QImage fresh = quillon::imageio::wrapBitmap(composed).copy();
    QVERIFY(fresh != before);  // block 0 lies in the band too
    QCOMPARE(map->image(), fresh);
}

void NeighboursTest::bandAroundTheMapOnlyTheMapIsPainted_data() {
    QTest::addColumn<bool>("doubled");
    QTest::newRow("single size") << false;
    QTest::newRow("double size") << true;
}

void NeighboursTest::bandAroundTheMapOnlyTheMapIsPainted() {
    QFETCH(bool, doubled);
    Opened o;
    addConnections(o);
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    const int s = doubled ? 32 : 16;
    if (doubled) {
        w.menu().MapDoppelt1->trigger();
    }
    auto* map = child<PictureView>(w, "MapBox");
    QCOMPARE(map->size(), QSize(3, 2) * s);
    w.menu().NachbarnAnzeigen1->trigger();
    QCOMPARE(map->size(), QSize(3 + 2 * kBand, 2 + 2 * kBand) * s);
    QVERIFY(w.statusText(1).contains(QStringLiteral("Nachbar 9.9")));

    // What the view shows is the core's picture of the map in its band.
    auto& session = w.session();
    const quillon::NeighbourBand band = quillon::drawNeighbourBand(
        session.rom(), session.romState(), session.data(), session.mapState());
    quillon::Bitmap composed;
    quillon::composeNeighbourPicture(band, session.mapState().pictures().map(), composed);
    QCOMPARE(map->image(), quillon::imageio::wrapBitmap(composed).copy());

    click(child(w, "BlockPalette"), QPoint(16 + 3, 3));  // block 1
    click(map, at(2, 1, s));
    QCOMPARE(int(w.session().mapState().grid().at(2, 1).block()), 1);
    QCOMPARE(map->image().pixel((kBand + 2) * 16 + 5, (kBand + 1) * 16 + 5),
             quillon::testing::kGreen);
    // Presses in the band, on a neighbour or a blank spot, paint nothing, not even the corner
    // of a stamp that would reach into the map.
    QTest::mousePress(map, Qt::RightButton, Qt::ControlModifier, at(1, 0, s));
    hover(map, at(2, 1, s));
    QTest::mouseRelease(map, Qt::RightButton, Qt::ControlModifier, at(2, 1, s));
    QVERIFY(w.session().mapState().editor().hasStamp());
    const std::uint64_t before = w.session().mapState().editor().gridRevision();
    click(map, at(1, 2, s));
    click(map, at(-1, -1, s));
    click(map, at(3, 0, s), Qt::MiddleButton);
    QCOMPARE(w.session().mapState().editor().gridRevision(), before);

    hover(map, at(4, 0, s));
    QCOMPARE(w.statusText(0), QStringLiteral("Rechts von 0.0 (1.0)"));
    hover(map, at(0, 0, s));
    QCOMPARE(w.statusText(0), QStringLiteral("X: 0 Y: 0 Block: 0000"));

    // The other views keep the map's own size.
    auto* tabs = child<QTabWidget>(w, "PageControl1");
    tabs->setCurrentIndex(1);
    QCOMPARE(child(w, "GehBox")->size(), QSize(3, 2) * 16);
    QVERIFY(o.dialogs->errors.isEmpty());
}

void NeighboursTest::doubleClickOnANeighbourOpensIt() {
    Opened o;
    addConnections(o);
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    w.menu().NachbarnAnzeigen1->trigger();
    auto* map = child<PictureView>(w, "MapBox");
    click(map, at(1, 0, 16));  // block 0 over block 1: the map is modified now
    QVERIFY(w.session().mapState().modified());

    doubleClick(map, at(-1, -1, 16));  // a blank spot of the band
    QCOMPARE(w.mapIdentifier(), QStringLiteral("0.0"));
    QVERIFY(o.dialogs->confirms.isEmpty());

    o.dialogs->confirmAnswer = false;
    doubleClick(map, at(2, 3, 16));
    QCOMPARE(o.dialogs->confirms, QStringList{QStringLiteral("Frage|Änderungen speichern?")});
    QCOMPARE(w.mapIdentifier(), QStringLiteral("0.1"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - ZWEITE (0.1)"));
    // 0.1 has no connections: a blank band of its own size.
    QCOMPARE(map->size(), QSize(2 + 2 * kBand, 2 + 2 * kBand) * 16);
    QVERIFY(w.statusText(1).isEmpty());
    QVERIFY(o.dialogs->errors.isEmpty());
}

QUILLON_UI_TEST(NeighboursTest)
#include "neighbours_test.moc"
