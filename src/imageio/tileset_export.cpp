#include "imageio/tileset_export.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <cstring>

#include "core/blocks/palette_file.h"
#include "core/blocks/tileset_pictures.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "imageio/bitmap_io.h"

namespace quillon::imageio {

namespace {

QImage indexedImage(const blocks::IndexedPicture& picture, const TPalette& colours, int palette) {
    QImage image(picture.width, picture.height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < TPalette::kColours; ++i) {
        table << (colours.colour(palette, i) | 0xFF000000u);
    }
    image.setColorTable(table);
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(image.scanLine(y),
                    picture.pixels.data() + static_cast<std::size_t>(y) * picture.width,
                    static_cast<std::size_t>(picture.width));
    }
    return image;
}

QByteArray encodePicture(const TilesetPair& tilesets, int part, int palette, bool png) {
    const blocks::IndexedPicture indices = blocks::partIndices(tilesets, part);
    QImage image;
    if (png) {
        image = indexedImage(indices, tilesets.palette(), palette);
    } else {
        const Bitmap painted = blocks::paintIndices(indices, tilesets.palette(), palette);
        image = wrapBitmap(painted).convertToFormat(QImage::Format_RGB888);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, png ? QByteArray("PNG") : QByteArray("BMP"));
    if (image.isNull() || !writer.write(image)) {
        throw Error(message("export.picture_not_made", {std::to_string(part)}));
    }
    return bytes;
}

QByteArray encodePalette(const TPalette& colours, int palette, bool jasc) {
    if (jasc) {
        return QByteArray::fromStdString(blocks::jascPaletteText(colours, palette));
    }
    const auto bytes = blocks::paletteFileBytes(colours, palette);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// The bytes under name, complete or not at all.
void writeWhole(const QString& name, const QByteArray& bytes) {
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw Error(message("file.not_saved",
                            {name.toStdString(), file.errorString().toStdString()}));
    }
}

}  // namespace

TilesetFiles exportTileset(const TilesetPair& tilesets, int part, int palette,
                           const QString& picturePath, bool jasc) {
    if (palette < 0 || palette > 15) {
        throw Error(message("block.no_palette", {std::to_string(palette)}));
    }
    if (!tilesets.tilesetNumber(1) || !tilesets.tilesetNumber(2)) {
        throw Error(message("block.no_tilesets"));
    }
    const std::string name = picturePath.toStdString();
    TilesetFiles files{picturePath, QString::fromStdString(blocks::paletteFileName(name))};
    const bool jascText = jasc || blocks::isJascName(files.palette.toStdString());
    const QByteArray picture = encodePicture(tilesets, part, palette, blocks::isPngName(name));
    const QByteArray colours = encodePalette(tilesets.palette(), palette, jascText);
    writeWhole(files.picture, picture);
    writeWhole(files.palette, colours);
    return files;
}

}  // namespace quillon::imageio
