#include "ui/main_window.h"

#include <fstream>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include "core/base/numbers.h"
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

const QString kLoaded = QStringLiteral("Map geladen.  Index: ");

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void menuItemsCarryTagsCaptionsAndStates_data();
    void menuItemsCarryTagsCaptionsAndStates();
    void startsWithoutRom();
    void openRomFillsTheMapList();
    void brokenRomLeavesTheWindowWithoutRom();
    void romWarningsShowInOneBox();
    void tablesThatDoNotFitShowInTheOpeningBox();
    void doubleClickOpensMapsButNotBanks();
    void enterOpensTheCurrentMapLine();
    void hoverShowsCellDescriptions();
    void mapOeffnenChecksTheTypedIdentifier();
    void failedMapOpenKeepsThePreviousMap();
    void romDialogsStartAtTheOpenRomAndMapOeffnenNeedsOne();
    void failingSlotShowsTheErrorAndReturns();
    void headerTabShowsTheMapAttributes();
    void mapWithoutHeaderHidesTheAttributeBox();
};

void MainWindowTest::menuItemsCarryTagsCaptionsAndStates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    struct Row {
        const char* name;
        int tag;
        const char* caption;
        bool enabled;
    };
    const Row rows[] = {
        {"Datei1", 11, "Datei", true},
        {"Laden1", 110, "Laden...", true},
        {"NeuLaden1", 111, "Neu Laden", true},
        {"Save1", 112, "Speichern", false},
        {"SaveAs1", 113, "Speichern Unter...", false},
        {"Map1", 114, "Map", false},
        {"NeueMap1", 1140, "Neue Map", false},
        {"MapOffnen1", 1141, "Map Öffnen", false},
        {"MapSpeichern1", 1142, "Map Speichern", false},
        {"MapSpeichernunter1", 1143, "Map Speichern unter", false},
        {"MapEinfugen1", 1144, "Map Einfügen", false},
        {"Exit1", 115, "Beenden", true},
        {"Bearbeiten1", 15, "Bearbeiten", true},
        {"Rueckgaengig1", 150, "Rückgängig", false},
        {"Wiederholen1", 151, "Wiederholen", false},
        {"Verlauf1", 152, "Verlauf", false},  // until a ROM is open
        {"Einstellungen1", 12, "Einstellungen", true},
        {"Grid1", 120, "Gitter", false},
        {"Comboboxen1", 121, "Comboboxen", true},
        {"BlockPaletteBreite1", 122, "BlockPaletteBreite", true},
        {"ZeigeSprites1", 123, "ZeigeSprites", true},
        {"andereausblenden1", 124, "Andere Events ausblenden", true},
        {"VerlaufSpeichern1", 128, "Verlauf speichern", true},
        {"Sprache1", 125, "Sprache", false},
        {"Darstellungsgrsse1", 126, "Darstellungsgrösse", true},
        {"MapDoppelt1", 1260, "Map Doppelt", true},
        {"GehDoppelt1", 1261, "Geh Doppelt", true},
        {"EventsDoppelt1", 1262, "Events Doppelt", true},
        {"BlockPaletteDoppelt1", 1263, "Palette Doppelt", true},
        {"GehPaletteDoppelt1", 1264, "GehPalette Doppelt", true},
        {"MapAufistung1", 127, "Map Auflistung", true},
        {"NurausHeader1", 1270, "Nur aus Header", true},
        {"NurAusIni1", 1271, "Nur aus Ini", true},
        {"Tools1", 13, "Tools", true},
        {"BlockEditor1", 130, "Block Editor", false},
        {"SaveMapPic1", 131, "Map Bild Speichern", false},
        {"SaveTilesetPic1", 132, "BlockPalette Bild Speichere", false},
        {"SaveEventPic1", 133, "Event Bild Speichern", false},
        {"BuildEvents1", 134, "Event menge", false},
        {"Mapffnen1", 135, "Map öffnen", false},  // until a ROM is open
        {"Anbindungen1", 136, "Anbindungen", false},
        {"Hilfe1", 14, "Hilfe", true},
        {"Readme1", 140, "Readme", true},
        {"Info1", 141, "Info", true},
    };
    for (const Row& row : rows) {
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.tag
                                << QString::fromUtf8(row.caption) << row.enabled;
    }
}

