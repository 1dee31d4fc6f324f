#pragma once

#include <QWidget>
#include <cstdint>
#include <utility>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace quillon {
class LanguageTable;
class Session;
struct HistoryEntry;
}  // namespace quillon

namespace quillon::ui {

// "Verlauf": the ROM's write history, newest first, one line per command with its time (local),
// name and byte count; undone commands are greyed. A non-modal window. It only shows and asks:
// "Rückgängig bis hier" and "Wiederherstellen" are carried out by whoever listens, because an
// undo may touch the open map, which the main window owns. It follows every command that runs
// through the command boundary while it is shown.
class TVerlaufForm final : public QWidget {
    Q_OBJECT

public:
    TVerlaufForm(Session& session, QWidget* parent);

    // Caption, column headers, buttons and the commands' names in the language of lang.
    void applyLanguage(const LanguageTable& lang);
    // Reads the history anew when it differs from the list shown.
    void refresh();
    // The history entry of the selected line, if any.
    const HistoryEntry* selectedEntry() const;

signals:
    // Undo every command from the newest down to the one with this id.
    void undoRequested(std::uint64_t id);
    // Redo the oldest undone command.
    void redoRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const std::vector<HistoryEntry>& entries() const;
    void fillList();
    void updateButtons();

    Session& m_session;
    QTreeWidget* Lst_Verlauf = nullptr;
    QPushButton* Btn_RueckgaengigBisHier = nullptr;
    QPushButton* Btn_Wiederherstellen = nullptr;
    // What the list shows: the ids and undone flags, newest first.
    std::vector<std::pair<std::uint64_t, bool>> m_shown;
    mutable QString m_problem;  // why the history could not be read, or empty
};

}  // namespace quillon::ui
