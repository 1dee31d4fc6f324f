#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace quillon {
class LanguageTable;
class TRom;
struct GameProfile;
}  // namespace quillon

namespace quillon::ui {

// The command's placement check for an offset the user chose (with the byte free space holds:
// 0xFF, or 0x00 after a search for it); throws Error naming why the offset is refused.
using RepointCheck = std::function<void(std::uint32_t offset, std::uint8_t fill)>;

// What a command that moves data asks the repoint dialog ("Umpointen") for.
struct RepointRequest {
    QString caption;         // the command's text, e.g. "Neuer MapOffset"
    std::uint32_t count = 0; // bytes the data needs
    QString proposed;        // an offset to offer ("$" and six hex digits), or empty
    int alignment = 1;       // the start the data needs: 1, 2 or 4
    // Run on the user's choice before the dialog closes: a refused offset is shown with its
    // reason and the user chooses again. Empty: every offset is taken.
    RepointCheck check;
};

// The user's answer to the repoint dialog: the offset, and the byte free space holds there
// (what the last search looked for; 0xFF without a search), for the command's own check.
struct RepointChoice {
    std::uint32_t offset = 0;
    std::uint8_t fill = 0xFF;

    friend bool operator==(const RepointChoice&, const RepointChoice&) = default;
};

// Every modal box and file dialog the main window shows goes through this interface, so a
// test can stand in for the user and answer without a dialog blocking it.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // OK box with the information icon.
    virtual void inform(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The error box of a failed command.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // Yes/no box with the question icon; true for yes.
    virtual bool confirm(QWidget* parent, const QString& caption, const QString& question) = 0;
    // Yes/no/cancel box with the question icon: true for yes, false for no, nullopt when the
    // user cancelled or closed the box (the caller then leaves everything as it was).
    virtual std::optional<bool> confirmOrCancel(QWidget* parent, const QString& caption,
                                                const QString& question) = 0;
    // A question answered by one of buttons (at least one); the index of the button pressed, -1
    // when the box was closed without one.
    virtual int choose(QWidget* parent, const QString& caption, const QString& text,
                       const QStringList& buttons) = 0;
    // Input box preset with preset; nullopt when cancelled.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& caption,
                                             const QString& prompt, const QString& preset) = 0;
    // File dialogs; an empty name when cancelled. filter in Qt's "Text (*.ext);;..." form. The
    // dialog starts at start: a folder, or a file whose folder is shown and whose name is
    // preset; empty leaves the choice to the dialog. A name typed without extension gets
    // defaultSuffix, or the extension of the file type the user picked in the dialog.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& start) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& defaultSuffix, const QString& start) = 0;
    // The repoint dialog: the offset the user typed or picked from a free-space search, already
    // moved to the request's alignment with the user's consent and accepted by the request's
    // check; nullopt when cancelled.
    virtual std::optional<RepointChoice> repoint(QWidget* parent,
                                                 const RepointRequest& request) = 0;
    // The about box.
    virtual void about(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Opens a document with the desktop's default application; false when that failed.
    virtual bool openDocument(const QString& file) = 0;
    // Shows one of the window's own modal dialogs (QDialog::exec); its QDialog::DialogCode.
    virtual int runDialog(QDialog& dialog) = 0;

    // The window's language: the error box of a failed command shows the command's message
    // in it (the built-in German while none is set).
    void setLanguage(const LanguageTable* lang) { m_language = lang; }
    const LanguageTable* language() const { return m_language; }

private:
    const LanguageTable* m_language = nullptr;
};

// The real boxes: QMessageBox, QInputDialog, QFileDialog, QDesktopServices, and the repoint
// dialog, which searches rom for free space under the rules of the open game's profile (asked
// of profile each time) and takes its texts from lang.
class QtDialogs final : public Dialogs {
public:
    using ProfileSource = std::function<const GameProfile&()>;
    QtDialogs(TRom& rom, const LanguageTable& lang, ProfileSource profile)
        : m_rom(rom), m_lang(lang), m_profile(std::move(profile)) {}

    void inform(QWidget* parent, const QString& caption, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& caption, const QString& question) override;
    std::optional<bool> confirmOrCancel(QWidget* parent, const QString& caption,
                                        const QString& question) override;
    int choose(QWidget* parent, const QString& caption, const QString& text,
               const QStringList& buttons) override;
    std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                     const QString& preset) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& start) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& defaultSuffix, const QString& start) override;
    std::optional<RepointChoice> repoint(QWidget* parent, const RepointRequest& request) override;
    void about(QWidget* parent, const QString& caption, const QString& text) override;
    bool openDocument(const QString& file) override;
    int runDialog(QDialog& dialog) override;

private:
    TRom& m_rom;
    const LanguageTable& m_lang;
    ProfileSource m_profile;
};

}  // namespace quillon::ui
