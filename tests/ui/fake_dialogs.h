#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "ui/dialogs.h"

namespace quillon::testing {

// Stands in for the user: records every box and gives the answers queued beforehand.
class FakeDialogs final : public ui::Dialogs {
public:
    struct Input {
        QString caption, prompt, preset;
    };

    QStringList informs;  // "caption|text"
    QStringList errors;
    QStringList abouts;
    QStringList documents;
    QStringList confirms;     // "caption|question"
    QStringList savesAsked;   // "caption|filter|default suffix"
    QStringList startsAsked;  // each file dialog's start, in order
    QList<Input> inputsAsked;
    std::deque<QString> inputAnswers;  // a null QString() cancels
    QString openFileAnswer;
    QString saveFileAnswer;
    bool confirmAnswer = false;
    QStringList choices;            // "caption|text|button/button..."
    std::deque<int> chooseAnswers;  // empty closes the box (-1)
    QList<ui::RepointRequest> repointsAsked;
    std::deque<std::optional<std::uint32_t>> repointAnswers;  // empty or nullopt cancels
    QStringList dialogsShown;  // objectName of each modal dialog of the window's own
    // The user's doings in each dialog shown (fill fields, click a button); none closes it.
    std::deque<std::function<void(QDialog&)>> dialogActions;

    void inform(QWidget*, const QString& caption, const QString& text) override {
        informs << caption + QLatin1Char('|') + text;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }
    bool confirm(QWidget*, const QString& caption, const QString& question) override {
        confirms << caption + QLatin1Char('|') + question;
        return confirmAnswer;
    }
    int choose(QWidget*, const QString& caption, const QString& text,
               const QStringList& buttons) override {
        choices << caption + QLatin1Char('|') + text + QLatin1Char('|') +
                       buttons.join(QLatin1Char('/'));
        if (chooseAnswers.empty()) {
            return -1;
        }
        const int answer = chooseAnswers.front();
        chooseAnswers.pop_front();
        return answer;
    }
    std::optional<QString> inputText(QWidget*, const QString& caption, const QString& prompt,
                                     const QString& preset) override {
        inputsAsked.append({caption, prompt, preset});
        if (inputAnswers.empty()) {
            return std::nullopt;
        }
        const QString answer = inputAnswers.front();
        inputAnswers.pop_front();
        if (answer.isNull()) {
            return std::nullopt;
        }
        return answer;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString& start) override {
        startsAsked << start;
        return openFileAnswer;
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& filter,
                         const QString& suffix, const QString& start) override {
        savesAsked << caption + QLatin1Char('|') + filter + QLatin1Char('|') + suffix;
        startsAsked << start;
        return saveFileAnswer;
    }
    std::optional<std::uint32_t> repoint(QWidget*, const ui::RepointRequest& request) override {
        repointsAsked.append(request);
        if (repointAnswers.empty()) {
            return std::nullopt;
        }
        const auto answer = repointAnswers.front();
        repointAnswers.pop_front();
        return answer;
    }
    void about(QWidget*, const QString&, const QString& text) override { abouts << text; }
    bool openDocument(const QString& file) override {
        documents << file;
        return true;
    }
    int runDialog(QDialog& dialog) override {
        dialogsShown << dialog.objectName();
        dialog.setResult(QDialog::Rejected);
        if (!dialogActions.empty()) {
            const auto act = dialogActions.front();
            dialogActions.pop_front();
            act(dialog);
        }
        return dialog.result();
    }
};

}  // namespace quillon::testing
