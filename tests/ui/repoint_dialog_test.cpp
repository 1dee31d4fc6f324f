#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "core/config/game_profile.h"
#include "core/base/ini_file.h"
#include "core/config/language_table.h"
#include "core/errors.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"
#include "tests/support/program_folder.h"
#include "tests/ui/fake_dialogs.h"
#include "tests/ui/ui_test_main.h"
#include "ui/dialogs.h"
#include "ui/repoint_dialog.h"

using quillon::ui::TUmpointenForm;

namespace {

// Used bytes (0x11) with free runs: FF at 0x6B0010 (41 bytes), FF at 0x6C0003 (72 bytes), 00 at
// 0x6D0001 (38 bytes), and the longest, FF from 0x6F0000 up to the end at 0x710000. A hit
// needs 32 free bytes before it.
std::vector<std::uint8_t> imageWithRuns() {
    std::vector<std::uint8_t> bytes(0x710000, 0x11);
    std::fill_n(bytes.begin() + 0x6B0010, 41, 0xFF);
    std::fill_n(bytes.begin() + 0x6C0003, 72, 0xFF);
    std::fill_n(bytes.begin() + 0x6D0001, 38, 0x00);
    std::fill(bytes.begin() + 0x6F0000, bytes.end(), 0xFF);
    return bytes;
}

// A click on the button's mark: a radio button answers only there and on its text.
void clickMark(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

QStringList listed(QListView* list) {
    QStringList items;
    const QAbstractItemModel* model = list->model();
    for (int i = 0; i < model->rowCount(); ++i) {
        items << model->data(model->index(i, 0)).toString();
    }
    return items;
}

void selectRow(QListView* list, int row) {
    list->setCurrentIndex(list->model()->index(row, 0));
}

}  // namespace

class RepointDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsInOffsetModeAndSwitchesControls();
    void defaultSearchFollowsTheProfile();
    void typedOffsetIsTheResult_data();
    void typedOffsetIsTheResult();
    void searchesWithRangeAndPicksAResult_data();
    void searchesWithRangeAndPicksAResult();
    void searchForAlignedDataListsOnlyAlignedStarts_data();
    void searchForAlignedDataListsOnlyAlignedStarts();
    void searchWithoutRangeStopsAtTen();
    void wideRangeListsEveryHit();
    void startBehindTheEndSaysSo();
    void badSearchFieldsKeepTheDialogOpen();
    void misalignedChoiceOffersTheAlignedStart_data();
    void misalignedChoiceOffersTheAlignedStart();
    void takesItsTextsFromTheLanguage();
    void realDialogsMapTheRequestAndTheAnswer();
    void refusedPlaceSaysWhyAndTheDialogStaysOpen();

private:
    void typeOffset(const QString& text);
    void search(const QString& count, const QString& byte, std::optional<QString> range);

    quillon::testing::TempDir m_dir;
    quillon::IniFile m_noLanguage;
    std::unique_ptr<quillon::LanguageTable> m_lang;
    quillon::TRom m_rom;
    quillon::GameProfile m_profile;  // an unknown game: no free area, no tables
    quillon::testing::FakeDialogs m_dialogs;
    std::unique_ptr<TUmpointenForm> m_form;
};

void RepointDialogTest::init() {
    m_rom.attach(std::make_unique<quillon::MemoryRomFile>(imageWithRuns()), "runs.gba");
    m_dialogs = {};
    m_lang = std::make_unique<quillon::LanguageTable>(m_noLanguage);
    m_form = std::make_unique<TUmpointenForm>(m_rom, m_profile, *m_lang, m_dialogs);
    m_form->show();
}

void RepointDialogTest::cleanup() { m_form.reset(); }

void RepointDialogTest::typeOffset(const QString& text) {
    m_form->Txt_Offset->clear();
    QTest::keyClicks(m_form->Txt_Offset, text);
}

void RepointDialogTest::search(const QString& count, const QString& byte,
                               std::optional<QString> range) {
    clickMark(m_form->Chk_Suchen);
    m_form->Txt_Anzahl->setText(count);
    m_form->Cbo_Byte->setCurrentText(byte);
    m_form->Chk_Suchbereich->setChecked(range.has_value());
    if (range) {
        const QStringList ends = range->split(QLatin1Char('-'));
        m_form->Txt_Von->setText(ends[0]);
        m_form->Txt_Bis->setText(ends[1]);
    }
    QTest::mouseClick(m_form->Cmd_OK, Qt::LeftButton);
}

