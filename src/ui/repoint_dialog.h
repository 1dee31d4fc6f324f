#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/config/game_profile.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;

namespace quillon {
class LanguageTable;
class TRom;
enum class FreeSpaceEnd;
}  // namespace quillon

namespace quillon::ui {

class Dialogs;
class ResultList;

// The repoint dialog "Umpointen": the user types the offset where data that grew is to go, or
// searches the ROM for runs of free bytes (00 or FF) and picks one. It only chooses the offset;
// the caller writes. Boxes (search end, errors, the alignment offer) go through dialogs. The
// search follows the free-space rules of the game's profile: "Von" starts where the game's
// free area begins, "Bis" at the file's last byte; hits keep a guard of free bytes before
// them and lie outside the profile's tables.
//
// Caller protocol: setAnzahl, optionally setOffset and setAlignment, set the caption, exec,
// then getResult (-1 when cancelled).
class TUmpointenForm : public QDialog {
    Q_OBJECT

public:
    TUmpointenForm(TRom& rom, const GameProfile& profile, const LanguageTable& lang,
                   Dialogs& dialogs, QWidget* parent = nullptr);

    // Txt_Anzahl := count in decimal; the result list is cleared.
    void setAnzahl(std::uint32_t count);
    // Txt_Offset := a proposed offset ("$" and six hex digits).
    void setOffset(const QString& text);
    // The start the caller's data needs (1, 2 or 4): a chosen offset off it is moved only with
    // the user's consent, to the next aligned start in the same free run.
    void setAlignment(int alignment);
    // Run on the chosen offset before the dialog closes; an Error it throws is shown and the
    // dialog stays open for another choice.
    void setCheck(std::function<void(std::uint32_t offset, std::uint8_t fill)> check);
    // The chosen offset, or -1; reading it resets it to -1.
    std::int64_t getResult();
    // What free space holds for this choice: the byte the last search looked for, 0xFF before
    // any search.
    std::uint8_t fill() const { return m_fill; }

    void Chk_Click();
    void Txt_OffsetChange();
    void Cmd_OKClick();
    void Lst_ErgebnissMouseUp();
    void Cmd_UmpointenClick();

    QRadioButton* Chk_Angeben = nullptr;
    QRadioButton* Chk_Suchen = nullptr;
    QLabel* Lbl_Offset = nullptr;
    QLineEdit* Txt_Offset = nullptr;
    QLabel* Lbl_Byte = nullptr;
    QComboBox* Cbo_Byte = nullptr;
    QLabel* Lbl_Anzahl = nullptr;
    QLineEdit* Txt_Anzahl = nullptr;
    QCheckBox* Chk_Suchbereich = nullptr;
    QLabel* Lbl_Von = nullptr;
    QLineEdit* Txt_Von = nullptr;
    QLabel* Lbl_Bis = nullptr;
    QLineEdit* Txt_Bis = nullptr;
    QPushButton* Cmd_OK = nullptr;
    QListView* Lst_Ergebniss = nullptr;
    QPushButton* Cmd_Umpointen = nullptr;

private:
    void FormCreate(const LanguageTable& lang);
    void buildControls();
    void layOut();
    bool searching() const;
    // The offset the user chose, moved to the alignment with consent; nullopt keeps the
    // dialog open (refused, declined, or nothing chosen in search mode gives -1 and closes).
    std::optional<std::int64_t> chosenOffset();
    std::optional<std::int64_t> aligned(std::uint32_t offset);

    // What the box after a search says: ten found, done, or a start behind the end of the file.
    QString searchEndText(FreeSpaceEnd end, std::uint32_t start);
    // The selected result's offset, if one is selected.
    std::optional<std::uint32_t> selectedResult() const;

    TRom& m_rom;
    GameProfile m_profile;
    Dialogs& m_dialogs;
    const LanguageTable& m_lang;
    ResultList* m_results = nullptr;
    std::int64_t m_result = -1;
    std::uint32_t m_count = 1;
    int m_alignment = 1;
    std::uint8_t m_fill = 0xFF;
    std::function<void(std::uint32_t, std::uint8_t)> m_check;
};

}  // namespace quillon::ui
