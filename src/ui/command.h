#pragma once

#include <functional>

class QWidget;

namespace quillon::ui {

class Dialogs;

// Runs one user command. A quillon::Error or any other exception aborts it: the error box
// shows its message and the command's loading guard (a local of fn) has already let go.
// No exception leaves here, so slots can call it freely. True when fn finished.
bool runCommand(QWidget* parent, Dialogs& dialogs, const std::function<void()>& fn);

// A slot for connect() that runs receiver->slot(args...) as one command, so whatever the
// core throws ends in the error box instead of leaving the signal's emitter. The slot may
// take fewer arguments than the signal hands over.
template <class Receiver, class... Args>
auto commandSlot(QWidget* parent, Dialogs& dialogs, Receiver* receiver,
                 void (Receiver::*slot)(Args...)) {
    return [parent, &dialogs, receiver, slot](Args... args) {
        runCommand(parent, dialogs, [&] { (receiver->*slot)(args...); });
    };
}

// The same for a slot without arguments given as a callable.
inline auto commandSlot(QWidget* parent, Dialogs& dialogs, std::function<void()> slot) {
    return [parent, &dialogs, slot = std::move(slot)] { runCommand(parent, dialogs, slot); };
}

}  // namespace quillon::ui
