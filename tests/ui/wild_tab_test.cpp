#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <map>

#include "tests/ui/rom_bytes.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/history_form.h"

using quillon::testing::child;
using quillon::testing::chooseLanguage;
using quillon::testing::Opened;
using quillon::testing::romFile;
using quillon::testing::typeInto;

namespace {

// The map's page "WildePokemon" and its frame.
QWidget& wildPage(Opened& o, const char* line) {
    o.openByLine(line);
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(3);
    return *child(*o.window, "TFrame_WildePokemon");
}

template <class W = QWidget>
W* row(QWidget& frame, const char* prefix, int n) {
    return child<W>(frame, qPrintable(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n)));
}

int shownRows(QWidget& frame) {
    int shown = 0;
    for (int n = 1; n <= 12; ++n) {
        shown += row(frame, "Cbo_Pokemon", n)->isVisibleTo(&frame) ? 1 : 0;
    }
    return shown;
}

}  // namespace

class WildTabTest : public QObject {
    Q_OBJECT

private slots:
    void eachKindShowsItsRowsFromTheRom();
    void saveWritesRateAndSlotsAndCanBeUndone();
    void refusedLevelsWriteNothing();
    void speciesBeyondTheListIsKept();
    void mapsWithoutDataShowTheNotice();
    void gameWithoutTableNeverShowsTheFrame();
    void textsFollowTheLanguage();
    void aboutBoxAndReadme();
};

void WildTabTest::eachKindShowsItsRowsFromTheRom() {
    Opened o;
    QWidget& frame = wildPage(o, "TESTHAUS (0.0)");
    QVERIFY(frame.isVisibleTo(o.window.get()));
    QVERIFY(!child(*o.window, "Lbl_KeineWildePokemon")->isVisibleTo(o.window.get()));
    auto* kind = child<QComboBox>(frame, "Cbo_Typ");
    auto* rate = child<QLineEdit>(frame, "Txt_Heufigkeit");
    QCOMPARE(kind->currentText(), QStringLiteral("Grass"));
    QCOMPARE(rate->text(), QStringLiteral("20"));
    QCOMPARE(shownRows(frame), 12);
    QCOMPARE(row<QLineEdit>(frame, "Txt_Level2P", 12)->text(), QStringLiteral("14"));
    QCOMPARE(row<QComboBox>(frame, "Cbo_Pokemon", 3)->currentText(), QStringLiteral("MON3"));

    // Edits of a kind go only when the user agrees; then the other kind is read from the ROM.
    typeInto(row<QLineEdit>(frame, "Txt_Level1P", 1), QStringLiteral("77"));
    kind->setCurrentIndex(1);  // refused: back on Grass, the edit kept
    QCOMPARE(o.dialogs->confirms.size(), 1);
    QVERIFY(o.dialogs->confirms[0].endsWith(QStringLiteral("Verwerfen?")));
    QCOMPARE(kind->currentIndex(), 0);
    QCOMPARE(row<QLineEdit>(frame, "Txt_Level1P", 1)->text(), QStringLiteral("77"));
    o.dialogs->confirmAnswer = true;
    kind->setCurrentIndex(1);  // Wasser: none in this map, and the tab says so
    QCOMPARE(o.dialogs->confirms.size(), 2);
    QCOMPARE(shownRows(frame), 0);
    QVERIFY(!rate->isEnabled());
    QVERIFY(!child(frame, "Cmd_Speichern")->isEnabled());
    QCOMPARE(child<QLabel>(frame, "Lbl_Meldung")->text(),
             QStringLiteral("Diese Map hat für diese Art keine Daten."));
    QCOMPARE(kind->itemText(2), QStringLiteral("Zertrümmerer (Felsen)"));
    kind->setCurrentIndex(3);  // Angel: ten rows, the rods named
    QCOMPARE(shownRows(frame), 10);
    QCOMPARE(rate->text(), QStringLiteral("30"));
    QCOMPARE(row<QLabel>(frame, "Lbl_Poke", 3)->text(), QStringLiteral("Profiangel 1:"));
    QCOMPARE(row<QComboBox>(frame, "Cbo_Pokemon", 10)->currentText(), QStringLiteral("MON30"));
    kind->setCurrentIndex(0);
    QCOMPARE(row<QLineEdit>(frame, "Txt_Level1P", 1)->text(), QStringLiteral("1"));
    QCOMPARE(o.dialogs->confirms.size(), 2);  // nothing changed since: no question
    QVERIFY(o.dialogs->errors.isEmpty());

    // 1.0 has water encounters only: the tab opens on them, not on an empty Grass page.
    QWidget& water = wildPage(o, "EVENTS (1.0)");
    QCOMPARE(child<QComboBox>(water, "Cbo_Typ")->currentIndex(), 1);
    QCOMPARE(child<QLineEdit>(water, "Txt_Heufigkeit")->text(), QStringLiteral("4"));
}

