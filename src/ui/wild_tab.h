#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/writers/wild_save.h"
#include "core/wild/wild_table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {
class LanguageTable;
class Session;
}  // namespace quillon

namespace quillon::ui {

class Dialogs;
class LoadingFlag;

// The tab "WildePokemon": the frame `TFrame_WildePokemon` with the open map's encounters of
// the kind chosen in `Cbo_Typ` (rate and up to 12 rows of levels and species), or a notice
// when the game has no wild table or the map has no entry in it. "Speichern" writes the shown
// kind into the ROM at once, as one undoable command; changing the kind reads it anew.
class WildTab : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 12;

    WildTab(Session& session, Dialogs& dialogs, LoadingFlag& loading, QWidget* parent = nullptr);

    // The species boxes take the ROM's names (after every ROM open).
    void fillSpecies();
    // The open map's entry and its first kind, or the notice.
    void showMap();
    // The notice for a map without an entry (text 941).
    void setMapNotice(const QString& text);
    QString notice() const;
    void applyLanguage(const LanguageTable& lang);

private:
    void buildControls();
    void layOutControls();
    // The chosen kind read from the ROM and shown.
    void Cbo_TypChange();
    void showKind(const wild::Encounter& encounter);
    void labelRows(wild::Kind kind);
    void nameNoSpecies(const LanguageTable& lang);
    void Cbo_PokemonChange(int row);
    void Cmd_SpeichernClick();
    void showNotice(const QString& text);
    QString noTableText(const LanguageTable& lang) const;
    // Before another kind is shown: true when nothing was changed or the user drops it.
    bool dropEdits();

    Session& m_session;
    Dialogs& m_dialogs;
    LoadingFlag& m_loading;
    QString m_mapNotice;
    std::optional<wild::Header> m_header;
    std::vector<Message> m_tableWarnings;
    wild::Encounter m_shown;
    std::array<std::uint16_t, kRows> m_species{};  // kept as read unless the user picks one
    bool m_edited = false;                         // the shown kind has changes not saved yet

    QLabel* m_notice;
    QWidget* m_frame;
    QLabel* m_message;
    QComboBox* Cbo_Typ;
    QLineEdit* Txt_Heufigkeit;
    QPushButton* Cmd_Speichern;
    std::array<QLabel*, kRows> Lbl_Poke{};
    std::array<QLineEdit*, kRows> Txt_Level1P{};
    std::array<QLineEdit*, kRows> Txt_Level2P{};
    std::array<QComboBox*, kRows> Cbo_Pokemon{};
};

}  // namespace quillon::ui
