#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "core/session/session.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/picture_view.h"

using quillon::EventKind;
using quillon::EventRef;
using quillon::testing::child;
using quillon::testing::Opened;
using quillon::ui::MainWindow;

namespace {

QPoint at(int x, int y) { return {x * 16 + 5, y * 16 + 9}; }

void click(QWidget* view, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(view, button, {}, pos);
    QTest::mouseRelease(view, button, {}, pos);
}

void drag(QWidget* view, QPoint from, QPoint to) {
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    quillon::testing::hover(view, (from + to) / 2);
    quillon::testing::hover(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}

// Replaces an edit's text by typing; script fields take it with Return.
void type(QLineEdit* edit, const QString& text, bool enter = false) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
    if (enter) {
        QTest::keyClick(edit, Qt::Key_Return);
    }
}

// The window on map 1.0 "EVENTS", Events tab shown, every event drawn as a marker and hit.
struct EventsWindow : Opened {
    MainWindow& w;
    QWidget* box;

    EventsWindow() : w(*window), box(nullptr) {
        openByLine("EVENTS (1.0)");
        child<QTabWidget>(w, "PageControl1")->setCurrentIndex(2);
        box = child(w, "EventBox");
        w.menu().ZeigeSprites1->trigger();
        w.menu().andereausblenden1->trigger();
    }
    QWidget* frame(const char* name) { return child(w, name); }
    template <class W>
    W* in(const char* frame, const char* name) {
        return child<W>(*child(w, frame), name);
    }
    QComboBox* kinds() { return child<QComboBox>(w, "Cbo_EventTypen"); }
    QSpinBox* number() { return child<QSpinBox>(*child(w, "ScrollBox7"), "Spin_Nr"); }
    void pick(int entry, int index = 0) {
        kinds()->setCurrentIndex(entry);
        number()->setValue(index);
    }
    EventRef selected() { return w.session().mapState().eventEditor().selected(); }
    QByteArray record(EventKind kind, int index = 0) {
        const auto bytes = w.session().mapState().events().record(kind, index);
        return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    }
    QByteArray rom(quint32 offset, int count) {
        QFile file(program.romPath());
        return file.open(QIODevice::ReadOnly) && file.seek(offset) ? file.read(count)
                                                                   : QByteArray();
    }
    const quillon::romkit::BuiltMap& built() { return program.rom().maps.at({1, 0}); }
};

QByteArray readFile(const QString& path, quint32 offset, int count) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.seek(offset) ? file.read(count) : QByteArray();
}

// The commands that must see script text typed without Return.
enum class Command { Save, SaveAs, UndoRedo, Close, OpenMap, Load, Reload };

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

}  // namespace

class EventsTest : public QObject {
    Q_OBJECT

private slots:
    void clickSelectsAndDragMovesEvents();
    void panelsEditTheSelectedRecord();
    void goOpensTheTargetMapAndSelectsItsWarp();
    void undoPutsEventsBackAndCtrlZNeverHidesSprites();
    void mapWithoutEventsShowsTheNotice();
    void eventPictureIsSaved();
    void typedScriptTextCountsBeforeEveryCommand_data();
    void typedScriptTextCountsBeforeEveryCommand();
    void refusedTypedTextStopsTheCommand();
};

