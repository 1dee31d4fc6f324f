#include <QApplication>
#include <QByteArray>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>

#include "core/config/program_places.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace {

// Where and which version of the editor was started last: two values under the current
// user, written at every start and never read back.
void writeRegistryValues() {
    QSettings registry(QStringLiteral("Brenvik"), QStringLiteral("Quillon"));
    registry.setValue(QStringLiteral("Version"), QCoreApplication::applicationVersion());
    registry.setValue(QStringLiteral("Position"), QCoreApplication::applicationFilePath());
}

struct Options {
    QString rom;
    QString screenshot;  // save a picture of the window there, then quit
    QString map;         // a map to open at start ("<bank>.<map>")
    int tab = -1;        // the tab to show at start
};

Options parseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quillon: an editor for the overworld maps of GBA ROM images."));
    parser.addPositionalArgument(QStringLiteral("rom"), QStringLiteral("ROM image to open"));
    QCommandLineOption map(QStringLiteral("map"),
                           QStringLiteral("Open map <bank.map> of the ROM at start, e.g. 0.0"),
                           QStringLiteral("bank.map"));
    parser.addOption(map);
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("file"));
    QCommandLineOption tab(QStringLiteral("tab"), QString(), QStringLiteral("index"));
    for (QCommandLineOption* hidden : {&screenshot, &tab}) {
        hidden->setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(*hidden);
    }
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    Options options;
    if (!parser.positionalArguments().isEmpty()) {
        options.rom = parser.positionalArguments().constFirst();
    }
    options.screenshot = parser.value(screenshot);
    options.map = parser.value(map);
    options.tab = parser.isSet(tab) ? parser.value(tab).toInt() : -1;
    return options;
}

void describeApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brenvik"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
}

// Help, version and unknown options are answered without a display: they are parsed with a
// console application object before any window system is touched. Returns whether the
// command line asks for the editor at all.
bool answeredOnConsole(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" ||
            arg == "--version") {
            QCoreApplication console(argc, argv);
            describeApplication();
            parseOptions(console);  // prints and exits
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (answeredOnConsole(argc, argv)) {
        return 0;
    }
    QApplication app(argc, argv);
    describeApplication();
    const Options options = parseOptions(app);
    writeRegistryValues();

    // Beside the program in a build folder; installed, the shipped files come from
    // ../share/quillon and the settings go to the user's configuration folder.
    const quillon::ProgramPlaces places = quillon::choosePlaces(
        quillon::placesInputFor(quillon::ui::toPath(QCoreApplication::applicationDirPath())));
    quillon::ui::MainWindow window(places);
    window.show();
    if (!options.rom.isEmpty()) {
        window.openRomFile(options.rom);
    }
    if (!options.map.isEmpty()) {
        window.openMap(options.map, QStringLiteral("Map öffnen (%1)").arg(options.map));
    }
    if (options.tab >= 0) {
        if (auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"))) {
            tabs->setCurrentIndex(options.tab);
        }
    }
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(800, &window, [&window, file = options.screenshot] {
            const bool saved = window.grab().save(file);
            // Closed as the user closes it: what it remembers is written as at any end.
            window.close();
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
