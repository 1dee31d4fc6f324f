// The window speaks one language at a time: every window and tab the main window opens is
// walked for texts of the other language, with the shipped language, weather and type files.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>
#include <filesystem>

#include "core/base/ini_file.h"
#include "core/config/language_table.h"
#include "core/errors.h"
#include "core/session/session.h"
#include "tests/ui/ui_test_main.h"
#include "tests/ui/window_fixture.h"
#include "ui/command.h"
#include "ui/mapfiles/new_map_form.h"
#include "ui/repoint_dialog.h"

using quillon::testing::chooseLanguage;
using quillon::testing::FakeDialogs;
using quillon::testing::TestProgram;
using quillon::ui::MainWindow;

namespace {

// Words only the German interface says, and the umlauts; matched as whole words.
const QRegularExpression kGerman(QStringLiteral(
    "[äöüßÄÖÜ]|\\b(Speichern|Laden|Anzahl|Fertig|Nichts|gefunden|Kein|Keine|Keiner|Wetter|Regen|"
    "Neue|"
    "Indiziertes|Bitte|Datei|Dateien|Abbrechen|Singpost|Unbekannt|Grösse|Breite|Nur|Alle|Zeit|"
    "Befehl|Anbindung|Umpointen|Suchen|Stadt|Ja|Nein|und|oder|der|die|das|nicht|ist|für|von|"
    "Sonnig|Nebel|Bewölkt|Grosser|menge|Angel|Wasser|Häufigkeits|Art|Bild|Ebene|Vollenden|"
    "Zurücknehmen|FlugPos|Eingabe|Ungültige|Offset "
    "angeben|Tabellen|suchen|Gitter|Sprache|Hilfe|Beenden)"
    "\\b"));
// Words only the English interface says.
const QRegularExpression kEnglish(QStringLiteral(
    "\\b(Save|Load|Cancel|Yes|No|Open|Close|File|Files|Search|Settings|Language|Undo|Redo|Help|"
    "Delete|Remove|Add|Width|Height|Weather|Water|Rock|Fishing|Rod|Apply|Create|the|and|of|"
    "with|not|found|for|from|is|are|Change|Picture|Behaviour|Neighbours|Show|Hide|Double|"
    "Nothing|Count|Unknown|Number|Sunny|Rain|Town|City|None|Quit|Exit|Finished|Done)\\b"));

// Names both interfaces show alike: the games, the species, the test ROM's maps.
const QStringList kSameInBoth = {QStringLiteral("Pokemon"),  QStringLiteral("Pokémon"),
                                 QStringLiteral("FireRed"),  QStringLiteral("LeafGreen"),
                                 QStringLiteral("TESTHAUS"), QStringLiteral("ZWEITE"),
                                 QStringLiteral("EVENTS"),   QStringLiteral("ZIEL")};
// The boxes of the map group file list the user's own groups and lines, in his words.
const QStringList kUserData = {QStringLiteral("Cbo_Main"), QStringLiteral("Cbo_Map")};

QStringList ownTexts(QWidget* w) {
    QStringList texts;
    if (w->isWindow()) {
        texts << w->windowTitle();
    }
    texts << w->toolTip();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        texts << label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        texts << button->text();
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
        texts << box->title();
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            texts << tabs->tabText(i);
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i) {
            texts << combo->itemText(i);
        }
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        for (int c = 0; c < tree->columnCount(); ++c) {
            texts << tree->headerItem()->text(c);
        }
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            texts << tree->topLevelItem(i)->text(0);
        }
    }
    for (QAction* action : w->actions()) {
        texts << action->text() << action->statusTip();
    }
    return texts;
}

// "<object name>: <text>" for every text of root and its children in the other language.
QStringList foreignTexts(QWidget* root, const QRegularExpression& foreign) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    QStringList found;
    for (QWidget* w : widgets) {
        if (w->objectName().startsWith(QLatin1String("qt_")) ||
            kUserData.contains(w->objectName())) {
            continue;  // Qt's own parts (scroll bars, viewports), the user's words
        }
        for (QString text : ownTexts(w)) {
            for (const QString& name : kSameInBoth) {
                text.remove(name);
            }
            if (text.contains(foreign)) {
                found << w->metaObject()->className() + QLatin1Char(' ') + w->objectName() +
                             QStringLiteral(": ") + text;
            }
        }
    }
    found.removeDuplicates();
    return found;
}