void EventsTest::clickSelectsAndDragMovesEvents() {
    EventsWindow e;
    MainWindow& w = e.w;
    // The signpost wins over the person on the same cell.
    click(e.box, at(1, 1));
    QCOMPARE(e.kinds()->currentIndex(), 1);
    QVERIFY(e.frame("TFrame_Signpost")->isVisible());
    QVERIFY(!e.frame("TFrame_People")->isVisible());
    QCOMPARE(e.in<QLineEdit>("TFrame_Signpost", "Txt_Script")->text(), QStringLiteral("$000400"));

    click(e.box, at(2, 1), Qt::RightButton);
    QCOMPARE(e.selected(), (EventRef{EventKind::Signpost, 0}));
    quillon::testing::hover(e.box, at(2, 1));
    QCOMPARE(w.statusText(0), QStringLiteral("X: 2 Y: 1 Warp0 Offset: ") +
                                  QString::number(e.built().warps, 16).toUpper());
    QCOMPARE(w.statusText(1), QStringLiteral("Events sind ok."));

    drag(e.box, at(4, 2), at(5, 3));  // person 1
    QCOMPARE(e.kinds()->currentIndex(), 0);
    QCOMPARE(e.number()->value(), 1);
    QVERIFY(e.number()->isEnabled());
    QCOMPARE(e.in<QLineEdit>("TFrame_People", "Txt_PosX")->text(), QStringLiteral("0005"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - EVENTS (1.0) *"));
    drag(e.box, at(2, 1), at(0, 3));  // warp 0
    QCOMPARE(e.in<QLineEdit>("TFrame_Warp", "Txt_PosY")->text(), QStringLiteral("0003"));
    // The red square follows the warp.
    const QImage picture = child<quillon::ui::PictureView>(w, "EventBox")->image();
    QCOMPARE(picture.pixel(0, 3 * 16), 0xFFFF0000u);

    click(e.box, at(4, 0));  // empty: nothing selected, the panel keeps the warp
    QVERIFY(e.selected().none());
    QVERIFY(e.frame("TFrame_Warp")->isVisible());
    type(e.in<QLineEdit>("TFrame_Warp", "Txt_Unbekannt"), QStringLiteral("7"));
    QCOMPARE(e.record(EventKind::Warp)[4], '\0');

    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - EVENTS (1.0)"));
    QCOMPARE(e.rom(e.built().persons + 24 + 4, 4), bytes({5, 0, 3, 0}));
    QCOMPARE(e.rom(e.built().warps, 8), bytes({0, 0, 3, 0, 0, 2, 1, 1}));
    QCOMPARE(e.rom(e.built().events, 4), bytes({2, 2, 1, 1}));  // the event header stays
    QVERIFY(e.dialogs->errors.isEmpty());
}

void EventsTest::panelsEditTheSelectedRecord() {
    EventsWindow e;
    e.pick(0, 1);
    auto* trainer = e.in<QCheckBox>("TFrame_People", "Chk_Trainer");
    QVERIFY(trainer->isChecked());  // flag 2, kept until clicked
    QCOMPARE(e.record(EventKind::Person, 1)[12], '\2');
    trainer->click();
    trainer->click();
    QCOMPARE(e.record(EventKind::Person, 1)[12], '\1');
    auto* unknown = e.in<QLineEdit>("TFrame_People", "Txt_Unbekannt1");
    type(unknown, QStringLiteral("1fG"));  // the filter drops G and shows upper case
    QCOMPARE(unknown->text(), QStringLiteral("1F"));
    QCOMPARE(e.record(EventKind::Person, 1)[2], '\x1F');
    auto* script = e.in<QLineEdit>("TFrame_People", "Txt_Script");
    type(script, QStringLiteral("$123456"), true);
    QCOMPARE(e.record(EventKind::Person, 1).mid(16, 4), bytes({0x56, 0x34, 0x12, 0x08}));
    type(script, QStringLiteral("$12x"), true);  // refused: the record keeps its pointer
    QCOMPARE(e.dialogs->errors.size(), 1);
    QCOMPARE(e.record(EventKind::Person, 1).mid(16, 4), bytes({0x56, 0x34, 0x12, 0x08}));
    type(e.in<QLineEdit>("TFrame_People", "Txt_PosY"), QStringLiteral("3"));
    QCOMPARE(e.w.session().mapState().eventEditor().hitTest(4, 3),
             (EventRef{EventKind::Person, 1}));

    e.pick(3);
    type(e.in<QLineEdit>("TFrame_Script", "Txt_Unbekannt2"), QStringLiteral("AB"));
    type(e.in<QLineEdit>("TFrame_Script", "Txt_Script"), QStringLiteral("16"), true);
    QCOMPARE(e.record(EventKind::ScriptTrigger).mid(4, 12),
             bytes({0, 0xAB, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0x08}));

    e.pick(1);
    auto* hidden = e.in<QCheckBox>("TFrame_Signpost", "Chk_Hidden");
    QVERIFY(!hidden->isChecked());  // type 3
    hidden->click();
    QCOMPARE(e.record(EventKind::Signpost)[5], '\7');

    e.pick(2, 1);
    e.in<QSpinBox>("TFrame_Warp", "Spin_MapBank")->setValue(4);
    QCOMPARE(e.record(EventKind::Warp, 1), bytes({3, 0, 3, 0, 0, 5, 1, 4}));

    // Another bank gives the fly record away: the map has no fly position any more.
    e.pick(4);
    QVERIFY(e.frame("TFrame_FlugPos")->isVisible());
    QCOMPARE(e.in<QLineEdit>("TFrame_FlugPos", "Txt_PosX")->text(), QStringLiteral("0005"));
    e.in<QSpinBox>("TFrame_FlugPos", "Spin_MapBank")->setValue(2);
    QVERIFY(!e.w.session().mapState().events().hasFlyPosition());
    e.pick(0);
    e.pick(4);
    QVERIFY(!e.frame("TFrame_FlugPos")->isVisible());
    QVERIFY(child(e.w, "Lbl_KeinEventTyp")->isVisible());

    e.w.menu().Save1->trigger();
    QCOMPARE(e.rom(e.built().signposts + 5, 1), bytes({7}));
    QCOMPARE(e.rom(e.program.rom().flyTable, 2), bytes({2, 0}));
    QCOMPARE(e.dialogs->errors.size(), 1);
}

void EventsTest::goOpensTheTargetMapAndSelectsItsWarp() {
    EventsWindow e;
    MainWindow& w = e.w;
    e.pick(2);
    auto go = [&] { return e.in<QPushButton>("TFrame_Warp", "Cmd_Go"); };
    go()->click();
    QCOMPARE(w.mapIdentifier(), QStringLiteral("1.1"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - ZIEL (1.1)"));
    QCOMPARE(e.kinds()->currentIndex(), 2);
    QCOMPARE(e.number()->value(), 2);
    QCOMPARE(e.selected(), (EventRef{EventKind::Warp, 2}));
    QCOMPARE(e.in<QLineEdit>("TFrame_Warp", "Txt_PosY")->text(), QStringLiteral("0001"));

    // A target number past the target's warps selects its last one; unsaved changes are
    // offered for saving on the way.
    e.openByLine("EVENTS (1.0)");
    e.pick(2);
    e.in<QSpinBox>("TFrame_Warp", "Spin_WarpTo")->setValue(9);
    e.dialogs->confirmAnswer = true;
    go()->click();
    QCOMPARE(e.dialogs->confirms.size(), 1);
    QCOMPARE(e.selected(), (EventRef{EventKind::Warp, 2}));
    QCOMPARE(e.rom(e.built().warps + 5, 1), bytes({9}));

    // A target without warps: nothing selected, the warp panel gives way to the notice.
    e.openByLine("EVENTS (1.0)");
    e.pick(2, 1);
    go()->click();
    QCOMPARE(w.mapIdentifier(), QStringLiteral("0.1"));
    QVERIFY(e.selected().none());
    QVERIFY(!e.frame("TFrame_Warp")->isVisible());
    QVERIFY(e.dialogs->errors.isEmpty());
}

void EventsTest::undoPutsEventsBackAndCtrlZNeverHidesSprites() {
    EventsWindow e;
    MainWindow& w = e.w;
    drag(e.box, at(1, 1), at(3, 2));  // the signpost
    e.pick(2, 1);
    auto* target = e.in<QSpinBox>("TFrame_Warp", "Spin_WarpTo");
    target->setValue(7);
    click(e.box, at(5, 0));

    w.menu().Rueckgaengig1->trigger();
    QCOMPARE(e.record(EventKind::Warp, 1)[5], '\5');
    QCOMPARE(e.kinds()->currentIndex(), 2);
    QCOMPARE(e.number()->value(), 1);
    QCOMPARE(target->value(), 5);
    w.menu().Rueckgaengig1->trigger();
    QCOMPARE(e.kinds()->currentIndex(), 1);
    QCOMPARE(e.in<QLineEdit>("TFrame_Signpost", "Txt_PosX")->text(), QStringLiteral("0001"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon - EVENTS (1.0)"));

    // On the event page too Ctrl+Z undoes and never hides the sprites, with nothing left to
    // undo as well; the sprite switch has Ctrl+Shift+P.
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!w.menu().ZeigeSprites1->isChecked());
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(e.in<QLineEdit>("TFrame_Signpost", "Txt_PosX")->text(), QStringLiteral("0003"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.in<QLineEdit>("TFrame_Signpost", "Txt_PosX")->text(), QStringLiteral("0001"));
    QVERIFY(!w.menu().ZeigeSprites1->isChecked());
    QCOMPARE(e.kinds()->currentIndex(), 1);
    QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(w.menu().ZeigeSprites1->isChecked());
    QVERIFY(e.program.readIni("Quillon.ini").find("ZeigeSprites=1") != std::string::npos);
}

void EventsTest::mapWithoutEventsShowsTheNotice() {
    EventsWindow e;
    MainWindow& w = e.w;
    for (QAction* item : w.menu().Sprache1->actions()) {
        if (item->text() == QStringLiteral("English")) {
            item->trigger();
        }
    }
    QCOMPARE(child<QLabel>(*e.frame("TFrame_Warp"), "Lbl_400")->text(),
             QStringLiteral("Pos (X/Y):"));
    QCOMPARE(child<QLabel>(*e.frame("TFrame_Warp"), "Lbl_401")->text(), QStringLiteral("Fehler"));
    QCOMPARE(child<QPushButton>(*e.frame("TFrame_Warp"), "Cmd_Go")->text(), QStringLiteral("Go"));

    e.openByLine("TESTHAUS (0.0)");
    QVERIFY(child(w, "Lbl_KeineEvents")->isVisible());
    QVERIFY(!child(w, "ScrollBox6")->isVisible());
    QCOMPARE(w.statusText(1), QStringLiteral("No events."));
    QVERIFY(child(w, "Lbl_KeinEventTyp")->isVisible());
}

void EventsTest::eventPictureIsSaved() {
    EventsWindow e;
    MainWindow& w = e.w;
    w.menu().EventsDoppelt1->trigger();
    QCOMPARE(e.box->size(), QSize(6 * 32, 4 * 32));
    QVERIFY(w.menu().SaveEventPic1->isEnabled());
    e.dialogs->saveFileAnswer =
        QString::fromStdString((e.program.folder() / "events.png").string());
    w.menu().SaveEventPic1->trigger();
    const QImage saved(e.dialogs->saveFileAnswer);
    QCOMPARE(saved.size(), QSize(6 * 16, 4 * 16));
    QCOMPARE(saved.pixel(16, 16), 0xFFFF0000u);  // the red square of person 0

    child<QCheckBox>(w, "Chk_ShowSprite")->click();
    QVERIFY(child<quillon::ui::PictureView>(w, "EventBox")->image().pixel(16, 16) != 0xFFFF0000u);
    QVERIFY(e.program.readIni("Quillon.ini").find("ShowSprite=0") != std::string::npos);
}

void EventsTest::typedScriptTextCountsBeforeEveryCommand_data() {
    QTest::addColumn<Command>("command");
    QTest::newRow("Ctrl+S") << Command::Save;
    QTest::newRow("Speichern Unter") << Command::SaveAs;
    QTest::newRow("undo then redo") << Command::UndoRedo;
    QTest::newRow("closing the window") << Command::Close;
    QTest::newRow("Map öffnen") << Command::OpenMap;
    QTest::newRow("Laden") << Command::Load;
    QTest::newRow("Neu Laden") << Command::Reload;
}

// The text stays in the field with the focus in it: no Return, no focus change. Every command
// that saves, steps back or moves on takes it first, and the close question is asked.
void EventsTest::typedScriptTextCountsBeforeEveryCommand() {
    QFETCH(Command, command);
    EventsWindow e;
    MainWindow& w = e.w;
    e.pick(0, 1);
    type(e.in<QLineEdit>("TFrame_People", "Txt_PosY"), QStringLiteral("3"));  // an earlier step
    const QByteArray before = e.record(EventKind::Person, 1);
    auto* script = e.in<QLineEdit>("TFrame_People", "Txt_Script");
    script->setFocus();
    type(script, QStringLiteral("$123456"));
    const QByteArray typed = bytes({0x56, 0x34, 0x12, 0x08});
    const quint32 pointer = e.built().persons + 24 + 16;
    QString file = e.program.romPath();
    e.dialogs->confirmAnswer = true;
    switch (command) {
        case Command::Save:  // pressed in the field itself
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTest::keyClick(script, Qt::Key_S, Qt::ControlModifier);
            break;
        case Command::SaveAs:
            file = QString::fromStdString((e.program.folder() / "copy.gba").string());
            e.dialogs->saveFileAnswer = file;
            w.menu().SaveAs1->trigger();
            break;
        case Command::UndoRedo:
            // Undo takes back the typed pointer, not the step before it; redo brings it back.
            w.menu().Rueckgaengig1->trigger();
            QCOMPARE(e.record(EventKind::Person, 1), before);
            w.menu().Wiederholen1->trigger();
            QCOMPARE(e.record(EventKind::Person, 1).mid(16, 4), typed);
            w.menu().Save1->trigger();
            break;
        case Command::Close:
            QVERIFY(w.close());
            QCOMPARE(e.dialogs->confirms.size(), 1);
            break;
        case Command::OpenMap:
            e.dialogs->inputAnswers.push_back(QStringLiteral("0.0"));
            w.menu().Mapffnen1->trigger();
            QCOMPARE(e.dialogs->confirms.size(), 1);
            break;
        case Command::Load:
            e.dialogs->openFileAnswer = e.program.romPath();
            w.menu().Laden1->trigger();
            QCOMPARE(e.dialogs->confirms.size(), 1);
            break;
        case Command::Reload:
            w.menu().NeuLaden1->trigger();
            QCOMPARE(e.dialogs->confirms.size(), 1);
            break;
    }
    QCOMPARE(readFile(file, pointer, 4), typed);
    QVERIFY(e.dialogs->errors.isEmpty());
}

// Text that is no pointer keeps the window, the map and the field as they are until mended.
void EventsTest::refusedTypedTextStopsTheCommand() {
    EventsWindow e;
    MainWindow& w = e.w;
    e.pick(0, 1);
    auto* script = e.in<QLineEdit>("TFrame_People", "Txt_Script");
    script->setFocus();
    type(script, QStringLiteral("$12x"));
    e.dialogs->confirmAnswer = true;
    QVERIFY(!w.close());
    e.dialogs->inputAnswers.push_back(QStringLiteral("0.0"));
    w.menu().Mapffnen1->trigger();
    QCOMPARE(w.mapIdentifier(), QStringLiteral("1.0"));
    QCOMPARE(e.dialogs->errors.size(), 2);
    QVERIFY(e.dialogs->confirms.isEmpty());
    QCOMPARE(script->text(), QStringLiteral("$12x"));

    type(script, QStringLiteral("$123456"));
    QVERIFY(w.close());
    QCOMPARE(e.dialogs->confirms.size(), 1);
    QCOMPARE(readFile(e.program.romPath(), e.built().persons + 24 + 16, 4),
             bytes({0x56, 0x34, 0x12, 0x08}));
}

QUILLON_UI_TEST(EventsTest)
#include "events_test.moc"
