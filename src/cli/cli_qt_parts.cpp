// The tool's parts that use Qt: the user's data folder and the picture files; built with Qt
// only (see cli_qt_parts.h).
#include "cli/cli_qt_parts.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QString>

#include "cli/cli_find_tables.h"
#include "core/errors.h"
#include "imageio/bitmap_io.h"
#include "imageio/import_files.h"
#include "imageio/tileset_export.h"

namespace quillon::cli {

std::filesystem::path userDataFolder() {
    QCoreApplication::setOrganizationName(QStringLiteral("Brenvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? std::filesystem::path() : std::filesystem::path(folder.toStdString());
}

namespace picture_files {

namespace {

QString qtName(const std::filesystem::path& file) { return QString::fromStdString(file.string()); }

}  // namespace

bool available() { return true; }

void saveBitmap(const Bitmap& picture, const std::filesystem::path& file) {
    Message error;
    if (!imageio::saveBitmap(picture, qtName(file), &error)) {
        throw Error(error);
    }
}

std::vector<std::string> exportTileset(const TilesetPair& tilesets, int part, int palette,
                                       const std::filesystem::path& output, bool jasc) {
    const imageio::TilesetFiles files =
        imageio::exportTileset(tilesets, part, palette, qtName(output), jasc);
    return {files.picture.toStdString(), files.palette.toStdString()};
}

blocks::IndexedPicture readIndexedPicture(const std::string& file) {
    return imageio::readIndexedPicture(QString::fromStdString(file));
}

std::vector<blocks::PaletteColour> readPaletteColours(const std::string& file) {
    return imageio::readPaletteColours(QString::fromStdString(file));
}

}  // namespace picture_files

}  // namespace quillon::cli
