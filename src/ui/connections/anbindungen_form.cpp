#include "ui/connections/anbindungen_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/session/session.h"
#include "ui/command.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"

namespace quillon::ui {

// In the order of NeighbourButton.
const TAnbindungenForm::ButtonText TAnbindungenForm::kButtons[kNeighbourButtons] = {
    {"Cmd_Unten1", "V", 0},         {"Cmd_Unten2", "V", 0},
    {"Cmd_Unten3", "V", 0},         {"Cmd_Oben1", "A", 0},
    {"Cmd_Oben2", "A", 0},          {"Cmd_Oben3", "A", 0},
    {"Cmd_Links1", "<-", 0},        {"Cmd_Links2", "<-", 0},
    {"Cmd_Links3", "<-", 0},        {"Cmd_Rechts1", "->", 0},
    {"Cmd_Rechts2", "->", 0},       {"Cmd_Rechts3", "->", 0},
    {"Cmd_Ab", "Abtauchen", 13625}, {"Cmd_Auf", "Auftauchen", 13626},
};

namespace {

constexpr const char* kDirections[] = {"Nix",    "Unten",     "Oben",      "Links",
                                       "Rechts", "Abtauchen", "Auftauchen"};
constexpr int kDirectionTexts = 13620;
constexpr int kNeighbourSize = 233;

}  // namespace

TAnbindungenForm::TAnbindungenForm(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("TAnbindungenForm"));
    setWindowTitle(QStringLiteral("Anbindungen"));
    auto* layout = new QHBoxLayout(this);
    buildEditor();
    buildNeighbours();
    layout->addWidget(SBox_Anbindungen);
    layout->addWidget(Pnl_Nachbarn, 0, Qt::AlignTop);
    connectFields();
    Laden();
}

void TAnbindungenForm::addRow(int row, int tag, const char* label, QWidget* control,
                              const char* name) {
    auto* grid = static_cast<QGridLayout*>(SBox_Anbindungen->layout());
    auto* caption = new QLabel(QString::fromUtf8(label), SBox_Anbindungen);
    setTag(caption, tag);
    control->setObjectName(QString::fromLatin1(name));
    grid->addWidget(caption, row, 0);
    grid->addWidget(control, row, 1, 1, 2);
}

QLineEdit* TAnbindungenForm::addField(int row, int tag, const char* label, const char* name) {
    auto* field = new QLineEdit(SBox_Anbindungen);
    addRow(row, tag, label, field, name);
    return field;
}

void TAnbindungenForm::buildEditor() {
    SBox_Anbindungen = new QWidget(this);
    SBox_Anbindungen->setObjectName(QStringLiteral("SBox_Anbindungen"));
    new QGridLayout(SBox_Anbindungen);
    Lbl_Anzahl = new QLabel(SBox_Anbindungen);
    addRow(0, 1360, "Anbindungen:", Lbl_Anzahl, "Lbl_Anzahl");
    Spin_AnbNr = new QSpinBox(SBox_Anbindungen);
    addRow(1, 1361, "Anb. Nr.:", Spin_AnbNr, "Spin_AnbNr");
    Cbo_Richtung = new QComboBox(SBox_Anbindungen);
    for (const char* d : kDirections) {
        Cbo_Richtung->addItem(QString::fromUtf8(d));
    }
    addRow(2, 1362, "Richtung:", Cbo_Richtung, "Cbo_Richtung");
    Txt_Verschiebung = addField(3, 1363, "Verschiebung:", "Txt_Verschiebung");
    Txt_MapBank = addField(4, 1364, "MapBank:", "Txt_MapBank");
    Txt_MapNr = addField(5, 1365, "MapNr.:", "Txt_MapNr");
    Txt_Nullen = addField(6, 1366, "Nullen:", "Txt_Nullen");
    buildEditorButtons(static_cast<QGridLayout*>(SBox_Anbindungen->layout()));
}

// The three buttons, the way-back lines with their button, and the notice.
void TAnbindungenForm::buildEditorButtons(QGridLayout* grid) {
    const auto button = [&](const char* text, const char* name, int tag, int column) {
        auto* b = new QPushButton(QString::fromUtf8(text), SBox_Anbindungen);
        b->setObjectName(QString::fromLatin1(name));
        setTag(b, tag);
        grid->addWidget(b, 7, column);
        return b;
    };
    Cmd_AnbHinzufugen = button("Hinzufügen", "Cmd_AnbHinzufugen", 1367, 0);
    Cmd_AnbEntfernen = button("Entfernen", "Cmd_AnbEntfernen", 1368, 1);
    Cmd_AnbSpeichern = button("Speichern", "Cmd_AnbSpeichern", 1369, 2);
    Lbl_Gegenstueck = new QLabel(SBox_Anbindungen);
    Lbl_Gegenstueck->setObjectName(QStringLiteral("Lbl_Gegenstueck"));
    Cmd_Gegenstueck = new QPushButton(QStringLiteral("Gegenstück anlegen"), SBox_Anbindungen);
    Cmd_Gegenstueck->setObjectName(QStringLiteral("Cmd_Gegenstueck"));
    setTag(Cmd_Gegenstueck, 1370);
    Lbl_Hinweis = new QLabel(SBox_Anbindungen);
    Lbl_Hinweis->setObjectName(QStringLiteral("Lbl_Hinweis"));
    Lbl_Hinweis->setWordWrap(true);
    grid->addWidget(Lbl_Gegenstueck, 8, 0, 1, 3);
    grid->addWidget(Cmd_Gegenstueck, 9, 0, 1, 3);
    grid->addWidget(Lbl_Hinweis, 10, 0, 1, 3);
    grid->setRowStretch(11, 1);
}

