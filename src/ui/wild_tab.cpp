#include "ui/wild_tab.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/session/session.h"
#include "ui/command.h"
#include "ui/language_texts.h"
#include "ui/loading_guard.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

constexpr const char* kNoTable =
    "Sorry, für diese Version des Spiel wurden keine WildePokemonDaten gefunden.";
constexpr int kNoTableText = 943;
constexpr int kWildKindTexts = 600;  // 600-603: the kinds in the order of the box
// The box's German names; the third kind is the table of rocks broken with Rock Smash.
constexpr const char* kKindNames[] = {"Grass", "Wasser", "Zertrümmerer (Felsen)", "Angel"};
constexpr const char* kNoMapEntry = "Sorry für diese Map wurden keine WildePokemonDaten gefunden.";
constexpr int kLevelFieldWidth = 60;
constexpr int kSpeciesWidth = 180;

QString rowName(const char* prefix, int row) {
    return QString::fromLatin1(prefix) + QString::number(row + 1);
}

}  // namespace

WildTab::WildTab(Session& session, Dialogs& dialogs, LoadingFlag& loading, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_dialogs(dialogs),
      m_loading(loading),
      m_mapNotice(QString::fromUtf8(kNoMapEntry)),
      m_notice(new QLabel(m_mapNotice, this)),
      m_frame(new QWidget(this)),
      m_message(new QLabel(m_frame)) {
    m_notice->setObjectName(QStringLiteral("Lbl_KeineWildePokemon"));
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    m_frame->setObjectName(QStringLiteral("TFrame_WildePokemon"));
    m_message->setObjectName(QStringLiteral("Lbl_Meldung"));
    m_message->setWordWrap(true);
    buildControls();
    layOutControls();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_frame, 1);
    layout->addWidget(m_notice, 1);
    m_frame->hide();
}

void WildTab::buildControls() {
    QWidget* f = m_frame;
    Cbo_Typ = named(new QComboBox(f), QStringLiteral("Cbo_Typ"));
    for (const char* kind : kKindNames) {
        Cbo_Typ->addItem(QString::fromUtf8(kind));
    }
    Txt_Heufigkeit = named(new QLineEdit(f), QStringLiteral("Txt_Heufigkeit"));
    Cmd_Speichern =
        named(new QPushButton(QStringLiteral("Speichern"), f), QStringLiteral("Cmd_Speichern"), 63);
    for (int row = 0; row < kRows; ++row) {
        Lbl_Poke[row] = named(new QLabel(f), rowName("Lbl_Poke", row));
        Txt_Level1P[row] = named(new QLineEdit(f), rowName("Txt_Level1P", row));
        Txt_Level2P[row] = named(new QLineEdit(f), rowName("Txt_Level2P", row));
        Cbo_Pokemon[row] = named(new QComboBox(f), rowName("Cbo_Pokemon", row));
        for (QLineEdit* level : {Txt_Level1P[row], Txt_Level2P[row]}) {
            level->setMaximumWidth(kLevelFieldWidth);
        }
        Cbo_Pokemon[row]->setMinimumWidth(kSpeciesWidth);
        connect(Cbo_Pokemon[row], &QComboBox::currentIndexChanged, this,
                commandSlot(this, m_dialogs, [this, row] { Cbo_PokemonChange(row); }));
        for (QLineEdit* level : {Txt_Level1P[row], Txt_Level2P[row]}) {
            connect(level, &QLineEdit::textEdited, this, [this] { m_edited = true; });
        }
    }
    Txt_Heufigkeit->setMaximumWidth(kLevelFieldWidth);
    connect(Txt_Heufigkeit, &QLineEdit::textEdited, this, [this] { m_edited = true; });
    connect(Cbo_Typ, &QComboBox::currentIndexChanged, this,
            commandSlot(this, m_dialogs, this, &WildTab::Cbo_TypChange));
    connect(Cmd_Speichern, &QPushButton::clicked, this,
            commandSlot(this, m_dialogs, this, &WildTab::Cmd_SpeichernClick));
}

// Kind, rate and button on top; below, a row per slot: label, two levels, species.
void WildTab::layOutControls() {
    QWidget* f = m_frame;
    auto* grid = new QGridLayout(f);
    const auto label = [f](const char* name, int tag, const char* caption) {
        return named(new QLabel(QString::fromUtf8(caption), f), QString::fromLatin1(name), tag);
    };
    grid->addWidget(label("Lbl_Art", 60, "Art:"), 0, 0);
    grid->addWidget(Cbo_Typ, 0, 1, 1, 2);
    grid->addWidget(label("Lbl_Heufigkeit", 61, "Häufigkeits Index:"), 1, 0);
    grid->addWidget(Txt_Heufigkeit, 1, 1);
    grid->addWidget(Cmd_Speichern, 1, 3);
    grid->addWidget(label("Lbl_Level", 64, "Min/Max Level:"), 2, 1, 1, 2);
    grid->addWidget(label("Lbl_Pokemon", 62, "Pokemon:"), 2, 3);
    for (int row = 0; row < kRows; ++row) {
        grid->addWidget(Lbl_Poke[row], 3 + row, 0);
        grid->addWidget(Txt_Level1P[row], 3 + row, 1);
        grid->addWidget(Txt_Level2P[row], 3 + row, 2);
        grid->addWidget(Cbo_Pokemon[row], 3 + row, 3);
    }
    grid->addWidget(m_message, 3 + kRows, 0, 1, 5);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(4 + kRows, 1);
    labelRows(wild::Kind::Grass);
}

