#include "imageio/bitmap_io.h"

#include <QImageWriter>

namespace quillon::imageio {

namespace {

bool isPngName(const QString& path) {
    return path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

void setError(QString* error, const QString& text) {
    if (error != nullptr) {
        *error = text;
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

bool saveBitmap(const Bitmap& bitmap, const QString& path, QString* error) {
    if (bitmap.empty()) {
        setError(error, QStringLiteral("Das Bild ist leer: es gibt nichts zu speichern."));
        return false;
    }
    const bool bmp = !isPngName(path);
    const QImage view = wrapBitmap(bitmap);
    // The BMP writer stores a 24-bit bitmap for a three-byte format.
    const QImage image = bmp ? view.convertToFormat(QImage::Format_RGB888) : view;
    QImageWriter writer(path, bmp ? QByteArray("BMP") : QByteArray("PNG"));
    if (!writer.write(image)) {
        setError(error, QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                            .arg(path, writer.errorString()));
        return false;
    }
    return true;
}

}  // namespace quillon::imageio
