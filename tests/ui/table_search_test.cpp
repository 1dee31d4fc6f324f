#include <QAction>
#include <QFile>
#include <QTreeWidget>

#include "core/config/data_files.h"
#include "core/session/session.h"
#include "romkit/rom_files.h"
#include "tests/session/finder_test_rom.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/qt_text.h"

using quillon::testing::Opened;

namespace {

QStringList listedLines(QTreeWidget* tree) {
    QStringList lines;
    for (QTreeWidgetItem* item :
         tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive)) {
        lines << item->text(0);
    }
    return lines;
}

}  // namespace

class TableSearchTest : public QObject {
    Q_OBJECT

private slots:
    // "Tabellen suchen" on a ROM without a profile (offered when it opens, and from the menu):
    // the verdicts are shown, nothing is stored unless the user says so; then the section is
    // stored in the user's file (never in the shipped one) and the ROM is loaded again with
    // its maps listed. Without a bank table the user is told and nothing is stored.
    void storesTheFoundSectionOnTheUsersWord() {
        Opened o;
        const std::filesystem::path user = o.program.folder() / "user";
        o.window->session().data().setUserFolder(user);
        const std::string shipped = o.program.readIni("Quillon.ini");

        o.window->menu().TabellenSuchen1->trigger();  // the test ROM has no literal pool
        QCOMPARE(o.dialogs->informs.size(), 1);
        QVERIFY(o.dialogs->informs[0].contains(QStringLiteral("Ohne Bank-Tabelle")));
        QVERIFY(!std::filesystem::exists(user / "Profile.ini"));

        const auto later =
            quillon::testing::buildFinderRom({quillon::romkit::Family::Rse, 0x1070, 1 << 20, 1, 0});
        quillon::romkit::writeRomFile(o.program.folder() / "later.gba", later);
        o.dialogs->openFileAnswer = quillon::ui::fromPath(o.program.folder() / "later.gba");
        o.window->menu().Laden1->trigger();  // no profile: the search is offered, the user says no
        QCOMPARE(o.dialogs->confirms.size(), 1);
        QVERIFY(o.dialogs->confirms[0].contains(QStringLiteral("kein Profil")));
        QVERIFY(!listedLines(o.tree()).contains(QStringLiteral("PLACE 0 (0.0)")));

        o.window->menu().TabellenSuchen1->trigger();
        QCOMPARE(o.dialogs->confirms.size(), 2);
        QVERIFY(o.dialogs->confirms[1].contains(QStringLiteral("die Bank-Tabelle: $")));
        QVERIFY(!std::filesystem::exists(user / "Profile.ini"));

        o.dialogs->confirmAnswer = true;  // the offer taken, then the section stored
        o.window->menu().Laden1->trigger();
        QCOMPARE(o.dialogs->confirms.size(), 4);
        QCOMPARE(o.dialogs->errors, QStringList());
        QVERIFY(std::filesystem::exists(user / "Profile.ini"));
        QCOMPARE(o.window->session().romState().profile().section, later.title + " 1.1");
        const QStringList lines = listedLines(o.tree());
        QVERIFY(lines.contains(QStringLiteral("PLACE 0 (0.0)")));
        QVERIFY(lines.contains(QStringLiteral("PLACE 2 (1.1)")));
        QCOMPARE(o.program.readIni("Quillon.ini"), shipped);
    }
};

QUILLON_UI_TEST(TableSearchTest)
#include "table_search_test.moc"
