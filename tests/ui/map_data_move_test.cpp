#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <map>
#include <system_error>

#include "core/session/session.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/rom_bytes.h"
#include "tests/ui/window_fixture.h"
#include "ui/events/event_builder_form.h"

using quillon::testing::child;
using quillon::testing::Opened;
using quillon::testing::romFile;
using quillon::testing::onlyChanged;
using quillon::testing::put;
using quillon::testing::Changes;

namespace {

void copyFrom(Changes& changes, const QByteArray& image, std::uint32_t from, std::uint32_t to,
              int count) {
    for (int i = 0; i < count; ++i) {
        changes[to + static_cast<std::uint32_t>(i)] =
            static_cast<std::uint8_t>(image[static_cast<qsizetype>(from) + i]);
    }
}

// The start of the free space rounded up to a multiple of 16.
}  // namespace

class MapDataMoveTest : public QObject {
    Q_OBJECT

private slots:
    void resizeWritesTheGridThenTheFooterAndReopens();
    void resizeRefusesBeforeWriting();
    void refusedPlacesAreAskedAgain();
    void eventCountsWriteNewTablesAndCloseTheWindow();
    void cancelledEventCountsKeepTheWindow();
};

// Map 0.0 is 3 x 2: 0000 0C01 0000 / 0001 0000 0000.
void MapDataMoveTest::resizeWritesTheGridThenTheFooterAndReopens() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(4);
    // Painted but not saved: it moves with the grid; the reopening asks about saving.
    o.window->session().mapState().editor().selectBlock(7);
    o.window->session().mapState().editor().paint(2, 1);
    const QByteArray before = romFile(o);
    const std::uint32_t at = o.freeStart();
    o.dialogs->repointAnswers.push_back(at);
    child<QLineEdit>(*o.window, "Txt_MapBreite")->setText(QStringLiteral("4"));
    child<QLineEdit>(*o.window, "Txt_MapHoehe")->setText(QStringLiteral("$3"));
    QTest::mouseClick(child<QPushButton>(*o.window, "Cmd_Resize"), Qt::LeftButton);
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));

    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
    QCOMPARE(o.dialogs->repointsAsked[0].caption, QStringLiteral("Neuer MapOffset"));
    QCOMPARE(o.dialogs->repointsAsked[0].count, 4u * 3 * 2 + 32);
    QCOMPARE(o.dialogs->repointsAsked[0].alignment, 2);
    QCOMPARE(o.dialogs->confirms.size(), 1);
    QVERIFY(o.dialogs->confirms[0].endsWith(QStringLiteral("Änderungen speichern?")));

    const std::uint16_t grid[] = {0x0000, 0x0C01, 0x0000, 0, 0x0001, 0x0000, 0x0007, 0, 0, 0, 0, 0};
    Changes changes;
    for (std::uint32_t i = 0; i < 12; ++i) {
        put(changes, at + 8 + 2 * i, grid[i], 2);
    }
    const std::uint32_t footer = o.program.rom().maps.at({0, 0}).footer;
    put(changes, footer, 4, 4);
    put(changes, footer + 4, 3, 4);
    put(changes, footer + 12, 0x08000000u + at + 8, 4);
    QVERIFY(onlyChanged(before, romFile(o), changes));

    // Opened again from the ROM.
    QCOMPARE(o.window->session().mapState().grid().width, 4);
    QCOMPARE(o.window->session().mapState().grid().at(2, 1).block(), 7);
    QVERIFY(!o.window->session().mapState().modified());
    QCOMPARE(child<QLineEdit>(*o.window, "Txt_MapHoehe")->text(), QStringLiteral("3"));
    QVERIFY(!o.window->windowTitle().endsWith(QStringLiteral(" *")));
}

