// What the connections window does: loading the open map's connections, showing one, the
// field edits, adding, removing, saving, the way back and the neighbour buttons.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <algorithm>

#include "core/writers/connection_save.h"
#include "core/errors.h"
#include "core/map/map_list.h"
#include "core/session/session.h"
#include "ui/connections/anbindungen_form.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

// The title prefixes of the neighbour buttons, by direction 1 to 6.
struct Prefix {
    int number;
    const char* german;
};
constexpr Prefix kPrefixes[] = {{13600, "Unterhalb von"},  {13601, "Oberhalb von"},
                                {13602, "Links von"},      {13603, "Rechts von"},
                                {13604, "Abgetaucht bei"}, {13605, "Aufgetaucht bei"}};

QString mapId(int bank, int map) { return QStringLiteral("%1.%2").arg(bank).arg(map); }

}  // namespace

std::size_t TAnbindungenForm::current() const {
    return static_cast<std::size_t>(Spin_AnbNr->value());
}

void TAnbindungenForm::Laden() {
    m_list = ConnectionList();
    bool readable = true;
    try {
        m_list = loadConnections(m_session.rom(), m_session.mapState());
        const auto notice = m_list.tooManyNotice();
        Lbl_Hinweis->setText(notice ? toQ(m_session.lang().text(*notice)) : QString());
    } catch (const Error& e) {
        // The table lies outside the file: the window shows nothing of it.
        Lbl_Hinweis->setText(errorText(&m_session.lang(), e));
        readable = false;
    }
    // A map with a header can get its first connection; the footer-only path cannot.
    SBox_Anbindungen->setEnabled(readable && m_session.mapState().loaded() &&
                                 m_session.mapState().map().hasHeader());
    {
        LoadingGuard loading(m_loading);
        Spin_AnbNr->setRange(1, std::max<int>(1, static_cast<int>(m_list.count())));
        Spin_AnbNr->setValue(1);
    }
    showRecord();
    KnoepfeLaden();
    showWayBacks();
}

void TAnbindungenForm::Spin_AnbNrChange() {
    if (!m_loading.active()) {
        showRecord();
        showWayBacks();
    }
}

void TAnbindungenForm::showRecord() {
    LoadingGuard loading(m_loading);
    const std::size_t count = m_list.count();
    const Connection c = count > 0 ? m_list.at(std::min(current(), count)) : Connection{};
    Cbo_Richtung->setCurrentIndex(c.direction < 7 ? static_cast<int>(c.direction) : -1);
    Txt_Verschiebung->setText(toQ(offsetText(c)));
    Txt_MapBank->setText(QString::number(c.bank));
    Txt_MapNr->setText(QString::number(c.map));
    Txt_Nullen->setText(toQ(fillerText(c)));
    for (QWidget* field :
         std::initializer_list<QWidget*>{Cbo_Richtung, Txt_Verschiebung, Txt_MapBank, Txt_MapNr,
                                         Txt_Nullen, Cmd_AnbEntfernen}) {
        field->setEnabled(count > 0);
    }
    Spin_AnbNr->setEnabled(count > 1);
    Lbl_Anzahl->setText(QString::number(count));
}

void TAnbindungenForm::fieldEdited(void (ConnectionList::*set)(std::size_t, std::string_view),
                                   const QLineEdit* field) {
    if (m_loading.active() || m_list.count() == 0) {
        return;
    }
    (m_list.*set)(current(), toStd(field->text()));
    KnoepfeLaden();
    showWayBacks();
}

void TAnbindungenForm::Cmd_AnbHinzufugenClick() {
    m_list.add();
    LoadingGuard loading(m_loading);
    Spin_AnbNr->setMaximum(static_cast<int>(m_list.count()));
    showRecord();
    KnoepfeLaden();
    showWayBacks();
}

void TAnbindungenForm::Cmd_AnbEntfernenClick() {
    if (m_list.count() == 0) {
        return;
    }
    const std::size_t n = current();
    const QString question = text(13680, "Wollen Sie die") + QLatin1Char(' ') + QString::number(n) +
                             text(13681, ". Anbindung wirklich löschen?");
    if (!m_dialogs.confirm(this, langText(m_session.lang(), "00", "Frage"), question)) {
        return;
    }
    m_list.remove(n);
    {
        LoadingGuard loading(m_loading);
        if (n > m_list.count()) {
            Spin_AnbNr->setValue(1);
        }
        Spin_AnbNr->setMaximum(std::max<int>(1, static_cast<int>(m_list.count())));
    }
    showRecord();
    KnoepfeLaden();
    showWayBacks();
}

std::optional<RepointChoice> TAnbindungenForm::askPlace(std::uint32_t count,
                                                        const QString& forWhom,
                                                        RepointCheck check) {
    RepointRequest request;
    request.caption = text(884, "Neuer AnbindungsOffset") + forWhom;
    request.count = count;
    request.alignment = static_cast<int>(kConnectionAlignment);
    request.check = std::move(check);
    const auto offset = m_dialogs.repoint(this, request);
    if (!offset) {
        m_dialogs.inform(this, langText(m_session.lang(), "01", "Info"),
                         text(13670, "Anbindung hinzufügen abgebrochen!"));
    }
    return offset;
}

RepointCheck TAnbindungenForm::ownCheck() {
    return [this](std::uint32_t at, std::uint8_t fill) {
        checkConnectionPlace(m_session.rom(), m_session.mapState(), m_list, at, fill);
    };
}

