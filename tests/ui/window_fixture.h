#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "tests/ui/fake_dialogs.h"
#include "tests/ui/test_program.h"
#include "ui/main_window.h"

namespace quillon::testing {

template <class W = QWidget>
W* child(QObject& window, const char* name) {
    auto* widget = window.findChild<W*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        qFatal("no child %s", name);
    }
    return widget;
}

inline QTreeWidgetItem* findLine(QTreeWidget* tree, const QString& text) {
    const auto items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.first();
}

// A user's double click: press, release, press, the double-click event, release. The
// double-click event is sent directly; the offscreen platform does not make one.
inline void doubleClickLine(QTreeWidget* tree, QTreeWidgetItem* item) {
    tree->scrollToItem(item);
    QWidget* viewport = tree->viewport();
    const QPoint pos = tree->visualItemRect(item).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, pos);
    QTest::mousePress(viewport, Qt::LeftButton, {}, pos);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, pos, viewport->mapToGlobal(pos), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &dbl);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, pos);
}

inline void hover(QWidget* view, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, view->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
}

// Chooses the language of that name from the menu "Sprache".
inline void chooseLanguage(ui::MainWindow& window, const char* name) {
    for (QAction* item : window.menu().Sprache1->actions()) {
        if (item->text() == QLatin1String(name)) {
            item->trigger();
            return;
        }
    }
    QFAIL("no such language");
}

// A shown window with the test ROM open (status "ROM open").
struct Opened {
    TestProgram program;
    FakeDialogs* dialogs = nullptr;
    std::unique_ptr<ui::MainWindow> window;

    explicit Opened(bool withLanguages = true, romkit::Family family = romkit::Family::Rse)
        : program(withLanguages, family) {
        window = program.window(&dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        dialogs->openFileAnswer = program.romPath();
        window->menu().Laden1->trigger();
    }
    QTreeWidget* tree() { return child<QTreeWidget>(*window, "MapList"); }
    void openByLine(const char* line) {
        QTreeWidgetItem* item = findLine(tree(), QString::fromUtf8(line));
        QVERIFY(item != nullptr);
        doubleClickLine(tree(), item);
    }
    // The start of the test ROM's free space, on 16.
    std::uint32_t freeStart() const { return (program.rom().freeSpace + 15) & ~15u; }
};

}  // namespace quillon::testing