void MapDataMoveTest::resizeRefusesBeforeWriting() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(4);
    auto* width = child<QLineEdit>(*o.window, "Txt_MapBreite");
    auto* height = child<QLineEdit>(*o.window, "Txt_MapHoehe");
    auto* resize = child<QPushButton>(*o.window, "Cmd_Resize");
    QVERIFY(resize->isEnabled() && width->isEnabled() && height->isEnabled());
    const QByteArray before = romFile(o);

    // Not a number, or a size the editor cannot hold: refused before the dialog opens.
    for (const auto& [w, h] : {std::pair{"vier", "3"}, std::pair{"4", ""}, std::pair{"0", "3"},
                               std::pair{"100", "100"}}) {
        width->setText(QString::fromLatin1(w));
        height->setText(QString::fromLatin1(h));
        o.dialogs->errors.clear();
        QTest::mouseClick(resize, Qt::LeftButton);
        QVERIFY2(o.dialogs->errors.size() == 1, w);
        QVERIFY2(o.dialogs->repointsAsked.isEmpty(), w);
    }
    QVERIFY(o.dialogs->errors[0].contains(QStringLiteral("8001")));

    width->setText(QStringLiteral("5"));
    height->setText(QStringLiteral("5"));
    QTest::mouseClick(resize, Qt::LeftButton);  // cancelled: no answer queued
    QVERIFY(o.dialogs->informs.contains(QStringLiteral("Info|Grösse ändern abgebrochen!")));

    o.dialogs->errors.clear();
    o.dialogs->repointAnswers.push_back(o.freeStart() + 1);
    QTest::mouseClick(resize, Qt::LeftButton);
    QCOMPARE(o.dialogs->errors.size(), 1);
    QVERIFY2(o.dialogs->errors[0].contains(
                 QStringLiteral("$%1").arg(o.freeStart() + 2, 6, 16, QLatin1Char('0')).toUpper()),
             qPrintable(o.dialogs->errors[0]));
    QVERIFY(onlyChanged(before, romFile(o), {}));
    QCOMPARE(o.window->session().mapState().grid().width, 3);
}

// The bank table and the map's own header are no place for the grid: each refusal is shown and
// the dialog asks again; the free place the user then gives gets the grid.
void MapDataMoveTest::refusedPlacesAreAskedAgain() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(4);
    const QByteArray before = romFile(o);
    const std::uint32_t bankTable = o.program.rom().bankTable;
    const std::uint32_t header = o.program.rom().maps.at({0, 0}).header;
    const std::uint32_t at = o.freeStart();
    o.dialogs->repointAnswers = {bankTable - 8, header - 8, at};
    child<QLineEdit>(*o.window, "Txt_MapBreite")->setText(QStringLiteral("3"));
    child<QLineEdit>(*o.window, "Txt_MapHoehe")->setText(QStringLiteral("3"));
    QTest::mouseClick(child<QPushButton>(*o.window, "Cmd_Resize"), Qt::LeftButton);

    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
    QCOMPARE(o.dialogs->errors.size(), 2);
    const auto hex = [](std::uint32_t offset) {
        return QStringLiteral("$%1").arg(offset, 6, 16, QLatin1Char('0')).toUpper();
    };
    QVERIFY2(o.dialogs->errors[0].contains(QStringLiteral("ist bei ") + hex(bankTable) +
                                           QStringLiteral(" nicht frei")),
             qPrintable(o.dialogs->errors[0]));
    QVERIFY2(o.dialogs->errors[1].contains(QStringLiteral("dort liegt Map-Header von 0.0 (") +
                                           hex(header)),
             qPrintable(o.dialogs->errors[1]));
    const std::uint16_t grid[] = {0x0000, 0x0C01, 0x0000, 0x0001, 0x0000, 0x0000, 0, 0, 0};
    Changes changes;
    for (std::uint32_t i = 0; i < 9; ++i) {
        put(changes, at + 8 + 2 * i, grid[i], 2);
    }
    const std::uint32_t footer = o.program.rom().maps.at({0, 0}).footer;
    put(changes, footer + 4, 3, 4);
    put(changes, footer + 12, 0x08000000u + at + 8, 4);
    QVERIFY(onlyChanged(before, romFile(o), changes));
}

