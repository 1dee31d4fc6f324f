#include "imageio/import_files.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <cstring>
#include <span>

#include "core/errors.h"

namespace quillon::imageio {

namespace {

QImage readPicture(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull()) {
        throw Error(message("import.picture_unreadable",
                            {path.toStdString(), reader.errorString().toStdString()}));
    }
    return image;
}

bool indexed(const QImage& image) {
    return image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
           image.format() == QImage::Format_MonoLSB;
}

[[noreturn]] void truecolour(const QString& path) {
    throw Error(message("import.truecolour", {path.toStdString()}));
}

}  // namespace

blocks::IndexedPicture readIndexedPicture(const QString& path) {
    QImage image = readPicture(path);
    if (!indexed(image)) {
        truecolour(path);
    }
    image = image.convertToFormat(QImage::Format_Indexed8);
    blocks::IndexedPicture picture{image.width(), image.height(), {}};
    picture.pixels.resize(static_cast<std::size_t>(image.width()) *
                          static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(picture.pixels.data() + static_cast<std::size_t>(y) * image.width(),
                    image.constScanLine(y), static_cast<std::size_t>(image.width()));
    }
    return picture;
}

std::vector<blocks::PaletteColour> readPaletteColours(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(message("import.file_unreadable",
                            {path.toStdString(), file.errorString().toStdString()}));
    }
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("\x89PNG")) {
        const QImage image = readPicture(path);
        if (!indexed(image)) {
            truecolour(path);
        }
        std::vector<blocks::PaletteColour> colours;
        for (QRgb c : image.colorTable()) {
            colours.push_back({static_cast<std::uint8_t>(qRed(c)),
                               static_cast<std::uint8_t>(qGreen(c)),
                               static_cast<std::uint8_t>(qBlue(c))});
        }
        return colours;
    }
    return blocks::readPaletteFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             static_cast<std::size_t>(bytes.size())));
}

}  // namespace quillon::imageio
