#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include "core/base/numbers.h"
#include "core/session.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/rom_bytes.h"
#include "tests/ui/window_fixture.h"
#include "ui/connections/anbindungen_form.h"
#include "ui/history_form.h"

using quillon::testing::child;
using quillon::testing::Opened;
using quillon::testing::romFile;

namespace {

std::uint32_t word(const QByteArray& image, std::uint32_t at) {
    return quillon::readLe32(reinterpret_cast<const std::uint8_t*>(image.constData()) + at);
}

std::uint32_t freeStart(const Opened& o) { return (o.program.rom().freeSpace + 15) & ~15u; }

QWidget& openForm(Opened& o) {
    o.window->menu().Anbindungen1->trigger();
    QWidget* form = o.window->connectionsForm();
    if (!form->isVisible()) {
        qFatal("the window \"Anbindungen\" is not shown");
    }
    return *form;
}

void type(QLineEdit* field, const char* text) {
    field->selectAll();
    QTest::keyClicks(field, QString::fromLatin1(text));
}

// Adds connection "down, offset 0, bank 0, map <map>" to the map shown.
void addDown(QWidget& form, const char* map) {
    QTest::mouseClick(child<QPushButton>(form, "Cmd_AnbHinzufugen"), Qt::LeftButton);
    auto* spin = child<QSpinBox>(form, "Spin_AnbNr");
    spin->setValue(spin->maximum());
    child<QComboBox>(form, "Cbo_Richtung")->setCurrentIndex(1);
    type(child<QLineEdit>(form, "Txt_MapNr"), map);
}

}  // namespace

class ConnectionsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void firstConnectionIsSavedAndItsWayBackWritten();
    void cancelRemoveAndMissingNeighbour();
};

