#pragma once

#include <QImage>
#include <QString>

#include "core/gfx/bitmap.h"
#include "core/text/message.h"

namespace quillon::imageio {

// A read-only QImage over the bitmap's pixels (RGB32, no copy). It stays valid only as long
// as the bitmap keeps its size and buffer; copy() it to keep it longer.
QImage wrapBitmap(const Bitmap& bitmap);

// Writes the picture at its own size: a PNG when the name ends in ".png" (any case), a
// 24-bit BMP for every other name (".bmp", ".dib", no ending or any other). Returns false and sets
// *error (when given) to the message for the user when the picture is empty or the file cannot
// be written.
bool saveBitmap(const Bitmap& bitmap, const QString& path, Message* error);

}  // namespace quillon::imageio
