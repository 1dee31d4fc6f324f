#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "core/connections/button_layout.h"
#include "core/connections/connection_list.h"
#include "core/connections/way_back.h"
#include "ui/dialogs.h"
#include "ui/loading_guard.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quillon {
class LanguageTable;
class Session;
}  // namespace quillon

namespace quillon::ui {

class Dialogs;

// The window "Anbindungen" beside the main window (not modal): the open map's connections,
// edited in memory, added, removed and saved to a place the user chooses; the neighbour
// buttons open the map a connection leads to. Each connection without its way back (the
// neighbour has no connection leading here) is marked, and "Gegenstück anlegen" writes that
// way back into the neighbour together with this map's connections.
class TAnbindungenForm : public QWidget {
    Q_OBJECT

public:
    TAnbindungenForm(Session& session, Dialogs& dialogs, QWidget* parent);

    // Reads the open map's connections anew (a map was opened, or the ROM changed under it).
    void Laden();
    void SpracheAendern(const LanguageTable& lang);

    void Spin_AnbNrChange();
    void Cmd_AnbHinzufugenClick();
    void Cmd_AnbEntfernenClick();
    void Cmd_AnbSpeichernClick();
    void Cmd_GegenstueckClick();
    void neighbourClick(NeighbourButton button);

    const ConnectionList& connections() const { return m_list; }

signals:
    // A neighbour button asks the main window to open a map.
    void openRequested(const QString& identifier, const QString& title);
    // The open map's connections (and perhaps a neighbour's) were written into the ROM.
    void connectionsSaved();

private:
    struct ButtonText {
        const char* name;
        const char* text;
        int number;  // language text; 0: none
    };
    static const ButtonText kButtons[kNeighbourButtons];

    void buildEditor();
    void buildNeighbours();
    void buildEditorButtons(QGridLayout* grid);
    // A tagged label and its control in row of the editor box.
    void addRow(int row, int tag, const char* label, QWidget* control, const char* name);
    QLineEdit* addField(int row, int tag, const char* label, const char* name);
    void connectFields();
    // Shows connection n of the list in the fields (the spin's value).
    void showRecord();
    void KnoepfeLaden();
    // The marks of connections without their way back, read from the ROM.
    void showWayBacks();
    void fieldEdited(void (ConnectionList::*set)(std::size_t, std::string_view),
                     const QLineEdit* field);
    // The repoint dialog for count bytes; check refuses an offset so the user chooses again.
    std::optional<RepointChoice> askPlace(std::uint32_t count, const QString& forWhom,
                                          RepointCheck check);
    // The placement check of this map's table alone.
    RepointCheck ownCheck();
    std::size_t current() const;
    QString text(int number, const char* german) const;
    // Text before, the map ("3.1"), text after, each apart by a space.
    QString framed(int before, const char* germanBefore, const QString& map, int after,
                   const char* germanAfter) const;
    // "Die Map 3.1 gibt es nicht."
    QString missingMap(const QString& map) const;

    Session& m_session;
    Dialogs& m_dialogs;
    LoadingFlag m_loading;
    ConnectionList m_list;
    ButtonLayout m_layout{};
    std::vector<WayBack> m_wayBacks;
    QWidget* SBox_Anbindungen = nullptr;
    QLabel* Lbl_Anzahl = nullptr;
    QSpinBox* Spin_AnbNr = nullptr;
    QComboBox* Cbo_Richtung = nullptr;
    QLineEdit* Txt_Verschiebung = nullptr;
    QLineEdit* Txt_MapBank = nullptr;
    QLineEdit* Txt_MapNr = nullptr;
    QLineEdit* Txt_Nullen = nullptr;
    QPushButton* Cmd_AnbHinzufugen = nullptr;
    QPushButton* Cmd_AnbEntfernen = nullptr;
    QPushButton* Cmd_AnbSpeichern = nullptr;
    QPushButton* Cmd_Gegenstueck = nullptr;
    QLabel* Lbl_Gegenstueck = nullptr;
    QLabel* Lbl_Hinweis = nullptr;
    QWidget* Pnl_Nachbarn = nullptr;
    std::array<QPushButton*, kNeighbourButtons> m_buttons{};
};

}  // namespace quillon::ui
