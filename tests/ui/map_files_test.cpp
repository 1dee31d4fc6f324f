#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <map>

#include "core/session/session.h"
#include "tests/ui/rom_bytes.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/connections/anbindungen_form.h"
#include "ui/events/event_builder_form.h"

using quillon::testing::child;
using quillon::testing::chooseLanguage;
using quillon::testing::Opened;
using quillon::testing::romFile;
using quillon::testing::readAll;
using quillon::testing::onlyChanged;
using quillon::testing::put;
using quillon::testing::Changes;

namespace {

// The user's doings in "Neue Map": the fields (the index in each tileset box), then
// "Erstellen".
std::function<void(QDialog&)> newMap(const QString& width, const QString& height, int tileset1,
                                     int tileset2, const QString& name) {
    return [=](QDialog& form) {
        child<QLineEdit>(form, "Txt_Breite")->setText(width);
        child<QLineEdit>(form, "Txt_Hohe")->setText(height);
        child<QComboBox>(form, "Cbo_Tileset1")->setCurrentIndex(tileset1);
        child<QComboBox>(form, "Cbo_Tileset2")->setCurrentIndex(tileset2);
        child<QLineEdit>(form, "Txt_Name")->setText(name);
        child<QPushButton>(form, "Btn_Erstellen")->click();
    };
}

const QString kCancelled = QStringLiteral("Info|Map einfügen abgebrochen!");

}  // namespace

class MapFilesTest : public QObject {
    Q_OBJECT

private slots:
    void newMapSaveInsertAndOpenTheSlot();
    void newMapRefusesMissingFieldsAndBadSizes();
    void cancelledInsertionWritesNothing();
    void mapFileOpensAndSavesBackUnchanged();
    void romMapPutIntoItsOwnSlotIsReadAgain();
    void newMapGetsEventCountsInMemory();
    void newMapDialogListsTheTilesetTableInTheLanguage();
};

