#include "ui/readme_window.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/escape_closes.h"

namespace quillon::ui {

namespace {

QWidget* readmeWindow(QWidget* parent) {
    if (auto* shown = parent->findChild<QWidget*>(QStringLiteral("ReadmeForm"))) {
        return shown;
    }
    auto* window = new QWidget(parent, Qt::Window);
    window->setObjectName(QStringLiteral("ReadmeForm"));
    auto* text = new QTextBrowser(window);
    text->setObjectName(QStringLiteral("Txt_Readme"));
    text->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    window->resize(760, 620);
    closeOnEscape(window);
    return window;
}

}  // namespace

bool showReadme(QWidget* parent, const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QString content = QString::fromUtf8(in.readAll());
    QWidget* window = readmeWindow(parent);
    auto* text = window->findChild<QTextBrowser*>(QStringLiteral("Txt_Readme"));
    if (QFileInfo(file).suffix().compare(QStringLiteral("md"), Qt::CaseInsensitive) == 0) {
        text->setMarkdown(content);
    } else {
        text->setPlainText(content);
    }
    window->setWindowTitle(QFileInfo(file).fileName());
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

}  // namespace quillon::ui