QStringList foreignLines(const QStringList& texts, const QRegularExpression& foreign) {
    QStringList found;
    for (const QString& text : texts) {
        if (text.contains(foreign)) {
            found << text;
        }
    }
    return found;
}

// The program folder with the language, weather, map type and movement files it ships.
void useShippedTexts(const TestProgram& program) {
    const std::filesystem::path shipped(QUILLON_SHIPPED_DATA);
    for (const char* name :
         {"Sprachen.ini", "Wetter.ini", "Typ.ini", "GehDaten.ini", "AufgabenDaten.ini"}) {
        std::filesystem::copy_file(shipped / name, program.folder() / "Ini" / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

void clickAction(QAction* action) { action->trigger(); }

// "Map öffnen": TESTHAUS (0.0: weather 2, type 1, grass and fishing encounters).
void openMap(MainWindow& w, FakeDialogs& dialogs) {
    dialogs.inputAnswers = {QStringLiteral("0.0")};
    clickAction(w.menu().Mapffnen1);
    QVERIFY(w.session().mapState().loaded());
}

// Opens every window, tab and kind the main window shows, and the boxes of a few commands;
// the fake dialogs record those.
void openEverything(MainWindow& w, FakeDialogs& dialogs) {
    dialogs.inputAnswers = {QStringLiteral("x")};  // a typing error
    clickAction(w.menu().Mapffnen1);
    auto* tabs = w.findChild<QTabWidget*>();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QCoreApplication::processEvents();
    }
    auto* kinds = w.findChild<QComboBox*>(QStringLiteral("Cbo_Art"));
    for (int i = 0; kinds != nullptr && i < kinds->count(); ++i) {
        kinds->setCurrentIndex(i);
    }
    for (QAction* tool : {w.menu().BlockEditor1, w.menu().Verlauf1, w.menu().BuildEvents1,
                          w.menu().Anbindungen1, w.menu().Info1, w.menu().Readme1}) {
        clickAction(tool);
    }
    QCoreApplication::processEvents();
}

template <class W>
W* part(QWidget& dialog, const char* name) {
    return quillon::testing::child<W>(dialog, name);
}

// The repoint dialog after a search to the end and one behind the end of the file, "Neue
// Map", and a box with Qt's own buttons.
QStringList dialogTexts(MainWindow& w, FakeDialogs& dialogs, const QRegularExpression& foreign) {
    quillon::Session& s = w.session();
    quillon::ui::TUmpointenForm repoint(s.rom(), s.romState().profile(), s.lang(), dialogs, &w);
    repoint.setAnzahl(0x100000);
    repoint.show();
    part<QAbstractButton>(repoint, "Chk_Suchen")->click();
    part<QAbstractButton>(repoint, "Cmd_OK")->click();
    part<QLineEdit>(repoint, "Txt_Von")->setText(QStringLiteral("$FFFFFF"));
    part<QAbstractButton>(repoint, "Cmd_OK")->click();
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &w);
    box.show();
    QStringList found = foreignTexts(&repoint, foreign) + foreignTexts(&box, foreign);
    quillon::ui::TMapForm newMap(dialogs, s.lang(), {}, {}, &w);
    newMap.show();
    return found + foreignTexts(&newMap, foreign);
}

QStringList boxTexts(const FakeDialogs& d) {
    QStringList texts = d.informs + d.errors + d.confirms + d.choices + d.savesAsked + d.abouts;
    for (const auto& input : d.inputsAsked) {
        texts << input.caption << input.prompt;
    }
    return texts;
}

}  // namespace

