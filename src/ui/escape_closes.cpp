#include "ui/escape_closes.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace quillon::ui {

void closeOnEscape(QWidget* window) {
    auto* close = new QAction(window);
    close->setObjectName(QStringLiteral("EscapeCloses"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    close->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(close, &QAction::triggered, window, &QWidget::close);
    window->addAction(close);
}

}  // namespace quillon::ui
