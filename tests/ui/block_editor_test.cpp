#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

#include "core/session/session.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/rom_bytes.h"
#include "tests/ui/window_fixture.h"
#include "ui/blocks/block_editor_form.h"
#include "ui/blocks/zoom_box.h"
#include "ui/history_form.h"
#include "ui/picture_view.h"

using quillon::testing::Changes;
using quillon::testing::child;
using quillon::testing::chooseLanguage;
using quillon::testing::onlyChanged;
using quillon::testing::put;
using quillon::testing::kGreen;
using quillon::testing::kRed;
using quillon::testing::Opened;
using quillon::testing::romFile;

namespace {

// A left-button drag through the points: press on the first, moves with the button held.
void drag(QWidget* box, const QList<QPoint>& points) {
    QTest::mousePress(box, Qt::LeftButton, {}, points.first());
    for (const QPoint& p : points.mid(1)) {
        QMouseEvent move(QEvent::MouseMove, p, box->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(box, &move);
    }
    QTest::mouseRelease(box, Qt::LeftButton, {}, points.last());
}

quillon::ui::TBlockEditorForm* openEditor(Opened& o) {
    o.openByLine("TESTHAUS (0.0)");
    o.window->menu().BlockEditor1->trigger();
    return o.window->blockEditor();
}

}  // namespace

class BlockEditorTest : public QObject {
    Q_OBJECT

private slots:
    // Block 0 (red) painted with tile 1 (green) in its four lower quarters, the behaviour typed
    // and the background chosen by name: the save writes the four changed entry bytes and the
    // two attribute bytes, nothing else, and the map shows the green block.
    void paintAndSaveWriteTheBlockAndTheMapFollows() {
        Opened o;
        QVERIFY(!o.window->menu().BlockEditor1->isEnabled());
        auto* editor = openEditor(o);
        QVERIFY(editor != nullptr && editor->isVisible());
        QCOMPARE(editor->currentBlock(), 0);
        QCOMPARE(o.window->session().mapState().pictures().map().pixel(0, 0), kRed);
        // Opening the editor leaves the map on screen as it was.
        QCOMPARE(child(*o.window, "MapBox")->grab().toImage().pixel(0, 0), kRed);

        QTest::mouseClick(child(*editor, "Image1"), Qt::LeftButton, {}, QPoint(20, 4));
        QCOMPARE(child<QLabel>(*editor, "Lbl_Tile")->text(), QStringLiteral("01"));
        QCOMPARE(editor->pen(), std::uint16_t{0x0001});
        // The chosen tile is framed in the tile sheet, the chosen block in the palette; the
        // previews show four screen pixels to a picture pixel.
        QCOMPARE(child<quillon::ui::ZoomBox>(*editor, "Image1")->marked(), QRect(8, 0, 8, 8));
        QCOMPARE(child<quillon::ui::PictureView>(*editor, "BlockBox")->markedCell(), QPoint(0, 0));
        QCOMPARE(child(*editor, "TileBox")->size(), QSize(32 * 4, 16 * 4));
        drag(child(*editor, "TileBox"), {{8, 8}, {40, 8}, {40, 40}, {8, 40}});
        for (int e = 0; e < 4; ++e) {
            QCOMPARE(editor->edited().entry(e).raw, std::uint16_t{0x0001});
        }
        QCOMPARE(editor->edited().entry(4).raw, std::uint16_t{0x0002});  // upper layer untouched

        auto* behaviour = child<QLineEdit>(*editor, "Txt_Aufgaben");
        behaviour->selectAll();
        QTest::keyClicks(behaviour, QStringLiteral("3C"));
        QCOMPARE(child<QComboBox>(*editor, "Cbo_Aufgaben")->currentIndex(), 0x3C);
        auto* background = child<QComboBox>(*editor, "Cbo_Hintergrund");
        background->setCurrentIndex(0x10);
        emit background->activated(0x10);
        QCOMPARE(child<QLineEdit>(*editor, "Txt_Hinterdrund")->text(), QStringLiteral("10"));

        const QByteArray before = romFile(o);
        QTest::mouseClick(child<QPushButton>(*editor, "Cmd_Speichern"), Qt::LeftButton);
        QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
        const auto& t = o.program.rom().tilesets[0];
        Changes changes;
        for (std::uint32_t e = 0; e < 4; ++e) {
            put(changes, t.blocks + 2 * e, 0x0001, 2);
        }
        put(changes, t.behaviours, 0x103C, 2);
        QVERIFY(onlyChanged(before, romFile(o), changes));
        QCOMPARE(o.window->session().mapState().pictures().map().pixel(0, 0), kGreen);
        // The map on screen shows it at once.
        const QImage shown = child(*o.window, "MapBox")->grab().toImage();
        QCOMPARE(shown.pixel(0, 0), kGreen);
        QCOMPARE(*o.window->session().romState().tilesets().blockImage(0),
                 *o.window->session().romState().tilesets().blockImage(1));
    }

