#include <QAction>
#include <QScrollArea>
#include <QWheelEvent>

#include "core/session/session.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/big_block_view.h"
#include "ui/picture_view.h"

using quillon::testing::child;
using quillon::testing::Opened;
using quillon::ui::MainWindow;
using quillon::ui::PictureView;

namespace {

// A point inside cell (x, y) of a view whose cells are `cell` view pixels wide.
QPoint at(int x, int y, int cell) { return {x * cell + cell / 3, y * cell + cell - 2}; }

void click(QWidget* view, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(view, button, {}, pos);
    QTest::mouseRelease(view, button, {}, pos);
}

// Notches of the wheel (positive: away from the user) over a scroll box, Ctrl held or not.
void wheel(QWidget* box, int notches, bool ctrl = true) {
    QWidget* viewport = static_cast<QScrollArea*>(box)->viewport();
    const QPointF pos(10, 10);
    QWheelEvent event(pos, viewport->mapToGlobal(pos), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, ctrl ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(viewport, &event);
}

// The pointer comes over a scroll box: the zoom keys act on its picture from now on.
void enter(QWidget* box) {
    QWidget* viewport = static_cast<QScrollArea*>(box)->viewport();
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(viewport, &event);
}

QString sessionGrid(MainWindow& window) {
    QStringList words;
    const auto& grid = window.session().mapState().grid();
    for (int i = 0; i < grid.cellCount(); ++i) {
        words << QStringLiteral("%1")
                     .arg(grid.cells[static_cast<std::size_t>(i)].raw, 4, 16, QLatin1Char('0'))
                     .toUpper();
    }
    return words.join(QLatin1Char(' '));
}

}  // namespace

class ZoomTest : public QObject {
    Q_OBJECT

private slots:
    void paintingPickingAndSelectingHitTheRightCell_data() {
        QTest::addColumn<int>("mapZoom");
        QTest::addColumn<int>("paletteZoom");
        QTest::addColumn<bool>("doubled");  // "Map Doppelt" under the zoom
        QTest::newRow("map 3x") << 3 << 1 << false;
        QTest::newRow("palette 2x") << 1 << 2 << false;
        QTest::newRow("both 4x") << 4 << 4 << false;
        QTest::newRow("doubled map at 2x: 4x") << 2 << 1 << true;
    }

    // Ctrl+wheel zooms the map, Ctrl+plus the palette the pointer is over; every mouse action
    // lands on the cell under the pointer at that zoom.
    void paintingPickingAndSelectingHitTheRightCell() {
        QFETCH(int, mapZoom);
        QFETCH(int, paletteZoom);
        QFETCH(bool, doubled);
        Opened o;
        o.openByLine("TESTHAUS (0.0)");
        MainWindow& w = *o.window;
        if (doubled) {
            w.menu().MapDoppelt1->trigger();
        }
        wheel(child(w, "ScrollBox2"), mapZoom - 1);
        enter(child(w, "ScrollBox3"));
        for (int i = 1; i < paletteZoom; ++i) {
            w.menu().Vergroessern1->trigger();
        }
        auto* map = child<PictureView>(w, "MapBox");
        auto* palette = child<PictureView>(w, "BlockPalette");
        const int m = 16 * mapZoom * (doubled ? 2 : 1);
        const int p = 16 * paletteZoom;
        QCOMPARE(map->size(), QSize(3 * m, 2 * m));
        QCOMPARE(palette->cellSize(), p);

        QCOMPARE(palette->markedCell(), QPoint(0, 0));  // block 0 chosen at the start
        click(palette, at(1, 0, p));                    // block 1, framed
        QCOMPARE(w.session().mapState().editor().selectedBlock(), 1);
        QCOMPARE(palette->markedCell(), QPoint(1, 0));
        const QImage shown = palette->grab().toImage();
        QCOMPARE(shown.pixel(p + 2, p / 2), PictureView::kMarkColour);
        QVERIFY(shown.pixel(2, p / 2) != PictureView::kMarkColour);
        click(map, at(2, 1, m));
        QCOMPARE(sessionGrid(w), QStringLiteral("0000 0C01 0000 0001 0000 0001"));
        click(palette, at(0, 0, p));
        click(map, at(1, 0, m), Qt::RightButton);  // picks block 1 up
        QCOMPARE(w.session().mapState().editor().selectedBlock(), 1);

        QTest::mousePress(map, Qt::RightButton, Qt::ControlModifier, at(1, 0, m));
        quillon::testing::hover(map, at(2, 1, m));
        QTest::mouseRelease(map, Qt::RightButton, Qt::ControlModifier, at(2, 1, m));
        QCOMPARE(w.bigBlockView()->size(), QSize(32, 32));  // 2 x 2 cells taken
    }

    // The zoom stays within 1x and 4x; a wheel without Ctrl scrolls and does not zoom.
    void zoomStaysWithinItsSteps() {
        Opened o;
        o.openByLine("TESTHAUS (0.0)");
        MainWindow& w = *o.window;
        auto* map = child<PictureView>(w, "MapBox");
        QWidget* box = child(w, "ScrollBox2");
        wheel(box, 2, false);
        QCOMPARE(map->zoom(), 1);
        wheel(box, 9);
        QCOMPARE(map->zoom(), 4);
        w.menu().Verkleinern1->trigger();  // the map: the pointer was over no box yet
        QCOMPARE(map->zoom(), 3);
        wheel(box, -9);
        QCOMPARE(map->zoom(), 1);
        QCOMPARE(map->size(), QSize(48, 32));
    }
};

QUILLON_UI_TEST(ZoomTest)
#include "zoom_test.moc"
