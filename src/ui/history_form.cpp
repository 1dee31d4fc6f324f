#include "ui/history_form.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/errors.h"
#include "core/session/session.h"
#include "ui/command_notifier.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

enum Column { kTime = 0, kName = 1, kBytes = 2 };
constexpr int kIdRole = Qt::UserRole;

// The name in the chosen language; an entry an earlier version wrote shows its stored name.
QTreeWidgetItem* lineOf(const HistoryEntry& entry, const LanguageTable& lang) {
    auto* item = new QTreeWidgetItem;
    const QDateTime time = QDateTime::fromSecsSinceEpoch(entry.time).toLocalTime();
    item->setText(kTime, time.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    item->setText(kName, toQ(lang.text(entry.title)));
    item->setText(kBytes, QString::number(entry.byteCount()));
    item->setTextAlignment(kBytes, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(kTime, kIdRole, QVariant::fromValue<qulonglong>(entry.id));
    if (entry.undone) {
        for (int column = kTime; column <= kBytes; ++column) {
            item->setForeground(column, QBrush(Qt::gray));
        }
    }
    return item;
}

}  // namespace

// The history as the session reads it; an unreadable history file shows as its message in
// the list (this runs outside the command boundary: it follows the commands).
const std::vector<HistoryEntry>& TVerlaufForm::entries() const {
    static const std::vector<HistoryEntry> none;
    try {
        m_problem.clear();
        return m_session.rom().history().entries();
    } catch (const Error& e) {
        m_problem = toQ(m_session.lang().text(e.message()));
        return none;
    } catch (const std::exception& e) {
        m_problem = errorText(&m_session.lang(), e);
        return none;
    }
}

TVerlaufForm::TVerlaufForm(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session) {
    setObjectName(QStringLiteral("VerlaufForm"));
    setWindowTitle(QStringLiteral("Verlauf"));
    resize(560, 380);
    Lst_Verlauf = new QTreeWidget;
    Lst_Verlauf->setObjectName(QStringLiteral("Lst_Verlauf"));
    Lst_Verlauf->setHeaderLabels(
        {QStringLiteral("Zeit"), QStringLiteral("Befehl"), QStringLiteral("Bytes")});
    Lst_Verlauf->setRootIsDecorated(false);
    Lst_Verlauf->setUniformRowHeights(true);
    Lst_Verlauf->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
    Lst_Verlauf->header()->setStretchLastSection(false);
    Btn_RueckgaengigBisHier = new QPushButton(QStringLiteral("Rückgängig bis hier"));
    Btn_RueckgaengigBisHier->setObjectName(QStringLiteral("Btn_RueckgaengigBisHier"));
    Btn_Wiederherstellen = new QPushButton(QStringLiteral("Wiederherstellen"));
    Btn_Wiederherstellen->setObjectName(QStringLiteral("Btn_Wiederherstellen"));
    setTag(Btn_RueckgaengigBisHier, 1520);
    setTag(Btn_Wiederherstellen, 1521);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Btn_RueckgaengigBisHier);
    buttons->addWidget(Btn_Wiederherstellen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Lst_Verlauf, 1);
    layout->addLayout(buttons);

    connect(Lst_Verlauf, &QTreeWidget::currentItemChanged, this, &TVerlaufForm::updateButtons);
    connect(Btn_RueckgaengigBisHier, &QPushButton::clicked, this, [this] {
        if (const HistoryEntry* entry = selectedEntry(); entry != nullptr && !entry->undone) {
            emit undoRequested(entry->id);
        }
    });
    connect(Btn_Wiederherstellen, &QPushButton::clicked, this, [this] { emit redoRequested(); });
    connect(&CommandNotifier::instance(), &CommandNotifier::commandRan, this, [this] {
        if (isVisible()) {
            refresh();
        }
    });
    updateButtons();
}

void TVerlaufForm::applyLanguage(const LanguageTable& lang) {
    setWindowTitle(langText(lang, 152, "Verlauf"));
    Lst_Verlauf->setHeaderLabels({langText(lang, 1522, "Zeit"), langText(lang, 1523, "Befehl"),
                                  langText(lang, 1524, "Bytes")});
    SpracheAendern(this, lang);
    // The names in the new language: at once when shown, else when it is shown next (reading
    // a long history is left until then).
    if (isVisible()) {
        fillList();
        updateButtons();
    } else {
        Lst_Verlauf->clear();
        m_shown.clear();
    }
}

void TVerlaufForm::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void TVerlaufForm::refresh() {
    const std::vector<HistoryEntry>& history = entries();
    bool same = m_problem.isEmpty() && history.size() == m_shown.size();
    for (std::size_t i = 0; same && i < history.size(); ++i) {
        const HistoryEntry& entry = history[history.size() - 1 - i];
        same = m_shown[i] == std::make_pair(entry.id, entry.undone);
    }
    if (!same) {
        fillList();
    }
    updateButtons();
}

// Newest first; the selected command stays selected when it is still there.
void TVerlaufForm::fillList() {
    const HistoryEntry* selected = selectedEntry();
    const std::uint64_t keep = selected != nullptr ? selected->id : 0;
    const std::vector<HistoryEntry>& history = entries();
    Lst_Verlauf->clear();
    m_shown.clear();
    QList<QTreeWidgetItem*> lines;
    QTreeWidgetItem* current = nullptr;
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        lines << lineOf(*it, m_session.lang());
        m_shown.emplace_back(it->id, it->undone);
        if (selected != nullptr && it->id == keep) {
            current = lines.back();
        }
    }
    if (!m_problem.isEmpty()) {
        lines << new QTreeWidgetItem(QStringList{QString(), m_problem});
    }
    Lst_Verlauf->addTopLevelItems(lines);
    Lst_Verlauf->setCurrentItem(current);
    for (int column = kTime; column <= kBytes; ++column) {
        if (column != kName) {
            Lst_Verlauf->resizeColumnToContents(column);
        }
    }
}

const HistoryEntry* TVerlaufForm::selectedEntry() const {
    const QTreeWidgetItem* item = Lst_Verlauf->currentItem();
    if (item == nullptr) {
        return nullptr;
    }
    const auto id = item->data(kTime, kIdRole).value<qulonglong>();
    for (const HistoryEntry& entry : entries()) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

// "Rückgängig bis hier" for a command not undone; "Wiederherstellen" while one is undone.
void TVerlaufForm::updateButtons() {
    const HistoryEntry* entry = selectedEntry();
    Btn_RueckgaengigBisHier->setEnabled(entry != nullptr && !entry->undone);
    bool anyUndone = false;
    for (const HistoryEntry& e : entries()) {
        anyUndone = anyUndone || e.undone;
    }
    Btn_Wiederherstellen->setEnabled(anyUndone);
}

}  // namespace quillon::ui
