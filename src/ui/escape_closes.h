#pragma once

class QWidget;

namespace quillon::ui {

// Escape closes the tool window (a top-level window of the editor, such as "Verlauf") while
// it is the active window, as its close button would.
void closeOnEscape(QWidget* window);

}  // namespace quillon::ui