// 0.0 has no connection header: a connection down to 0.1 is added and saved (records, header,
// then the map header's complete pointer), its missing way back is marked and written into
// 0.1; the button below opens 0.1, whose window shows the way back; undoing that write in the
// history window reads the window again.
void ConnectionsWindowTest::firstConnectionIsSavedAndItsWayBackWritten() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    QWidget& form = openForm(o);
    QVERIFY(child(form, "SBox_Anbindungen")->isEnabled());
    QVERIFY(!child(form, "Cmd_Unten1")->isEnabled());
    addDown(form, "1");
    auto* down = child<QPushButton>(form, "Cmd_Unten1");
    QVERIFY(down->isEnabled());
    QCOMPARE(down->geometry(), QRect(25, 205, 180, 25));
    QVERIFY(child<QLabel>(form, "Lbl_Gegenstueck")
                ->text()
                .contains(QStringLiteral("Kein Gegenstück in 0.1")));

    const QByteArray before = romFile(o);
    const std::uint32_t at = freeStart(o);
    o.dialogs->repointAnswers.push_back(at);
    QTest::mouseClick(child<QPushButton>(form, "Cmd_AnbSpeichern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
    QCOMPARE(o.dialogs->repointsAsked[0].caption, QStringLiteral("Neuer AnbindungsOffset"));
    QCOMPARE(o.dialogs->repointsAsked[0].count, 20u);
    QCOMPARE(o.dialogs->repointsAsked[0].alignment, 4);
    QByteArray expected = before;
    const char record[] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
    expected.replace(at, 12, record, 12);
    const std::uint32_t header = o.program.rom().maps.at({0, 0}).header;
    const QByteArray saved = romFile(o);
    QCOMPARE(word(saved, at + 12), 1u);
    QCOMPARE(word(saved, at + 16), 0x08000000u | at);
    QCOMPARE(word(saved, header + 12), 0x08000000u | (at + 12));
    expected.replace(at + 12, 8, saved.mid(at + 12, 8));
    expected.replace(header + 12, 4, saved.mid(header + 12, 4));
    QVERIFY(saved == expected);

    QVERIFY(child(form, "Cmd_Gegenstueck")->isEnabled());
    o.dialogs->confirmAnswer = true;
    o.dialogs->repointAnswers = {at + 0x40, at + 0x80};
    QTest::mouseClick(child<QPushButton>(form, "Cmd_Gegenstueck"), Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QCOMPARE(o.dialogs->repointsAsked.size(), 3);
    QCOMPARE(o.dialogs->repointsAsked[2].caption, QStringLiteral("Neuer AnbindungsOffset (0.1)"));
    QCOMPARE(child<QLabel>(form, "Lbl_Gegenstueck")->text(), QString());
    QVERIFY(!child(form, "Cmd_Gegenstueck")->isEnabled());
    const QByteArray both = romFile(o);
    QCOMPARE(word(both, o.program.rom().maps.at({0, 1}).header + 12), 0x08000000u | (at + 0x8C));
    QCOMPARE(word(both, at + 0x80), 2u);  // the way back: up, offset 0, to 0.0
    QCOMPARE(word(both, at + 0x84), 0u);

    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(o.window->mapIdentifier(), QStringLiteral("0.1"));
    QVERIFY(o.window->windowTitle().contains(QStringLiteral("Unterhalb von 0.0 (0.1)")));
    QCOMPARE(child<QComboBox>(form, "Cbo_Richtung")->currentIndex(), 2);
    QVERIFY(child(form, "Cmd_Oben1")->isEnabled());

    // Undo the way back from the history window: 0.1 has no connections again.
    o.window->menu().Verlauf1->trigger();
    auto* list = child<QTreeWidget>(*o.window->historyForm(), "Lst_Verlauf");
    list->setCurrentItem(list->topLevelItem(0));
    QTest::mouseClick(child<QPushButton>(*o.window->historyForm(), "Btn_RueckgaengigBisHier"),
                      Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QVERIFY(romFile(o) == saved);
    QVERIFY(!child(form, "Cmd_Oben1")->isEnabled());
    QCOMPARE(child<QLabel>(form, "Lbl_Anzahl")->text(), QStringLiteral("0"));
}

// Cancelling the place writes nothing; removing asks first; a neighbour that does not exist
// shows "?" and does not open.
void ConnectionsWindowTest::cancelRemoveAndMissingNeighbour() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    QWidget& form = openForm(o);
    const QByteArray before = romFile(o);
    addDown(form, "1");
    addDown(form, "2");
    type(child<QLineEdit>(form, "Txt_MapBank"), "9");
    auto* second = child<QPushButton>(form, "Cmd_Unten2");
    QCOMPARE(second->text(), QStringLiteral("?"));
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(o.window->mapIdentifier(), QStringLiteral("0.0"));
    QVERIFY(o.dialogs->informs.last().endsWith(QStringLiteral("Die Map 9.2 gibt es nicht.")));

    QTest::mouseClick(child<QPushButton>(form, "Cmd_AnbSpeichern"), Qt::LeftButton);
    QVERIFY(
        o.dialogs->informs.last().endsWith(QStringLiteral("Anbindung hinzufügen abgebrochen!")));
    QVERIFY(romFile(o) == before);

    auto* remove = child<QPushButton>(form, "Cmd_AnbEntfernen");
    o.dialogs->confirmAnswer = false;
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(o.dialogs->confirms.last(),
             QStringLiteral("Frage|Wollen Sie die 2. Anbindung wirklich löschen?"));
    QCOMPARE(child<QLabel>(form, "Lbl_Anzahl")->text(), QStringLiteral("2"));
    o.dialogs->confirmAnswer = true;
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(child<QLabel>(form, "Lbl_Anzahl")->text(), QStringLiteral("1"));
    QCOMPARE(child<QSpinBox>(form, "Spin_AnbNr")->value(), 1);
    QVERIFY(!child(form, "Cmd_Unten2")->isVisible());
    QCOMPARE(child<QPushButton>(form, "Cmd_Unten1")->text(), QStringLiteral("V"));
}

QUILLON_UI_TEST(ConnectionsWindowTest)
#include "connections_window_test.moc"