void TAnbindungenForm::buildNeighbours() {
    Pnl_Nachbarn = new QWidget(this);
    Pnl_Nachbarn->setObjectName(QStringLiteral("Pnl_Nachbarn"));
    Pnl_Nachbarn->setFixedSize(kNeighbourSize, kNeighbourSize);
    for (std::size_t i = 0; i < kNeighbourButtons; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kButtons[i].text), Pnl_Nachbarn);
        b->setObjectName(QString::fromLatin1(kButtons[i].name));
        m_buttons[i] = b;
        const auto which = static_cast<NeighbourButton>(i);
        connect(b, &QPushButton::clicked, this,
                commandSlot(this, m_dialogs, [this, which] { neighbourClick(which); }));
    }
    KnoepfeLaden();
}

void TAnbindungenForm::connectFields() {
    Dialogs& d = m_dialogs;
    connect(Spin_AnbNr, &QSpinBox::valueChanged, this,
            commandSlot(this, d, this, &TAnbindungenForm::Spin_AnbNrChange));
    connect(Cbo_Richtung, &QComboBox::currentIndexChanged, this, commandSlot(this, d, [this] {
                if (!m_loading.active() && m_list.count() > 0) {
                    m_list.setDirection(current(),
                                        static_cast<std::uint32_t>(Cbo_Richtung->currentIndex()));
                    KnoepfeLaden();
                    showWayBacks();
                }
            }));
    const std::pair<QLineEdit*, void (ConnectionList::*)(std::size_t, std::string_view)> fields[] =
        {{Txt_Verschiebung, &ConnectionList::setOffsetText},
         {Txt_MapBank, &ConnectionList::setBankText},
         {Txt_MapNr, &ConnectionList::setMapText},
         {Txt_Nullen, &ConnectionList::setFillerText}};
    for (const auto& f : fields) {
        QLineEdit* field = f.first;
        const auto set = f.second;
        connect(field, &QLineEdit::textEdited, this,
                commandSlot(this, d, [this, field, set] { fieldEdited(set, field); }));
    }
    connect(Cmd_AnbHinzufugen, &QPushButton::clicked, this,
            commandSlot(this, d, this, &TAnbindungenForm::Cmd_AnbHinzufugenClick));
    connect(Cmd_AnbEntfernen, &QPushButton::clicked, this,
            commandSlot(this, d, this, &TAnbindungenForm::Cmd_AnbEntfernenClick));
    connect(Cmd_AnbSpeichern, &QPushButton::clicked, this,
            commandSlot(this, d, this, &TAnbindungenForm::Cmd_AnbSpeichernClick));
    connect(Cmd_Gegenstueck, &QPushButton::clicked, this,
            commandSlot(this, d, this, &TAnbindungenForm::Cmd_GegenstueckClick));
}

QString TAnbindungenForm::text(int number, const char* german) const {
    return langText(m_session.lang(), number, german);
}

QString TAnbindungenForm::framed(int before, const char* germanBefore, const QString& map,
                                 int after, const char* germanAfter) const {
    return text(before, germanBefore) + QLatin1Char(' ') + map + QLatin1Char(' ') +
           text(after, germanAfter);
}

QString TAnbindungenForm::missingMap(const QString& map) const {
    return framed(13682, "Die Map", map, 13683, "gibt es nicht.");
}

void TAnbindungenForm::SpracheAendern(const LanguageTable& lang) {
    ui::SpracheAendern(SBox_Anbindungen, lang);
    if (!lang.available()) {
        return;
    }
    setWindowTitle(langText(lang, 136, "Anbindungen"));
    KnoepfeLaden();  // the dive and emerge texts
    showWayBacks();
    LoadingGuard loading(m_loading);
    const int index = Cbo_Richtung->currentIndex();
    Cbo_Richtung->clear();
    for (int i = 0; i < static_cast<int>(std::size(kDirections)); ++i) {
        Cbo_Richtung->addItem(langText(lang, kDirectionTexts + i, kDirections[i]));
    }
    Cbo_Richtung->setCurrentIndex(index);
}

}  // namespace quillon::ui
