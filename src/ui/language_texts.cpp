#include "ui/language_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>

#include "core/config/language_table.h"
#include "core/errors.h"
#include "core/text/sentence.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

constexpr const char* kTagProperty = "tag";
constexpr const char* kMissing = "Fehler";

QString taggedText(const LanguageTable& lang, int tag) { return langText(lang, tag, kMissing); }

void applyToActions(const QList<QAction*>& actions, const LanguageTable& lang) {
    for (QAction* action : actions) {
        if (int tag = tagOf(action); tag != 0) {
            action->setText(taggedText(lang, tag));
        }
        if (QMenu* menu = QMenu::menuInAction(action)) {
            applyToActions(menu->actions(), lang);
        }
    }
}

}  // namespace

void setTag(QObject* object, int tag) { object->setProperty(kTagProperty, tag); }

int tagOf(const QObject* object) { return object->property(kTagProperty).toInt(); }

QString langText(const LanguageTable& lang, int number, const char* germanDefault) {
    return toQ(lang.text(number, germanDefault));
}

QString langText(const LanguageTable& lang, const char* key, const char* germanDefault) {
    return toQ(lang.text(std::string(key), germanDefault));
}

QString allFilesFilter(const LanguageTable& lang, const char* pattern) {
    return langText(lang, 1721, "Alle Dateien") + QStringLiteral(" (") +
           QString::fromLatin1(pattern) + QLatin1Char(')');
}

QString romFilter(const LanguageTable& lang) {
    return QStringLiteral("GameBoy Roms (*.gba);;") + allFilesFilter(lang);
}

QString messageText(const LanguageTable& lang, const Message& message) {
    return toQ(sentence(lang.text(message)));
}

QString errorText(const LanguageTable* lang, const std::exception& error) {
    const auto* own = dynamic_cast<const Error*>(&error);
    if (own == nullptr || !own->message().hasId()) {
        return QString::fromUtf8(error.what());
    }
    if (lang == nullptr) {
        return toQ(sentence(germanText(own->message())));
    }
    return messageText(*lang, own->message());
}

void SpracheAendern(QWidget* container, const LanguageTable& lang) {
    if (!lang.available()) {
        return;
    }
    const auto children = container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        const int tag = tagOf(child);
        if (tag == 0) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(child)) {
            label->setText(taggedText(lang, tag));
        } else if (qobject_cast<QPushButton*>(child) || qobject_cast<QRadioButton*>(child) ||
                   qobject_cast<QCheckBox*>(child)) {
            static_cast<QAbstractButton*>(child)->setText(taggedText(lang, tag));
        }
    }
}

void applyMenuTexts(QWidget* menuBar, const LanguageTable& lang) {
    applyToActions(menuBar->actions(), lang);
}

}  // namespace quillon::ui
