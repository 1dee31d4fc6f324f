#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_block_set.h"
#include "cli/cli_blocks.h"
#include "cli/cli_commands.h"
#include "cli/cli_completion.h"
#include "cli/cli_connections.h"
#include "cli/cli_data_move.h"
#include "cli/cli_edit_options.h"
#include "cli/cli_find_free.h"
#include "cli/cli_find_tables.h"
#include "cli/cli_header.h"
#include "cli/cli_history.h"
#include "cli/cli_map_files.h"
#include "cli/cli_messages.h"
#include "cli/cli_paint.h"
#include "cli/cli_pictures.h"
#include "cli/cli_wild.h"
#include "core/config/data_files.h"
#include "core/errors.h"
#include "core/files/native_file.h"
#include "core/session/session.h"
// Without Qt (QUILLON_BUILD_UI=OFF) the tool has no picture output (cli_qt_parts.h).
#ifdef QUILLON_HAS_PICTURES
#include <QGuiApplication>

#include "cli/cli_render_all.h"
#include "imageio/qt_text_painter.h"
#endif

namespace {

using quillon::cli::PictureOptions;
using quillon::cli::View;

struct Args {
    std::string lang = "English";
    std::string rom;
    std::string id;
    std::string output;
    std::string view = "map";
    bool grid = false;
    bool personsOnly = false;
    bool neighbours = false;
    bool allBanks = false;
    int width = 8;
    CLI::App* info = nullptr;
    CLI::App* maps = nullptr;
    CLI::App* render = nullptr;
    CLI::App* renderAll = nullptr;
    CLI::App* events = nullptr;
    CLI::App* blocks = nullptr;
    CLI::App* header = nullptr;
    CLI::App* rename = nullptr;
    std::vector<std::string> sets;
    std::string text;
    std::string at;
    std::string fill = "FF";
    CLI::App* resize = nullptr;
    CLI::App* eventCounts = nullptr;
    std::vector<std::string> numbers;
    CLI::App* findFree = nullptr;
    CLI::App* findTables = nullptr;
    bool saveTables = false;
    quillon::cli::FindFreeOptions free;
    std::string freeFrom;
    std::string freeTo;
    CLI::App* connections = nullptr;
    CLI::App* checkConnections = nullptr;
    CLI::App* history = nullptr;
    CLI::App* undo = nullptr;
    CLI::App* redo = nullptr;
    CLI::App* recover = nullptr;
    CLI::App* wild = nullptr;
    quillon::cli::WildEdit wildEdit;
    quillon::cli::ConnectionEdit connectionEdit;
    int steps = 1;
    bool complete = false;
    CLI::App* exportMap = nullptr;
    CLI::App* insert = nullptr;
    std::string mapFile;
    std::string slot;
    std::string gridAt;
    std::string eventsAt;
    quillon::cli::InsertFooter insertFooter;
    bool rollback = false;
    CLI::App* block = nullptr;
    CLI::App* tileset = nullptr;
    CLI::App* paletteImport = nullptr;
    std::string importFile;
    bool fit = false;
    std::string blockNumber;
    int part = 1;
    int palette = 0;
    bool jasc = false;
    CLI::App* paint = nullptr;
    std::vector<std::string> cells;
    CLI::App* completion = nullptr;
    std::string shell;

