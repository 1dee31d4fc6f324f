// The WildePokemon tab's commands: reading the chosen kind and saving it.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/session/session.h"
#include "core/writers/wild_save.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"
#include "ui/loading_guard.h"
#include "ui/qt_text.h"
#include "ui/wild_tab.h"

namespace quillon::ui {

void WildTab::Cbo_TypChange() {
    if (m_loading.active() || !m_header) {
        return;
    }
    if (!dropEdits()) {
        LoadingGuard loading(m_loading);  // back to the kind with the changes
        Cbo_Typ->setCurrentIndex(static_cast<int>(m_shown.kind));
        return;
    }
    const int index = Cbo_Typ->currentIndex();
    if (index < 0 || index >= static_cast<int>(wild::kKinds.size())) {
        showKind(wild::Encounter{});
        return;
    }
    showKind(wild::readEncounter(m_session.rom(), *m_header, wild::kKinds[index]));
}

bool WildTab::dropEdits() {
    if (!m_edited) {
        return true;
    }
    const LanguageTable& lang = m_session.lang();
    return m_dialogs.confirm(
        this, langText(lang, "00", "Frage"),
        langText(lang, 605, "Die Änderungen an dieser Art sind nicht gespeichert. Verwerfen?"));
}

// Rows 1 to the kind's slot count show its slots; a kind without slots shows no rows, an
// empty rate and cannot be saved. A species the list does not hold shows no entry.
void WildTab::showKind(const wild::Encounter& encounter) {
    LoadingGuard loading(m_loading);
    m_shown = encounter;
    m_edited = false;
    labelRows(encounter.kind);
    const int count = static_cast<int>(encounter.entries.size());
    for (int row = 0; row < kRows; ++row) {
        const bool shown = row < count;
        for (QWidget* w : std::initializer_list<QWidget*>{Lbl_Poke[row], Txt_Level1P[row],
                                                          Txt_Level2P[row], Cbo_Pokemon[row]}) {
            w->setVisible(shown);
        }
        const wild::Slot slot = shown ? encounter.entries[row] : wild::Slot{};
        m_species[row] = slot.species;
        Txt_Level1P[row]->setText(shown ? QString::number(slot.minLevel) : QString());
        Txt_Level2P[row]->setText(shown ? QString::number(slot.maxLevel) : QString());
        Cbo_Pokemon[row]->setCurrentIndex(slot.species < Cbo_Pokemon[row]->count() ? slot.species
                                                                                   : -1);
    }
    Txt_Heufigkeit->setText(encounter.available ? QString::number(encounter.rate) : QString());
    Txt_Heufigkeit->setEnabled(encounter.available);
    Cmd_Speichern->setEnabled(encounter.available);
    QStringList messages;
    for (const Message& warning : m_tableWarnings) {
        messages << toQ(m_session.lang().text(warning));
    }
    if (encounter.message.hasId()) {
        messages << toQ(m_session.lang().text(encounter.message));
    } else if (!encounter.available) {
        messages << langText(m_session.lang(), 604, "Diese Map hat für diese Art keine Daten.");
    }
    m_message->setText(messages.join(QLatin1Char('\n')));
    m_message->setVisible(!messages.isEmpty());
}

void WildTab::Cbo_PokemonChange(int row) {
    const int index = Cbo_Pokemon[row]->currentIndex();
    if (!m_loading.active() && index >= 0) {
        m_species[row] = static_cast<std::uint16_t>(index);
        m_edited = true;
    }
}

// Every field is read and checked before anything is written; unusual levels are written
// only when the user agrees. The kind is read again afterwards, so the rows show the ROM.
void WildTab::Cmd_SpeichernClick() {
    wild::Input input{toStd(Txt_Heufigkeit->text()), {}, {}};
    const auto count = m_shown.entries.size();
    for (std::size_t row = 0; row < count; ++row) {
        input.levels.push_back({toStd(Txt_Level1P[row]->text()), toStd(Txt_Level2P[row]->text())});
        input.species.push_back(m_species[row]);
    }
    const wild::Values values = wild::parseInput(input, m_shown.kind);
    const std::vector<Message> unusual = wild::unusualLevels(values.entries);
    if (!unusual.empty()) {
        const LanguageTable& lang = m_session.lang();
        QString question = langText(lang, 68, "Diese Level sind ungewöhnlich:") + '\n';
        for (const Message& line : unusual) {
            question += QLatin1Char('\n') + toQ(lang.text(line));
        }
        question += QStringLiteral("\n\n") + langText(lang, 69, "Trotzdem speichern?");
        if (!m_dialogs.confirm(this, langText(m_session.lang(), "03", "Achtung"), question)) {
            return;
        }
    }
    wild::save(m_session.rom(), m_session.mapState(), m_shown, values, wild::UnusualLevels::Accept);
    Cbo_TypChange();
}

}  // namespace quillon::ui
