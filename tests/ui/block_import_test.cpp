#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTreeWidget>

#include "core/gfx/palette.h"
#include "core/rom/rom_pointer.h"
#include "core/session/session.h"
#include "tests/ui/rom_bytes.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/blocks/block_editor_form.h"
#include "ui/history_form.h"

using quillon::testing::Changes;
using quillon::testing::child;
using quillon::testing::kGreen;
using quillon::testing::kRed;
using quillon::testing::onlyChanged;
using quillon::testing::Opened;
using quillon::testing::put;
using quillon::testing::romFile;

namespace {

quillon::ui::TBlockEditorForm* openEditor(Opened& o) {
    o.openByLine("TESTHAUS (0.0)");
    o.window->menu().BlockEditor1->trigger();
    return o.window->blockEditor();
}

QString inFolder(Opened& o, const char* name) {
    return QString::fromStdString((o.program.folder() / name).string());
}

// Part 1 exported as an indexed PNG (and its palette file beside it), as the user does before
// drawing; the picture as read back.
QImage exportPartOne(Opened& o, quillon::ui::TBlockEditorForm& editor) {
    o.dialogs->saveFileAnswer = inFolder(o, "teil1.png");
    child<QAction>(editor, "Tileset1Speichern1")->trigger();
    return QImage(o.dialogs->saveFileAnswer);
}

// Tile t of the picture drawn in colour index.
void paintTile(QImage& picture, int t, int index) {
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            picture.setPixel(t % 16 * 8 + x, t / 16 * 8 + y, static_cast<uint>(index));
        }
    }
}

void undoLatest(Opened& o) {
    o.window->menu().Verlauf1->trigger();
    QWidget& form = *o.window->historyForm();
    auto* list = child<QTreeWidget>(form, "Lst_Verlauf");
    list->setCurrentItem(list->topLevelItem(0));
    QTest::mouseClick(child<QPushButton>(form, "Btn_RueckgaengigBisHier"), Qt::LeftButton);
}

std::uint32_t le32(const QByteArray& bytes, std::uint32_t at) {
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(at + i)))
                 << (8 * i);
    }
    return value;
}

}  // namespace

class BlockImportTest : public QObject {
    Q_OBJECT

private slots:
    // Tile 0 (red, the lower layer of block 0) drawn green in the exported picture: its 32
    // bytes change, the map, the block palette and the editor show green, and undo brings the
    // red tile back.
    void recolouredTileShowsInTheMapAndUndoBringsItBack() {
        Opened o;
        auto* editor = openEditor(o);
        QImage picture = exportPartOne(o, *editor);
        QCOMPARE(picture.format(), QImage::Format_Indexed8);
        paintTile(picture, 0, 2);
        o.dialogs->openFileAnswer = inFolder(o, "gruen.png");
        QVERIFY(picture.save(o.dialogs->openFileAnswer));
        const QByteArray before = romFile(o);
        quillon::Session& s = o.window->session();
        QCOMPARE(s.mapState().pictures().map().pixel(0, 0), kRed);

        child<QAction>(*editor, "Tileset1Laden1")->trigger();

        QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
        QVERIFY(o.dialogs->repointsAsked.isEmpty());
        Changes changes;
        for (std::uint32_t i = 0; i < 32; ++i) {
            put(changes, o.program.rom().tilesets[0].tiles + i, 0x22, 1);
        }
        QVERIFY(onlyChanged(before, romFile(o), changes));
        QCOMPARE(s.mapState().pictures().map().pixel(0, 0), kGreen);
        QCOMPARE(*s.romState().tilesets().blockImage(0), *s.romState().tilesets().blockImage(1));
        QCOMPARE(s.rom().history().entries().back().name, std::string("Tileset laden 0"));

        undoLatest(o);
        QCOMPARE(o.dialogs->errors, QStringList());
        QVERIFY(romFile(o) == before);
        QCOMPARE(s.mapState().pictures().map().pixel(0, 0), kRed);
        QVERIFY(
            !(*s.romState().tilesets().blockImage(0) == *s.romState().tilesets().blockImage(1)));
    }