void RepointDialogTest::startsInOffsetModeAndSwitchesControls() {
    TUmpointenForm& f = *m_form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Umpointen"));
    QVERIFY(f.Chk_Angeben->isChecked());
    QCOMPARE(f.Cbo_Byte->currentText(), QStringLiteral("FF"));
    QCOMPARE(f.Txt_Anzahl->text(), QStringLiteral("1"));
    // The longest run of FF up to the file's last byte.
    QCOMPARE(f.Txt_Von->text(), QStringLiteral("$6F0000"));
    QCOMPARE(f.Txt_Bis->text(), QStringLiteral("$70FFFF"));
    const QList<QWidget*> searchControls{f.Cbo_Byte,  f.Txt_Anzahl, f.Chk_Suchbereich, f.Txt_Von,
                                         f.Txt_Bis,   f.Cmd_OK,     f.Lst_Ergebniss};
    for (QWidget* w : searchControls) {
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    }
    QVERIFY(f.Txt_Offset->isEnabled());
    QVERIFY(!f.Cmd_Umpointen->isEnabled());  // no offset typed yet
    typeOffset(QStringLiteral("$6B0010"));
    QVERIFY(f.Cmd_Umpointen->isEnabled());

    clickMark(f.Chk_Suchen);
    for (QWidget* w : searchControls) {
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    }
    QVERIFY(!f.Txt_Offset->isEnabled());
    QVERIFY(!f.Cmd_Umpointen->isEnabled());  // no result selected

    clickMark(f.Chk_Angeben);
    QVERIFY(f.Cmd_Umpointen->isEnabled());  // the typed offset is still there
}

// A known game: "Von" is its free area, and a search from there leaves its tables alone.
void RepointDialogTest::defaultSearchFollowsTheProfile() {
    quillon::GameProfile profile;
    profile.freeSpaceStart = 0x6F0000;
    profile.specialPalHeader = 0x6F0100;  // 208 bytes of table inside the free run
    TUmpointenForm form(m_rom, profile, *m_lang, m_dialogs);
    form.show();
    QCOMPARE(form.Txt_Von->text(), QStringLiteral("$6F0000"));
    clickMark(form.Chk_Suchen);
    form.Txt_Anzahl->setText(QStringLiteral("64"));
    QTest::mouseClick(form.Cmd_OK, Qt::LeftButton);
    QCOMPARE(listed(form.Lst_Ergebniss),
             (QStringList{"$6F0020", "$6F0061", "$6F00A2", "$6F01F0", "$6F0231", "$6F0272",
                          "$6F02B3", "$6F02F4", "$6F0335", "$6F0376"}));

    // The profile's own start also when a longer run lies elsewhere.
    profile.freeSpaceStart = 0x6C0003;
    TUmpointenForm atKey(m_rom, profile, *m_lang, m_dialogs);
    QCOMPARE(atKey.Txt_Von->text(), QStringLiteral("$6C0003"));

    // A misaligned choice is not moved into the table either: 0x6F00E4 + 28 ends at it.
    for (const std::uint32_t count : {28u, 29u}) {
        m_dialogs = {};
        m_dialogs.confirmAnswer = true;
        atKey.show();
        atKey.setAnzahl(count);
        atKey.setAlignment(4);
        atKey.Txt_Offset->setText(QStringLiteral("$6F00E3"));
        QTest::mouseClick(atKey.Cmd_Umpointen, Qt::LeftButton);
        QCOMPARE(atKey.getResult(), count == 28 ? qint64(0x6F00E4) : qint64(-1));
        QCOMPARE(m_dialogs.errors.size(), count == 28 ? 0 : 1);
    }
}

void RepointDialogTest::typedOffsetIsTheResult_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("result");  // -1: refused, the dialog stays open
    QTest::newRow("hex") << "$6B0010" << qint64(0x6B0010);
    QTest::newRow("decimal") << "7012371" << qint64(7012371);
    QTest::newRow("not a number") << "$6B00G0" << qint64(-1);
    QTest::newRow("negative") << "-16" << qint64(-1);
    QTest::newRow("past the end of the file") << "$710000" << qint64(-1);
}

void RepointDialogTest::typedOffsetIsTheResult() {
    QFETCH(QString, typed);
    QFETCH(qint64, result);
    m_form->setAnzahl(4);
    typeOffset(typed);
    QTest::mouseClick(m_form->Cmd_Umpointen, Qt::LeftButton);
    QCOMPARE(m_form->getResult(), result);
    QCOMPARE(m_form->getResult(), qint64(-1));  // read once
    QCOMPARE(m_form->isVisible(), result < 0);
    QCOMPARE(m_dialogs.errors.size(), result < 0 ? 1 : 0);
}

