#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>

#include "core/writers/map_attributes.h"
#include "core/session/session.h"
#include "tests/rom/watched_files.h"
#include "tests/session/history_fixture.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/rom_bytes.h"
#include "tests/ui/window_fixture.h"
#include "ui/history_form.h"

using quillon::testing::child;
using quillon::testing::chooseLanguage;
using quillon::testing::Crash;
using quillon::testing::CrashingFile;
using quillon::testing::FakeDialogs;
using quillon::testing::Opened;
using quillon::testing::romFile;
using quillon::ui::MainWindow;

namespace {

constexpr int kWeather = 22;  // header byte of the weather

void writeRomByte(const Opened& o, std::uint32_t offset, char value) {
    QFile file(o.program.romPath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    QCOMPARE(file.write(&value, 1), qint64(1));
}

std::uint32_t weatherOffset(const Opened& o) {
    return o.program.rom().maps.at({0, 0}).header + kWeather;
}

// Map 0.0 on the header page, its weather set to 5 through the combo box.
void writeWeather(Opened& o) {
    o.openByLine("TESTHAUS (0.0)");
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(4);
    child<QComboBox>(*o.window, "Cbo_Wetter")->setCurrentIndex(5);
    QVERIFY(o.dialogs->errors.isEmpty());
}

struct Verlauf {
    QTreeWidget* list;
    QPushButton* undo;
    QPushButton* redo;
};

Verlauf openVerlauf(Opened& o) {
    o.window->menu().Verlauf1->trigger();
    QWidget& form = *o.window->historyForm();
    return {child<QTreeWidget>(form, "Lst_Verlauf"),
            child<QPushButton>(form, "Btn_RueckgaengigBisHier"),
            child<QPushButton>(form, "Btn_Wiederherstellen")};
}

QStringList names(const QTreeWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        lines << list->topLevelItem(i)->text(1);
    }
    return lines;
}

// Map 0.0's weather set to 5 by a run that dies right after the history took the command: the
// history holds it without its commit mark, the ROM has none of it.
void interruptWeatherWrite(const quillon::testing::TestProgram& program) {
    const std::filesystem::path rom = program.romPath().toStdString();
    Crash crash{2};  // the history's header and the record go through; the ROM's byte does not
    quillon::Session s(program.folder());
    s.openRom(std::make_unique<CrashingFile>(rom, crash), rom.string(),
              quillon::testing::historyOf(rom));
    s.rom().history().setWriteHook([&crash] { crash.step(); });
    s.openMap("0.0", "0.0");
    QVERIFY_THROWS_EXCEPTION(
        quillon::RomIoError,
        quillon::map_attributes::writeByte(s.rom(), s.mapState(), quillon::HeaderByte::Weather, 5));
}

}  // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void interruptedCommandIsSettledByTheUser_data();
    void interruptedCommandIsSettledByTheUser();
    void historyOfAnotherRomIsToldAndSetAside();
    void aNoticeOfACommandIsShownOnceAfterIt();
    void keepHistoryIsASettingItem();
    void undoAndRedoAHeaderWriteFromTheList();
    void undoAfterAnOutsideChangeIsRefused();
    void undoTouchingTheOpenMapOpensItAgain_data();
    void undoTouchingTheOpenMapOpensItAgain();
    void redoTouchingTheOpenMapDropsChangesOrWaits();
    void namesFollowTheLanguage();
};

void HistoryWindowTest::interruptedCommandIsSettledByTheUser_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Vollenden") << 0;
    QTest::newRow("Zurücknehmen") << 1;
}

