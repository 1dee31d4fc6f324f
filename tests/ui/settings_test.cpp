#include "ui/main_window.h"

#include <QAction>
#include <fstream>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/session/session.h"
#include "tests/ui/fake_dialogs.h"
#include "tests/ui/test_program.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/command.h"
#include "ui/language_texts.h"
#include "ui/picture_view.h"

using quillon::testing::child;
using quillon::testing::doubleClickLine;
using quillon::testing::FakeDialogs;
using quillon::testing::findLine;
using quillon::testing::hover;
using quillon::testing::Opened;
using quillon::testing::TestProgram;
using quillon::ui::MainMenu;
using quillon::ui::MainWindow;
using quillon::ui::PictureView;

namespace {

QAction* languageItem(MainWindow& window, const QString& name) {
    for (QAction* item : window.menu().Sprache1->actions()) {
        if (item->text() == name) {
            return item;
        }
    }
    return nullptr;
}

const QString kLoaded = QStringLiteral("Map geladen.  Index: ");

}  // namespace

// The settings of the window: display switches, the block palette width, the language, the
// map list modes; each is applied at once and kept in the settings file.
class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void displayTogglesResizeViewsAndPersist();
    void everySettingItemIsWrittenAndReadBack_data();
    void everySettingItemIsWrittenAndReadBack();
    void blockPaletteWidthIsAskedAndChecked();
    void languageChangeRetitlesEverything();
    void withoutLanguageFileTheMenuIsDisabled();
    void comboBoxModeOpensMaps();
    void mapListPartsAreExclusive();
    void theLastBankComesAndGoesWithItsItem();
};

void SettingsTest::displayTogglesResizeViewsAndPersist() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    auto* mapBox = child<PictureView>(*o.window, "MapBox");
    o.window->menu().MapDoppelt1->trigger();
    QCOMPARE(mapBox->size(), QSize(96, 64));
    QCOMPARE(mapBox->image().size(), QSize(48, 32));
    // Cells count 32 view pixels now.
    hover(mapBox, QPoint(40, 40));
    QCOMPARE(o.window->statusText(0), QStringLiteral("X: 1 Y: 1 Block: 0000"));

    o.window->menu().BlockPaletteDoppelt1->trigger();
    QCOMPARE(child(*o.window, "BlockPalette")->width(), 2 * 8 * 16);
    o.window->menu().GehPaletteDoppelt1->trigger();
    QCOMPARE(child(*o.window, "GehPalette")->size(), QSize(32, 2048));

    QCOMPARE(mapBox->image().pixel(0, 0), quillon::testing::kRed);
    o.window->menu().Grid1->trigger();
    QCOMPARE(mapBox->image().pixel(0, 0), 0xFF000000u);

    const std::string ini = o.program.readIni("Quillon.ini");
    for (const char* line :
         {"MapDoppelt=1", "PaletteDoppelt=1", "GehPaletteDoppelt=1", "Gitter=1"}) {
        QVERIFY2(ini.find(line) != std::string::npos, line);
    }
    FakeDialogs* dialogs = nullptr;
    auto again = o.program.window(&dialogs);
    QVERIFY(again->menu().MapDoppelt1->isChecked());
    QVERIFY(again->menu().Grid1->isChecked());
    QVERIFY(!again->menu().GehDoppelt1->isChecked());
    QCOMPARE(child(*again, "GehPalette")->size(), QSize(32, 2048));
}

void SettingsTest::everySettingItemIsWrittenAndReadBack_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("key");
    const char* const rows[][2] = {
        {"Grid1", "Gitter"},
        {"Comboboxen1", "Comboboxen"},
        {"ZeigeSprites1", "ZeigeSprites"},
        {"andereausblenden1", "AndereEventsAusblenden"},
        {"MapDoppelt1", "MapDoppelt"},
        {"GehDoppelt1", "GehDoppelt"},
        {"EventsDoppelt1", "EventsDoppelt"},
        {"BlockPaletteDoppelt1", "PaletteDoppelt"},
        {"GehPaletteDoppelt1", "GehPaletteDoppelt"},
        {"NachbarnAnzeigen1", "NachbarnAnzeigen"},
        {"LetzteBank1", "LetzteBankAnzeigen"},
    };
    for (const auto& row : rows) {
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }
}