void RepointDialogTest::searchesWithRangeAndPicksAResult_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("byte");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("guard + 2n + 1 run, then a long one")
        << "4" << "FF" << "$6B0000-$6C0028"
        << QStringList{"$6B0030", "$6B0035", "$6C0023", "$6C0028"};
    QTest::newRow("hit at the range end itself")
        << "8" << "FF" << "$6C0000-$6C002C" << QStringList{"$6C0023", "$6C002C"};
    QTest::newRow("zeros") << "2" << "00" << "0-$6E0000" << QStringList{"$6D0021", "$6D0024"};
    QTest::newRow("nothing") << "41" << "FF" << "$6B0000-$6EFFFF" << QStringList{};
}

void RepointDialogTest::searchesWithRangeAndPicksAResult() {
    QFETCH(QString, count);
    QFETCH(QString, byte);
    QFETCH(QString, range);
    QFETCH(QStringList, results);
    search(count, byte, range);
    QCOMPARE(listed(m_form->Lst_Ergebniss), results);
    QCOMPARE(m_dialogs.informs, QStringList{"Umpointen|Fertig gesucht!"});
    QCOMPARE(m_form->Cmd_Umpointen->isEnabled(), !results.isEmpty());
    QTest::mouseClick(m_form->Cmd_Umpointen, Qt::LeftButton);
    if (results.isEmpty()) {
        return;
    }
    QCOMPARE(m_form->Lst_Ergebniss->currentIndex().row(), 0);  // the first result was selected
    QCOMPARE(m_form->getResult(), qint64(results[0].mid(1).toLongLong(nullptr, 16)));
    QVERIFY(!m_form->isVisible());
}

void RepointDialogTest::searchForAlignedDataListsOnlyAlignedStarts_data() {
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("byte");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QStringList>("results");
    // Hits $6B0030, $6B0035 (its run ends at $6B0038: no aligned start with 4 bytes), $6C0023
    // and $6C0028.
    QTest::newRow("on 4, a run too short dropped")
        << 4 << "4" << "FF" << "$6B0000-$6C0028" << QStringList{"$6B0030", "$6C0024", "$6C0028"};
    QTest::newRow("even") << 2 << "4" << "FF" << "$6B0000-$6C0028"
                          << QStringList{"$6B0030", "$6C0024", "$6C0028"};
    // Hits $6D0021 and $6D0024: on 4 both give $6D0024, listed once.
    QTest::newRow("zeros on 4") << 4 << "2" << "00" << "0-$6E0000" << QStringList{"$6D0024"};
    QTest::newRow("zeros even")
        << 2 << "2" << "00" << "0-$6E0000" << QStringList{"$6D0022", "$6D0024"};
}

// Data that needs an aligned start is offered only such starts, so no pick needs a second
// question.
void RepointDialogTest::searchForAlignedDataListsOnlyAlignedStarts() {
    QFETCH(int, alignment);
    QFETCH(QString, count);
    QFETCH(QString, byte);
    QFETCH(QString, range);
    QFETCH(QStringList, results);
    m_form->setAlignment(alignment);
    search(count, byte, range);
    QCOMPARE(listed(m_form->Lst_Ergebniss), results);
    selectRow(m_form->Lst_Ergebniss, static_cast<int>(results.size()) - 1);
    QTest::mouseClick(m_form->Cmd_Umpointen, Qt::LeftButton);
    QCOMPARE(m_form->getResult(), qint64(results.last().mid(1).toLongLong(nullptr, 16)));
    QVERIFY(m_dialogs.confirms.isEmpty());
}

void RepointDialogTest::searchWithoutRangeStopsAtTen() {
    // From 0x6F0000 on everything is FF: thousands of hits for one byte, 32 bytes in.
    m_form->Txt_Von->setText(QStringLiteral("$6EFFF0"));
    search(QStringLiteral("1"), QStringLiteral("FF"), std::nullopt);
    QStringList ten;
    for (int i = 0; i < 10; ++i) {
        ten << QStringLiteral("$%1").arg(0x6F0020 + 2 * i, 6, 16, QLatin1Char('0')).toUpper();
    }
    QCOMPARE(listed(m_form->Lst_Ergebniss), ten);
    QCOMPARE(m_dialogs.informs, QStringList{"Umpointen|10 Ergebnisse gefunden!"});

    // Picking another entry gives that one.
    selectRow(m_form->Lst_Ergebniss, 3);
    QTest::mouseClick(m_form->Cmd_Umpointen, Qt::LeftButton);
    QCOMPARE(m_form->getResult(), qint64(0x6F0026));
}

