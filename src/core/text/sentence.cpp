#include "core/text/sentence.h"

#include <cctype>

namespace quillon {

namespace {

bool endsInPunctuation(std::string_view text) {
    // A quote or bracket that closes a sentence leaves the stop inside: "... \"X\"." reads
    // the same as "... \"X.\"" to the user, so only the mark before it counts.
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == '"' || text[end - 1] == ')' || text[end - 1] == '\'')) {
        --end;
    }
    if (end == 0) {
        return false;
    }
    const char last = text[end - 1];
    return last == '.' || last == '!' || last == '?' || last == ':' || last == ';';
}

// UTF-8 lower-case umlauts and their capitals: the second byte differs by 0x20.
void capitaliseFirst(std::string& text) {
    if (text.empty()) {
        return;
    }
    const auto first = static_cast<unsigned char>(text[0]);
    if (first < 0x80) {
        text[0] = static_cast<char>(std::toupper(first));
        return;
    }
    if (first == 0xC3 && text.size() > 1) {
        const auto second = static_cast<unsigned char>(text[1]);
        if (second == 0xA4 || second == 0xB6 || second == 0xBC) {
            text[1] = static_cast<char>(second - 0x20);
        }
    }
}

}  // namespace

std::string sentence(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    std::string result(text);
    if (result.empty()) {
        return result;
    }
    capitaliseFirst(result);
    if (!endsInPunctuation(result)) {
        result += '.';
    }
    return result;
}

}  // namespace quillon