void TAnbindungenForm::Cmd_AnbSpeichernClick() {
    m_list.requireSavable();
    const auto offset = askPlace(connectionSpace(m_list.count()), QString(), ownCheck());
    if (!offset) {
        return;
    }
    saveConnections(m_session.rom(), m_session.mapState(), m_list, offset->offset, offset->fill);
    Laden();
    emit connectionsSaved();
}

void TAnbindungenForm::Cmd_GegenstueckClick() {
    m_list.requireSavable();
    const CounterpartPlan plan = planCounterpart(m_session.rom(), m_session.romState().bankScan(),
                                                 m_session.mapState(), m_list, current());
    const QString neighbour = mapId(plan.bank, plan.map);
    if (!m_dialogs.confirm(
            this, langText(m_session.lang(), "00", "Frage"),
            framed(13686, "Das Gegenstück in", neighbour, 13687,
                   "anlegen? Die Anbindungen dieser Map werden dabei mitgespeichert."))) {
        return;
    }
    const auto offset = askPlace(connectionSpace(m_list.count()), QString(), ownCheck());
    if (!offset) {
        return;
    }
    // The neighbour's place is checked together with this map's, as the save will check both.
    const auto theirs = askPlace(plan.space(), QStringLiteral(" (") + neighbour + ')',
                                 [this, &plan, &offset](std::uint32_t at, std::uint8_t fill) {
                                     checkCounterpartPlaces(m_session.rom(), m_session.mapState(),
                                                            m_list, offset->offset, plan, at,
                                                            fill);
                                 });
    if (!theirs) {
        return;
    }
    saveWithCounterpart(m_session.rom(), m_session.mapState(), m_list, offset->offset, plan,
                        theirs->offset, theirs->fill);
    Laden();
    emit connectionsSaved();
}

void TAnbindungenForm::neighbourClick(NeighbourButton button) {
    const ButtonPlace& place = m_layout[static_cast<std::size_t>(button)];
    if (place.connection == 0) {
        return;
    }
    const Connection& c = m_list.at(static_cast<std::size_t>(place.connection));
    const QString target = mapId(c.bank, c.map);
    if (place.missing) {
        m_dialogs.inform(this, langText(m_session.lang(), "01", "Info"), missingMap(target));
        return;
    }
    if (!leadsSomewhere(c)) {
        return;
    }
    const Prefix& prefix = kPrefixes[c.direction - 1];
    const QString title = text(prefix.number, prefix.german) + QLatin1Char(' ') +
                          toQ(m_session.mapState().map().identifier) + QStringLiteral(" (") +
                          target + QLatin1Char(')');
    emit openRequested(target, title);
}

void TAnbindungenForm::KnoepfeLaden() {
    const BankScan& scan = m_session.romState().bankScan();
    m_layout = layoutButtons(m_list.records(), [&](int bank, int map) {
        return listedHeader(scan, bank, map).has_value();
    });
    for (std::size_t i = 0; i < kNeighbourButtons; ++i) {
        const ButtonPlace& place = m_layout[i];
        QPushButton* b = m_buttons[i];
        const ButtonRect& r = place.rect;
        b->setGeometry(r.x, r.y, r.width, r.height);
        b->setVisible(place.visible);
        b->setEnabled(place.connection != 0);
        const char* german = kButtons[i].text;
        b->setText(place.missing             ? QStringLiteral("?")
                   : kButtons[i].number != 0 ? text(kButtons[i].number, german)
                                             : QString::fromUtf8(german));
        QString tip;
        if (place.connection != 0) {
            const Connection& c = m_list.at(static_cast<std::size_t>(place.connection));
            tip = place.missing ? missingMap(mapId(c.bank, c.map)) : mapId(c.bank, c.map);
        }
        b->setToolTip(tip);
    }
    // Button 1 of an edge lies above buttons 2 and 3.
    for (std::size_t edge = 0; edge < 4; ++edge) {
        m_buttons[edge * 3]->raise();
    }
}

void TAnbindungenForm::showWayBacks() {
    const CurrentMap& map = m_session.mapState().map();
    QStringList lines;
    m_wayBacks.clear();
    for (std::size_t n = 1; n <= m_list.count(); ++n) {
        const Connection& c = m_list.at(n);
        const WayBack w =
            wayBackOf(m_session.rom(), m_session.romState().bankScan(), map.bank, map.map, c);
        m_wayBacks.push_back(w);
        const QString target = mapId(c.bank, c.map);
        const QString line =
            w == WayBack::Absent ? text(1371, "Kein Gegenstück in") + QLatin1Char(' ') + target
            : w == WayBack::NoNeighbour ? missingMap(target)
            : w == WayBack::Unreadable
                ? framed(13684, "Die Anbindungen von", target, 13685, "sind nicht lesbar.")
                : QString();
        if (!line.isEmpty()) {
            lines << QStringLiteral("%1: ").arg(n) + line;
        }
    }
    const std::size_t n = current();
    const bool absent = n <= m_wayBacks.size() && m_wayBacks[n - 1] == WayBack::Absent;
    const bool marked = n <= m_wayBacks.size() && m_wayBacks[n - 1] != WayBack::Present &&
                        m_wayBacks[n - 1] != WayBack::NotNeeded;
    Spin_AnbNr->setSuffix(marked ? QStringLiteral(" !") : QString());
    Lbl_Gegenstueck->setText(lines.join(QLatin1Char('\n')));
    Cmd_Gegenstueck->setEnabled(absent);
}

}  // namespace quillon::ui