void MapFilesTest::newMapSaveInsertAndOpenTheSlot() {
    Opened o;
    QVERIFY(o.window->menu().NeueMap1->isEnabled());
    QVERIFY(!o.window->menu().MapEinfugen1->isEnabled());
    // The user is asked where the map goes: "Maps" beside the program is proposed.
    const QString mapFile = QString::fromStdString((o.program.folder() / "Maps").string()) +
                            QStringLiteral("/Town.map");
    o.dialogs->saveFileAnswer = mapFile;
    o.dialogs->dialogActions.push_back(newMap("10", "10", 0, 0, "Town"));
    o.window->menu().NeueMap1->trigger();
    QCOMPARE(o.dialogs->dialogsShown, QStringList{QStringLiteral("TMapForm")});
    QCOMPARE(o.dialogs->startsAsked.last(), mapFile);
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    QCOMPARE(o.window->windowTitle(), QStringLiteral("Quillon - Town"));
    QVERIFY(o.window->menu().MapEinfugen1->isEnabled());
    QCOMPARE(o.window->session().mapState().grid().at(9, 9).raw, 0x3001);

    // "Map Speichern" writes Maps/Town.map at once.
    o.window->menu().MapSpeichern1->trigger();
    QCOMPARE(o.dialogs->savesAsked.size(), 1);  // the new map's question only
    QCOMPARE(readAll(mapFile).size(), 24 + 200);
    QCOMPARE(readAll(mapFile.left(mapFile.size() - 4) + QStringLiteral(".Evt")),
             QByteArray(4, '\0'));

    // Into slot 0.1: grid space, slot, event space.
    const QByteArray before = romFile(o);
    const std::uint32_t grid = o.freeStart();
    const std::uint32_t events = grid + 0x200;
    o.dialogs->repointAnswers = {grid, events};
    o.dialogs->inputAnswers = {QStringLiteral("0.1")};
    o.dialogs->confirmAnswer = true;
    o.window->menu().MapEinfugen1->trigger();
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    // The map the slot holds is named before anything is written.
    QCOMPARE(o.dialogs->confirms.last(),
             QStringLiteral("Frage|Der Platz 0.1 hält die Map 0.1 \"ZWEITE\". Die eingefügte Map "
                            "ersetzt sie. Trotzdem einfügen?"));
    QCOMPARE(o.dialogs->repointsAsked.size(), 2);
    QCOMPARE(o.dialogs->repointsAsked[0].count, 232u);
    QCOMPARE(o.dialogs->repointsAsked[0].alignment, 2);
    QCOMPARE(o.dialogs->repointsAsked[1].count, 20u);
    QCOMPARE(o.dialogs->repointsAsked[1].alignment, 4);
    // Offered for the events: the free space right behind the grid's 232 bytes.
    QCOMPARE(o.dialogs->repointsAsked[1].proposed,
             QStringLiteral("$%1").arg(grid + 232, 6, 16, QLatin1Char('0')).toUpper());
    QCOMPARE(o.dialogs->inputsAsked.size(), 1);

    Changes changes;
    for (std::uint32_t i = 0; i < 100; ++i) {
        put(changes, grid + 8 + 2 * i, 0x3001, 2);
    }
    for (std::uint32_t s = 0; s < 4; ++s) {
        put(changes, events + 4 + 4 * s, 0x08000000u + events, 4);
    }
    put(changes, events, 0, 4);
    const auto& slot = o.program.rom().maps.at({0, 1});
    put(changes, slot.footer, 10, 4);
    put(changes, slot.footer + 4, 10, 4);
    put(changes, slot.footer + 12, 0x08000000u + grid + 8, 4);
    put(changes, slot.footer + 16, 0x08000000u + o.program.rom().tilesets[0].header, 4);
    put(changes, slot.footer + 20, 0x08000000u + o.program.rom().tilesets[1].header, 4);
    put(changes, slot.header + 4, 0x08000000u + events, 4);
    // The new map's border (none was open: all 0) goes to the slot's border.
    put(changes, slot.border, 0, 4);
    put(changes, slot.border + 4, 0, 4);
    QVERIFY(onlyChanged(before, romFile(o), changes));

    // The next insertion proposes the slot; the slot opens from the list as the new map.
    // (The first grid's place holds that grid now: another free place is chosen.)
    o.dialogs->inputAnswers = {QString()};
    o.dialogs->repointAnswers = {grid + 0x400};
    o.window->menu().MapEinfugen1->trigger();
    QCOMPARE(o.dialogs->inputsAsked.last().preset, QStringLiteral("0.1"));
    o.openByLine("ZWEITE (0.1)");
    QCOMPARE(o.window->mapIdentifier(), QStringLiteral("0.1"));
    QCOMPARE(o.window->session().mapState().grid().width, 10);
    QCOMPARE(o.window->session().mapState().grid().at(5, 5).raw, 0x3001);
    QVERIFY(!o.window->session().mapState().map().outsideRom);
}

void MapFilesTest::newMapRefusesMissingFieldsAndBadSizes() {
    Opened o;
    struct Case {
        const char* width;
        const char* height;
        const char* name;
    };
    for (const Case& c : {Case{"10", "10", ""}, Case{"", "10", "A"}, Case{"0", "5", "A"},
                          Case{"100", "81", "A"}, Case{"x", "5", "A"}, Case{"5", "5", "a/b"}}) {
        o.dialogs->dialogActions.push_back(newMap(QString::fromLatin1(c.width),
                                                  QString::fromLatin1(c.height), 0, 0,
                                                  QString::fromLatin1(c.name)));
        o.window->menu().NeueMap1->trigger();
        QVERIFY(!o.window->session().mapState().loaded());
    }
    QCOMPARE(o.dialogs->informs.count(QStringLiteral("Achtung|Bitte füllen sie alle Felder aus.")),
             2);
    QCOMPARE(o.dialogs->errors.size(), 4);
    QVERIFY(!QFile::exists(QString::fromStdString((o.program.folder() / "Maps").string())));
}

