#pragma once

#include <string_view>

namespace quillon {

class Bitmap;

// Draws text with the system's font into a picture; the ui implements it with its painter
// (font "Comic Sans MS", 9 pt, black, no background), tests with a fake.
class TextPainter {
public:
    virtual ~TextPainter() = default;
    // (x, y) is the top-left corner of the text's box.
    virtual void drawText(Bitmap& target, int x, int y, std::string_view text) = 0;
};

}  // namespace quillon
