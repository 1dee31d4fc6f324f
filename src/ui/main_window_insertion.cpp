// The main window's "Map Einfügen": the map in memory into a slot of the ROM's bank table.
// Every answer (the grid's place, the slot, the question about the maps it holds or the footer
// they share, the events' place, a footer of the slot's own) comes before the first byte is
// written; each place is checked by the placement check while the dialog is open.
#include "core/base/numbers.h"
#include "core/mapfile/map_insertion.h"
#include "core/mapfile/slot_maps.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"
#include "core/session/session.h"
#include "ui/command.h"
#include "ui/language_texts.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

// The grid is read as 16-bit words, event tables, headers and footers as 32-bit words.
constexpr int kGridAlignment = 2;
constexpr int kInsertedEventAlignment = 4;
constexpr int kSlotTries = 3;

}  // namespace

// Up to three answers; one without "." counts as invalid. nullopt when the user cancelled or
// gave three invalid answers (the box saying so was shown).
std::optional<QString> MainWindow::askInsertionSlot() {
    const LanguageTable& lang = m_session->lang();
    for (int i = 0; i < kSlotTries; ++i) {
        const auto answer = m_dialogs->inputText(
            this, langText(lang, 11431, "Bank/Nr"),
            langText(lang, 11432, "Als welche Map (\"Bank\".\"MapNr\") soll es eingefügt werden?"),
            m_insertedSlot.isEmpty() ? m_identifier : m_insertedSlot);
        if (!answer) {
            inform(langText(lang, 11430, "Map einfügen abgebrochen!"));
            return std::nullopt;
        }
        if (answer->contains(QLatin1Char('.'))) {
            return answer->trimmed();
        }
    }
    inform(langText(lang, 11436,
                    "Einfügen fehlgeschlagen, da 3mal eine ungültige Bank und MapNr. "
                    "eingegeben wurde!"));
    return std::nullopt;
}

// Every answer comes before the first byte is written: the grid's place, the slot (refused
// when the ROM's tables do not have it), the events' place.
void MainWindow::MapEinfugen1Click() {
    if (!m_session->mapState().loaded() || !finishInput()) {
        return;
    }
    const LanguageTable& lang = m_session->lang();
    const QString cancelled = langText(lang, 11430, "Map einfügen abgebrochen!");
    RepointRequest request{langText(lang, 882, "Neuer MapOffset"),
                           map_insertion::gridSpace(m_session->mapState().grid()), QString(),
                           kGridAlignment, [this](std::uint32_t at, std::uint8_t fill) {
                               map_insertion::checkGridPlace(
                                   m_session->rom(), m_session->mapState().grid(), at, fill);
                           }};
    const auto gridSpace = m_dialogs->repoint(this, request);
    if (!gridSpace) {
        inform(cancelled);
        return;
    }
    const auto answer = askInsertionSlot();
    if (!answer) {
        return;
    }
    const auto [bank, map] = *map_insertion::parseSlot(toStd(*answer));
    const auto slot =
        map_insertion::locateSlot(m_session->rom(), m_session->romState().bankScan(), bank, map);
    map_insertion::Plan base;
    base.bank = bank;
    base.map = map;
    base.gridSpace = gridSpace->offset;
    base.gridFill = gridSpace->fill;
    bool ownFooter = false;
    if (!askSharedFooter(slot, base, ownFooter)) {
        return;
    }
    // A shared footer was the question already; otherwise the maps the slot holds are named.
    if (!base.sharedOk && !ownFooter && !replaceSlotMaps(slot)) {
        inform(cancelled);
        return;
    }
    auto plan = askEventPlace(base, ownFooter, request.count);
    if (!plan) {
        inform(cancelled);
        return;
    }
    if (ownFooter) {
        plan->ownFooter = askOwnFooterPlace(*plan);
        if (!plan->ownFooter) {
            inform(cancelled);
            return;
        }
    }
    const map_insertion::Result result =
        map_insertion::insert(m_session->rom(), m_session->romState().profile(),
                              m_session->romState().bankScan(), m_session->mapState().map(),
                              m_session->mapState().grid(), m_session->mapState().events(), *plan);
    mapInserted(*answer, result);
}

// The slot's map is replaced, and with it every map sharing its footer: they are named, and
// the insertion goes on only when the user agrees.
bool MainWindow::replaceSlotMaps(const map_insertion::Slot& slot) {
    const std::vector<BankMap> maps =
        map_insertion::mapsInSlot(m_session->rom(), m_session->romState().bankScan(), slot);
    m_session->rom().Close();
    QStringList names;
    for (const BankMap& m : maps) {
        names << QStringLiteral("%1.%2 \"%3\"").arg(m.bank).arg(m.map).arg(toQ(m.name));
    }
    const LanguageTable& lang = m_session->lang();
    QString text = langText(lang, 1739, "Der Platz %1.%2 hält die Map %3.")
                       .arg(slot.bank)
                       .arg(slot.map)
                       .arg(names.value(0));
    if (names.size() > 1) {
        text += QLatin1Char(' ') +
                langText(lang, 1740,
                         "Ihren Map-Footer teilen %1 weitere Maps: %2. Sie alle bekommen die "
                         "Grösse und den Block-Grid der eingefügten Map.")
                    .arg(names.size() - 1)
                    .arg(names.mid(1).join(QStringLiteral(", ")));
    }
    text += QLatin1Char(' ') +
            langText(lang, 1741, "Die eingefügte Map ersetzt sie. Trotzdem einfügen?");
    return m_dialogs->confirm(this, langText(lang, "00", "Frage"), text);
}