    // Tile 3 lies past the part's raw tiles, on the data behind them: the new tiles go where
    // the user chooses in the repoint dialog (a place off 4 refused first), and the tileset
    // header points there.
    void tilesThatDoNotFitGoWhereTheUserChooses() {
        Opened o;
        auto* editor = openEditor(o);
        QImage picture = exportPartOne(o, *editor);
        paintTile(picture, 3, 1);
        o.dialogs->openFileAnswer = inFolder(o, "neu.png");
        QVERIFY(picture.save(o.dialogs->openFileAnswer));
        const std::uint32_t at = o.freeStart();
        o.dialogs->repointAnswers = {at + 2, at};
        const QByteArray before = romFile(o);

        child<QAction>(*editor, "Tileset1Laden1")->trigger();

        QCOMPARE(o.dialogs->repointsAsked.size(), 1);
        QCOMPARE(o.dialogs->repointsAsked[0].alignment, 4);
        QCOMPARE(o.dialogs->errors.size(), 1);  // the place off 4
        const QByteArray after = romFile(o);
        const auto& t = o.program.rom().tilesets[0];
        QCOMPARE(le32(after, t.header + 4), quillon::encodeRomPointer(at));
        const std::uint32_t size = o.dialogs->repointsAsked[0].count;
        QCOMPARE(after.mid(at, 3 * 32), before.mid(t.tiles, 3 * 32));
        QCOMPARE(after.mid(at + 3 * 32, 32), QByteArray(32, '\x11'));
        for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(after.size()); ++i) {
            const bool written =
                (i >= at && i < at + size) || (i >= t.header + 4 && i < t.header + 8);
            if (!written && after.at(i) != before.at(i)) {
                QFAIL(qPrintable(QStringLiteral("byte %1 changed").arg(i, 0, 16)));
            }
        }
    }

    // A 64-byte palette file with colour 1 of palette 0 made blue: its word changes and the
    // map draws blue. A file of 15 colours asks first; closing the question writes nothing.
    void paletteFileRecoloursTheMap() {
        Opened o;
        auto* editor = openEditor(o);
        exportPartOne(o, *editor);
        QFile exported(inFolder(o, "teil1.pal"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QByteArray colours = exported.readAll();
        colours[4] = 0;
        colours[5] = 0;
        colours[6] = static_cast<char>(0xF8);
        o.dialogs->openFileAnswer = inFolder(o, "blau.pal");
        QFile blue(o.dialogs->openFileAnswer);
        QVERIFY(blue.open(QIODevice::WriteOnly) && blue.write(colours) == 64);
        blue.close();
        child<QComboBox>(*editor, "Paletten")->setCurrentIndex(0);
        const QByteArray before = romFile(o);

        child<QAction>(*editor, "PaletteLaden1")->trigger();

        QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
        Changes changes;
        put(changes, o.program.rom().tilesets[0].palettes + 2, 0x7C00, 2);
        QVERIFY(onlyChanged(before, romFile(o), changes));
        quillon::Session& s = o.window->session();
        QCOMPARE(s.mapState().pictures().map().pixel(0, 0), quillon::GbaColourToRgb(0x7C00));

        QFile fifteen(inFolder(o, "kurz.pal"));
        QVERIFY(fifteen.open(QIODevice::WriteOnly));
        fifteen.write("JASC-PAL\n0100\n15\n");
        for (int i = 0; i < 15; ++i) {
            fifteen.write("248 248 0\n");
        }
        fifteen.close();
        o.dialogs->openFileAnswer = fifteen.fileName();
        const QByteArray blueRom = romFile(o);
        child<QAction>(*editor, "PaletteLaden1")->trigger();
        QCOMPARE(o.dialogs->choices.size(), 1);
        QVERIFY(o.dialogs->choices[0].contains(QStringLiteral("15 Farben")));
        QVERIFY(romFile(o) == blueRom);
    }
};

QUILLON_UI_TEST(BlockImportTest)
#include "block_import_test.moc"
