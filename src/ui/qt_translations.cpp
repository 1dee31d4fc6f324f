#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "core/config/language_table.h"
#include "ui/language_texts.h"

namespace quillon::ui {

QtTranslations::QtTranslations() = default;

QtTranslations::~QtTranslations() {
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
    }
}

bool QtTranslations::apply(const LanguageTable& lang) {
    const QString code = langText(lang, 1700, "").trimmed();
    if (code == m_code && m_translator) {
        return true;
    }
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    m_code.clear();
    if (code.isEmpty()) {
        return false;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    m_code = code;
    return true;
}

}  // namespace quillon::ui