    // FireRed: the behaviour (up to 1FF) and the layer type go into the 4-byte word at header
    // +20; the code pointer at +16 and everything it points at stay as they were.
    void fireRedWritesTheWordTable() {
        Opened o(true, quillon::romkit::Family::Frlg);
        auto* editor = openEditor(o);
        auto* behaviours = child<QComboBox>(*editor, "Cbo_Aufgaben");
        auto* layers = child<QComboBox>(*editor, "Cbo_Hintergrund");
        QCOMPARE(behaviours->count(), 0x200);
        QCOMPARE(behaviours->itemText(0x1A5), QStringLiteral("1A5"));
        QCOMPARE(layers->count(), 4);
        auto* behaviour = child<QLineEdit>(*editor, "Txt_Aufgaben");
        behaviour->selectAll();
        QTest::keyClicks(behaviour, QStringLiteral("1A5"));
        QCOMPARE(behaviours->currentIndex(), 0x1A5);
        layers->setCurrentIndex(2);
        emit layers->activated(2);
        QCOMPARE(child<QLineEdit>(*editor, "Txt_Hinterdrund")->text(), QStringLiteral("2"));
        const QByteArray before = romFile(o);
        QTest::mouseClick(child<QPushButton>(*editor, "Cmd_Speichern"), Qt::LeftButton);
        QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
        Changes changes;
        put(changes, o.program.rom().tilesets[0].attributes, 0x400001A5, 4);
        QVERIFY(onlyChanged(before, romFile(o), changes));
    }

