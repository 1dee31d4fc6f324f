#include <QAction>
#include <QFileInfo>
#include <QScrollArea>
#include <QSplitter>
#include <QWheelEvent>
#include <fstream>

#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/picture_view.h"

using quillon::testing::child;
using quillon::testing::FakeDialogs;
using quillon::testing::Opened;
using quillon::testing::TestProgram;
using quillon::ui::PictureView;

class WindowMemoryTest : public QObject {
    Q_OBJECT

private slots:
    // Size, splitter, zoom and the ROM's folder come back in the next run.
    void theNextRunFindsTheWindowAsItWasLeft() {
        Opened o;
        o.openByLine("TESTHAUS (0.0)");
        o.window->resize(900, 650);
        child<QSplitter>(*o.window, "Splitter1")->setSizes({200, 700});
        const int listWidth = child<QSplitter>(*o.window, "Splitter1")->sizes().at(0);
        auto* viewport = child<QScrollArea>(*o.window, "ScrollBox2")->viewport();
        QWheelEvent notch(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, 240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(viewport, &notch);
        QVERIFY(o.window->close());

        FakeDialogs* dialogs = nullptr;
        auto again = o.program.window(&dialogs);
        again->show();
        QCOMPARE(again->size(), QSize(900, 650));
        QCOMPARE(child<QSplitter>(*again, "Splitter1")->sizes().at(0), listWidth);
        QCOMPARE(child<PictureView>(*again, "MapBox")->zoom(), 3);
        again->menu().Laden1->trigger();  // cancelled; the dialog started in the ROM's folder
        QCOMPARE(dialogs->startsAsked, QStringList{QFileInfo(o.program.romPath()).absolutePath()});
    }

    // Switching the language writes its key and leaves the rest of Quillon.ini byte for
    // byte: comments, blank lines, other sections, line ends.
    void languageSwitchChangesOnlyItsKey() {
        TestProgram program;
        const std::string before =
            "; meine Einstellungen\r\n[Einstellungen]\r\nGitter=0\r\nSprache=Deutsch\r\n\r\n"
            "[Sonstiges]\r\nx=1\r\n";
        std::ofstream(program.folder() / "Ini" / "Quillon.ini", std::ios::binary) << before;
        FakeDialogs* dialogs = nullptr;
        auto window = program.window(&dialogs);
        window->show();
        quillon::testing::chooseLanguage(*window, "English");
        std::string expected = before;
        expected.replace(expected.find("Deutsch"), 7, "English");
        QCOMPARE(program.readIni("Quillon.ini"), expected);
    }
};

QUILLON_UI_TEST(WindowMemoryTest)
#include "window_memory_test.moc"
