#pragma once

#include <QString>
#include <memory>

class QTranslator;

namespace quillon {
class LanguageTable;
}

namespace quillon::ui {

// Qt's own texts (the buttons of message boxes, the file dialogs) in the window's language:
// the catalogue qtbase_<code> from Qt's translations folder, where code is text 1700 of the
// language ("de"). A language without a code, or without Qt's catalogue, leaves Qt's English.
class QtTranslations {
public:
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Swaps the installed catalogue for the current language's. True when one is installed.
    bool apply(const LanguageTable& lang);
    // The code of the catalogue installed; empty for none.
    const QString& installed() const { return m_code; }

private:
    std::unique_ptr<QTranslator> m_translator;
    QString m_code;
};

}  // namespace quillon::ui