// Without a language file the German captions stay; "Sprache" is then disabled.
void MainWindowTest::menuItemsCarryTagsCaptionsAndStates() {
    QFETCH(QString, name);
    QFETCH(int, tag);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    TestProgram program(false);
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    QList<QAction*> found;
    for (QAction* action : window->findChildren<QAction*>(name)) {
        found << action;
    }
    QCOMPARE(found.size(), 1);
    QCOMPARE(quillon::ui::tagOf(found[0]), tag);
    QCOMPARE(found[0]->text(), caption);
    QCOMPARE(found[0]->isEnabled(), enabled);
}

void MainWindowTest::startsWithoutRom() {
    TestProgram program;
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillon"));
    QCOMPARE(window->statusText(0), QStringLiteral("Wähle Datei->Laden... um das Rom zu Laden."));
    QVERIFY(!child(*window, "MapList")->isEnabled());
    QVERIFY(!child(*window, "PageControl1")->isEnabled());
    QCOMPARE(window->menu().Laden1->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(window->menu().Mapffnen1->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
    QCOMPARE(window->menu().NeuLaden1->shortcut(), QKeySequence(QStringLiteral("F5")));
    QCOMPARE(window->menu().Save1->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(window->menu().Rueckgaengig1->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(window->menu().Wiederholen1->shortcuts(),
             QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Y")),
                                  QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    QCOMPARE(window->menu().Verlauf1->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
    window->menu().Info1->trigger();
    QCOMPARE(dialogs->abouts.size(), 1);
    QVERIFY(dialogs->abouts[0].contains(QStringLiteral("Quillon")));

    window->menu().Readme1->trigger();  // no read-me beside the program yet
    QCOMPARE(dialogs->informs.size(), 1);
    QVERIFY(dialogs->documents.isEmpty());
    QFile readme(QString::fromStdString((program.folder() / "Readme.txt").string()));
    QVERIFY(readme.open(QIODevice::WriteOnly));
    readme.write("Quillon liest Karten.\n");
    readme.close();
    window->menu().Readme1->trigger();  // in a window of its own, not left to the desktop
    QVERIFY(dialogs->documents.isEmpty());
    auto* shown = child(*window, "ReadmeForm");
    QVERIFY(shown->isVisible());
    QCOMPARE(child<QTextBrowser>(*shown, "Txt_Readme")->toPlainText(),
             QStringLiteral("Quillon liest Karten.\n"));
    QVERIFY(dialogs->errors.isEmpty());
}

void MainWindowTest::openRomFillsTheMapList() {
    Opened o;
    QVERIFY(o.dialogs->errors.isEmpty());
    QCOMPARE(o.window->statusText(0), QStringLiteral("Rom Geladen! Map auswählen."));
    QTreeWidget* tree = o.tree();
    QVERIFY(tree->isEnabled());
    QVERIFY(!child(*o.window, "PageControl1")->isEnabled());
    QCOMPARE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* header = tree->topLevelItem(0);
    QCOMPARE(header->text(0), QStringLiteral("Nur aus Header"));
    QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Aus Ini"));
    QVERIFY(header->isExpanded());
    QCOMPARE(header->child(0)->text(0), QStringLiteral("0"));
    QCOMPARE(header->child(0)->child(0)->text(0), QStringLiteral("TESTHAUS (0.0)"));
    QCOMPARE(header->child(0)->child(1)->text(0), QStringLiteral("ZWEITE (0.1)"));
    QCOMPARE(tree->currentItem(), header);
    QCOMPARE(o.window->focusWidget(), tree);
}

void MainWindowTest::brokenRomLeavesTheWindowWithoutRom() {
    TestProgram program;
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    const QString broken = QString::fromStdString((program.folder() / "broken.gba").string());
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a rom");
    file.close();
    window->openRomFile(broken);
    QCOMPARE(dialogs->errors.size(), 1);
    QVERIFY(!child(*window, "MapList")->isEnabled());
    QCOMPARE(window->statusText(0), QStringLiteral("Wähle Datei->Laden... um das Rom zu Laden."));
}

// A game without a profile: the ROM opens with an empty header part and one box says why, in
// the window's language.
void MainWindowTest::romWarningsShowInOneBox() {
    TestProgram program;
    quillon::romkit::RomBuilder other(quillon::romkit::Family::Rse, "OTHER GAME", "QOTE");
    other.addMapName("X");
    const auto path = program.folder() / "other.gba";
    quillon::romkit::writeRomFile(path, other.build());
    std::ofstream(program.folder() / "Ini" / "Sprachen.ini", std::ios::app)
        << "profile.none=no profile for %1\n";
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    window->openRomFile(QString::fromStdString(path.string()));
    QVERIFY(dialogs->errors.isEmpty());
    QCOMPARE(dialogs->informs.size(), 1);
    QVERIFY(dialogs->informs[0].startsWith(QStringLiteral("Info|")));
    QVERIFY(dialogs->informs[0].contains(QStringLiteral("gibt es kein Profil")));
    QCOMPARE(window->statusText(0), QStringLiteral("Rom Geladen! Map auswählen."));
    auto* tree = child<QTreeWidget>(*window, "MapList");
    QCOMPARE(tree->topLevelItem(0)->childCount(), 0);
    quillon::testing::chooseLanguage(*window, "English");
    window->openRomFile(QString::fromStdString(path.string()));
    QCOMPARE(dialogs->informs.size(), 2);
    QVERIFY2(dialogs->informs[1].contains(QStringLiteral("no profile for OTHER GAME")),
             qPrintable(dialogs->informs[1]));
}

// A profile whose bank and wild tables lie elsewhere than in the ROM: one box names both
// tables when the ROM opens, the map list stays empty.
void MainWindowTest::tablesThatDoNotFitShowInTheOpeningBox() {
    TestProgram program;
    const auto& built = program.rom();
    std::string ini = program.readIni("Quillon.ini");
    for (const auto& [key, offset] : {std::pair{std::string("MapBankHeader="), built.bankTable},
                                      std::pair{std::string("WildePokemon="), built.wildTable}}) {
        const auto at = ini.find(key);
        QVERIFY(at != std::string::npos);
        const auto end = ini.find('\n', at);
        ini.replace(at, end - at, key + std::to_string(offset - 0x18));
    }
    std::ofstream(program.folder() / "Ini" / "Quillon.ini") << ini;
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    window->openRomFile(program.romPath());
    QVERIFY(dialogs->errors.isEmpty());
    QCOMPARE(dialogs->informs.size(), 1);
    const QString box = dialogs->informs[0];
    const QString profile = QStringLiteral(": dieses Rom passt nicht zum Profil \"%1\".")
                                .arg(QString::fromStdString(built.title));
    const QString banks = QStringLiteral("Die Bank-Tabelle bei ") +
                          QString::fromStdString(quillon::hexOffset(built.bankTable - 0x18)) +
                          QStringLiteral(" enthält keine Map-Tabellen") + profile;
    QVERIFY2(box.contains(banks), qPrintable(box));
    QVERIFY2(box.contains(QStringLiteral("Die Tabelle der wilden Pokemon bei $")), qPrintable(box));
    auto* tree = child<QTreeWidget>(*window, "MapList");
    QCOMPARE(tree->topLevelItem(0)->childCount(), 0);
    // The table search is offered for such a ROM too (the user says no here).
    QCOMPARE(dialogs->confirms.size(), 1);
    QVERIFY2(dialogs->confirms[0].contains(QStringLiteral("passen nicht zum Profil")),
             qPrintable(dialogs->confirms[0]));
}

void MainWindowTest::doubleClickOpensMapsButNotBanks() {
    Opened o;
    doubleClickLine(o.tree(), findLine(o.tree(), QStringLiteral("0")));
    QCOMPARE(o.window->statusText(0), QStringLiteral("Rom Geladen! Map auswählen."));
    o.openByLine("TESTHAUS (0.0)");
    QCOMPARE(o.window->statusText(0), kLoaded + QStringLiteral("0.0"));
    QCOMPARE(o.window->windowTitle(), QStringLiteral("Quillon - TESTHAUS (0.0)"));
    QVERIFY(child(*o.window, "PageControl1")->isEnabled());
    QVERIFY(o.window->menu().Grid1->isEnabled());

    const QImage map = child<PictureView>(*o.window, "MapBox")->image();
    QCOMPARE(map.size(), QSize(3 * 16, 2 * 16));
    QCOMPARE(map.pixel(4, 4), quillon::testing::kRed);
    QCOMPARE(map.pixel(16 + 4, 4), quillon::testing::kGreen);
    QCOMPARE(map.pixel(4, 16 + 4), quillon::testing::kGreen);
    QCOMPARE(child(*o.window, "MapBox")->size(), QSize(48, 32));
    QCOMPARE(child<PictureView>(*o.window, "BlockPalette")->image().width(), 8 * 16);
}

void MainWindowTest::enterOpensTheCurrentMapLine() {
    Opened o;
    QTreeWidget* tree = o.tree();
    tree->setCurrentItem(findLine(tree, QStringLiteral("0")));
    QTest::keyClick(tree, Qt::Key_Return);
    QCOMPARE(o.window->statusText(0), QStringLiteral("Rom Geladen! Map auswählen."));
    tree->setCurrentItem(findLine(tree, QStringLiteral("ZWEITE (0.1)")));
    QTest::keyClick(tree, Qt::Key_Enter);
    QCOMPARE(o.window->statusText(0), kLoaded + QStringLiteral("0.1"));
    QCOMPARE(child<PictureView>(*o.window, "MapBox")->image().size(), QSize(32, 32));
}

void MainWindowTest::hoverShowsCellDescriptions() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    hover(child(*o.window, "MapBox"), QPoint(16 + 5, 3));
    QCOMPARE(o.window->statusText(0), QStringLiteral("X: 1 Y: 0 Block: 0C01"));

    const auto& tilesets = o.window->session().romState().tilesets();
    const qint64 record = tilesets.blockTableOffset(1) + 9 * 16;
    hover(child(*o.window, "BlockPalette"), QPoint(16 + 2, 16 + 2));
    QCOMPARE(o.window->statusText(0),
             QStringLiteral("Block: 09 Offset: ") + QString::number(record, 16).toUpper());

    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(1);
    QCOMPARE(child<PictureView>(*o.window, "GehBox")->image().size(), QSize(48, 32));
    hover(child(*o.window, "GehBox"), QPoint(16 + 5, 3));
    QCOMPARE(o.window->statusText(0), QStringLiteral("X: 1 Y: 0 Block: Wasser"));
    hover(child(*o.window, "GehBox"), QPoint(3 * 16 + 2, 3));  // beyond the edge: unchanged
    QCOMPARE(o.window->statusText(0), QStringLiteral("X: 1 Y: 0 Block: Wasser"));
    hover(child(*o.window, "GehPalette"), QPoint(3, 3 * 16 + 1));
    QCOMPARE(o.window->statusText(0), QStringLiteral("GehBlock: Wasser"));
}

void MainWindowTest::mapOeffnenChecksTheTypedIdentifier() {
    Opened o;
    o.dialogs->inputAnswers = {QStringLiteral("abc"), QStringLiteral("3"), QStringLiteral("0.1")};
    o.window->menu().Mapffnen1->trigger();
    QCOMPARE(o.dialogs->inputsAsked[0].caption, QStringLiteral("Map öffnen"));
    QCOMPARE(o.dialogs->inputsAsked[0].preset, QStringLiteral("0.0"));
    QCOMPARE(o.dialogs->inputsAsked[0].prompt,
             QStringLiteral("Bitte geben sie die zu öffnende Map an. Und zwar im Format "
                            "\"<Bank>.<Map>\""));
    o.window->menu().Mapffnen1->trigger();
    QCOMPARE(o.dialogs->informs, QStringList({QStringLiteral("Info|Ungültige Eingabe"),
                                              QStringLiteral("Info|Ungültige Eingabe")}));
    QCOMPARE(o.window->statusText(0), QStringLiteral("Rom Geladen! Map auswählen."));
    QCOMPARE(o.window->windowTitle(), QStringLiteral("Quillon"));

    o.window->menu().Mapffnen1->trigger();
    QCOMPARE(o.window->statusText(0), kLoaded + QStringLiteral("0.1"));
    // The caption and the list name the map as the list does, however it was opened.
    QCOMPARE(o.window->windowTitle(), QStringLiteral("Quillon - ZWEITE (0.1)"));
    QCOMPARE(o.tree()->currentItem()->text(0), QStringLiteral("ZWEITE (0.1)"));
    o.window->menu().Mapffnen1->trigger();  // cancelled: nothing happens
    QCOMPARE(o.window->statusText(0), kLoaded + QStringLiteral("0.1"));
    QVERIFY(o.dialogs->errors.isEmpty());

    // A map the bank table does not list is refused, typed or given on the command line; the
    // map shown stays.
    o.dialogs->inputAnswers = {QStringLiteral("3.0")};
    o.window->menu().Mapffnen1->trigger();
    QVERIFY(!o.window->openMap(QStringLiteral("0.7"), QStringLiteral("0.7")));
    QCOMPARE(o.dialogs->errors,
             QStringList({QStringLiteral("Bank 3 gibt es nicht (das Rom hat 2 Banken)."),
                          QStringLiteral("Map 0.7 gibt es nicht (Bank 0 hat 2 Maps).")}));
    QCOMPARE(o.window->statusText(0), kLoaded + QStringLiteral("0.1"));
    QCOMPARE(o.window->session().mapState().map().identifier, std::string("0.1"));
}

void MainWindowTest::romDialogsStartAtTheOpenRomAndMapOeffnenNeedsOne() {
    TestProgram program;
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    const MainMenu& menu = window->menu();
    const QString broken = QString::fromStdString((program.folder() / "broken.gba").string());
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a rom");
    file.close();

    QVERIFY(!menu.Mapffnen1->isEnabled());
    dialogs->openFileAnswer = broken;  // refused: still no ROM to open maps in
    menu.Laden1->trigger();
    QCOMPARE(dialogs->errors.size(), 1);
    QVERIFY(!menu.Mapffnen1->isEnabled());
    dialogs->openFileAnswer = program.romPath();
    menu.Laden1->trigger();
    QVERIFY(menu.Mapffnen1->isEnabled());
    dialogs->openFileAnswer = broken;  // refused, but the ROM before stays open
    menu.Laden1->trigger();
    QCOMPARE(dialogs->errors.size(), 2);
    QVERIFY(menu.Mapffnen1->isEnabled());

    dialogs->inputAnswers = {QStringLiteral("0.0")};
    menu.Mapffnen1->trigger();
    dialogs->saveFileAnswer.clear();
    menu.SaveAs1->trigger();
    // Nothing open yet: the dialog chooses; afterwards both start at the ROM's own file.
    QCOMPARE(dialogs->startsAsked,
             QStringList({QString(), QString(), program.romPath(), program.romPath()}));
}

// Whatever a slot's core call throws ends in the error box; the signal's sender goes on.
void MainWindowTest::failingSlotShowsTheErrorAndReturns() {
    FakeDialogs dialogs;
    QWidget parent;
    QAction action;
    int runs = 0;
    QObject::connect(&action, &QAction::triggered, &parent,
                     quillon::ui::commandSlot(&parent, dialogs, [&] {
                         ++runs;
                         throw quillon::RomIoError("Lesen über das Dateiende hinaus");
                     }));
    action.trigger();
    action.trigger();
    QCOMPARE(runs, 2);
    QCOMPARE(dialogs.errors, QStringList(2, QStringLiteral("Lesen über das Dateiende hinaus")));
}

void MainWindowTest::failedMapOpenKeepsThePreviousMap() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    o.window->openMap(QStringLiteral("7.0"), QStringLiteral("Map öffnen (7.0)"));
    QCOMPARE(o.dialogs->errors.size(), 1);
    QCOMPARE(o.window->statusText(0), kLoaded + QStringLiteral("0.0"));
    QCOMPARE(o.window->windowTitle(), QStringLiteral("Quillon - TESTHAUS (0.0)"));
    QCOMPARE(child<PictureView>(*o.window, "MapBox")->image().size(), QSize(48, 32));
}

void MainWindowTest::headerTabShowsTheMapAttributes() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    MainWindow& w = *o.window;
    QCOMPARE(child<QComboBox>(w, "Cbo_Name")->currentText(), QStringLiteral("TESTHAUS"));
    QCOMPARE(child<QLineEdit>(w, "Txt_NeuerName")->text(), QStringLiteral("TESTHAUS"));
    QCOMPARE(child<QLineEdit>(w, "Txt_Musik")->text(), QStringLiteral("012C"));
    QCOMPARE(child<QComboBox>(w, "Cbo_Wetter")->currentText(), QStringLiteral("Regen"));
    QCOMPARE(child<QComboBox>(w, "Cbo_Wetter")->itemText(5), QStringLiteral("05 ???"));
    // "Cbo_Typ" is also the kind box of the wild encounters: the header's lives in its box.
    QWidget& box = *child(w, "ScrollBox8");
    QCOMPARE(child<QComboBox>(box, "Cbo_Typ")->currentText(), QStringLiteral("Stadt"));
    QVERIFY(child<QCheckBox>(w, "Chk_ZeigeName")->isChecked());
    QCOMPARE(child<QLineEdit>(w, "Txt_HeaderTile1")->text(), QStringLiteral("0"));
    QCOMPARE(child<QLineEdit>(w, "Txt_HeaderTile2")->text(), QStringLiteral("1"));
    QCOMPARE(child<QLineEdit>(w, "Txt_MapBreite")->text(), QStringLiteral("3"));
    QCOMPARE(child<QLineEdit>(w, "Txt_MapHoehe")->text(), QStringLiteral("2"));
    QCOMPARE(quillon::ui::tagOf(child(w, "Cmd_Resize")), 932);
    QCOMPARE(quillon::ui::tagOf(child(w, "Lbl_MapHoehe")), 931);
    for (const char* writer : {"Cbo_Name", "Chk_ZeigeName", "Cmd_NameAendern", "Txt_Musik",
                               "Cbo_Wetter", "Cbo_Typ", "Cmd_Aendern"}) {
        QVERIFY2(child(box, writer)->isEnabled(), writer);
    }
    QVERIFY(!child(w, "Cbo_Musik")->isEnabled());
    child<QTabWidget>(w, "PageControl1")->setCurrentIndex(4);
    QVERIFY(child(w, "ScrollBox8")->isVisibleTo(&w));
    QVERIFY(!child(w, "Lbl_KeinHeader")->isVisibleTo(&w));

    o.openByLine("ZWEITE (0.1)");
    QCOMPARE(child<QLineEdit>(w, "Txt_Musik")->text(), QStringLiteral("0000"));
    QVERIFY(!child<QCheckBox>(w, "Chk_ZeigeName")->isChecked());
    QCOMPARE(child<QLineEdit>(w, "Txt_MapBreite")->text(), QStringLiteral("2"));
}

void MainWindowTest::mapWithoutHeaderHidesTheAttributeBox() {
    Opened o;
    o.openByLine("Extra (Extra)");
    QCOMPARE(o.window->statusText(0), kLoaded + QStringLiteral("Extra"));
    auto* tabs = child<QTabWidget>(*o.window, "PageControl1");
    tabs->setCurrentIndex(4);
    QVERIFY(!child(*o.window, "ScrollBox8")->isVisibleTo(o.window.get()));
    auto* notice = child<QLabel>(*o.window, "Lbl_KeinHeader");
    QVERIFY(notice->isVisibleTo(o.window.get()));
    QCOMPARE(notice->text(),
             QStringLiteral("Sorry für die aktuelle Map kann kein Header angezeigt werden."));
    QCOMPARE(child<PictureView>(*o.window, "MapBox")->image().size(), QSize(32, 32));
}

QUILLON_UI_TEST(MainWindowTest)
#include "main_window_test.moc"
