#include "cli/cli_commands.h"

#include <ostream>

#include "core/errors.h"
#include "core/session.h"
#include "imageio/bitmap_io.h"

namespace quillon::cli {

void printInfo(Session& session, std::ostream& out) {
    out << "Title: " << session.rom().Title() << '\n';
    out << "Family: " << (session.rom().isFrlg() ? "FRLG" : "RSE") << '\n';
    out << "Profile: " << (session.profile().found ? "yes" : "no") << '\n';
    out << "Maps: " << session.bankScan().mapCount() << '\n';
}

void printMaps(Session& session, std::ostream& out) {
    for (const auto& bank : session.bankScan().banks) {
        for (const auto& m : bank) {
            out << m.bank << '.' << m.map << '\t' << m.name << '\n';
        }
    }
}

namespace {

void openForPicture(Session& session, const std::string& id, bool grid) {
    if (auto notice = session.openMap(id, id)) {
        throw Error(*notice);
    }
    session.settings().setFlag(Settings::Flag::Gitter, grid);
    session.invalidatePictures();
}

void save(const Bitmap& picture, const std::filesystem::path& file) {
    QString error;
    if (!imageio::saveBitmap(picture, QString::fromStdString(file.string()), &error)) {
        throw Error(error.toStdString());
    }
}

}  // namespace

void renderMap(Session& session, const std::string& id, const std::filesystem::path& file,
               bool grid, View view) {
    openForPicture(session, id, grid);
    save(view == View::Map ? session.mapPicture() : session.movementView(), file);
}

void renderBlocks(Session& session, const std::string& id, const std::filesystem::path& file,
                  int width, bool grid) {
    openForPicture(session, id, grid);
    session.settings().setBlockPaletteBreite(width);
    save(session.blockPalette(), file);
}

}  // namespace quillon::cli