void MapFilesTest::cancelledInsertionWritesNothing() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    const QByteArray before = romFile(o);
    const std::uint32_t grid = o.freeStart();
    using Repoints = std::deque<std::optional<std::uint32_t>>;
    struct Case {
        const char* what;
        Repoints repoints;
        std::deque<QString> inputs;
        QString message;
    };
    const QString three = QStringLiteral(
        "Info|Einfügen fehlgeschlagen, da 3mal eine ungültige Bank und MapNr. eingegeben wurde!");
    const Case cases[] = {
        {"first dialog", {std::nullopt}, {}, kCancelled},
        {"slot", {grid}, {QString()}, kCancelled},
        {"the slot's map kept", {grid, grid + 0x200}, {QStringLiteral("0.1")}, kCancelled},
        {"third dialog", {grid, std::nullopt}, {QStringLiteral("0.1")}, kCancelled},
        {"three answers without dot",
         {grid, grid + 0x200},
         {QStringLiteral("31"), QStringLiteral("3-1"), QStringLiteral("")},
         three},
    };
    for (const Case& c : cases) {
        o.dialogs->repointAnswers = c.repoints;
        o.dialogs->inputAnswers = c.inputs;
        o.dialogs->confirmAnswer = std::string(c.what) != "the slot's map kept";
        o.window->menu().MapEinfugen1->trigger();
        QVERIFY2(o.dialogs->informs.last() == c.message, c.what);
        QVERIFY2(onlyChanged(before, romFile(o), {}), c.what);
    }
    QCOMPARE(o.dialogs->inputsAsked.last().preset, QStringLiteral("0.0"));
    // A slot beyond the ROM's tables is refused before the events' place is asked.
    const int asked = static_cast<int>(o.dialogs->repointsAsked.size());
    o.dialogs->repointAnswers = {grid, grid + 0x200};
    o.dialogs->inputAnswers = {QStringLiteral("7.0")};
    o.window->menu().MapEinfugen1->trigger();
    QCOMPARE(o.dialogs->repointsAsked.size(), asked + 1);
    QVERIFY(o.dialogs->errors.last().contains(QStringLiteral("Bank/Nr 7.0")));
    QVERIFY(onlyChanged(before, romFile(o), {}));
}

void MapFilesTest::mapFileOpensAndSavesBackUnchanged() {
    Opened o;
    o.openByLine("EVENTS (1.0)");
    const QString file =
        QString::fromStdString(o.program.folder().string()) + QStringLiteral("/Events");
    o.dialogs->saveFileAnswer = file;
    o.window->menu().MapSpeichernunter1->trigger();
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    const QByteArray map = readAll(file + QStringLiteral(".Map"));
    const QByteArray events = readAll(file + QStringLiteral(".Evt"));
    QCOMPARE(map.size(), 24 + 6 * 4 * 2);
    QCOMPARE(events.right(4), QByteArray("\x02\x02\x01\x01", 4));

    o.dialogs->openFileAnswer = file + QStringLiteral(".Map");
    o.window->menu().MapOffnen1->trigger();
    QCOMPARE(o.window->windowTitle(), QStringLiteral("Quillon - Events"));
    QVERIFY(o.window->session().mapState().map().outsideRom);
    QCOMPARE(o.window->session().mapState().events().count(quillon::EventKind::Warp), 2);
    // The attribute box belongs to ROM maps; "Speichern" writes the map file, not the ROM.
    QVERIFY(!child(*o.window, "ScrollBox8")->isVisibleTo(o.window.get()));
    // Nor does the map from the file keep the ROM map's wild encounters or connections: a
    // "Speichern" there would write into the map opened before.
    child<QTabWidget>(*o.window, "PageControl1")->setCurrentIndex(3);
    QVERIFY(!child(*o.window, "TFrame_WildePokemon")->isVisibleTo(o.window.get()));
    QVERIFY(child(*o.window, "Lbl_KeineWildePokemon")->isVisibleTo(o.window.get()));
    o.window->menu().Anbindungen1->trigger();
    QVERIFY(!child(*o.window->connectionsForm(), "SBox_Anbindungen")->isEnabled());
    const QByteArray rom = romFile(o);
    QFile::remove(file + QStringLiteral(".Map"));
    o.window->menu().Save1->trigger();
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    QCOMPARE(readAll(file + QStringLiteral(".Map")), map);
    QCOMPARE(readAll(file + QStringLiteral(".Evt")), events);
    QVERIFY(onlyChanged(rom, romFile(o), {}));
}