class LanguageWalkTest : public QObject {
    Q_OBJECT

private slots:
    // Switched to English while running, every window and box is English; at the start in
    // German, no English is left in the German window.
    void everyWindowSpeaksTheChosenLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("switched to English") << QStringLiteral("English");
        QTest::newRow("German from the start") << QStringLiteral("Deutsch");
    }
    void everyWindowSpeaksTheChosenLanguage() {
        QFETCH(QString, language);
        const bool english = language == QLatin1String("English");
        const QRegularExpression& foreign = english ? kGerman : kEnglish;
        TestProgram program;
        useShippedTexts(program);
        FakeDialogs* dialogs = nullptr;
        auto window = program.window(&dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        dialogs->openFileAnswer = program.romPath();
        window->menu().Laden1->trigger();
        openMap(*window, *dialogs);
        if (english) {
            // Switched with the map open: the lists are refilled, the map's lines stay chosen.
            chooseLanguage(*window, "English");
        }
        dialogs->inputsAsked.clear();  // asked in German before the switch
        const auto& header = window->session().mapState().map().header;
        QCOMPARE(quillon::testing::child<QComboBox>(*window, "Cbo_Wetter")->currentIndex(),
                 static_cast<int>(header.weather()));
        QCOMPARE(quillon::testing::child<QComboBox>(*window, "Cbo_Typ")->currentIndex(),
                 static_cast<int>(header.type()));
        openEverything(*window, *dialogs);
        QStringList found = foreignTexts(window.get(), foreign);
        found += dialogTexts(*window, *dialogs, foreign);
        found += foreignLines(boxTexts(*dialogs), foreign);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    // The error box shows a catalogue message in the chosen language, as a sentence; an error
    // without an id keeps its finished sentence, any other failure its own text.
    void errorBoxSpeaksTheChosenLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("shown");
        const QString english = QStringLiteral("English");
        const QString german = QStringLiteral("Deutsch");
        QTest::newRow("message in English")
            << english << 0
            << QStringLiteral(
                   "The grid at $000010 (8 bytes) reaches into the cartridge header "
                   "(up to $0000C0); nothing was written.");
        QTest::newRow("message in German")
            << german << 0
            << QStringLiteral(
                   "Block-Grid ($000010, 8 Bytes) ragt in den Rom-Header (bis "
                   "$0000C0); es wurde nichts geschrieben.");
        QTest::newRow("message before any language")
            << QString() << 0
            << QStringLiteral(
                   "Block-Grid ($000010, 8 Bytes) ragt in den Rom-Header (bis "
                   "$0000C0); es wurde nichts geschrieben.");
        QTest::newRow("sentence without an id") << english << 1 << QStringLiteral("Satz.");
        QTest::newRow("other exception") << english << 2 << QStringLiteral("other");
        QTest::newRow("unknown failure") << english << 3 << QStringLiteral("Unknown error.");
        QTest::newRow("unknown failure in German")
            << german << 3 << QStringLiteral("Unbekannter Fehler.");
    }
    void errorBoxSpeaksTheChosenLanguage() {
        QFETCH(QString, language);
        QFETCH(int, failure);
        QFETCH(QString, shown);
        const quillon::IniFile texts(std::filesystem::path(QUILLON_SHIPPED_DATA) / "Sprachen.ini");
        quillon::LanguageTable lang(texts);
        lang.setCurrent(language.toStdString());
        FakeDialogs dialogs;
        if (!language.isEmpty()) {
            dialogs.setLanguage(&lang);
        }
        using quillon::message;
        const bool finished = quillon::ui::runCommand(nullptr, dialogs, [failure] {
            switch (failure) {
                case 0:
                    throw quillon::Error(message(
                        "place.header",
                        {message("place.range", {message("place.name.grid"), "$000010", "8"}),
                         "$0000C0"}));
                case 1:
                    throw quillon::Error("Satz.");
                case 2:
                    throw std::runtime_error("other");
                default:
                    throw failure;
            }
        });
        QVERIFY(!finished);
        QCOMPARE(dialogs.errors, QStringList{shown});
    }
};

QUILLON_UI_TEST(LanguageWalkTest)
#include "language_walk_test.moc"
