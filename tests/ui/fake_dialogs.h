#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "core/errors.h"
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
    bool cancelAnswer = false;      // a yes/no/cancel box is cancelled (confirms records it too)
    QStringList choices;            // "caption|text|button/button..."
    std::deque<int> chooseAnswers;  // empty closes the box (-1)
    QList<ui::RepointRequest> repointsAsked;
    // Offsets the user chooses in turn; empty or nullopt cancels. An offset the request's check
    // refuses is recorded in errors and the next answer is taken, as the dialog asks again.
    std::deque<std::optional<std::uint32_t>> repointAnswers;
    std::uint8_t repointFill = 0xFF;  // the byte the user searched for
    QStringList dialogsShown;         // objectName of each modal dialog of the window's own
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
    std::optional<bool> confirmOrCancel(QWidget* parent, const QString& caption,
                                        const QString& question) override {
        const bool yes = confirm(parent, caption, question);
        return cancelAnswer ? std::nullopt : std::optional<bool>(yes);
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
    std::optional<ui::RepointChoice> repoint(QWidget*, const ui::RepointRequest& request) override {
        repointsAsked.append(request);
        while (!repointAnswers.empty()) {
            const auto answer = repointAnswers.front();
            repointAnswers.pop_front();
            if (!answer) {
                return std::nullopt;
            }
            try {
                if (request.check) {
                    request.check(*answer, repointFill);
                }
                return ui::RepointChoice{*answer, repointFill};
            } catch (const Error& e) {
                errors << QString::fromStdString(e.what());
            }
        }
        return std::nullopt;
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
