#include "core/config/language_table.h"

#include "core/config/ini_file.h"

namespace quillon {

std::vector<std::string> LanguageTable::languages() const { return m_sprachen->sections(); }

bool LanguageTable::available() const { return m_sprachen->exists(); }

bool LanguageTable::usable(const std::string& language) const {
    return m_sprachen->sectionExists(language) && !m_sprachen->keys(language).empty();
}

std::string LanguageTable::text(const std::string& key, std::string_view def) const {
    if (m_current.empty()) {
        return std::string(def);
    }
    return m_sprachen->readString(m_current, key, std::string(def));
}

std::string LanguageTable::text(int number, std::string_view def) const {
    return text(std::to_string(number), def);
}

}  // namespace quillon
