#pragma once

#include <functional>

class QWidget;

namespace quillon::ui {

class Dialogs;

// Runs one user command. A quillon::Error or any other exception aborts it: the error box
// shows its message and the command's loading guard (a local of fn) has already let go.
// No exception leaves here, so slots can call it freely. True when fn finished.
bool runCommand(QWidget* parent, Dialogs& dialogs, const std::function<void()>& fn);

}  // namespace quillon::ui
