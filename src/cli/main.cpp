#include <CLI/CLI.hpp>

#include <QGuiApplication>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_commands.h"
#include "core/errors.h"
#include "core/session.h"
#include "imageio/qt_text_painter.h"

namespace {

// The data files live in "Ini" beside the executable.
std::filesystem::path programFolder(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        self = std::filesystem::absolute(argv0, ec);
    }
    return self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Quillon command-line tool: read maps of GBA ROM images"};
    app.require_subcommand(1);
    std::string rom;
    std::string id;
    std::string output;
    bool grid = false;
    std::string view = "map";

    auto* info = app.add_subcommand("info", "Game, profile and map count of a ROM");
    info->add_option("ROM", rom, "ROM image (.gba)")->required();
    auto* maps = app.add_subcommand("maps", "List the maps of the bank table");
    maps->add_option("ROM", rom, "ROM image (.gba)")->required();
    auto* render = app.add_subcommand("render", "Write the picture of a map");
    render->add_option("ROM", rom, "ROM image (.gba)")->required();
    render->add_option("ID", id, "map: bank.map, or a map name file identifier")->required();
    render->add_option("-o,--output", output, "picture file (.bmp, else PNG)")->required();
    render->add_flag("--grid", grid, "draw the block grid");
    render->add_option("--view", view, "map, movement or events")
        ->check(CLI::IsMember({"map", "movement", "events"}));
    auto* events = app.add_subcommand("events", "Print the events of a map as JSON");
    events->add_option("ROM", rom, "ROM image (.gba)")->required();
    events->add_option("ID", id, "map: bank.map, or a map name file identifier")->required();
    int width = 8;
    auto* blocks = app.add_subcommand("blocks", "Write the block palette of a map's tilesets");
    blocks->add_option("ROM", rom, "ROM image (.gba)")->required();
    blocks->add_option("ID", id, "map: bank.map, or a map name file identifier")->required();
    blocks->add_option("-o,--output", output, "picture file (.bmp, else PNG)")->required();
    blocks->add_option("--width", width, "blocks per row")->check(CLI::Range(1, 1025));
    blocks->add_flag("--grid", grid, "draw the grid between the blocks");
    CLI11_PARSE(app, argc, argv);

    // The movement labels are drawn with the platform's fonts, which need a graphics
    // application object; no window is ever shown.
    std::unique_ptr<QGuiApplication> qtApp;
    std::unique_ptr<quillon::imageio::QtTextPainter> painter;
    if (*render && view == "movement") {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int qtArgc = 1;
        qtApp = std::make_unique<QGuiApplication>(qtArgc, argv);
        painter = std::make_unique<quillon::imageio::QtTextPainter>();
    }
    try {
        quillon::Session session(programFolder(argv[0]));
        // The command line never changes the user's settings.
        session.settings().setPersistent(false);
        session.setTextPainter(painter.get());
        session.openRom(rom);
        if (*info) {
            quillon::cli::printInfo(session, std::cout);
        } else if (*maps) {
            quillon::cli::printMaps(session, std::cout);
        } else if (*render) {
            const auto shown = view == "movement" ? quillon::cli::View::Movement
                               : view == "events" ? quillon::cli::View::Events
                                                  : quillon::cli::View::Map;
            quillon::cli::renderMap(session, id, output, grid, shown);
        } else if (*events) {
            quillon::cli::printEvents(session, id, std::cout);
        } else if (*blocks) {
            quillon::cli::renderBlocks(session, id, output, width, grid);
        }
    } catch (const std::exception& e) {
        std::cerr << "quillon-cli: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
