#include "core/text/message_catalogue.h"

#include <cctype>

#include "core/base/ini_file.h"

namespace quillon {

namespace {

bool isArgDigit(char c) { return c >= '1' && c <= '9'; }

std::string argument(const std::vector<std::string>& args, int n) {
    return static_cast<std::size_t>(n) <= args.size() ? args[static_cast<std::size_t>(n) - 1]
                                                      : "%" + std::to_string(n);
}

// "{N:one|other}" at text[at]; false when the text there has not that form.
bool pluralAt(std::string_view text, std::size_t at, int& n, std::string_view& one,
              std::string_view& other, std::size_t& end) {
    if (at + 3 >= text.size() || !isArgDigit(text[at + 1]) || text[at + 2] != ':') {
        return false;
    }
    const std::size_t bar = text.find('|', at + 3);
    const std::size_t close = text.find('}', at + 3);
    if (bar == std::string_view::npos || close == std::string_view::npos || close < bar) {
        return false;
    }
    n = text[at + 1] - '0';
    one = text.substr(at + 3, bar - at - 3);
    other = text.substr(bar + 1, close - bar - 1);
    end = close + 1;
    return true;
}

// Walks the text; each placeholder goes to onArg(number, capital), each plural form to
// onPlural(number, one, other), everything else to onText.
template <typename Text, typename Arg, typename Plural>
void walk(std::string_view text, Text onText, Arg onArg, Plural onPlural) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        int n = 0;
        std::string_view one, other;
        std::size_t end = 0;
        if (c == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            onText('%');
            i += 2;
        } else if (c == '%' && i + 1 < text.size() && isArgDigit(text[i + 1])) {
            onArg(text[i + 1] - '0', false);
            i += 2;
        } else if (c == '%' && i + 2 < text.size() && text[i + 1] == '^' &&
                   isArgDigit(text[i + 2])) {
            onArg(text[i + 2] - '0', true);
            i += 3;
        } else if (c == '{' && pluralAt(text, i, n, one, other, end)) {
            onPlural(n, one, other);
            i = end;
        } else {
            onText(c);
            ++i;
        }
    }
}

std::string fillWith(std::string_view text, const std::vector<std::string>& args,
                     const std::vector<bool>& plurals) {
    std::string out;
    walk(
        text, [&](char c) { out += c; },
        [&](int n, bool capital) {
            std::string value = argument(args, n);
            if (capital && !value.empty()) {
                value[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
            }
            out += value;
        },
        [&](int n, std::string_view one, std::string_view other) {
            const auto i = static_cast<std::size_t>(n) - 1;
            out += i < plurals.size() && plurals[i] ? other : one;
        });
    return out;
}

// Whether an argument takes the plural: a number other than 1; a message the language marks
// plural ("<id>.plural=1"); a message whose first argument is a message takes its number
// ("the event tables of map 3.0 ... run"); any other message is singular.
bool isPlural(const Message& arg, const IniFile* file, const std::string& section) {
    if (!arg.hasId()) {
        return arg.text != "1";
    }
    const std::string marker = arg.id + ".plural";
    if (file && file->hasKey(section, marker)) {
        return file->readBool(section, marker, false);
    }
    return !arg.args.empty() && arg.args[0].hasId() && isPlural(arg.args[0], file, section);
}

std::string render(const Message& message) {
    if (!message.hasId()) {
        return message.text;
    }
    std::vector<std::string> args;
    std::vector<bool> plurals;
    for (const Message& arg : message.args) {
        args.push_back(render(arg));
        plurals.push_back(isPlural(arg, nullptr, {}));
    }
    const MessageDef* def = findMessageDef(message.id);
    return fillWith(def ? def->german : std::string_view(message.id), args, plurals);
}

}  // namespace

const MessageDef* findMessageDef(std::string_view id) {
    for (const MessageDef& def : messageDefs()) {
        if (def.id == id) {
            return &def;
        }
    }
    return nullptr;
}

std::string fillMessageText(std::string_view text, const std::vector<std::string>& args) {
    std::vector<bool> plurals;
    for (const std::string& arg : args) {
        plurals.push_back(arg != "1");
    }
    return fillWith(text, args, plurals);
}

std::set<int> messagePlaceholders(std::string_view text) {
    std::set<int> numbers;
    walk(
        text, [](char) {}, [&](int n, bool) { numbers.insert(n); },
        [&](int n, std::string_view, std::string_view) { numbers.insert(n); });
    return numbers;
}

std::string MessageCatalogue::text(const Message& message) const {
    if (!message.hasId() || !m_file) {
        return render(message);
    }
    std::vector<std::string> args;
    std::vector<bool> plurals;
    for (const Message& arg : message.args) {
        args.push_back(text(arg));
        plurals.push_back(isPlural(arg, m_file, m_section));
    }
    const MessageDef* def = findMessageDef(message.id);
    const std::string fallback(def ? def->german : std::string_view(message.id));
    return fillWith(m_file->readString(m_section, message.id, fallback), args, plurals);
}

std::string germanText(const Message& message) { return render(message); }

}  // namespace quillon