// Its grid and events lie elsewhere now: the map in the window must not keep the old places,
// or the next "Speichern" would write where the slot no longer looks.
void MapFilesTest::romMapPutIntoItsOwnSlotIsReadAgain() {
    Opened o;
    o.openByLine("TESTHAUS (0.0)");
    const std::uint32_t grid = o.freeStart();
    o.dialogs->repointAnswers = {grid, grid + 0x40};
    o.dialogs->inputAnswers = {QStringLiteral("0.0")};
    o.dialogs->confirmAnswer = true;
    o.window->menu().MapEinfugen1->trigger();
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    QCOMPARE(o.window->session().mapState().map().gridOffset, grid + 8);
    QCOMPARE(o.window->session().mapState().map().eventsOffset, grid + 0x40);
}

// "Event menge" on a new map: no place is asked, the ROM stays as it was, the map is modified
// and "Map Speichern" writes the event file with the new records.
void MapFilesTest::newMapGetsEventCountsInMemory() {
    Opened o;
    o.dialogs->saveFileAnswer =
        QString::fromStdString((o.program.folder() / "Maps" / "Dorf").string());
    o.dialogs->dialogActions.push_back(newMap("5", "4", 0, 0, "Dorf"));
    o.window->menu().NeueMap1->trigger();  // the file's extension is added
    QVERIFY(!o.window->session().mapState().modified());
    const QByteArray before = romFile(o);
    o.window->menu().BuildEvents1->trigger();
    auto* form = child<quillon::ui::TEventBuilderForm>(*o.window, "TEventBuilderForm");
    child<QSpinBox>(*form, "PeopNum")->setValue(2);
    child<QSpinBox>(*form, "SignNum")->setValue(1);
    QTest::mouseClick(child<QPushButton>(*form, "Button1"), Qt::LeftButton);
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    QVERIFY(o.dialogs->repointsAsked.isEmpty());
    QVERIFY(!form->isVisible());
    QVERIFY(onlyChanged(before, romFile(o), {}));
    QVERIFY(o.window->session().mapState().modified());
    QCOMPARE(o.window->session().mapState().events().count(quillon::EventKind::Person), 2);
    QVERIFY(o.window->statusText(1) != QStringLiteral("Keine Events."));

    o.window->menu().MapSpeichern1->trigger();
    QVERIFY2(o.dialogs->errors.isEmpty(), qPrintable(o.dialogs->errors.join('\n')));
    QVERIFY(!o.window->session().mapState().modified());
    const QByteArray events =
        readAll(QString::fromStdString((o.program.folder() / "Maps" / "Dorf.Evt").string()));
    QCOMPARE(events.right(4), QByteArray("\x02\x00\x00\x01", 4));

    // Another new map whose file question is cancelled: the map shown stays.
    o.dialogs->saveFileAnswer.clear();
    o.dialogs->dialogActions.push_back(newMap("3", "3", 0, 0, "Dorf"));
    o.window->menu().NeueMap1->trigger();
    QCOMPARE(o.window->session().mapState().grid().width, 5);
    QCOMPARE(o.window->windowTitle(), QStringLiteral("Quillon - Dorf"));
}

// The dialog's texts come from the language table; its tileset boxes list the tilesets the
// ROM's table holds of each part (the test ROM has a primary and a secondary one), and the open
// map's tilesets are chosen.
void MapFilesTest::newMapDialogListsTheTilesetTableInTheLanguage() {
    Opened o;
    chooseLanguage(*o.window, "English");
    o.openByLine("TESTHAUS (0.0)");
    QStringList numbers;
    QString title;
    QString name;
    int chosen = -1;
    o.dialogs->dialogActions.push_back([&](QDialog& form) {
        title = form.windowTitle();
        name = child<QLineEdit>(form, "Txt_Name")->text();
        auto* box = child<QComboBox>(form, "Cbo_Tileset2");
        for (int i = 0; i < box->count(); ++i) {
            numbers << box->itemText(i);
        }
        chosen = box->currentIndex();
        form.reject();
    });
    o.window->menu().NeueMap1->trigger();
    QCOMPARE(title, QStringLiteral("New Map"));
    QCOMPARE(name, QStringLiteral("TESTHAUS"));  // the open map's name, not the list line
    QCOMPARE(numbers, QStringList{QStringLiteral("1")});
    QCOMPARE(chosen, 0);
    QVERIFY(!o.window->session().mapState().map().outsideRom);
}

QUILLON_UI_TEST(MapFilesTest)
#include "map_files_test.moc"
