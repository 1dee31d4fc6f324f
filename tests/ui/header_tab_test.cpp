#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <map>

#include "core/session/session.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/rom_bytes.h"
#include "tests/ui/window_fixture.h"

using quillon::testing::child;
using quillon::testing::Opened;
using quillon::testing::romFile;
using quillon::testing::onlyChanged;
using quillon::testing::typeInto;

namespace {

}  // namespace

class HeaderTabTest : public QObject {
    Q_OBJECT

private slots:
    void fieldsAreWrittenAtOnce();
    void musicIsWrittenOnceWhenConfirmed();
    void newNameIsEncodedAndWrittenWhereTheDialogSays();
    void cancelledNameWritesNothing();
    void sharedNameNamesItsMapsBeforeWriting();
    void tilesetsAreCheckedBothBeforeWriting();
    void fireRedKeepsItsNamesAndFloor();
};

void HeaderTabTest::fieldsAreWrittenAtOnce() {
    Opened o;
    const QByteArray before = romFile(o);
    o.openByLine("TESTHAUS (0.0)");
    QVERIFY2(onlyChanged(before, romFile(o), {}), "opening a map writes nothing");
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(4);
    const std::uint32_t header = o.program.rom().maps.at({0, 0}).header;

    child<QComboBox>(*o.window, "Cbo_Wetter")->setCurrentIndex(5);
    child<QComboBox>(*child(*o.window, "ScrollBox8"), "Cbo_Typ")->setCurrentIndex(8);
    auto* music = child<QLineEdit>(*o.window, "Txt_Musik");
    typeInto(music, QStringLiteral("1axg"));
    QCOMPARE(music->text(), QStringLiteral("1A"));
    QTest::keyClicks(music, QStringLiteral("b"));
    QCOMPARE(music->text(), QStringLiteral("1AB"));
    QTest::keyClick(music, Qt::Key_Return);
    QTest::mouseClick(child<QCheckBox>(*o.window, "Chk_ZeigeName"), Qt::LeftButton);
    child<QComboBox>(*o.window, "Cbo_Name")->setCurrentIndex(1);
    QCOMPARE(child<QLineEdit>(*o.window, "Txt_NeuerName")->text(), QStringLiteral("ZWEITE"));
    QVERIFY(o.dialogs->errors.isEmpty());
    QVERIFY(onlyChanged(before, romFile(o),
                        {{header + 16, 0xAB},
                         {header + 17, 0x01},
                         {header + 20, 1},
                         {header + 22, 5},
                         {header + 23, 8},
                         {header + 26, 0}}));
}

// Typing "0150" is one command once Enter confirms it, not one per keystroke; confirming the
// same number again writes nothing.
void HeaderTabTest::musicIsWrittenOnceWhenConfirmed() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(4);
    const QByteArray before = romFile(o);
    const std::uint32_t header = o.program.rom().maps.at({0, 0}).header;
    quillon::RomHistory& history = o.window->session().rom().history();
    auto* music = child<QLineEdit>(*o.window, "Txt_Musik");
    typeInto(music, QStringLiteral("0150"));
    QCOMPARE(music->text(), QStringLiteral("0150"));
    QVERIFY(romFile(o) == before);
    QCOMPARE(history.entries().size(), std::size_t{0});

    QTest::keyClick(music, Qt::Key_Return);
    QTest::keyClick(music, Qt::Key_Enter);
    QVERIFY(o.dialogs->errors.isEmpty());
    QVERIFY(onlyChanged(before, romFile(o), {{header + 16, 0x50}, {header + 17, 0x01}}));
    QCOMPARE(history.entries().size(), std::size_t{1});
    QCOMPARE(history.entries().front().name, std::string("Musik ändern 0.0"));

    typeInto(music, QString());
    QTest::keyClick(music, Qt::Key_Return);
    QCOMPARE(music->text(), QStringLiteral("0150"));
    QCOMPARE(history.entries().size(), std::size_t{1});
}

void HeaderTabTest::newNameIsEncodedAndWrittenWhereTheDialogSays() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(4);
    auto* typed = child<QLineEdit>(*o.window, "Txt_NeuerName");
    auto* shown = child<QLabel>(*o.window, "Lbl_NeuerName");
    // The map loader's name is encoded too.
    QCOMPARE(shown->text(), QStringLiteral("TESTHAUS"));
    typeInto(typed, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUV"));
    QCOMPARE(shown->text(), QStringLiteral("ABCDEFGHIJKLMNOPQR"));
    typeInto(typed, QStringLiteral("ROAD"));
    QCOMPARE(shown->text(), QStringLiteral("ROAD"));

    const QByteArray before = romFile(o);
    const std::uint32_t at = o.program.rom().freeSpace + 3;
    o.dialogs->repointAnswers.push_back(at);
    QTest::mouseClick(child<QPushButton>(*o.window, "Cmd_NameAendern"), Qt::LeftButton);
    QVERIFY(o.dialogs->errors.isEmpty());
    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
    const auto& asked = o.dialogs->repointsAsked.first();
    QCOMPARE(asked.caption, QStringLiteral("Neuer Offset für Name"));
    QCOMPARE(asked.count, 6u);
    const std::uint32_t slot = o.program.rom().nameTable + 4;
    const auto old = static_cast<std::uint32_t>(static_cast<std::uint8_t>(before[slot])) |
                     static_cast<std::uint32_t>(static_cast<std::uint8_t>(before[slot + 1])) << 8 |
                     static_cast<std::uint32_t>(static_cast<std::uint8_t>(before[slot + 2])) << 16;
    QCOMPARE(asked.proposed, QStringLiteral("$%1").arg(old, 6, 16, QLatin1Char('0')).toUpper());

    const QByteArray after = romFile(o);
    std::map<std::uint32_t, std::uint8_t> changes;
    for (std::uint32_t i = 0; i < 4; ++i) {
        changes[at + i] = static_cast<std::uint8_t>(after[at + i]);
        changes[slot + i] = static_cast<std::uint8_t>((0x08000000u | at) >> (8 * i));
    }
    changes[at + 4] = 0xFF;
    changes[at + 5] = 0x00;
    QVERIFY(onlyChanged(before, after, changes));
    QCOMPARE(child<QComboBox>(*o.window, "Cbo_Name")->itemText(0), QStringLiteral("ROAD"));
    QCOMPARE(child<QComboBox>(*o.window, "Cbo_Name")->currentIndex(), 0);
}

