#include "imageio/bitmap_io.h"

#include <QImageWriter>
#include <utility>

namespace quillon::imageio {

namespace {

bool isPngName(const QString& path) {
    return path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

void setError(Message* error, Message text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

}  // namespace

QImage wrapBitmap(const Bitmap& bitmap) {
    if (bitmap.empty()) {
        return {};
    }
    // The const-uchar constructor makes a read-only image: Qt copies before any write.
    return QImage(reinterpret_cast<const uchar*>(bitmap.data()), bitmap.width(), bitmap.height(),
                  bitmap.bytesPerLine(), QImage::Format_RGB32);
}

bool saveBitmap(const Bitmap& bitmap, const QString& path, Message* error) {
    if (bitmap.empty()) {
        setError(error, message("picture.empty"));
        return false;
    }
    const bool bmp = !isPngName(path);
    const QImage view = wrapBitmap(bitmap);
    // The BMP writer stores a 24-bit bitmap for a three-byte format.
    const QImage image = bmp ? view.convertToFormat(QImage::Format_RGB888) : view;
    QImageWriter writer(path, bmp ? QByteArray("BMP") : QByteArray("PNG"));
    if (!writer.write(image)) {
        setError(error, message("file.not_written",
                                {path.toStdString(), writer.errorString().toStdString()}));
        return false;
    }
    return true;
}

}  // namespace quillon::imageio