void WildTabTest::saveWritesRateAndSlotsAndCanBeUndone() {
    Opened o;
    const QByteArray before = romFile(o);
    QWidget& frame = wildPage(o, "TESTHAUS (0.0)");
    child<QComboBox>(frame, "Cbo_Typ")->setCurrentIndex(3);
    const auto& built = o.program.rom().wild.at({0, 0});
    typeInto(child<QLineEdit>(frame, "Txt_Heufigkeit"), QStringLiteral("$14"));
    typeInto(row<QLineEdit>(frame, "Txt_Level2P", 10), QStringLiteral("40"));
    row<QComboBox>(frame, "Cbo_Pokemon", 10)->setCurrentIndex(2);
    QTest::mouseClick(child<QPushButton>(frame, "Cmd_Speichern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());

    QByteArray expected = before;
    expected[built.records[3]] = 0x14;
    const qsizetype last = built.slotArrays[3] + 4 * 9;
    expected[last + 1] = 40;
    expected[last + 2] = 2;
    QVERIFY(romFile(o) == expected);
    QCOMPARE(row<QComboBox>(frame, "Cbo_Pokemon", 10)->currentText(), QStringLiteral("MON2"));

    // The history lists the command; undoing it reads the frame again from the ROM.
    o.window->menu().Verlauf1->trigger();
    auto* list = child<QTreeWidget>(*o.window->historyForm(), "Lst_Verlauf");
    QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("WildePokemon speichern 0.0"));
    list->setCurrentItem(list->topLevelItem(0));
    QTest::mouseClick(child<QPushButton>(*o.window->historyForm(), "Btn_RueckgaengigBisHier"),
                      Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QVERIFY(romFile(o) == before);
    QWidget& again = *child(*o.window, "TFrame_WildePokemon");
    QCOMPARE(child<QComboBox>(again, "Cbo_Typ")->currentIndex(), 0);
    child<QComboBox>(again, "Cbo_Typ")->setCurrentIndex(3);
    QCOMPARE(child<QLineEdit>(again, "Txt_Heufigkeit")->text(), QStringLiteral("30"));
    QCOMPARE(row<QLineEdit>(again, "Txt_Level2P", 10)->text(), QStringLiteral("12"));
}

void WildTabTest::refusedLevelsWriteNothing() {
    Opened o;
    const QByteArray before = romFile(o);
    QWidget& frame = wildPage(o, "TESTHAUS (0.0)");
    auto* save = child<QPushButton>(frame, "Cmd_Speichern");
    typeInto(row<QLineEdit>(frame, "Txt_Level1P", 2), QStringLiteral("300"));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(o.dialogs->errors.size(), 1);
    QVERIFY2(o.dialogs->errors[0].contains(QStringLiteral("Pokemon2 Min Level")),
             qPrintable(o.dialogs->errors[0]));

    // An unusual level is asked about; "no" writes nothing, "yes" writes it.
    typeInto(row<QLineEdit>(frame, "Txt_Level1P", 2), QStringLiteral("9"));  // above max 4
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(o.dialogs->confirms.size(), 1);
    QVERIFY(o.dialogs->confirms[0].contains(QStringLiteral("Pokemon2: 9 - 4")));
    QVERIFY(romFile(o) == before);
    // The question speaks the chosen language.
    chooseLanguage(*o.window, "English");
    typeInto(row<QLineEdit>(frame, "Txt_Level1P", 2), QStringLiteral("9"));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(o.dialogs->confirms.size(), 2);
    QVERIFY2(o.dialogs->confirms[1].contains(
                 QStringLiteral("slot 2: 9 - 4 (minimum level above maximum level)")),
             qPrintable(o.dialogs->confirms[1]));
    QVERIFY(romFile(o) == before);
    o.dialogs->confirmAnswer = true;
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(o.dialogs->errors.size(), 1);
    QByteArray expected = before;
    expected[o.program.rom().wild.at({0, 0}).slotArrays[0] + 4] = 9;
    QVERIFY(romFile(o) == expected);
}

// Species 500 (no name) shows no entry; saving another field writes it back unchanged.
void WildTabTest::speciesBeyondTheListIsKept() {
    Opened o;
    const std::uint32_t slot = o.program.rom().wild.at({0, 0}).slotArrays[0];
    {
        QFile file(o.program.romPath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(slot + 2);
        file.write(QByteArray::fromHex("f401"));
    }
    o.window->menu().NeuLaden1->trigger();
    const QByteArray before = romFile(o);
    QWidget& frame = wildPage(o, "TESTHAUS (0.0)");
    QCOMPARE(row<QComboBox>(frame, "Cbo_Pokemon", 1)->currentIndex(), -1);
    typeInto(row<QLineEdit>(frame, "Txt_Level2P", 1), QStringLiteral("5"));
    QTest::mouseClick(child<QPushButton>(frame, "Cmd_Speichern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QByteArray expected = before;
    expected[slot + 1] = 5;
    QVERIFY(romFile(o) == expected);
    QCOMPARE(row<QComboBox>(frame, "Cbo_Pokemon", 1)->currentIndex(), -1);
}

void WildTabTest::mapsWithoutDataShowTheNotice() {
    Opened o;
    QWidget& frame = wildPage(o, "ZWEITE (0.1)");
    auto* notice = child<QLabel>(*o.window, "Lbl_KeineWildePokemon");
    QVERIFY(!frame.isVisibleTo(o.window.get()));
    QVERIFY(notice->isVisibleTo(o.window.get()));
    o.openByLine("TESTHAUS (0.0)");
    QVERIFY(frame.isVisibleTo(o.window.get()));
}

// A game without a wild table in its profile never shows the frame.
void WildTabTest::gameWithoutTableNeverShowsTheFrame() {
    quillon::testing::TestProgram program;
    const std::filesystem::path iniPath = program.folder() / "Ini" / "Quillon.ini";
    std::string ini = program.readIni("Quillon.ini");
    const std::size_t at = ini.find("WildePokemon=");
    QVERIFY(at != std::string::npos);
    ini.replace(at, ini.find('\n', at) - at, "WildePokemon=0");
    QFile file(QString::fromStdString(iniPath.string()));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(ini.c_str());
    file.close();
    quillon::testing::FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    window->show();
    dialogs->openFileAnswer = program.romPath();
    window->menu().Laden1->trigger();
    window->openMap(QStringLiteral("0.0"), QStringLiteral("0.0"));
    QVERIFY(!child(*window, "TFrame_WildePokemon")->isVisibleTo(window.get()));
    QCOMPARE(child<QLabel>(*window, "Lbl_KeineWildePokemon")->text(),
             QStringLiteral("Sorry, für diese Version des Spiel wurden keine "
                            "WildePokemonDaten gefunden."));
    QVERIFY(dialogs->errors.isEmpty());
}

// The kinds, the column label and the rods' rows take their texts from the language table;
// the kind shown and its rows stay.
void WildTabTest::textsFollowTheLanguage() {
    Opened o;
    QWidget& frame = wildPage(o, "TESTHAUS (0.0)");
    auto* kind = child<QComboBox>(frame, "Cbo_Typ");
    kind->setCurrentIndex(3);
    QCOMPARE(row<QLabel>(frame, "Lbl_Poke", 2)->text(), QStringLiteral("Angel 2:"));
    chooseLanguage(*o.window, "English");
    QStringList kinds;
    for (int i = 0; i < kind->count(); ++i) {
        kinds << kind->itemText(i);
    }
    QCOMPARE(kinds, (QStringList{QStringLiteral("Grass"), QStringLiteral("Water"),
                                 QStringLiteral("Rock Smash"), QStringLiteral("Fishing")}));
    QCOMPARE(kind->currentIndex(), 3);
    QCOMPARE(shownRows(frame), 10);
    QCOMPARE(row<QLabel>(frame, "Lbl_Poke", 2)->text(), QStringLiteral("Old Rod 2:"));
    QVERIFY(o.dialogs->errors.isEmpty());
    // The question about unusual levels names the row and the reason in the same language.
    typeInto(row<QLineEdit>(frame, "Txt_Level1P", 2), QStringLiteral("9"));
    QTest::mouseClick(child<QPushButton>(frame, "Cmd_Speichern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->confirms.size(), 1);
    QVERIFY2(o.dialogs->confirms[0].contains(
                 QStringLiteral("slot 2: 9 - 4 (minimum level above maximum level)")),
             qPrintable(o.dialogs->confirms[0]));
}

void WildTabTest::aboutBoxAndReadme() {
    Opened o;
    o.window->menu().Info1->trigger();
    QCOMPARE(o.dialogs->abouts.size(), 1);
    QVERIFY(o.dialogs->abouts[0].contains(QStringLiteral("Version " QUILLON_VERSION)));

    // Without a read-me file, in English: the message and the about box speak it.
    chooseLanguage(*o.window, "English");
    o.window->menu().Readme1->trigger();
    QVERIFY2(o.dialogs->informs.last().contains(QStringLiteral("No read-me file found in")),
             qPrintable(o.dialogs->informs.last()));
    o.window->menu().Info1->trigger();
    QVERIFY(o.dialogs->abouts.last().contains(QStringLiteral("Licence: MIT")));

    const QString readme = QString::fromStdString((o.program.folder() / "README.md").string());
    QFile file(readme);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    o.window->menu().Readme1->trigger();
    QVERIFY(child(*o.window, "ReadmeForm")->isVisible());
}

QUILLON_UI_TEST(WildTabTest)
#include "wild_tab_test.moc"
