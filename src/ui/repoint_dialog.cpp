#include "ui/repoint_dialog.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/writers/free_space_rules.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"
#include "ui/command.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"
#include "ui/repoint_hits.h"
#include "ui/wait_cursor.h"

namespace quillon::ui {

namespace {

QLabel* label(QWidget* parent, const char* name, int tag, const char* text) {
    return named(new QLabel(QString::fromUtf8(text), parent), name, tag);
}

QLineEdit* field(QWidget* parent, const char* name, const char* text) {
    auto* edit = new QLineEdit(QString::fromLatin1(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QString offsetText(std::uint32_t offset) { return QStringLiteral("$") + toQ(IntToHex(offset, 6)); }

}  // namespace

// The search results as offsets, shown as "$" and six hex digits: a search over a wide range
// may list millions of them, kept as numbers and formatted only when drawn.
class ResultList final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setOffsets(std::vector<std::uint32_t> offsets) {
        beginResetModel();
        m_offsets = std::move(offsets);
        endResetModel();
    }
    std::uint32_t offset(int row) const { return m_offsets[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_offsets.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) {
            return {};
        }
        return offsetText(offset(index.row()));
    }

private:
    std::vector<std::uint32_t> m_offsets;
};

TUmpointenForm::TUmpointenForm(TRom& rom, const GameProfile& profile, const LanguageTable& lang,
                               Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_rom(rom), m_profile(profile), m_dialogs(dialogs), m_lang(lang) {
    setObjectName(QStringLiteral("TUmpointenForm"));
    buildControls();
    // The search range the user sees first: the game's free area up to the end of the file.
    Txt_Von->setText(offsetText(defaultFreeSpaceStart(m_rom, m_profile, 0xFF)));
    const std::uint64_t lastByte = std::max<std::uint64_t>(m_rom.size(), 1) - 1;
    Txt_Bis->setText(offsetText(static_cast<std::uint32_t>(lastByte)));
    layOut();
    FormCreate(lang);
    connect(Chk_Suchen, &QRadioButton::toggled, this,
            commandSlot(this, m_dialogs, this, &TUmpointenForm::Chk_Click));
    connect(Txt_Offset, &QLineEdit::textChanged, this,
            commandSlot(this, m_dialogs, this, &TUmpointenForm::Txt_OffsetChange));
    connect(Cmd_OK, &QPushButton::clicked, this,
            commandSlot(this, m_dialogs, this, &TUmpointenForm::Cmd_OKClick));
    connect(Lst_Ergebniss->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            commandSlot(this, m_dialogs, this, &TUmpointenForm::Lst_ErgebnissMouseUp));
    connect(Cmd_Umpointen, &QPushButton::clicked, this,
            commandSlot(this, m_dialogs, this, &TUmpointenForm::Cmd_UmpointenClick));
    Chk_Click();
}

void TUmpointenForm::buildControls() {
    Chk_Angeben = named(new QRadioButton(QStringLiteral("Offset angeben"), this), "Chk_Angeben", 885);
    Chk_Suchen = named(new QRadioButton(QStringLiteral("Bytes suchen"), this), "Chk_Suchen", 886);
    Chk_Angeben->setChecked(true);
    Lbl_Offset = label(this, "Lbl_Offset", 894, "Offset:");
    Txt_Offset = field(this, "Txt_Offset", "");
    Lbl_Byte = label(this, "Lbl_Byte", 887, "Zu suchende Bytes:");
    Cbo_Byte = new QComboBox(this);
    Cbo_Byte->setObjectName(QStringLiteral("Cbo_Byte"));
    Cbo_Byte->addItems({QStringLiteral("00"), QStringLiteral("FF")});
    Cbo_Byte->setCurrentIndex(1);
    Lbl_Anzahl = label(this, "Lbl_Anzahl", 888, "Benötigte Bytes:");
    Txt_Anzahl = field(this, "Txt_Anzahl", "1");
    Chk_Suchbereich = named(new QCheckBox(QStringLiteral("Suchbereich angeben"), this),
                            "Chk_Suchbereich", 889);
    Lbl_Von = label(this, "Lbl_Von", 890, "Von:");
    Txt_Von = field(this, "Txt_Von", "");
    Lbl_Bis = label(this, "Lbl_Bis", 891, "Bis:");
    Txt_Bis = field(this, "Txt_Bis", "");
    Cmd_OK = named(new QPushButton(QStringLiteral("OK"), this), "Cmd_OK", 892);
    Lst_Ergebniss = new QListView(this);
    Lst_Ergebniss->setObjectName(QStringLiteral("Lst_Ergebniss"));
    Lst_Ergebniss->setUniformItemSizes(true);  // long result lists stay quick to show
    Lst_Ergebniss->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results = new ResultList(Lst_Ergebniss);
    Lst_Ergebniss->setModel(m_results);
    Cmd_Umpointen = named(new QPushButton(QStringLiteral("Umpointen"), this), "Cmd_Umpointen", 893);
    // Return in a field must not start a search or close the dialog by itself.
    Cmd_OK->setAutoDefault(false);
    Cmd_Umpointen->setAutoDefault(false);
}

void TUmpointenForm::layOut() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(Chk_Angeben, 0, 0, 1, 4);
    grid->addWidget(Lbl_Offset, 1, 0);
    grid->addWidget(Txt_Offset, 1, 1, 1, 3);
    grid->addWidget(Chk_Suchen, 2, 0, 1, 4);
    grid->addWidget(Lbl_Byte, 3, 0);
    grid->addWidget(Cbo_Byte, 3, 1);
    grid->addWidget(Lbl_Anzahl, 4, 0);
    grid->addWidget(Txt_Anzahl, 4, 1);
    grid->addWidget(Chk_Suchbereich, 5, 0, 1, 4);
    grid->addWidget(Lbl_Von, 6, 0);
    grid->addWidget(Txt_Von, 6, 1);
    grid->addWidget(Lbl_Bis, 6, 2);
    grid->addWidget(Txt_Bis, 6, 3);
    grid->addWidget(Cmd_OK, 7, 3);
    grid->addWidget(Lst_Ergebniss, 8, 0, 1, 4);
    grid->addWidget(Cmd_Umpointen, 9, 3);
}

void TUmpointenForm::FormCreate(const LanguageTable& lang) {
    m_result = -1;
    setWindowTitle(langText(lang, 88, "Umpointen"));
    SpracheAendern(this, lang);
}

void TUmpointenForm::setAnzahl(std::uint32_t count) {
    m_count = count;
    Txt_Anzahl->setText(QString::number(count));
    m_results->setOffsets({});
    Lst_ErgebnissMouseUp();
}

void TUmpointenForm::setOffset(const QString& text) { Txt_Offset->setText(text); }

void TUmpointenForm::setAlignment(int alignment) { m_alignment = std::max(alignment, 1); }

void TUmpointenForm::setCheck(std::function<void(std::uint32_t, std::uint8_t)> check) {
    m_check = std::move(check);
}

std::int64_t TUmpointenForm::getResult() {
    const std::int64_t result = m_result;
    m_result = -1;
    return result;
}

bool TUmpointenForm::searching() const { return Chk_Suchen->isChecked(); }

void TUmpointenForm::Chk_Click() {
    const bool search = searching();
    for (QWidget* w : std::initializer_list<QWidget*>{Lbl_Byte, Cbo_Byte, Lbl_Anzahl, Txt_Anzahl,
                                                      Chk_Suchbereich, Lbl_Von, Txt_Von, Lbl_Bis,
                                                      Txt_Bis, Cmd_OK, Lst_Ergebniss}) {
        w->setEnabled(search);
    }
    Lbl_Offset->setEnabled(!search);
    Txt_Offset->setEnabled(!search);
    Cmd_Umpointen->setEnabled(search ? selectedResult().has_value()
                                     : !Txt_Offset->text().isEmpty());
}

void TUmpointenForm::Txt_OffsetChange() {
    if (!searching()) {
        Cmd_Umpointen->setEnabled(!Txt_Offset->text().isEmpty());
    }
}

void TUmpointenForm::Lst_ErgebnissMouseUp() {
    if (searching()) {
        Cmd_Umpointen->setEnabled(selectedResult().has_value());
    }
}

std::optional<std::uint32_t> TUmpointenForm::selectedResult() const {
    const QModelIndexList selected = Lst_Ergebniss->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return m_results->offset(selected.constFirst().row());
}

void TUmpointenForm::Cmd_OKClick() {
    m_results->setOffsets({});
    Lst_ErgebnissMouseUp();
    const std::string to = toStd(Txt_Bis->text());
    const FreeSpaceQuery query = withFreeSpaceRules(
        m_rom, m_profile,
        freeSpaceQuery(toStd(Cbo_Byte->currentText()), toStd(Txt_Anzahl->text()),
                       toStd(Txt_Von->text()),
                       Chk_Suchbereich->isChecked() ? std::optional<std::string_view>(to)
                                                    : std::nullopt));
    m_fill = query.value;
    FreeSpaceResult found;
    {
        const WaitCursor wait;
        found = findFreeSpace(m_rom, query);
    }
    // Only places the data can take: starts on its alignment.
    std::vector<std::uint32_t> usable = alignedHits(m_rom, found.offsets, query, m_alignment);
    const bool any = !usable.empty();
    m_results->setOffsets(std::move(usable));
    if (any) {
        Lst_Ergebniss->setCurrentIndex(m_results->index(0));
    }
    Lst_ErgebnissMouseUp();
    m_dialogs.inform(this, windowTitle(), searchEndText(found.end, query.start));
}

// A start behind the end of the file finds nothing: the user is told why instead of a bare
// "done".
QString TUmpointenForm::searchEndText(FreeSpaceEnd end, std::uint32_t start) {
    if (end == FreeSpaceEnd::TenFound) {
        return langText(m_lang, 1713, "10 Ergebnisse gefunden!");
    }
    const std::uint64_t size = m_rom.size();
    if (start >= size) {
        return langText(m_lang, 1714,
                        "Nichts gefunden: die Suche beginnt bei %1, hinter dem Ende der Datei "
                        "(%2). Unter \"Von\" einen kleineren Offset angeben.")
            .arg(toQ(hexOffset(start)), toQ(hexOffset(size - 1)));
    }
    return langText(m_lang, 1715, "Fertig gesucht!");
}

void TUmpointenForm::Cmd_UmpointenClick() {
    const std::optional<std::int64_t> chosen = chosenOffset();
    if (!chosen) {
        return;
    }
    // A refused place throws here: the command boundary shows why and the dialog stays open.
    if (*chosen >= 0 && m_check) {
        m_check(static_cast<std::uint32_t>(*chosen), m_fill);
    }
    m_result = *chosen;
    accept();
}

std::optional<std::int64_t> TUmpointenForm::chosenOffset() {
    if (searching()) {
        const std::optional<std::uint32_t> selected = selectedResult();
        if (!selected) {
            return -1;
        }
        return aligned(*selected);
    }
    const QString text = Txt_Offset->text().trimmed();
    const std::int32_t offset = StrToInt(toStd(text));
    if (offset < 0) {
        throw Error(toStd(langText(m_lang, 1717, "Der Offset %1 ist negativ.").arg(text)));
    }
    if (static_cast<std::uint64_t>(offset) >= m_rom.size()) {
        const QString size = toQ("$" + IntToHex(static_cast<std::int64_t>(m_rom.size()), 6));
        throw Error(toStd(
            langText(m_lang, 1718, "Der Offset %1 liegt hinter dem Ende der Datei (%2 Bytes).")
                .arg(text, size)));
    }
    return aligned(static_cast<std::uint32_t>(offset));
}

std::optional<std::int64_t> TUmpointenForm::aligned(std::uint32_t offset) {
    const auto alignment = static_cast<std::uint32_t>(m_alignment);
    if (offset % alignment == 0) {
        return offset;
    }
    const std::uint32_t count = m_count;
    const std::optional<std::uint32_t> next =
        nextAlignedFree(m_rom, offset, count, alignment, profileTableRanges(m_rom, m_profile));
    const QString text = toQ(germanText(misalignedText(offset, alignment, next, count)));
    if (!next) {
        m_dialogs.showError(this, text);
        return std::nullopt;
    }
    if (!m_dialogs.confirm(
            this, windowTitle(),
            text + QLatin1Char(' ') + langText(m_lang, 1716, "Diesen Offset nehmen?"))) {
        return std::nullopt;
    }
    return *next;
}

}  // namespace quillon::ui