void HistoryWindowTest::interruptedCommandIsSettledByTheUser() {
    QFETCH(int, answer);
    quillon::testing::TestProgram program;
    QFile file(program.romPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    interruptWeatherWrite(program);
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    dialogs->chooseAnswers.push_back(answer);
    window->openRomFile(program.romPath());

    QCOMPARE(dialogs->choices.size(), 1);
    const QStringList asked = dialogs->choices.first().split(QLatin1Char('|'));
    QVERIFY2(asked.value(1).contains(QStringLiteral("\"Wetter ändern 0.0\"")),
             qPrintable(asked.value(1)));
    QCOMPARE(asked.value(2), QStringLiteral("Vollenden/Zurücknehmen"));
    QCOMPARE(dialogs->errors, QStringList());
    QByteArray expected = before;
    if (answer == 0) {
        expected[program.rom().maps.at({0, 0}).header + kWeather] = 5;
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == expected);
    file.close();
    QVERIFY(window->session().romState().loaded());
    window->menu().NeuLaden1->trigger();  // settled for good: no second question
    QCOMPARE(dialogs->choices.size(), 1);
}

void HistoryWindowTest::historyOfAnotherRomIsToldAndSetAside() {
    quillon::testing::TestProgram program;
    const QString history = program.romPath() + QStringLiteral(".quillon-history");
    QFile foreign(history);
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write(QByteArray(300, '\x5A'));
    foreign.close();
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    window->openRomFile(program.romPath());
    QVERIFY(window->session().romState().loaded());
    QCOMPARE(dialogs->choices, QStringList());
    QCOMPARE(dialogs->informs.size(), 1);
    QVERIFY2(dialogs->informs.first().contains(QStringLiteral("gehört nicht zu diesem Rom")),
             qPrintable(dialogs->informs.first()));
    QVERIFY(!QFile::exists(history));  // set aside, never applied
}

// A command that reached the ROM but could not trim its history afterwards: the user is told
// once, right after the command, and the command stays done.
void HistoryWindowTest::aNoticeOfACommandIsShownOnceAfterIt() {
    quillon::testing::TestProgram program;
    FakeDialogs* dialogs = nullptr;
    auto window = program.window(&dialogs);
    quillon::testing::Steps steps;
    steps.failing = "history replace";
    auto& history = window->session().rom().history();
    history.setFileMaker(quillon::testing::watchedHistory(steps));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    dialogs->openFileAnswer = program.romPath();
    window->menu().Laden1->trigger();
    QVERIFY(window->session().romState().loaded());
    QVERIFY(history.onDisk());
    history.setBounds({1 << 20, 1});
    QTreeWidget* tree = child<QTreeWidget>(*window, "MapList");
    QTreeWidgetItem* line = quillon::testing::findLine(tree, QStringLiteral("TESTHAUS (0.0)"));
    QVERIFY(line != nullptr);
    quillon::testing::doubleClickLine(tree, line);
    child<QTabWidget>(*window, "PageControl1")->setCurrentIndex(4);
    child<QComboBox>(*window, "Cbo_Wetter")->setCurrentIndex(5);
    QVERIFY2(dialogs->errors.isEmpty(), qPrintable(dialogs->errors.join('\n')));
    QCOMPARE(dialogs->informs.size(), 0);
    child<QComboBox>(*window, "Cbo_Wetter")->setCurrentIndex(6);
    QVERIFY2(dialogs->errors.isEmpty(), qPrintable(dialogs->errors.join('\n')));
    QVERIFY(steps.seen > 0);  // the trim was tried and failed
    QCOMPARE(dialogs->informs.size(), 1);
    QVERIFY2(dialogs->informs.first().contains(QStringLiteral("gekürzt")),
             qPrintable(dialogs->informs.first()));
    child<QComboBox>(*window, "Cbo_Wetter")->setCurrentIndex(7);
    QCOMPARE(dialogs->informs.size(), 1);
    QCOMPARE(window->session().mapState().map().header.weather(), 7);
}

void HistoryWindowTest::keepHistoryIsASettingItem() {
    Opened o;
    QAction* item = o.window->menu().VerlaufSpeichern1;
    QVERIFY(item->isChecked());  // on unless the user turned it off
    item->trigger();
    QVERIFY(o.window->session().settings().flag(quillon::Settings::Flag::KeepHistory) == false);
    QVERIFY(o.program.readIni("Quillon.ini").find("VerlaufSpeichern=0") != std::string::npos);
    FakeDialogs* dialogs = nullptr;
    QVERIFY(!o.program.window(&dialogs)->menu().VerlaufSpeichern1->isChecked());
    item->trigger();
    QVERIFY(o.program.readIni("Quillon.ini").find("VerlaufSpeichern=1") != std::string::npos);
}

void HistoryWindowTest::undoAndRedoAHeaderWriteFromTheList() {
    Opened o;
    const QByteArray before = romFile(o);
    writeWeather(o);
    const QByteArray written = romFile(o);
    QVERIFY(written != before);
    const Verlauf v = openVerlauf(o);
    QVERIFY(o.window->historyForm()->isVisible());
    QCOMPARE(o.window->historyForm()->windowTitle(), QStringLiteral("Verlauf"));
    QCOMPARE(names(v.list).value(0), QStringLiteral("Wetter ändern 0.0"));
    static const QRegularExpression time(
        QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$"));
    QVERIFY(time.match(v.list->topLevelItem(0)->text(0)).hasMatch());
    QCOMPARE(v.list->topLevelItem(0)->text(2), QStringLiteral("1"));
    QVERIFY(!v.undo->isEnabled());  // nothing chosen yet
    QVERIFY(!v.redo->isEnabled());

    v.list->setCurrentItem(v.list->topLevelItem(0));
    QVERIFY(v.undo->isEnabled());
    QTest::mouseClick(v.undo, Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QVERIFY(romFile(o) == before);
    QCOMPARE(names(v.list).value(0), QStringLiteral("Rückgängig: Wetter ändern 0.0"));
    QCOMPARE(child<QComboBox>(*o.window, "Cbo_Wetter")->currentIndex(), 2);  // read again
    QVERIFY(v.redo->isEnabled());

    QTest::mouseClick(v.redo, Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QVERIFY(romFile(o) == written);
    QCOMPARE(child<QComboBox>(*o.window, "Cbo_Wetter")->currentIndex(), 5);
    QVERIFY(!v.redo->isEnabled());
}

void HistoryWindowTest::undoAfterAnOutsideChangeIsRefused() {
    Opened o;
    writeWeather(o);
    writeRomByte(o, weatherOffset(o), 7);  // another program changed the byte since
    const QByteArray changed = romFile(o);
    const Verlauf v = openVerlauf(o);
    v.list->setCurrentItem(v.list->topLevelItem(0));
    QTest::mouseClick(v.undo, Qt::LeftButton);
    QCOMPARE(o.dialogs->errors.size(), 1);
    const QString offset = QStringLiteral("$%1").arg(weatherOffset(o), 6, 16, QLatin1Char('0'));
    QVERIFY2(o.dialogs->errors.first().contains(offset, Qt::CaseInsensitive),
             qPrintable(o.dialogs->errors.first()));
    QVERIFY(romFile(o) == changed);
    QCOMPARE(names(v.list).value(0), QStringLiteral("Wetter ändern 0.0"));
}

void HistoryWindowTest::undoTouchingTheOpenMapOpensItAgain_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Ja: saved, then undone with the rest") << 0;
    QTest::newRow("Nein: dropped") << 1;
    QTest::newRow("Abbrechen: the undo waits") << 2;
}

// Unsaved painting is settled before the undo writes anything: saved as a step of its own
// (undone with the rest, so the ROM is as before both), dropped, or the undo waits. Afterwards
// the map shown is the one in the ROM.
void HistoryWindowTest::undoTouchingTheOpenMapOpensItAgain() {
    QFETCH(int, answer);
    Opened o;
    const QByteArray before = romFile(o);
    writeWeather(o);
    const QByteArray written = romFile(o);
    MainWindow& w = *o.window;
    const Verlauf v = openVerlauf(o);
    w.session().mapState().editor().selectBlock(1);
    w.session().mapState().editor().paint(2, 0);
    QVERIFY(w.session().mapState().modified());
    o.dialogs->chooseAnswers.push_back(answer);
    v.list->setCurrentItem(v.list->topLevelItem(0));
    QTest::mouseClick(v.undo, Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QCOMPARE(o.dialogs->choices.size(), 1);
    QVERIFY(o.dialogs->choices.first().endsWith(QStringLiteral("|Ja/Nein/Abbrechen")));
    QVERIFY(o.dialogs->confirms.isEmpty());
    if (answer == 2) {
        QVERIFY(romFile(o) == written);
        QVERIFY(w.session().mapState().modified());
        QCOMPARE(names(v.list).value(0), QStringLiteral("Wetter ändern 0.0"));
        return;
    }
    QVERIFY(romFile(o) == before);
    QVERIFY(!w.session().mapState().modified());
    QVERIFY(!w.windowTitle().endsWith(QLatin1Char('*')));
    QCOMPARE(w.session().mapState().map().header.weather(), std::uint8_t{2});
    QCOMPARE(names(v.list).value(0),
             answer == 0 ? QStringLiteral("Rückgängig: Wetter ändern 0.0 (und 1 weitere)")
                         : QStringLiteral("Rückgängig: Wetter ändern 0.0"));
}

// A redo with unsaved changes of the map it changes: a save would end the list of undone
// steps, so the changes can only be dropped, or the redo waits.
void HistoryWindowTest::redoTouchingTheOpenMapDropsChangesOrWaits() {
    for (const int answer : {1, 0}) {
        Opened o;
        writeWeather(o);
        const QByteArray written = romFile(o);
        MainWindow& w = *o.window;
        const Verlauf v = openVerlauf(o);
        v.list->setCurrentItem(v.list->topLevelItem(0));
        QTest::mouseClick(v.undo, Qt::LeftButton);
        const QByteArray undone = romFile(o);
        w.session().mapState().editor().selectBlock(1);
        w.session().mapState().editor().paint(2, 0);
        o.dialogs->chooseAnswers.push_back(answer);
        QTest::mouseClick(v.redo, Qt::LeftButton);
        QCOMPARE(o.dialogs->errors, QStringList());
        QCOMPARE(o.dialogs->choices.size(), 1);
        QVERIFY(o.dialogs->choices.first().endsWith(QStringLiteral("|Verwerfen/Abbrechen")));
        QVERIFY(romFile(o) == (answer == 0 ? written : undone));
        QCOMPARE(w.session().mapState().modified(), answer == 1);
    }
}

// The commands' names are shown in the chosen language: at once while the window is open, and
// when it opens again after a switch made while it was closed.
void HistoryWindowTest::namesFollowTheLanguage() {
    Opened o;
    writeWeather(o);
    Verlauf v = openVerlauf(o);
    QCOMPARE(names(v.list), QStringList{QStringLiteral("Wetter ändern 0.0")});
    v.list->setCurrentItem(v.list->topLevelItem(0));
    QTest::mouseClick(v.undo, Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    const QStringList german{QStringLiteral("Rückgängig: Wetter ändern 0.0"),
                             QStringLiteral("Wetter ändern 0.0")};
    const QStringList english{QStringLiteral("Undo: Change weather 0.0"),
                              QStringLiteral("Change weather 0.0")};
    QCOMPARE(names(v.list), german);
    chooseLanguage(*o.window, "English");
    QCOMPARE(names(v.list), english);
    QVERIFY(v.redo->isEnabled());  // the buttons follow the list filled anew
    o.window->historyForm()->close();
    chooseLanguage(*o.window, "Deutsch");
    v = openVerlauf(o);
    QCOMPARE(names(v.list), german);
}

QUILLON_UI_TEST(HistoryWindowTest)
#include "history_window_test.moc"