    PictureOptions picture() const {
        return {view == "movement" ? View::Movement
                : view == "events" ? View::Events
                                   : View::Map,
                grid, personsOnly, neighbours};
    }
};

// The data files live in "Ini" beside the executable in a build folder, in ../share/quillon
// when installed.
quillon::ProgramPlaces programPlaces(const char* argv0) {
    std::error_code ec;
    auto self = quillon::native::executablePath();
    if (self.empty()) {
        self = std::filesystem::absolute(argv0, ec);
    }
    return quillon::choosePlaces(quillon::placesInputFor(self.parent_path()));
}

CLI::App* withRom(CLI::App* command, Args& a) {
    command->add_option("ROM", a.rom, "ROM image (.gba)")->required();
    return command;
}

CLI::App* withMap(CLI::App* command, Args& a) {
    withRom(command, a);
    command->add_option("MAP", a.id, "bank.map (e.g. 0.0), or a section of the map name file")
        ->required();
    return command;
}

void addViewOptions(CLI::App* command, Args& a) {
    command->add_option("--view", a.view, "map (default), movement or events")
        ->check(CLI::IsMember({"map", "movement", "events"}));
    command->add_flag("--grid", a.grid, "draw the block grid");
    command->add_flag("--persons-only", a.personsOnly,
                      "events view: draw the persons only, without the markers of warps, script "
                      "triggers, signposts and the fly position");
}

// Commands that move data write only on free space (or the data's own old place).
void addFillOption(CLI::App* command, Args& a) {
    command->add_option("--fill", a.fill,
                        "00 or FF (default FF): the byte free space holds, as find-free --byte");
}

void addHeaderCommands(CLI::App& app, Args& a) {
    a.header = withMap(app.add_subcommand("header", "Print or write a map's header attributes"), a);
    a.header->add_option("--set", a.sets,
                         "KEY=VALUE to write (music, weather, type, name_index, show_name 0/1, "
                         "tilesets N1,N2); $ for hex");
    a.rename = withMap(
        app.add_subcommand("rename", "Write a new name for a map's name (Ruby/Sapphire/Emerald)"),
        a);
    a.rename->add_option("TEXT", a.text, "the new name (at most 18 characters)")->required();
    a.rename->add_option("--at", a.at, "file offset for the name ($ for hex)")->required();
    addFillOption(a.rename, a);
}

void addDataMoveCommands(CLI::App& app, Args& a) {
    a.resize = withMap(app.add_subcommand("resize", "Give a map another size; its grid moves"), a);
    a.resize->add_option("SIZE", a.numbers, "WIDTH HEIGHT in blocks")->required()->expected(2);
    a.eventCounts = withMap(
        app.add_subcommand("event-counts", "Give a map new event counts; its tables move"), a);
    a.eventCounts->add_option("COUNTS", a.numbers, "P W S G: persons, warps, script triggers, "
                              "signposts (0 to 255)")->required()->expected(4);
    for (CLI::App* command : {a.resize, a.eventCounts}) {
        command->add_option("--at", a.at, "file offset for the moved data ($ for hex)")
            ->required();
        addFillOption(command, a);
    }
}

void addFindFree(CLI::App& app, Args& a) {
    a.findTables = withRom(
        app.add_subcommand("find-tables",
                           "Search the ROM for its tables and print the profile section found"),
        a);
    a.findTables->add_flag("--save", a.saveTables,
                           "store the section in the user's profile file (read over the shipped "
                           "profiles)");
    a.findFree = withRom(app.add_subcommand("find-free", "List free runs of 00 or FF bytes"), a);
    a.findFree->add_option("--count", a.free.count, "bytes needed")->required();
    a.findFree->add_option("--byte", a.free.byte, "00 or FF (default FF)");
    a.findFree->add_option("--from", a.freeFrom,
                           "first offset, $hex or decimal (default: where the free area begins)");
    a.findFree->add_option("--to", a.freeTo, "last offset (inclusive), $hex or decimal");
    a.findFree->footer(
        "Prints each hit as $XXXXXX. A hit has 32 bytes of the searched byte before it, lies "
        "outside the tables the game's profile names and is followed by at least one byte "
        "before the next. Without --from the search starts where the game's free area begins "
        "(profile key FreierBereich, else the longest run of the byte). Without --to it stops "
        "after 10 hits or at the end of the file.");
}

void addHistoryCommands(CLI::App& app, Args& a) {
    a.history = withRom(
        app.add_subcommand("history", "Print the ROM's write history as JSON, newest first"), a);
    a.undo = withRom(app.add_subcommand("undo", "Undo the newest writes of the history"), a);
    a.redo = withRom(app.add_subcommand("redo", "Redo the oldest undone writes"), a);
    for (CLI::App* command : {a.undo, a.redo}) {
        command->add_option("--steps", a.steps, "how many transactions (default 1)");
    }
    a.recover = withRom(
        app.add_subcommand("recover", "Resolve a write that was cut off (crash, power cut)"), a);
    auto* complete = a.recover->add_flag("--complete", a.complete, "write its new bytes");
    auto* rollback = a.recover->add_flag("--rollback", a.rollback, "write its old bytes back");
    complete->excludes(rollback);
}

void addMapFileCommands(CLI::App& app, Args& a) {
    a.exportMap = withMap(
        app.add_subcommand("export-map", "Write a map into a map file and its event file"), a);
    a.exportMap
        ->add_option("OUT", a.output, "map file (.Map is appended unless the name ends in .map); "
                                      "the event file beside it gets .Evt")
        ->required();
    a.insert = withRom(
        app.add_subcommand("insert", "Put the map of a map file into a slot of the ROM"), a);
    a.insert->add_option("MAPFILE", a.mapFile, "map file; its .Evt file is used when present")
        ->required();
    a.insert->add_option("--slot", a.slot, "bank.map of the slot to write (e.g. 3.1)")->required();
    a.insert->add_option("--grid-at", a.gridAt, "offset of the grid's space, W x H x 2 + 32 "
                         "bytes, even ($ for hex); the grid goes to offset + 8")->required();
    a.insert->add_option("--events-at", a.eventsAt, "offset of the events and event header, a "
                         "multiple of 4 ($ for hex)")->required();
    addFillOption(a.insert, a);
    a.insert->add_flag("--shared-ok", a.insertFooter.sharedOk,
                       "write the slot's footer although other maps share it (they all change)");
    auto* own = a.insert->add_flag("--own-footer", a.insertFooter.own,
                                   "give the slot a footer of its own (with the border) at "
                                   "--footer-at; the shared one stays");
    auto* footerAt = a.insert->add_option("--footer-at", a.insertFooter.at,
                                          "offset of the own footer and border, a multiple of 4");
    own->needs(footerAt);
    footerAt->needs(own);
}

void addPaletteCommand(CLI::App& app, Args& a);

void addBlockCommands(CLI::App& app, Args& a) {
    a.block =
        withMap(app.add_subcommand("block", "Print one block of a map's tilesets as JSON, or "
                                            "write its tiles and attributes (--set)"), a);
    a.block->add_option("N", a.blockNumber, "block number, decimal or $hex")->required();
    a.block->add_option("--set", a.sets, quillon::cli::kBlockSetHelp);
    a.block->footer(quillon::cli::kBlockSetFooter);
    a.paint = withMap(app.add_subcommand("paint", quillon::cli::kPaintHelp), a);
    a.paint->add_option("CELLS", a.cells, quillon::cli::kPaintCellsHelp)->required();
    a.paint->footer(quillon::cli::kPaintFooter);
    a.tileset = withMap(
        app.add_subcommand("tileset", "Write a tileset part's tile picture and its palette file"),
        a);
    a.tileset->add_option("--part", a.part, "1 (primary) or 2 (secondary)")
        ->required()
        ->check(CLI::Range(1, 2));
    a.tileset->add_option("--palette", a.palette, "palette 0 to 15 (default 0)")
        ->check(CLI::Range(0, 15));
    auto* output = a.tileset->add_option(
        "-o,--output", a.output,
        "picture file: .png gives an indexed PNG, other names a 24-bit BMP; the palette goes "
        "beside it with the extension .pal");
    a.tileset->add_flag(
        "--jasc", a.jasc,
        "write the palette as JASC-PAL text (also when its name ends in .jasc.pal)");
    auto* import = a.tileset->add_option(
        "--import", a.importFile,
        "write an indexed PNG or BMP (128 pixels wide, colour indices 0 to 15) into the part's "
        "tiles instead");
    output->excludes(import);
    a.tileset->add_option("--at", a.at,
                          "with --import: file offset for the tile data when they do not fit "
                          "where they are, a multiple of 4 ($ for hex)")
        ->needs(import);
    addFillOption(a.tileset, a);
    addPaletteCommand(app, a);
}

void addPaletteCommand(CLI::App& app, Args& a) {
    a.paletteImport = withMap(
        app.add_subcommand("palette", "Write a palette file into a palette of a tileset part"), a);
    a.paletteImport->add_option("--part", a.part, "1 (primary) or 2 (secondary)")
        ->required()
        ->check(CLI::Range(1, 2));
    a.paletteImport->add_option("--palette", a.palette, "palette 0 to 15 of that part")
        ->required();
    a.paletteImport
        ->add_option("--import", a.importFile,
                     "JASC-PAL text, a 64-byte .pal or an indexed PNG (its colour table)")
        ->required();
    a.paletteImport->add_flag("--fit", a.fit,
                              "take a file of more or fewer than 16 colours: its first 16, or "
                              "its colours and the palette's others as they are");
}

void addConnectionCommands(CLI::App& app, Args& a) {
    a.connections = withMap(
        app.add_subcommand("connections",
                           "Print or write a map's connections to its neighbours (JSON)"),
        a);
    a.connections->footer("Each connection: direction (1 down, 2 up, 3 left, 4 right, 5 dive, "
                          "6 emerge), offset, bank, map, filler, and reverse: whether the "
                          "neighbour leads back. null when the map has no connection header.");
    quillon::cli::addConnectionEditOptions(*a.connections, a.connectionEdit);
    a.checkConnections = withRom(
        app.add_subcommand("check-connections",
                           "List every connection whose neighbour does not lead back"),
        a);
    a.checkConnections->footer("One line per connection, e.g. \"3.1 down +0 -> 3.2: no way "
                               "back\".\nExit status: 0 when every connection leads back, 1 "
                               "otherwise.");
}

constexpr const char* kAllBanksHelp =
    "list the last bank of the bank table too, its maps read up to the first entry that is not "
    "a pointer to a map header (without it the last bank is left out)";

void addCommands(CLI::App& app, Args& a) {
    a.info =
        withRom(app.add_subcommand("info", "Print game title, family, profile and map count"), a);
    a.maps = withRom(
        app.add_subcommand("maps", "List the maps of the bank table: bank.map and name"), a);
    a.maps->add_flag("--all-banks", a.allBanks, kAllBanksHelp);
    a.render = withMap(app.add_subcommand("render", "Write the picture of one map"), a);
    a.render->add_option("-o,--output", a.output, "picture file: .png gives PNG, other names BMP")
        ->required();
    addViewOptions(a.render, a);
    a.render->add_flag("--neighbours", a.neighbours,
                       "draw the maps connected at the four edges around it, dimmed, as the "
                       "editor's Map tab shows them");
    a.renderAll = withRom(app.add_subcommand("render-all", "Write the pictures of every map"), a);
    a.renderAll
        ->add_option("OUTDIR", a.output, "folder for B.M.png and index.json (made when missing)")
        ->required();
    addViewOptions(a.renderAll, a);
    a.renderAll->add_flag("--all-banks", a.allBanks, kAllBanksHelp);
    a.renderAll->footer(
        "Writes <bank>.<map>.png for every map of the bank table and index.json, which lists "
        "the maps written (id, name, file) and those that failed (id, name, error). A map that "
        "cannot be read is reported and skipped.\nExit status: 0 when every map was written, 1 "
        "when any map failed or nothing could be written.");
    a.events = withMap(app.add_subcommand("events", "Print the events of a map as JSON"), a);
    a.blocks =
        withMap(app.add_subcommand("blocks", "Write the block palette of a map's tilesets"), a);
    a.blocks->add_option("-o,--output", a.output, "picture file: .png gives PNG, other names BMP")
        ->required();
    a.blocks->add_option("--width", a.width, "blocks per row (1 to 1025)")
        ->check(CLI::Range(1, 1025));
    a.blocks->add_flag("--grid", a.grid, "draw the grid between the blocks");
    addHeaderCommands(app, a);
    addDataMoveCommands(app, a);
    addFindFree(app, a);
    addHistoryCommands(app, a);
    addMapFileCommands(app, a);
    a.wild = withMap(
        app.add_subcommand("wild", "Print or write a map's wild encounters (grass, water, "
                                   "rock, fishing) as JSON"),
        a);
    quillon::cli::addWildEditOptions(*a.wild, a.wildEdit);
    addBlockCommands(app, a);
    addConnectionCommands(app, a);
    // Hidden: the install makes the completion script with it.
    a.completion = app.add_subcommand("completion", "Print a shell completion script")->group("");
    a.completion->add_option("SHELL", a.shell, "bash")->required()->check(
        CLI::IsMember({"bash"}));
}

// The commands that write into the ROM; every other one opens the ROM and its history for
// reading only, so it never renames or rewrites a history.
bool writes(const Args& a) {
    return (*a.header && !a.sets.empty()) || *a.rename || *a.resize || *a.eventCounts ||
           *a.insert || *a.undo || *a.redo || *a.recover || *a.paletteImport ||
           (*a.tileset && !a.importFile.empty()) || (*a.block && !a.sets.empty()) || *a.paint ||
           (*a.wild && a.wildEdit.writes()) || (*a.connections && a.connectionEdit.writes());
}

#ifdef QUILLON_HAS_PICTURES
bool needsFonts(const Args& a) { return (*a.render || *a.renderAll) && a.view == "movement"; }

int renderAll(quillon::Session& session, const Args& a) {
    const bool onTerminal = quillon::native::isTerminal(stderr);
    const auto result = quillon::cli::renderAll(session, a.output, a.picture(), std::cerr,
                                                onTerminal ? &std::cerr : nullptr);
    std::cout << "Wrote " << result.written << " of " << result.written + result.failures.size()
              << " maps to " << a.output << " (" << result.failures.size() << " failed)\n";
    return result.failures.empty() ? 0 : 1;
}
#else
int renderAll(quillon::Session&, const Args&) {
    throw quillon::Error("render-all: this build has no picture output (built without Qt)");
}
#endif

void tileset(quillon::Session& session, const Args& a) {
    namespace cli = quillon::cli;
    if (!a.importFile.empty()) {
        cli::importTileset(session, a.id, a.part, a.importFile, a.at, a.fill, std::cout);
    } else if (!a.output.empty()) {
        cli::saveTileset(session, a.id, a.part, a.palette, a.output, a.jasc, std::cout);
    } else {
        throw quillon::Error("tileset: give -o FILE to write the picture or --import FILE to "
                             "read one");
    }
}

int runCommand(quillon::Session& session, const Args& a) {
    namespace cli = quillon::cli;
    if (*a.maps || *a.renderAll) {
        cli::checkBankTable(session);  // an empty list would hide that the table failed
    }
    if (*a.info || *a.maps) {
        cli::printWarnings(session, std::cerr);
        *a.info ? cli::printInfo(session, std::cout) : cli::printMaps(session, std::cout);
        return 0;
    }
    if (*a.history) {
        cli::printHistory(session, std::cout);
        return 0;
    }
    if (*a.undo || *a.redo || *a.recover) {
        *a.undo   ? cli::undo(session, a.steps, std::cout)
        : *a.redo ? cli::redo(session, a.steps, std::cout)
                  : cli::recover(session, a.complete, a.rollback, std::cout);
        return 0;
    }
    cli::checkProfile(session);
    if (*a.render) {
        cli::PictureMaker maker(session);
        cli::savePicture(maker.render(a.id, a.picture()), a.output);
        for (const std::string& warning : maker.neighbourWarnings()) {
            std::cerr << "warning: " << warning << '\n';
        }
    } else if (*a.renderAll) {
        return renderAll(session, a);
    } else if (*a.events) {
        cli::printEvents(session, a.id, std::cout);
    } else if (*a.blocks) {
        cli::savePicture(cli::blockPalette(session, a.id, a.width, a.grid), a.output);
    } else if (*a.header) {
        a.sets.empty() ? cli::printHeader(session, a.id, std::cout)
                       : cli::setHeader(session, a.id, a.sets);
    } else if (*a.rename) {
        cli::renameMap(session, a.id, a.text, a.at, std::cout, a.fill);
    } else if (*a.resize) {
        cli::resizeMap(session, a.id, a.numbers[0], a.numbers[1], a.at, std::cout, a.fill);
    } else if (*a.eventCounts) {
        cli::setEventCounts(session, a.id, a.numbers, a.at, std::cout, a.fill);
    } else if (*a.exportMap) {
        cli::exportMap(session, a.id, a.output, std::cout);
    } else if (*a.insert) {
        cli::insertMap(session, a.mapFile, a.slot,
                       {a.gridAt, a.eventsAt, a.insertFooter, a.fill}, std::cout);
    } else if (*a.wild) {
        a.wildEdit.writes() ? cli::setWild(session, a.id, a.wildEdit, std::cout, std::cerr)
                            : cli::printWild(session, a.id, std::cout, std::cerr);
    } else if (*a.block) {
        a.sets.empty() ? cli::printBlock(session, a.id, a.blockNumber, std::cout)
                       : cli::setBlock(session, a.id, a.blockNumber, a.sets, std::cout);
    } else if (*a.paint) {
        cli::paintMap(session, a.id, a.cells, std::cout);
    } else if (*a.tileset) {
        tileset(session, a);
    } else if (*a.paletteImport) {
        cli::importPaletteFile(session, a.id, a.part, a.palette, a.importFile, a.fit, std::cout);
    } else if (*a.connections) {
        a.connectionEdit.writes()
            ? cli::editConnections(session, a.id, a.connectionEdit, std::cout)
            : cli::printConnections(session, a.id, std::cout);
    } else if (*a.checkConnections) {
        return cli::checkConnections(session, std::cout) == 0 ? 0 : 1;
    }
    return 0;
}

int run(quillon::Session& session, const Args& a) {
    namespace cli = quillon::cli;
    const std::size_t told = cli::printHistoryNotices(session, std::cerr);
    if (!writes(a)) {
        cli::printUnfinishedNotice(session, std::cerr);
    }
    const int status = runCommand(session, a);
    cli::printHistoryNotices(session, std::cerr, told);  // warnings of the command's writes
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Quillon command-line tool: lists, prints and draws the maps of GBA ROM images."};
    app.set_version_flag("--version", "Quillon " QUILLON_VERSION);
    app.require_subcommand(1);
    Args args;
    app.add_option("--lang", args.lang,
                   "language of the messages: a section of Ini/Sprachen.ini (default English)");
    addCommands(app, args);
    CLI11_PARSE(app, argc, argv);
    quillon::native::useSystemNameEncoding();
    if (*args.completion) {
        std::cout << quillon::cli::bashCompletion(app, "quillon-cli");
        return 0;
    }

#ifdef QUILLON_HAS_PICTURES
    // The movement labels are drawn with the platform's fonts, which need a graphics
    // application object; no window is ever shown.
    std::unique_ptr<QGuiApplication> qtApp;
    std::unique_ptr<quillon::imageio::QtTextPainter> painter;
    if (needsFonts(args)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int qtArgc = 1;
        qtApp = std::make_unique<QGuiApplication>(qtArgc, argv);
        painter = std::make_unique<quillon::imageio::QtTextPainter>();
    }
#endif
    try {
        quillon::cli::setMessageLanguage(programPlaces(argv[0]).dataFolder / "Ini" / "Sprachen.ini",
                                         args.lang);
        quillon::cli::checkRomFile(args.rom);
        if (*args.findFree) {
            if (args.findFree->count("--from") > 0) {
                args.free.from = args.freeFrom;
            }
            if (args.findFree->count("--to") > 0) {
                args.free.to = args.freeTo;
            }
            quillon::DataFiles data(programPlaces(argv[0]));
            data.setUserFolder(quillon::cli::userDataFolder());
            quillon::cli::findFree(args.rom, args.free, data, std::cout);
            return 0;
        }
        if (*args.findTables) {
            quillon::DataFiles data(programPlaces(argv[0]));
            data.setUserFolder(quillon::cli::userDataFolder());
            quillon::cli::findTables(args.rom, data, args.saveTables, std::cout, std::cerr);
            return 0;
        }
        quillon::Session session(programPlaces(argv[0]));
        session.data().setUserFolder(quillon::cli::userDataFolder());
        // The command line never changes the user's settings.
        session.settings().setPersistent(false);
        if (*args.maps || *args.renderAll) {
            session.settings().setFlag(quillon::Settings::Flag::ListLastBank, args.allBanks);
        }
#ifdef QUILLON_HAS_PICTURES
        session.setTextPainter(painter.get());
#endif
        session.openRom(args.rom, !writes(args));
        return run(session, args);
    } catch (const std::exception& e) {
        std::cerr << "quillon-cli: " << quillon::cli::errorText(e) << '\n';
        return 1;
    }
}
