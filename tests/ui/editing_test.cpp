#include <sys/resource.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <csignal>

#include "core/session/session.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/big_block_view.h"
#include "ui/picture_view.h"

using quillon::testing::child;
using quillon::testing::Opened;
using quillon::ui::MainWindow;

namespace {

// A point inside cell (x, y) of a view whose cells are `cell` view pixels wide.
QPoint at(int x, int y, int cell = 16) { return {x * cell + 3, y * cell + cell - 2}; }

void click(QWidget* view, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = {}) {
    QTest::mousePress(view, button, modifiers, pos);
    QTest::mouseRelease(view, button, modifiers, pos);
}

QString hexCells(const QList<int>& cells) {
    QStringList words;
    for (int cell : cells) {
        words << QStringLiteral("%1").arg(cell, 4, 16, QLatin1Char('0')).toUpper();
    }
    return words.join(QLatin1Char(' '));
}

// The grid of map 0.0 (3 x 2) as the ROM file holds it.
QString romGrid(const Opened& o) {
    QFile file(o.program.romPath());
    if (!file.open(QIODevice::ReadOnly) || !file.seek(o.program.rom().maps.at({0, 0}).grid)) {
        return {};
    }
    const QByteArray bytes = file.read(12);
    QList<int> cells;
    for (int i = 0; i + 1 < bytes.size(); i += 2) {
        cells << (static_cast<quint8>(bytes[i]) | static_cast<quint8>(bytes[i + 1]) << 8);
    }
    return hexCells(cells);
}

QString sessionGrid(MainWindow& window) {
    QList<int> cells;
    const auto& grid = window.session().mapState().grid();
    for (int i = 0; i < grid.cellCount(); ++i) {
        cells << grid.cells[static_cast<std::size_t>(i)].raw;
    }
    return hexCells(cells);
}

const QString kUntouched = QStringLiteral("0000 0C01 0000 0001 0000 0000");

// Makes writing past the first byte of any file fail ("File too large"), like a full disk,
// for root too; restores the limit when it goes.
struct FullDisk {
    rlimit old{};
    FullDisk() {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit tiny{1, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &old); }
};

}  // namespace

class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void paintFillReplaceStampUndoAndSave_data();
    void paintFillReplaceStampUndoAndSave();
    void movementPainting();
    void unsavedChangesAreOfferedForSaving_data();
    void unsavedChangesAreOfferedForSaving();
    void failedSaveKeepsTheMapOpen();
    void picturesAreExported();
};

void EditingTest::paintFillReplaceStampUndoAndSave_data() {
    QTest::addColumn<bool>("doubled");
    QTest::newRow("single size") << false;
    QTest::newRow("double size") << true;
}

