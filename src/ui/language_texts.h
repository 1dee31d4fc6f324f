#pragma once

#include <QString>

class QObject;
class QWidget;

namespace quillon {
class LanguageTable;
}

namespace quillon::ui {

// A control's or menu item's text number lives in the dynamic property "tag" (0 = none).
void setTag(QObject* object, int tag);
int tagOf(const QObject* object);

// Text number (decimal, or "00"/"01") in the current language, German default.
QString langText(const LanguageTable& lang, int number, const char* germanDefault);
QString langText(const LanguageTable& lang, const char* key, const char* germanDefault);

// The tagged labels, buttons, radio buttons and check boxes placed directly in container take
// their text from the language table, "Fehler" when the language lacks it. Does nothing while
// there is no language file.
void SpracheAendern(QWidget* container, const LanguageTable& lang);

// Every tagged item of the menu bar, its submenus included, takes its caption the same way.
void applyMenuTexts(QWidget* menuBar, const LanguageTable& lang);

}  // namespace quillon::ui