    // Reading the ROM again keeps the map open and the editor with it; Escape closes the
    // editor as its close button does.
    void reloadingKeepsTheEditorAndEscapeClosesIt() {
        Opened o;
        QPointer<quillon::ui::TBlockEditorForm> editor = openEditor(o);
        QVERIFY(editor != nullptr);
        o.window->menu().NeuLaden1->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(editor != nullptr && o.window->blockEditor() == editor);
        QVERIFY(editor->isVisible());
        editor->activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == editor; }));
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(o.window->blockEditor() == nullptr);
    }

    // A block save undone in "Verlauf": the editor stays open with the block as it was, the
    // map shows it, and no error comes up.
    void undoingABlockSaveKeepsTheEditor() {
        Opened o;
        QPointer<quillon::ui::TBlockEditorForm> editor = openEditor(o);
        const QByteArray before = romFile(o);
        QTest::mouseClick(child(*editor, "Image1"), Qt::LeftButton, {}, QPoint(20, 4));
        drag(child(*editor, "TileBox"), {{8, 8}, {40, 8}, {40, 40}, {8, 40}});
        QTest::mouseClick(child<QPushButton>(*editor, "Cmd_Speichern"), Qt::LeftButton);
        QCOMPARE(o.window->session().mapState().pictures().map().pixel(0, 0), kGreen);
        o.window->menu().Verlauf1->trigger();
        auto* list = child<QTreeWidget>(*o.window->historyForm(), "Lst_Verlauf");
        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(child<QPushButton>(*o.window->historyForm(), "Btn_RueckgaengigBisHier"),
                          Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
        QVERIFY(romFile(o) == before);
        QVERIFY(editor != nullptr && editor->isVisible());
        QCOMPARE(editor->edited().entry(0).raw, std::uint16_t{0x0000});
        QCOMPARE(o.window->session().mapState().pictures().map().pixel(0, 0), kRed);

        // A saved map undone: the map is read again, the editor follows it and stays.
        auto* map = child(*o.window, "MapBox");
        QTest::mouseClick(map, Qt::RightButton, {}, QPoint(20, 4));  // block 1
        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(4, 4));
        o.window->menu().Save1->trigger();
        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(child<QPushButton>(*o.window->historyForm(), "Btn_RueckgaengigBisHier"),
                          Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
        QVERIFY2(o.dialogs->informs.isEmpty(), qPrintable(o.dialogs->informs.join('\n')));
        QVERIFY(romFile(o) == before);
        QVERIFY(editor != nullptr && editor->isVisible());
    }

    // The right button picks an entry up: tile, palette and flips become the pen.
    void rightButtonPicksUpAnEntry() {
        Opened o;
        auto* editor = openEditor(o);
        QTest::mouseClick(child(*editor, "BlockBox"), Qt::LeftButton, {}, QPoint(40, 8));
        QCOMPARE(editor->currentBlock(), 1);
        QCOMPARE(child<QLabel>(*editor, "Lbl_Block")->text(), QStringLiteral("01"));
        QCOMPARE(child<quillon::ui::PictureView>(*editor, "BlockBox")->markedCell(), QPoint(1, 0));
        QTest::mouseClick(child(*editor, "TileBox"), Qt::RightButton, {}, QPoint(80, 48));
        QCOMPARE(editor->pen(), editor->edited().entry(6).raw);
        QCOMPARE(child<QLabel>(*editor, "Lbl_Tile")->text(), QStringLiteral("02"));
    }

    // A behaviour outside the game's range is refused before anything is written.
    void refusedFieldWritesNothing() {
        Opened o;
        auto* editor = openEditor(o);
        child<QLineEdit>(*editor, "Txt_Aufgaben")->setText(QStringLiteral("1FF"));
        const QByteArray before = romFile(o);
        QTest::mouseClick(child<QPushButton>(*editor, "Cmd_Speichern"), Qt::LeftButton);
        QCOMPARE(o.dialogs->errors.size(), 1);
        QVERIFY(o.dialogs->errors.first().contains(QStringLiteral("Aufgaben-Byte")));
        QCOMPARE(romFile(o), before);
    }

    // The window's texts come from the language table, also when the language changes while
    // it is open; a text the language lacks reads "Fehler".
    void textsFollowTheLanguage() {
        Opened o;
        auto* editor = openEditor(o);
        auto labelTexts = [editor] {
            QStringList texts;
            for (const QLabel* label : editor->findChildren<QLabel*>()) {
                texts << label->text();
            }
            return texts;
        };
        QVERIFY(labelTexts().contains(QStringLiteral("Aufgaben-Byte:")));
        auto* save = child<QAction>(*editor, "Tileset1Speichern1");
        QCOMPARE(save->text(), QStringLiteral("Fehler"));  // the test's German texts lack 1310
        chooseLanguage(*o.window, "English");
        QVERIFY(labelTexts().contains(QStringLiteral("Behaviour byte:")));
        QVERIFY(labelTexts().contains(QStringLiteral("Fehler")));  // 1303 is missing
        QCOMPARE(editor->windowTitle(), QStringLiteral("Block Editor     Part 1: 0  Part 2: 1"));
        o.dialogs->saveFileAnswer.clear();
        save->trigger();
        QVERIFY(o.dialogs->savesAsked.last().startsWith(QStringLiteral("Save Tileset1|")));
    }

    // "Tileset1 Speichern": the picture under the chosen name and its palette beside it.
    void tilesetExportWritesPictureAndPalette() {
        Opened o;
        auto* editor = openEditor(o);
        const QString picture = QString::fromStdString((o.program.folder() / "teil1.png").string());
        o.dialogs->saveFileAnswer = picture;
        child<QAction>(*editor, "Tileset1Speichern1")->trigger();
        QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
        QCOMPARE(QImage(picture).format(), QImage::Format_Indexed8);
        QCOMPARE(QFile(QString::fromStdString((o.program.folder() / "teil1.pal").string())).size(),
                 qint64(64));
        QVERIFY(!child<QAction>(*editor, "BlocksNeuLaden1")->isEnabled());
    }

    // An editor still open when the window closes goes while the window is whole (and its
    // session still there), not among the children of a window half taken down.
    void theEditorGoesWhileTheWindowIsWhole() {
        Opened o;
        auto* editor = openEditor(o);
        QWidget* window = o.window.get();
        bool goneWithWholeWindow = false;
        QObject::connect(editor, &QObject::destroyed, [&] {
            goneWithWholeWindow = qobject_cast<quillon::ui::MainWindow*>(window) != nullptr;
        });
        o.window.reset();
        QVERIFY(goneWithWholeWindow);
    }
};

QUILLON_UI_TEST(BlockEditorTest)
#include "block_editor_test.moc"