void EditingTest::paintFillReplaceStampUndoAndSave() {
    QFETCH(bool, doubled);
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    if (doubled) {
        w.menu().MapDoppelt1->trigger();
    }
    const int s = doubled ? 32 : 16;
    QWidget* map = child(w, "MapBox");
    QWidget* palette = child(w, "BlockPalette");
    auto& editor = w.session().mapState().editor();

    click(palette, at(1, 0));                   // block 1
    click(map, at(2, 0, s), Qt::MiddleButton);  // fill the cells connected through block 0
    QCOMPARE(sessionGrid(w), QStringLiteral("0000 0C01 0001 0001 0001 0001"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - TESTHAUS (0.0) *"));
    click(palette, at(0, 0));  // block 0 replaces block 1 everywhere, movement values kept
    click(map, at(1, 0, s), Qt::MiddleButton, Qt::ControlModifier);
    QCOMPARE(sessionGrid(w), QStringLiteral("0000 0C00 0000 0000 0000 0000"));
    QCOMPARE(child<quillon::ui::PictureView>(w, "MapBox")->image().pixel(2 * 16 + 4, 20),
             quillon::testing::kRed);

    click(palette, at(1, 0));
    QTest::mousePress(map, Qt::LeftButton, {}, at(0, 1, s));  // a drag is one undo step
    quillon::testing::hover(map, at(1, 1, s));
    quillon::testing::hover(map, at(7, 1, s));  // beyond the edge: nothing
    QTest::mouseRelease(map, Qt::LeftButton, {}, at(7, 1, s));
    QCOMPARE(sessionGrid(w), QStringLiteral("0000 0C00 0000 0001 0001 0000"));
    w.menu().Rueckgaengig1->trigger();
    QCOMPARE(sessionGrid(w), QStringLiteral("0000 0C00 0000 0000 0000 0000"));
    QVERIFY(w.menu().Wiederholen1->isEnabled());
    w.menu().Wiederholen1->trigger();
    QVERIFY(!w.menu().Wiederholen1->isEnabled());
    QCOMPARE(sessionGrid(w), QStringLiteral("0000 0C00 0000 0001 0001 0000"));

    // Ctrl + right drag: the stamp, shown at its own size; a left click pastes it whole.
    QTest::mousePress(map, Qt::RightButton, Qt::ControlModifier, at(0, 1, s));
    quillon::testing::hover(map, at(1, 1, s));
    QTest::mouseRelease(map, Qt::RightButton, Qt::ControlModifier, at(1, 1, s));
    auto* bigBlock = w.bigBlockView();
    QVERIFY(bigBlock->isVisible());
    QCOMPARE(bigBlock->size(), QSize(32, 16));
    click(map, at(1, 0, s));
    QCOMPARE(sessionGrid(w), QStringLiteral("0000 0001 0001 0001 0001 0000"));
    QVERIFY(editor.hasStamp());
    bigBlock->close();
    QVERIFY(!editor.hasStamp());

    click(palette, at(0, 64));  // block 512, in the palette's last row
    click(palette, at(5, 64));  // past the last block: nothing chosen
    click(map, at(2, 1, s));
    QCOMPARE(sessionGrid(w), QStringLiteral("0000 0001 0001 0001 0001 0200"));
    click(palette, at(0, 0));
    click(map, at(2, 1, s), Qt::RightButton);  // pick up: the palette shows its row
    QCOMPARE(editor.selectedBlock(), 512);
    QCOMPARE(w.statusText(0), QStringLiteral("Block: 0200"));
    QScrollBar* bar = child<QScrollArea>(w, "ScrollBox3")->verticalScrollBar();
    QCOMPARE(bar->value(), qMin(64 * 16, bar->maximum()));

    QCOMPARE(romGrid(o), kUntouched);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - TESTHAUS (0.0)"));
    QCOMPARE(romGrid(o), QStringLiteral("0000 0001 0001 0001 0001 0200"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);  // back past the save: modified again
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - TESTHAUS (0.0) *"));
    QVERIFY(o.dialogs->errors.isEmpty());

    quillon::testing::FakeDialogs* dialogs = nullptr;
    auto again = o.program.window(&dialogs);
    again->openRomFile(o.program.romPath());
    again->openMap(QStringLiteral("0.0"), QStringLiteral("TESTHAUS (0.0)"));
    QCOMPARE(sessionGrid(*again), QStringLiteral("0000 0001 0001 0001 0001 0200"));
}

void EditingTest::movementPainting() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    child<QTabWidget>(w, "PageControl1")->setCurrentIndex(1);
    w.menu().GehDoppelt1->trigger();
    QWidget* view = child(w, "GehBox");
    QWidget* palette = child(w, "GehPalette");

    click(palette, at(0, 5));
    QTest::mousePress(view, Qt::LeftButton, {}, at(0, 0, 32));
    quillon::testing::hover(view, at(1, 0, 32));
    QTest::mouseRelease(view, Qt::LeftButton, {}, at(1, 0, 32));
    QCOMPARE(sessionGrid(w), QStringLiteral("1400 1401 0000 0001 0000 0000"));
    click(palette, at(0, 7));
    click(view, at(0, 1, 32), Qt::MiddleButton);
    QCOMPARE(sessionGrid(w), QStringLiteral("1400 1401 1C00 1C01 1C00 1C00"));
    click(palette, at(0, 2));
    click(view, at(0, 0, 32), Qt::MiddleButton, Qt::ControlModifier);
    QCOMPARE(sessionGrid(w), QStringLiteral("0800 0801 1C00 1C01 1C00 1C00"));
    click(view, at(2, 0, 32), Qt::RightButton);
    QCOMPARE(w.session().mapState().editor().selectedMovement(), 7);
    QCOMPARE(child<QScrollArea>(w, "ScrollBox5")->verticalScrollBar()->value(), 7 * 16);

    w.menu().Rueckgaengig1->trigger();
    QCOMPARE(sessionGrid(w), QStringLiteral("1400 1401 1C00 1C01 1C00 1C00"));
    w.menu().Save1->trigger();
    QCOMPARE(romGrid(o), QStringLiteral("1400 1401 1C00 1C01 1C00 1C00"));
    // The status bar says what was written: the grid's 3 x 2 cells of 2 bytes.
    QCOMPARE(w.statusText(0), QStringLiteral("Map gespeichert: TESTHAUS (0.0), 12 Bytes"));
}

void EditingTest::unsavedChangesAreOfferedForSaving_data() {
    QTest::addColumn<int>("leave");   // 0 close, 1 other map, 2 reload the ROM
    QTest::addColumn<int>("answer");  // 0 no, 1 yes, 2 cancel
    for (int leave = 0; leave < 3; ++leave) {
        const char* leaving[] = {"close", "other map", "reload"};
        const char* answers[] = {"discard", "save", "cancel"};
        for (int answer = 0; answer < 3; ++answer) {
            QTest::addRow("%s, %s", leaving[leave], answers[answer]) << leave << answer;
        }
    }
}

// Yes saves and leaves, no leaves without saving, cancel stays where the user was: the same
// map, its changes still in memory and marked, the ROM untouched. Reading the ROM again keeps
// the map open, read anew from the file.
void EditingTest::unsavedChangesAreOfferedForSaving() {
    QFETCH(int, leave);
    QFETCH(int, answer);
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    o.openByLine("TESTHAUS (0.0)");  // unmodified: no question
    QVERIFY(o.dialogs->confirms.isEmpty());

    click(child(w, "MapBox"), at(0, 0), Qt::RightButton);  // block 0
    click(child(w, "MapBox"), at(0, 1));
    const QString edited = QStringLiteral("0000 0C01 0000 0000 0000 0000");
    o.dialogs->confirmAnswer = answer == 1;
    o.dialogs->cancelAnswer = answer == 2;
    const bool stays = answer == 2;
    if (leave == 0) {
        w.menu().Exit1->trigger();
        QCOMPARE(w.isVisible(), stays);
    } else if (leave == 1) {
        o.openByLine("ZWEITE (0.1)");
        QCOMPARE(w.mapIdentifier(), stays ? QStringLiteral("0.0") : QStringLiteral("0.1"));
    } else {
        w.menu().NeuLaden1->trigger();
        QCOMPARE(w.mapIdentifier(), QStringLiteral("0.0"));
    }
    QCOMPARE(o.dialogs->confirms, QStringList{QStringLiteral("Frage|Änderungen speichern?")});
    QCOMPARE(romGrid(o), answer == 1 ? edited : kUntouched);
    if (stays) {
        QCOMPARE(sessionGrid(w), edited);
        QVERIFY(w.session().mapState().modified());
        QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - TESTHAUS (0.0) *"));
    } else if (leave == 2) {
        QCOMPARE(sessionGrid(w), romGrid(o));
        QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - TESTHAUS (0.0)"));
    }
}

void EditingTest::failedSaveKeepsTheMapOpen() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    click(child(w, "MapBox"), at(1, 0), Qt::RightButton, Qt::ControlModifier);
    QVERIFY(w.bigBlockView()->isVisible());
    click(child(w, "MapBox"), at(2, 0));  // the one-cell stamp, movement value included
    o.dialogs->confirmAnswer = true;
    {
        FullDisk full;
        QVERIFY(!w.close());
        o.openByLine("ZWEITE (0.1)");
    }
    QCOMPARE(o.dialogs->errors.size(), 2);
    QVERIFY(w.isVisible());
    QCOMPARE(w.mapIdentifier(), QStringLiteral("0.0"));
    QVERIFY(w.session().mapState().modified());
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - TESTHAUS (0.0) *"));

    o.dialogs->saveFileAnswer.clear();  // "Speichern Unter..." cancelled
    w.menu().SaveAs1->trigger();
    QCOMPARE(o.dialogs->informs.last(),
             QStringLiteral("Info|Datei konnte nicht gespeichert werden!"));
    QCOMPARE(romGrid(o), kUntouched);
    o.openByLine("ZWEITE (0.1)");  // saved now: the other map opens
    QCOMPARE(w.mapIdentifier(), QStringLiteral("0.1"));
    QCOMPARE(romGrid(o), QStringLiteral("0000 0C01 0C01 0001 0000 0000"));
}

void EditingTest::picturesAreExported() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    w.menu().MapDoppelt1->trigger();
    w.menu().Grid1->trigger();
    const QString folder = QString::fromStdString(o.program.folder().string());
    QVERIFY(QDir(folder).mkdir(QStringLiteral("pictures")));

    // The first picture dialog starts beside the ROM, the next where the last picture went.
    o.dialogs->saveFileAnswer = folder + QStringLiteral("/pictures/map.DIB");
    w.menu().SaveMapPic1->trigger();
    QCOMPARE(o.dialogs->startsAsked.last(), QFileInfo(o.program.romPath()).absolutePath());
    QVERIFY(o.dialogs->savesAsked[0].contains(QStringLiteral("(*.DIB);;PNG (*.png);;")));
    QVERIFY(o.dialogs->savesAsked[0].endsWith(QStringLiteral("|DIB")));
    QFile bmp(o.dialogs->saveFileAnswer);
    QVERIFY(bmp.open(QIODevice::ReadOnly));
    const QByteArray header = bmp.read(30);
    QCOMPARE(header.left(2), QByteArray("BM"));
    QCOMPARE(static_cast<int>(header[28]), 24);
    const QImage map(o.dialogs->saveFileAnswer, "BMP");
    QCOMPARE(map.size(), QSize(48, 32));
    QCOMPARE(map.pixel(0, 0), 0xFF000000u);  // grid line

    o.dialogs->saveFileAnswer = folder + QStringLiteral("/palette.png");
    w.menu().SaveTilesetPic1->trigger();
    QCOMPARE(o.dialogs->startsAsked.last(), folder + QStringLiteral("/pictures"));
    QCOMPARE(QImage(o.dialogs->saveFileAnswer).size(), QSize(8 * 16, 65 * 16));
    QCOMPARE(o.dialogs->informs.last(),
             QStringLiteral("Info|Der Vorgang wurde erfolgreich beendet."));

    o.dialogs->saveFileAnswer = folder + QStringLiteral("/missing/map.png");
    w.menu().SaveMapPic1->trigger();
    QCOMPARE(o.dialogs->errors.size(), 1);
}

QUILLON_UI_TEST(EditingTest)
#include "editing_test.moc"
