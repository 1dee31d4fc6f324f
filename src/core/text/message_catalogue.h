#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/message.h"

namespace quillon {

class IniFile;

// One id of the catalogue: how many arguments its messages carry and the German text built
// into the program (the text of an error's what(), and the default when a language lacks it).
struct MessageDef {
    std::string_view id;
    int args = 0;
    std::string_view german;
};

// Every id the program uses, in one list (message_texts.cpp). The language file holds the
// same ids as keys in each language's section of Sprachen.ini.
const std::vector<MessageDef>& messageDefs();
// The id's entry; nullptr for an id the program does not know.
const MessageDef* findMessageDef(std::string_view id);

// Fills the arguments into a text: %1 to %9 is the argument, %^1 the argument with its first
// letter upper case (a name that opens a sentence), {1:one|other} the first form when the
// argument is "1" and the second otherwise (plurals), %% a percent sign. A number beyond the
// arguments stays as written. (A catalogue's text also picks the plural for an argument that
// is a message the language marks plural with the key "<id>.plural=1", such as a name that
// takes a plural verb.)
std::string fillMessageText(std::string_view text, const std::vector<std::string>& args);
// The argument numbers a text refers to, by any of the forms above.
std::set<int> messagePlaceholders(std::string_view text);

// The texts of one language: a section of the language file, with the built-in German for an
// id the section lacks. A plain argument is shown as it is, an unknown id as the id itself.
class MessageCatalogue {
public:
    // Built-in German only.
    MessageCatalogue() = default;
    MessageCatalogue(const IniFile& file, std::string section)
        : m_file(&file), m_section(std::move(section)) {}

    std::string text(const Message& message) const;
    const std::string& section() const { return m_section; }

private:
    const IniFile* m_file = nullptr;
    std::string m_section;
};

// The message in the built-in German (what an Error's what() says).
std::string germanText(const Message& message);

}  // namespace quillon
