#pragma once

#include <QString>

class QObject;
class QWidget;

#include <exception>

namespace quillon {
class LanguageTable;
struct Message;
}  // namespace quillon

namespace quillon::ui {

// A control's or menu item's text number lives in the dynamic property "tag" (0 = none).
void setTag(QObject* object, int tag);

// The widget with its object name (what tests and the language table find it by) and, unless
// tag is 0, its language tag.
template <class W>
W* named(W* widget, const QString& name, int tag = 0) {
    widget->setObjectName(name);
    if (tag != 0) {
        setTag(widget, tag);
    }
    return widget;
}
int tagOf(const QObject* object);

// Text number (decimal, or "00"/"01") in the current language, German default.
QString langText(const LanguageTable& lang, int number, const char* germanDefault);
QString langText(const LanguageTable& lang, const char* key, const char* germanDefault);

// A file dialog's last file type, every file: "Alle Dateien (*)" (pattern "*" or "*.*").
QString allFilesFilter(const LanguageTable& lang, const char* pattern = "*");

// The file type of ROM images, then every file.
QString romFilter(const LanguageTable& lang);

// A catalogue message as the window shows it: in the current language, made a sentence
// (first letter upper case, a full stop unless it ends in punctuation).
QString messageText(const LanguageTable& lang, const Message& message);
// What a failed command tells the user: an Error's message by its id as above, the finished
// German sentence of one without an id, the text of any other exception.
QString errorText(const LanguageTable* lang, const std::exception& error);

// The tagged labels, buttons, radio buttons and check boxes placed directly in container take
// their text from the language table, "Fehler" when the language lacks it. Does nothing while
// there is no language file.
void SpracheAendern(QWidget* container, const LanguageTable& lang);

// Every tagged item of the menu bar, its submenus included, takes its caption the same way.
void applyMenuTexts(QWidget* menuBar, const LanguageTable& lang);

}  // namespace quillon::ui