// A slot whose footer other maps share: the user gives it a footer of its own (own; its place
// is asked last) or lets all of them change. False when cancelled (the box saying so was shown).
bool MainWindow::askSharedFooter(const map_insertion::Slot& slot, map_insertion::Plan& plan,
                                 bool& own) {
    const auto sharing = map_insertion::mapsSharingFooter(
        m_session->rom(), m_session->romState().bankScan(), slot.footer);
    m_session->rom().Close();
    own = false;
    if (sharing.size() <= 1) {
        return true;
    }
    const LanguageTable& lang = m_session->lang();
    const QString question =
        langText(lang, 11450, "Den Map-Footer dieses Platzes teilen sich") + QLatin1Char(' ') +
        QString::number(sharing.size()) + QLatin1Char(' ') +
        langText(lang, 11451,
                 "Maps; Einfügen ändert sie alle. Soll der Platz einen eigenen Map-Footer "
                 "bekommen?");
    const int answer = m_dialogs->choose(
        this, langText(lang, "00", "Frage"), question,
        {langText(lang, 11452, "Eigener Footer"), langText(lang, 11453, "Alle ändern"),
         langText(lang, 11454, "Abbrechen")});
    if (answer != 0 && answer != 1) {
        inform(langText(lang, 11430, "Map einfügen abgebrochen!"));
        return false;
    }
    plan.sharedOk = answer == 1;
    own = answer == 0;
    return true;
}

// The events' place for an insertion as base plans it, checked with the whole plan (a footer
// of the slot's own is placed later: it is taken as allowed here); nullopt when cancelled.
std::optional<map_insertion::Plan> MainWindow::askEventPlace(const map_insertion::Plan& base,
                                                             bool ownFooter,
                                                             std::uint32_t gridBytes) {
    // Offered: the free run behind the grid's space, which a search would not skip.
    const std::uint32_t eventBytes = map_insertion::eventSpace(m_session->mapState().events());
    const auto behindGrid =
        nextAlignedFree(m_session->rom(), base.gridSpace + gridBytes, eventBytes, kInsertedEventAlignment);
    m_session->rom().Close();
    const auto planFor = [base](std::uint32_t at, std::uint8_t fill) {
        map_insertion::Plan plan = base;
        plan.events = at;
        plan.eventFill = fill;
        return plan;
    };
    const LanguageTable& lang = m_session->lang();
    const RepointRequest request{
        langText(lang, 883, "Neuer EventOffset"), eventBytes,
        behindGrid ? toQ("$" + IntToHex(*behindGrid, 6)) : QString(), kInsertedEventAlignment,
        [this, planFor, ownFooter](std::uint32_t at, std::uint8_t fill) {
            map_insertion::Plan plan = planFor(at, fill);
            plan.sharedOk = plan.sharedOk || ownFooter;
            checkInsertion(plan);
        }};
    const auto events = m_dialogs->repoint(this, request);
    if (!events) {
        return std::nullopt;
    }
    return planFor(events->offset, events->fill);
}

void MainWindow::checkInsertion(const map_insertion::Plan& plan) {
    map_insertion::checkPlan(m_session->rom(), m_session->romState().profile(),
                             m_session->romState().bankScan(), m_session->mapState().map(),
                             m_session->mapState().grid(), m_session->mapState().events(), plan);
}

// The place of a slot's own footer and border, checked with the whole plan; offered: the free
// run behind the events.
std::optional<std::uint32_t> MainWindow::askOwnFooterPlace(const map_insertion::Plan& plan) {
    const std::uint32_t footerBytes = map_insertion::ownFooterSpace(m_session->rom());
    const std::uint32_t after =
        plan.events + map_insertion::eventSpace(m_session->mapState().events());
    const auto behind = nextAlignedFree(m_session->rom(), after, footerBytes, kInsertedEventAlignment);
    m_session->rom().Close();
    const RepointRequest request{
        langText(m_session->lang(), 11455, "Offset für den eigenen Map-Footer"), footerBytes,
        behind ? toQ("$" + IntToHex(*behind, 6)) : QString(), kInsertedEventAlignment,
        [this, plan](std::uint32_t at, std::uint8_t) {
            map_insertion::Plan withFooter = plan;
            withFooter.ownFooter = at;
            checkInsertion(withFooter);
        }};
    const auto place = m_dialogs->repoint(this, request);
    if (!place) {
        return std::nullopt;
    }
    return place->offset;
}

void MainWindow::mapInserted(const QString& slot, const map_insertion::Result& result) {
    const LanguageTable& lang = m_session->lang();
    inform(langText(lang, 11434, "Die Map wurde erfolgreich als Map") + QLatin1Char(' ') + slot +
           QLatin1Char(' ') + langText(lang, 11435, "eingetragen!"));
    const auto [bank, map] = *map_insertion::parseSlot(toStd(slot));
    const CurrentMap& open = m_session->mapState().map();
    // A ROM map put into its own slot lies elsewhere now: it is read again from there.
    const bool ownSlot =
        !open.outsideRom && open.hasHeader() && open.bank == bank && open.map == map;
    m_insertedSlot = slot;
    if (ownSlot) {
        loadMap(slot, m_title);
    } else {
        // A map sharing the slot's footer keeps its grid where the footer now points.
        map_insertion::followFooter(m_session->mapState().map(), result);
    }
    showStateStatus();
}

}  // namespace quillon::ui