// A click flips the item's own setting, the file keeps it, and the next start shows it.
void SettingsTest::everySettingItemIsWrittenAndReadBack() {
    QFETCH(QString, item);
    QFETCH(QString, key);
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    auto* action = o.window->findChild<QAction*>(item);
    QVERIFY(action != nullptr);
    const bool before = action->isChecked();
    action->trigger();
    QCOMPARE(action->isChecked(), !before);
    const std::string line = (key + (before ? "=0" : "=1")).toStdString();
    QVERIFY2(o.program.readIni("Quillon.ini").find(line) != std::string::npos, line.c_str());
    FakeDialogs* dialogs = nullptr;
    auto again = o.program.window(&dialogs);
    QCOMPARE(again->findChild<QAction*>(item)->isChecked(), !before);
    QVERIFY(o.dialogs->errors.isEmpty());
}

void SettingsTest::blockPaletteWidthIsAskedAndChecked() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    auto* palette = child<PictureView>(*o.window, "BlockPalette");
    o.dialogs->inputAnswers = {QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("abc"),
                               QString()};
    o.window->menu().BlockPaletteBreite1->trigger();
    QCOMPARE(o.dialogs->inputsAsked[0].caption,
             QStringLiteral("Einstellung BlockPaletteBreite ändern"));
    QCOMPARE(o.dialogs->inputsAsked[0].prompt,
             QStringLiteral("Bitte geben sie eine neue Breite an, in welcher dieBlockPalette "
                            "angezeigt werden soll."));
    QCOMPARE(o.dialogs->inputsAsked[0].preset, QStringLiteral("8"));
    QCOMPARE(palette->image().width(), 4 * 16);
    for (int refused = 0; refused < 3; ++refused) {
        o.window->menu().BlockPaletteBreite1->trigger();
        QCOMPARE(o.dialogs->inputsAsked.last().preset, QStringLiteral("4"));
    }
    QCOMPARE(o.dialogs->errors.size(), 2);
    QCOMPARE(o.dialogs->errors[1], QStringLiteral("'abc' is not a valid integer value."));
    QCOMPARE(palette->image().width(), 4 * 16);
    QVERIFY(o.program.readIni("Quillon.ini").find("BlockPaletteBreite=4") != std::string::npos);
}

void SettingsTest::languageChangeRetitlesEverything() {
    Opened o;
    MainWindow& w = *o.window;
    // The first language applies at start; a tagged item it lacks reads "Fehler".
    QCOMPARE(w.menu().Grid1->text(), QStringLiteral("Gitter"));
    QCOMPARE(w.menu().Tools1->title(), QStringLiteral("Fehler"));
    QVERIFY(languageItem(w, QStringLiteral("Deutsch"))->isChecked());
    o.openByLine("TESTHAUS (0.0)");

    languageItem(w, QStringLiteral("English"))->trigger();
    QVERIFY(languageItem(w, QStringLiteral("English"))->isChecked());
    QCOMPARE(w.menu().Datei1->title(), QStringLiteral("File"));
    QCOMPARE(w.menu().Laden1->text(), QStringLiteral("Load..."));
    QCOMPARE(w.menu().MapDoppelt1->text(), QStringLiteral("Map double"));
    QCOMPARE(w.menu().Grid1->text(), QStringLiteral("Fehler"));
    QCOMPARE(w.statusText(0), QStringLiteral("Map loaded.  Index: 0.0"));
    auto* tabs = child<QTabWidget>(w, "PageControl1");
    QCOMPARE(tabs->tabText(1), QStringLiteral("Movement"));
    QCOMPARE(tabs->tabText(4), QStringLiteral("Header"));
    QCOMPARE(child<QLabel>(w, "Lbl_Name")->text(), QStringLiteral("Name:"));
    QCOMPARE(child<QLabel>(w, "Lbl_Musik")->text(), QStringLiteral("Fehler"));
    QCOMPARE(child<QPushButton>(w, "Cmd_Resize")->text(), QStringLiteral("Fehler"));
    QCOMPARE(child<QLabel>(w, "Lbl_KeineEvents")->text(),
             QStringLiteral("Sorry keine Events für diese Map gefunden."));
    tabs->setCurrentIndex(1);
    hover(child(w, "GehBox"), QPoint(16 + 5, 3));
    QCOMPARE(w.statusText(0), QStringLiteral("X: 1 Y: 0 Block: Water"));
    QVERIFY(o.program.readIni("Quillon.ini").find("Sprache=English") != std::string::npos);

    FakeDialogs* dialogs = nullptr;
    auto again = o.program.window(&dialogs);
    QCOMPARE(again->menu().Datei1->title(), QStringLiteral("File"));
    QCOMPARE(again->statusText(0), QStringLiteral("Choose File->Load... to load a ROM."));
}