// Map 1.0: persons 2, warps 2, script triggers 1, signposts 1.
void MapDataMoveTest::eventCountsWriteNewTablesAndCloseTheWindow() {
    Opened o;
    QAction* item = o.window->menu().BuildEvents1;
    QVERIFY(!item->isEnabled());
    o.openByLine("EVENTS (1.0)");
    QVERIFY(item->isEnabled());
    QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    item->trigger();
    auto* form = child<quillon::ui::TEventBuilderForm>(*o.window, "TEventBuilderForm");
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("Event menge"));
    auto* persons = child<QSpinBox>(*form, "PeopNum");
    auto* warps = child<QSpinBox>(*form, "WarpNum");
    auto* scripts = child<QSpinBox>(*form, "ScriptNum");
    auto* signposts = child<QSpinBox>(*form, "SignNum");
    QCOMPARE(persons->value(), 2);
    QCOMPARE(warps->value(), 2);
    QCOMPARE(scripts->value(), 1);
    QCOMPARE(signposts->value(), 1);

    persons->setValue(3);
    warps->setValue(1);
    scripts->setValue(0);
    const QByteArray before = romFile(o);
    const std::uint32_t at = o.freeStart();
    o.dialogs->repointAnswers.push_back(at);
    QTest::mouseClick(child<QPushButton>(*form, "Button1"), Qt::LeftButton);
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
    QCOMPARE(o.dialogs->repointsAsked[0].count, 3u * 24 + 8 + 12 + 20);
    QCOMPARE(o.dialogs->repointsAsked[0].alignment, 4);
    QVERIFY(!form->isVisible());
    QCOMPARE(o.dialogs->informs,
             QStringList{QStringLiteral("Info|") +
                         QString::fromStdString(std::system_category().message(0))});

    const auto& built = o.program.rom().maps.at({1, 0});
    Changes changes;
    copyFrom(changes, before, built.persons, at, 48);
    put(changes, at + 48, 3, 1);  // the new person's number; the rest of it is zero
    for (std::uint32_t i = 1; i < 24; ++i) {
        changes[at + 48 + i] = 0;
    }
    copyFrom(changes, before, built.warps, at + 72, 8);
    copyFrom(changes, before, built.signposts, at + 80, 12);
    const std::uint32_t header = at + 92;
    put(changes, header, 0x01000103, 4);  // 3 persons, 1 warp, 0 script triggers, 1 signpost
    const std::uint32_t tables[] = {at, at + 72, at + 80, at + 80};
    for (std::uint32_t i = 0; i < 4; ++i) {
        put(changes, header + 4 + 4 * i, 0x08000000u + tables[i], 4);
    }
    put(changes, built.header + 4, 0x08000000u + header, 4);
    QVERIFY(onlyChanged(before, romFile(o), changes));
    QCOMPARE(o.window->session().mapState().events().count(quillon::EventKind::Person), 3);
    QVERIFY(!o.window->session().mapState().modified());

    item->trigger();  // shown again: the counts of now
    QCOMPARE(persons->value(), 3);
    QCOMPARE(scripts->value(), 0);
}

void MapDataMoveTest::cancelledEventCountsKeepTheWindow() {
    Opened o;
    o.openByLine("EVENTS (1.0)");
    o.window->menu().BuildEvents1->trigger();
    auto* form = child<quillon::ui::TEventBuilderForm>(*o.window, "TEventBuilderForm");
    child<QSpinBox>(*form, "PeopNum")->setValue(9);
    const QByteArray before = romFile(o);
    QTest::mouseClick(child<QPushButton>(*form, "Button1"), Qt::LeftButton);
    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
    QVERIFY(form->isVisible());
    QVERIFY(o.dialogs->informs.isEmpty());
    QVERIFY(o.dialogs->errors.isEmpty());
    QVERIFY(onlyChanged(before, romFile(o), {}));
    QCOMPARE(o.window->session().mapState().events().count(quillon::EventKind::Person), 2);
}

QUILLON_UI_TEST(MapDataMoveTest)
#include "map_data_move_test.moc"
