#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include "core/base/numbers.h"
#include "core/connections/neighbour_band.h"
#include "core/session/session.h"
#include "tests/ui/rom_bytes.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/connections/anbindungen_form.h"
#include "ui/history_form.h"
#include "ui/picture_view.h"

using quillon::testing::Changes;
using quillon::testing::child;
using quillon::testing::chooseLanguage;
using quillon::testing::onlyChanged;
using quillon::testing::put;
using quillon::testing::Opened;
using quillon::testing::romFile;

namespace {

std::uint32_t word(const QByteArray& image, std::uint32_t at) {
    return quillon::readLe32(reinterpret_cast<const std::uint8_t*>(image.constData()) + at);
}

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

constexpr int kBand = quillon::kNeighbourBandCells;

// The colour the map view shows inside cell (x, y) of the map (negative: the band).
QRgb shownAt(QWidget& window, int x, int y) {
    auto* view = child<quillon::ui::PictureView>(window, "MapBox");
    return view->image().pixel((x + kBand) * 16 + 5, (y + kBand) * 16 + 5);
}

}  // namespace

class ConnectionsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void firstConnectionIsSavedAndItsWayBackWritten();
    void cancelRemoveAndMissingNeighbour();
    void neighbourBandFollowsSavesAndUndo();
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
    QVERIFY(child<QLabel>(form, "Lbl_Gegenstueck")
                ->text()
                .contains(QStringLiteral("Kein Gegenstück in 0.1")));

    const QByteArray before = romFile(o);
    const std::uint32_t at = o.freeStart();
    o.dialogs->repointAnswers.push_back(at);
    QTest::mouseClick(child<QPushButton>(form, "Cmd_AnbSpeichern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
    QCOMPARE(o.dialogs->repointsAsked[0].count, 20u);
    QCOMPARE(o.dialogs->repointsAsked[0].alignment, 4);
    // Record "down, 0, map 0.1", then its header (count 1, pointer), then the map's pointer.
    Changes changes;
    put(changes, at, 1, 4);
    put(changes, at + 4, 0, 4);
    put(changes, at + 8, 0x0100, 4);
    put(changes, at + 12, 1, 4);
    put(changes, at + 16, 0x08000000u | at, 4);
    put(changes, o.program.rom().maps.at({0, 0}).header + 12, 0x08000000u | (at + 12), 4);
    const QByteArray saved = romFile(o);
    QVERIFY(onlyChanged(before, saved, changes));

    QVERIFY(child(form, "Cmd_Gegenstueck")->isEnabled());
    o.dialogs->confirmAnswer = true;
    o.dialogs->repointAnswers = {at + 0x40, at + 0x80};
    QTest::mouseClick(child<QPushButton>(form, "Cmd_Gegenstueck"), Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QCOMPARE(o.dialogs->repointsAsked.size(), 3);
    QCOMPARE(child<QLabel>(form, "Lbl_Gegenstueck")->text(), QString());
    QVERIFY(!child(form, "Cmd_Gegenstueck")->isEnabled());
    const QByteArray both = romFile(o);
    QCOMPARE(word(both, o.program.rom().maps.at({0, 1}).header + 12), 0x08000000u | (at + 0x8C));
    QCOMPARE(word(both, at + 0x80), 2u);  // the way back: up, offset 0, to 0.0
    QCOMPARE(word(both, at + 0x84), 0u);

    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(o.window->mapIdentifier(), QStringLiteral("0.1"));
    QCOMPARE(o.window->windowTitle(), QStringLiteral("Quillon - ZWEITE (0.1)"));
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
    QCOMPARE(second->toolTip(), QStringLiteral("Die Map 9.2 gibt es nicht."));
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

// With "Nachbarn anzeigen" on, the band shows a saved connection at once and loses a way back
// undone from the history window while the neighbour is open; the window's texts follow the
// language; a neighbour button asks about the modified map first.
void ConnectionsWindowTest::neighbourBandFollowsSavesAndUndo() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    o.window->menu().NachbarnAnzeigen1->trigger();
    const QRgb blank = quillon::kNeighbourBlank;
    QCOMPARE(shownAt(*o.window, 0, 2), blank);
    QWidget& form = openForm(o);
    addDown(form, "1");
    chooseLanguage(*o.window, "English");
    QCOMPARE(child<QLabel>(form, "Lbl_Gegenstueck")->text(),
             QStringLiteral("1: No way back in 0.1"));

    const std::uint32_t at = o.freeStart();
    o.dialogs->repointAnswers.push_back(at);
    QTest::mouseClick(child<QPushButton>(form, "Cmd_AnbSpeichern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QVERIFY(shownAt(*o.window, 0, 2) != blank);  // 0.1 below, without another refresh
    o.dialogs->confirmAnswer = true;
    o.dialogs->repointAnswers = {at + 0x40, at + 0x80};
    QTest::mouseClick(child<QPushButton>(form, "Cmd_Gegenstueck"), Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());

    QTest::mouseClick(child(*o.window, "MapBox"), Qt::LeftButton, {},
                      QPoint((1 + kBand) * 16 + 3, kBand * 16 + 3));  // block 0 over block 1
    QVERIFY(o.window->session().mapState().modified());
    o.dialogs->confirmAnswer = false;
    const auto asked = o.dialogs->confirms.size();
    QTest::mouseClick(child<QPushButton>(form, "Cmd_Unten1"), Qt::LeftButton);
    QCOMPARE(o.dialogs->confirms.size(), asked + 1);
    QVERIFY(o.dialogs->confirms.last().endsWith(QStringLiteral("Änderungen speichern?")));
    QCOMPARE(o.window->mapIdentifier(), QStringLiteral("0.1"));
    QVERIFY(shownAt(*o.window, 0, -1) != blank);  // 0.0 above

    // The way back was written with 0.0's save: undone while 0.1 is open.
    o.window->menu().Verlauf1->trigger();
    auto* list = child<QTreeWidget>(*o.window->historyForm(), "Lst_Verlauf");
    list->setCurrentItem(list->topLevelItem(0));
    QTest::mouseClick(child<QPushButton>(*o.window->historyForm(), "Btn_RueckgaengigBisHier"),
                      Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QCOMPARE(o.window->mapIdentifier(), QStringLiteral("0.1"));
    QCOMPARE(shownAt(*o.window, 0, -1), blank);
    QCOMPARE(child<QLabel>(form, "Lbl_Anzahl")->text(), QStringLiteral("0"));

    // Back on 0.0, its own save undone: the map is read again and 0.1 leaves the band.
    o.openByLine("TESTHAUS (0.0)");
    QVERIFY(shownAt(*o.window, 0, 2) != blank);
    const auto saves =
        list->findItems(QStringLiteral("Anbindungen speichern 0.0"), Qt::MatchExactly, 1);
    QCOMPARE(saves.size(), 1);
    list->setCurrentItem(saves[0]);
    QTest::mouseClick(child<QPushButton>(*o.window->historyForm(), "Btn_RueckgaengigBisHier"),
                      Qt::LeftButton);
    QCOMPARE(o.dialogs->errors, QStringList());
    QCOMPARE(shownAt(*o.window, 0, 2), blank);
    QCOMPARE(child<QLabel>(form, "Lbl_Anzahl")->text(), QStringLiteral("0"));
}

QUILLON_UI_TEST(ConnectionsWindowTest)
#include "connections_window_test.moc"