void RepointDialogTest::wideRangeListsEveryHit() {
    // A range has no ten-hit limit: every second byte of 0x20000 behind the guard is listed,
    // the last pickable.
    search(QStringLiteral("1"), QStringLiteral("FF"), QStringLiteral("$6F0000-$70FFFF"));
    const QAbstractItemModel* results = m_form->Lst_Ergebniss->model();
    const int rows = 0x10000 - 0x10;
    QCOMPARE(results->rowCount(), rows);
    QCOMPARE(results->data(results->index(rows - 1, 0)).toString(), QStringLiteral("$70FFFE"));
    selectRow(m_form->Lst_Ergebniss, rows - 1);
    QTest::mouseClick(m_form->Cmd_Umpointen, Qt::LeftButton);
    QCOMPARE(m_form->getResult(), qint64(0x70FFFE));
}

void RepointDialogTest::startBehindTheEndSaysSo() {
    // A search from behind the end of a small ROM finds nothing and says why.
    m_form->Txt_Von->setText(QStringLiteral("$710000"));
    search(QStringLiteral("1"), QStringLiteral("FF"), std::nullopt);
    QCOMPARE(m_form->Lst_Ergebniss->model()->rowCount(), 0);
    QCOMPARE(m_dialogs.informs,
             QStringList{"Umpointen|Nichts gefunden: die Suche beginnt bei $710000, hinter dem "
                         "Ende der Datei ($70FFFF). Unter \"Von\" einen kleineren Offset "
                         "angeben."});
}

void RepointDialogTest::badSearchFieldsKeepTheDialogOpen() {
    search(QStringLiteral("4"), QStringLiteral("FF"), QStringLiteral("$6B0000-$6C0028"));
    QCOMPARE(m_form->Lst_Ergebniss->model()->rowCount(), 4);
    for (const char* bad : {"$6B00Z0-$6C0010", "$6B0000-zehn", "-4-$6C0010"}) {
        m_dialogs.errors.clear();
        search(QStringLiteral("4"), QStringLiteral("FF"), QString::fromLatin1(bad));
        QCOMPARE(m_dialogs.errors.size(), 1);
        QCOMPARE(m_form->Lst_Ergebniss->model()->rowCount(), 0);  // the list is cleared first
        QVERIFY(!m_form->Cmd_Umpointen->isEnabled());
        QVERIFY(m_form->isVisible());
    }
    m_dialogs.errors.clear();
    search(QStringLiteral("0"), QStringLiteral("FF"), QStringLiteral("$6B0000-$6C0010"));
    QCOMPARE(m_dialogs.errors.size(), 1);
}

void RepointDialogTest::misalignedChoiceOffersTheAlignedStart_data() {
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<qint64>("result");  // -1: the dialog stays open
    QTest::addColumn<int>("questions");
    QTest::newRow("accepted") << 4 << "$6C0003" << true << qint64(0x6C0004) << 1;
    QTest::newRow("declined") << 4 << "$6C0003" << false << qint64(-1) << 1;
    QTest::newRow("even start") << 2 << "$6C0003" << true << qint64(0x6C0004) << 1;
    QTest::newRow("aligned already") << 4 << "$6C0008" << true << qint64(0x6C0008) << 0;
    QTest::newRow("run too short") << 4 << "$6B0035" << true << qint64(-1) << 0;
    QTest::newRow("used byte") << 2 << "$6B0001" << true << qint64(-1) << 0;
}

void RepointDialogTest::misalignedChoiceOffersTheAlignedStart() {
    QFETCH(int, alignment);
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(qint64, result);
    QFETCH(int, questions);
    m_form->setAnzahl(8);
    m_form->setAlignment(alignment);
    m_dialogs.confirmAnswer = accept;
    typeOffset(typed);
    QTest::mouseClick(m_form->Cmd_Umpointen, Qt::LeftButton);
    QCOMPARE(m_form->getResult(), result);
    QCOMPARE(m_dialogs.confirms.size(), questions);
    if (questions > 0) {
        QVERIFY(m_dialogs.confirms[0].contains(QStringLiteral("$6C0004")));
    }
    const bool refused = questions == 0 && result < 0;
    QCOMPARE(m_dialogs.errors.size(), refused ? 1 : 0);
    QCOMPARE(m_form->isVisible(), result < 0);
}