void SettingsTest::withoutLanguageFileTheMenuIsDisabled() {
    Opened o(false);
    QVERIFY(!o.window->menu().Sprache1->menuAction()->isEnabled());
    QVERIFY(o.window->menu().Sprache1->actions().isEmpty());
    QCOMPARE(o.window->menu().Tools1->title(), QStringLiteral("Tools"));
    QCOMPARE(o.window->statusText(0), QStringLiteral("Rom Geladen! Map auswählen."));
}

void SettingsTest::comboBoxModeOpensMaps() {
    Opened o;
    MainWindow& w = *o.window;
    w.menu().Comboboxen1->trigger();
    QVERIFY(child(w, "Scroll_Header")->isVisible());
    QVERIFY(!o.tree()->isVisible());
    auto* groups = child<QComboBox>(w, "Cbo_Main");
    auto* maps = child<QComboBox>(w, "Cbo_Map");
    QCOMPARE(groups->count(), 1);
    QCOMPARE(groups->itemText(0), QStringLiteral("Stadt"));
    groups->setCurrentIndex(0);
    emit groups->activated(0);
    QCOMPARE(maps->count(), 2);
    QCOMPARE(maps->itemText(0), QStringLiteral("Zweite (0.1)"));
    maps->setCurrentIndex(0);
    emit maps->activated(0);
    QCOMPARE(w.statusText(0), kLoaded + QStringLiteral("0.1"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - Zweite (0.1)"));

    FakeDialogs* dialogs = nullptr;
    auto again = o.program.window(&dialogs);
    again->show();
    QVERIFY(child(*again, "Scroll_Header")->isVisible());
}

void SettingsTest::mapListPartsAreExclusive() {
    Opened o;
    MainWindow& w = *o.window;
    w.menu().NurAusIni1->trigger();
    QCOMPARE(o.tree()->topLevelItemCount(), 1);
    QCOMPARE(o.tree()->topLevelItem(0)->text(0), QStringLiteral("Aus Ini"));
    w.menu().NurausHeader1->trigger();
    QVERIFY(!w.menu().NurAusIni1->isChecked());
    QCOMPARE(o.tree()->topLevelItemCount(), 1);
    QCOMPARE(o.tree()->topLevelItem(0)->text(0), QStringLiteral("Nur aus Header"));
    QVERIFY(o.program.readIni("Quillon.ini").find("Maps=NurausHeader") != std::string::npos);
    w.menu().NurausHeader1->trigger();  // both off: both parts
    QCOMPARE(o.tree()->topLevelItemCount(), 2);
    QVERIFY(o.program.readIni("Quillon.ini").find("Maps=") == std::string::npos);
}

// The test ROM's last bank gets map 0.0 as its only map; the bank table follows its map table.
void SettingsTest::theLastBankComesAndGoesWithItsItem() {
    TestProgram program;
    const quillon::romkit::BuiltRom& built = program.rom();
    const std::uint32_t word = 0x08000000u | built.maps.at({0, 0}).header;
    {
        std::fstream file(program.romPath().toStdString(),
                          std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(built.mapTables.back());
        for (int i = 0; i < 4; ++i) {
            file.put(static_cast<char>((word >> (8 * i)) & 0xFF));
        }
    }
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    dialogs->openFileAnswer = program.romPath();
    window->menu().Laden1->trigger();
    auto* tree = child<QTreeWidget>(*window, "MapList");
    const QString line = QStringLiteral("TESTHAUS (2.0)");
    QVERIFY(findLine(tree, line) == nullptr);

    window->menu().LetzteBank1->trigger();
    QTreeWidgetItem* item = findLine(tree, line);
    QVERIFY(item != nullptr);
    QVERIFY(findLine(tree, QStringLiteral("TESTHAUS (2.1)")) == nullptr);
    doubleClickLine(tree, item);
    QCOMPARE(window->session().mapState().map().identifier, std::string("2.0"));
    QVERIFY(program.readIni("Quillon.ini").find("LetzteBankAnzeigen=1") != std::string::npos);

    window->menu().LetzteBank1->trigger();
    QVERIFY(findLine(tree, line) == nullptr);
}

QUILLON_UI_TEST(SettingsTest)
#include "settings_test.moc"