void WildTab::fillSpecies() {
    LoadingGuard loading(m_loading);
    QStringList names;
    for (const std::string& name : m_session.romState().pokemonNames()) {
        names << toQ(name);
    }
    for (QComboBox* box : Cbo_Pokemon) {
        box->clear();
        box->addItems(names);
    }
    nameNoSpecies(m_session.lang());
}

// Line 0 of the species boxes is no species but the request to choose one.
void WildTab::nameNoSpecies(const LanguageTable& lang) {
    for (QComboBox* box : Cbo_Pokemon) {
        if (box->count() > 0) {
            box->setItemText(0, langText(lang, 1746, "Bitte wählen"));
        }
    }
}

void WildTab::setMapNotice(const QString& text) {
    m_mapNotice = text;
    if (m_session.romState().profile().wildPokemon != 0) {
        m_notice->setText(text);
    }
}

QString WildTab::notice() const { return m_notice->text(); }

void WildTab::applyLanguage(const LanguageTable& lang) {
    SpracheAendern(m_frame, lang);
    for (wild::Kind kind : wild::kKinds) {
        const int k = static_cast<int>(kind);
        Cbo_Typ->setItemText(k, langText(lang, kWildKindTexts + k, kKindNames[k]));
    }
    labelRows(m_shown.kind);
    nameNoSpecies(lang);
    if (m_session.romState().loaded() && m_session.romState().profile().wildPokemon == 0) {
        m_notice->setText(noTableText(lang));
    }
}

// A table that failed its check says why; a profile without one gets the language's text.
QString WildTab::noTableText(const LanguageTable& lang) const {
    if (const auto* failure = m_session.romState().tableFailure(tables::Table::Wild)) {
        return messageText(lang, failure->message);
    }
    return langText(lang, kNoTableText, kNoTable);
}

void WildTab::showNotice(const QString& text) {
    m_notice->setText(text);
    m_notice->show();
    m_frame->hide();
}

void WildTab::showMap() {
    m_header.reset();
    m_tableWarnings.clear();
    const auto table = static_cast<std::uint32_t>(m_session.romState().profile().wildPokemon);
    if (table == 0) {
        showNotice(noTableText(m_session.lang()));
        return;
    }
    const CurrentMap& map = m_session.mapState().map();
    if (map.outsideRom) {
        showNotice(m_mapNotice);  // a map from a file has no place in the wild table yet
        return;
    }
    wild::Lookup found = wild::findHeader(m_session.rom(), table, map.bank, map.map);
    m_tableWarnings = std::move(found.warnings);
    m_header = found.header;
    if (!m_header) {
        QString text = m_mapNotice;
        for (const Message& warning : m_tableWarnings) {
            text += QStringLiteral("\n\n") + toQ(m_session.lang().text(warning));
        }
        showNotice(text);
        return;
    }
    m_notice->hide();
    m_frame->show();
    m_edited = false;
    {
        // The first kind the map has data of, so the tab never opens on an empty page.
        const auto& records = m_header->records;
        const auto first = std::find_if(records.begin(), records.end(),
                                        [](std::uint32_t record) { return record != 0; });
        LoadingGuard loading(m_loading);
        Cbo_Typ->setCurrentIndex(
            first == records.end() ? 0 : static_cast<int>(first - records.begin()));
    }
    Cbo_TypChange();
}

// The row labels of kind: fishing rows name their rod (texts 65-67) and their place in it.
void WildTab::labelRows(wild::Kind kind) {
    struct Rod {
        int text;
        const char* german;
        int firstRow;
    };
    static constexpr Rod kRods[] = {{65, "Angel", 0}, {66, "Profiangel", 2}, {67, "Superangel", 5}};
    static constexpr int kRodOfRow[] = {0, 0, 1, 1, 1, 2, 2, 2, 2, 2};
    for (int row = 0; row < kRows; ++row) {
        const bool rod =
            kind == wild::Kind::Fishing && row < static_cast<int>(std::size(kRodOfRow));
        if (!rod) {
            Lbl_Poke[row]->setText(langText(m_session.lang(), 1712, "Pokemon%1:").arg(row + 1));
            continue;
        }
        const Rod& r = kRods[kRodOfRow[row]];
        Lbl_Poke[row]->setText(QStringLiteral("%1 %2:")
                                   .arg(langText(m_session.lang(), r.text, r.german))
                                   .arg(row - r.firstRow + 1));
    }
}

}  // namespace quillon::ui
