#pragma once

class QString;
class QWidget;

namespace quillon::ui {

// Shows a read-me file in a window of its own (`ReadmeForm`, text `Txt_Readme`; Markdown
// files formatted, others as plain text), owned by parent and reused by the next call; Escape
// closes it. False when the file cannot be read.
bool showReadme(QWidget* parent, const QString& file);

}  // namespace quillon::ui
