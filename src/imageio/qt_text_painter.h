#pragma once

#include <QFont>

#include "core/gfx/text_painter.h"

namespace quillon::imageio {

// Draws the movement labels with the platform's font code: "Comic Sans MS" 9 pt (a rounded
// sans-serif family where that font is missing), black, no background, at 96 dpi whatever
// the screen. Needs a QGuiApplication; without one it draws nothing.
class QtTextPainter final : public TextPainter {
public:
    QtTextPainter();
    void drawText(Bitmap& target, int x, int y, std::string_view text) override;

    const QFont& font() const { return m_font; }

private:
    QFont m_font;
};

}  // namespace quillon::imageio
