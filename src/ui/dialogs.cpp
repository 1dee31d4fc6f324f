#include "ui/dialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

#include "ui/repoint_dialog.h"

namespace quillon::ui {

namespace {

// The extension of a filter's first pattern ("PNG (*.png)" gives "png"); fallback for a
// filter without one ("All files (*.*)").
QString filterSuffix(const QString& filter, const QString& fallback) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : fallback;
}

}  // namespace

void QtDialogs::inform(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text);
}

void QtDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Quillon"), text);
}

bool QtDialogs::confirm(QWidget* parent, const QString& caption, const QString& question) {
    return QMessageBox::question(parent, caption, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

std::optional<bool> QtDialogs::confirmOrCancel(QWidget* parent, const QString& caption,
                                               const QString& question) {
    const auto button = QMessageBox::question(
        parent, caption, question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
    if (button == QMessageBox::Yes || button == QMessageBox::No) {
        return button == QMessageBox::Yes;
    }
    return std::nullopt;
}

int QtDialogs::choose(QWidget* parent, const QString& caption, const QString& text,
                      const QStringList& buttons) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> added;
    for (const QString& button : buttons) {
        added << box.addButton(button, QMessageBox::AcceptRole);
    }
    // No button stands for closing the box: Escape and the close button give -1.
    box.setEscapeButton(static_cast<QAbstractButton*>(nullptr));
    box.exec();
    return static_cast<int>(added.indexOf(box.clickedButton()));
}

std::optional<QString> QtDialogs::inputText(QWidget* parent, const QString& caption,
                                            const QString& prompt, const QString& preset) {
    bool ok = false;
    QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, preset, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

std::optional<RepointChoice> QtDialogs::repoint(QWidget* parent, const RepointRequest& request) {
    TUmpointenForm form(m_rom, m_profile(), m_lang, *this, parent);
    form.setAnzahl(request.count);
    if (!request.proposed.isEmpty()) {
        form.setOffset(request.proposed);
    }
    form.setAlignment(request.alignment);
    form.setCheck(request.check);
    if (!request.caption.isEmpty()) {
        form.setWindowTitle(request.caption);
    }
    form.exec();
    const std::int64_t result = form.getResult();
    if (result < 0) {
        return std::nullopt;
    }
    return RepointChoice{static_cast<std::uint32_t>(result), form.fill()};
}

QString QtDialogs::openFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& start) {
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& defaultSuffix, const QString& start) {
    QFileDialog dialog(parent, caption, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without extension takes the one of the chosen file type.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, defaultSuffix](const QString& filter) {
                         dialog.setDefaultSuffix(filterSuffix(filter, defaultSuffix));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void QtDialogs::about(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::about(parent, caption, text);
}

bool QtDialogs::openDocument(const QString& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

int QtDialogs::runDialog(QDialog& dialog) { return dialog.exec(); }

}  // namespace quillon::ui