void HeaderTabTest::cancelledNameWritesNothing() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    typeInto(child<QLineEdit>(*o.window, "Txt_NeuerName"), QStringLiteral("ZZZZZZZZZZZZ"));
    const QByteArray before = romFile(o);
    QTest::mouseClick(child<QPushButton>(*o.window, "Cmd_NameAendern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
    QVERIFY2(o.dialogs->repointsAsked.first().proposed.isEmpty(), "TESTHAUS is shorter");
    QVERIFY(o.dialogs->informs.join(QLatin1Char('\n'))
                .contains(QStringLiteral("Name ändern abgebrochen!")));
    QVERIFY(onlyChanged(before, romFile(o), {}));
}

// 1.1 made to show 0.0's name: renaming asks first, naming both maps; "Nein" writes nothing.
void HeaderTabTest::sharedNameNamesItsMapsBeforeWriting() {
    Opened o;
    {
        QFile file(o.program.romPath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(o.program.rom().maps.at({0, 0}).header + 20));
        const QByteArray index = file.read(1);
        QVERIFY(file.seek(o.program.rom().maps.at({1, 1}).header + 20));
        file.write(index);
    }
    o.window->menu().NeuLaden1->trigger();
    o.openByLine("TESTHAUS (0.0)");
    typeInto(child<QLineEdit>(*o.window, "Txt_NeuerName"), QStringLiteral("ROAD"));
    const QByteArray before = romFile(o);
    o.dialogs->confirmAnswer = false;
    QTest::mouseClick(child<QPushButton>(*o.window, "Cmd_NameAendern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->confirms,
             QStringList{QStringLiteral("Frage|Diesen Namen zeigen alle diese Maps, er ändert "
                                        "sich für alle: 0.0, 1.1. Trotzdem ändern?")});
    QVERIFY(o.dialogs->repointsAsked.isEmpty());
    QVERIFY(onlyChanged(before, romFile(o), {}));

    o.dialogs->confirmAnswer = true;  // agreed: on to the place of the name
    QTest::mouseClick(child<QPushButton>(*o.window, "Cmd_NameAendern"), Qt::LeftButton);
    QCOMPARE(o.dialogs->repointsAsked.size(), 1);
}

void HeaderTabTest::tilesetsAreCheckedBothBeforeWriting() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    const QByteArray before = romFile(o);
    auto* one = child<QLineEdit>(*o.window, "Txt_HeaderTile1");
    auto* two = child<QLineEdit>(*o.window, "Txt_HeaderTile2");
    auto* change = child<QPushButton>(*o.window, "Cmd_Aendern");
    // Refused: no number, past the table, and the parts swapped (tileset 1 is a secondary one).
    one->setText(QStringLiteral("0"));
    for (const char* bad : {"zwei", "-1", "99999", "0"}) {
        two->setText(QString::fromLatin1(bad));
        QTest::mouseClick(change, Qt::LeftButton);
        QVERIFY2(!o.dialogs->errors.isEmpty(), bad);
        QVERIFY2(onlyChanged(before, romFile(o), {}), bad);
    }
    o.dialogs->errors.clear();
    one->setText(QStringLiteral("1"));
    QTest::mouseClick(change, Qt::LeftButton);
    QVERIFY(o.dialogs->errors.last().contains(QStringLiteral("Tileset1 1")));
    QVERIFY(onlyChanged(before, romFile(o), {}));
    o.dialogs->errors.clear();
    // The same pair by number and by the second header's offset: accepted, nothing changes.
    one->setText(QStringLiteral("0"));
    two->setText(QStringLiteral("$%1").arg(o.program.rom().tilesetHeaderOffsets[1], 6, 16,
                                            QLatin1Char('0')));
    QTest::mouseClick(change, Qt::LeftButton);
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    QVERIFY(onlyChanged(before, romFile(o), {}));
}

// FireRed: names and the show-name box are not edited there; the box shows bits 2-7 of byte 25,
// whatever the escape and running bits and the floor number in byte 26 hold.
void HeaderTabTest::fireRedKeepsItsNamesAndFloor() {
    Opened o(true, quillon::romkit::Family::Frlg);
    const std::uint32_t header = o.program.rom().maps.at({0, 0}).header;
    auto setBytes = [&](const char* hex) {
        QFile file(o.program.romPath());
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(header + 25));
        file.write(QByteArray::fromHex(hex));
    };
    auto* show = child<QCheckBox>(*o.window, "Chk_ZeigeName");
    setBytes("0305");  // escape rope and running; floor 5; no name shown
    o.openByLine("TESTHAUS (0.0)");
    for (const char* name : {"Cbo_Name", "Txt_NeuerName", "Cmd_NameAendern", "Chk_ZeigeName"}) {
        QVERIFY2(!child(*o.window, name)->isEnabled(), name);
    }
    QVERIFY(!show->isChecked());
    setBytes("0400");  // the name shown, nothing else
    o.openByLine("TESTHAUS (0.0)");
    QVERIFY(show->isChecked());
}

QUILLON_UI_TEST(HeaderTabTest)
#include "header_tab_test.moc"