void RepointDialogTest::takesItsTextsFromTheLanguage() {
    const auto file = m_dir.file("Sprachen.ini");
    std::ofstream(file) << "[English]\n88=Repoint\n886=Search bytes\n893=Repoint it\n";
    quillon::IniFile texts(file);
    quillon::LanguageTable lang(texts);
    lang.setCurrent("English");
    TUmpointenForm form(m_rom, m_profile, lang, m_dialogs);
    QCOMPARE(form.windowTitle(), QStringLiteral("Repoint"));
    QCOMPARE(form.Chk_Suchen->text(), QStringLiteral("Search bytes"));
    QCOMPARE(form.Cmd_Umpointen->text(), QStringLiteral("Repoint it"));
    QCOMPARE(form.Chk_Angeben->text(), QStringLiteral("Fehler"));  // missing in the language
    // Without a language file the German texts stay.
    QCOMPARE(m_form->Chk_Angeben->text(), QStringLiteral("Offset angeben"));
    QCOMPARE(m_form->Lst_Ergebniss->model()->rowCount(), 0);
}

void RepointDialogTest::realDialogsMapTheRequestAndTheAnswer() {
    quillon::ui::QtDialogs real(m_rom, *m_lang,
                                [this]() -> const quillon::GameProfile& { return m_profile; });
    QStringList seen;
    const auto answer = [&seen](bool pick) {
        QTimer::singleShot(0, [&seen, pick] {
            auto* form = qobject_cast<TUmpointenForm*>(QApplication::activeModalWidget());
            if (form == nullptr) {
                seen << QStringLiteral("no dialog");
                return;
            }
            seen << form->windowTitle() << form->Txt_Anzahl->text() << form->Txt_Offset->text();
            pick ? form->Cmd_Umpointen->click() : form->reject();
        });
    };
    answer(true);
    const auto picked = real.repoint(
        nullptr, {QStringLiteral("Neuer MapOffset"), 232, QStringLiteral("$6C0008"), 4, {}});
    QCOMPARE(picked, std::optional(quillon::ui::RepointChoice{0x6C0008, 0xFF}));
    QCOMPARE(seen, (QStringList{"Neuer MapOffset", "232", "$6C0008"}));

    seen.clear();
    answer(false);
    const auto cancelled =
        real.repoint(nullptr, {QStringLiteral("Neuer EventOffset"), 20, {}, 4, {}});
    QCOMPARE(cancelled, std::nullopt);
    QCOMPARE(seen, (QStringList{"Neuer EventOffset", "20", ""}));
}

// The command's check refuses a place: the user reads why, the dialog stays open and takes the
// next choice; the check sees the byte the search looked for.
void RepointDialogTest::refusedPlaceSaysWhyAndTheDialogStaysOpen() {
    std::vector<std::pair<std::uint32_t, std::uint8_t>> checked;
    m_form->setCheck([&checked](std::uint32_t offset, std::uint8_t fill) {
        checked.emplace_back(offset, fill);
        if (offset == 0x6B0010) {
            throw quillon::Error("Block-Grid ($6B0010, 9 Bytes) ist bei $6B0010 nicht frei.");
        }
    });
    typeOffset(QStringLiteral("$6B0010"));
    QTest::mouseClick(m_form->Cmd_Umpointen, Qt::LeftButton);
    QVERIFY(m_form->isVisible());
    QCOMPARE(
        m_dialogs.errors,
        QStringList{QStringLiteral("Block-Grid ($6B0010, 9 Bytes) ist bei $6B0010 nicht frei.")});
    QCOMPARE(m_form->getResult(), -1);

    search(QStringLiteral("2"), QStringLiteral("00"), QStringLiteral("$6D0000-$6D0030"));
    QTest::mouseClick(m_form->Cmd_Umpointen, Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->getResult(), 0x6D0021);
    QCOMPARE(m_form->fill(), std::uint8_t{0x00});
    const std::vector<std::pair<std::uint32_t, std::uint8_t>> expected{{0x6B0010, 0xFF},
                                                                       {0x6D0021, 0x00}};
    QVERIFY(checked == expected);
}

QUILLON_UI_TEST(RepointDialogTest)
#include "repoint_dialog_test.moc"
