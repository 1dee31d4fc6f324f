#include "core/config/language_table.h"

#include "core/base/ini_file.h"
#include "core/text/message_catalogue.h"

namespace quillon {

std::vector<std::string> LanguageTable::languages() const { return m_texts->sections(); }

bool LanguageTable::available() const { return m_texts->exists(); }

bool LanguageTable::usable(const std::string& language) const {
    return m_texts->sectionExists(language) && !m_texts->keys(language).empty();
}

std::string LanguageTable::text(const std::string& key, std::string_view def) const {
    if (m_current.empty()) {
        return std::string(def);
    }
    return m_texts->readString(m_current, key, std::string(def));
}

std::string LanguageTable::text(int number, std::string_view def) const {
    return text(std::to_string(number), def);
}

std::string LanguageTable::text(const Message& message) const {
    if (m_current.empty()) {
        return germanText(message);
    }
    return MessageCatalogue(*m_texts, m_current).text(message);
}

}  // namespace quillon
