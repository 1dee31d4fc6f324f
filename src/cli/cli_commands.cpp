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

void renderMap(Session& session, const std::string& id, const std::filesystem::path& file,
               bool grid, View view) {
    if (auto notice = session.openMap(id, id)) {
        throw Error(*notice);
    }
    // The grid setting is the user's; the command line asks for it per picture only.
    session.settings().setFlagTransient(Settings::Flag::Gitter, grid);
    session.invalidatePictures();
    const Bitmap& picture = view == View::Map ? session.mapPicture() : session.movementView();
    QString error;
    if (!imageio::saveBitmap(picture, QString::fromStdString(file.string()), &error)) {
        throw Error(error.toStdString());
    }
}

}  // namespace quillon::cli
