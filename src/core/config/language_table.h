#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/text/message.h"

namespace quillon {

class IniFile;

// Interface texts by number: the current language's section of Sprachen.ini, the German
// wording built into the program as the default.
class LanguageTable {
public:
    explicit LanguageTable(const IniFile& texts) : m_texts(&texts) {}

    // Section names in file order: the entries of the language menu.
    std::vector<std::string> languages() const;
    bool available() const;
    // A language that can be applied: its section exists and holds at least one key.
    bool usable(const std::string& language) const;

    const std::string& current() const { return m_current; }
    void setCurrent(std::string language) { m_current = std::move(language); }

    // The text of key (decimal number without leading zeros, or "00"/"01") or def.
    std::string text(const std::string& key, std::string_view def) const;
    std::string text(int number, std::string_view def) const;
    // A catalogue message in the current language (the built-in German for an id the section
    // lacks, and while no language is chosen).
    std::string text(const Message& message) const;

private:
    const IniFile* m_texts;
    std::string m_current;
};

}  // namespace quillon
