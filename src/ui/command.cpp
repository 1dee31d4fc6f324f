#include "ui/command.h"

#include <exception>

#include "core/errors.h"
#include "ui/command_notifier.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"

namespace quillon::ui {

CommandNotifier& CommandNotifier::instance() {
    static CommandNotifier notifier;
    return notifier;
}

namespace {

bool runGuarded(QWidget* parent, Dialogs& dialogs, const std::function<void()>& fn) {
    QString message;
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        message = errorText(dialogs.language(), e);
    } catch (...) {
        message = dialogs.language() != nullptr
                      ? langText(*dialogs.language(), 1701, "Unbekannter Fehler.")
                      : QStringLiteral("Unbekannter Fehler.");
    }
    // The box is shown after the handler has unwound, so no half-done state is visible.
    try {
        dialogs.showError(parent, message);
    } catch (...) {
        // A failing box must not take the slot down with it.
    }
    return false;
}

}  // namespace

bool runCommand(QWidget* parent, Dialogs& dialogs, const std::function<void()>& fn) {
    const bool finished = runGuarded(parent, dialogs, fn);
    // A failed command has written nothing, but telling the views costs them a comparison.
    emit CommandNotifier::instance().commandRan();
    return finished;
}

}  // namespace quillon::ui
