#include "romkit/western_charset.h"

#include <cstdio>
#include <stdexcept>

namespace quillon::romkit {

namespace {

struct Range {
    std::uint8_t first;
    const char* text;  // ASCII characters, one entry each
};

// Letters, digits and the plain punctuation, laid out in runs.
constexpr Range kRuns[] = {
    {0xA1, "0123456789!?.-"},
    {0xBB, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {0xD5, "abcdefghijklmnopqrstuvwxyz"},
};

struct Single {
    std::uint8_t byte;
    const char* text;
};

constexpr Single kSingles[] = {
    {0x00, " "},    {0x01, "À"},    {0x02, "Á"},    {0x03, "Â"},    {0x04, "Ç"},    {0x05, "È"},
    {0x06, "É"},    {0x07, "Ê"},    {0x08, "Ë"},    {0x09, "Ì"},    {0x0B, "Î"},    {0x0C, "Ï"},
    {0x0D, "Ò"},    {0x0E, "Ó"},    {0x0F, "Ô"},    {0x10, "Œ"},    {0x11, "Ù"},    {0x12, "Ú"},
    {0x13, "Û"},    {0x14, "Ñ"},    {0x15, "ß"},    {0x16, "à"},    {0x17, "á"},    {0x19, "ç"},
    {0x1A, "è"},    {0x1B, "é"},    {0x1C, "ê"},    {0x1D, "ë"},    {0x1E, "ì"},    {0x20, "î"},
    {0x21, "ï"},    {0x22, "ò"},    {0x23, "ó"},    {0x24, "ô"},    {0x25, "œ"},    {0x26, "ù"},
    {0x27, "ú"},    {0x28, "û"},    {0x29, "ñ"},    {0x2A, "º"},    {0x2B, "ª"},    {0x2C, "[er]"},
    {0x2D, "&"},    {0x2E, "+"},    {0x34, "[Lv]"}, {0x35, "="},    {0x36, ";"},    {0x51, "¿"},
    {0x52, "¡"},    {0x53, "[PK]"}, {0x54, "[MN]"}, {0x55, "[PO]"}, {0x56, "[Ké]"}, {0x57, "[BL]"},
    {0x58, "[OC]"}, {0x59, "[K]"},  {0x5A, "Í"},    {0x5B, "%"},    {0x5C, "("},    {0x5D, ")"},
    {0x68, "â"},    {0x6F, "í"},    {0x79, "[U]"},  {0x7A, "[D]"},  {0x7B, "[L]"},  {0x7C, "[R]"},
    {0x84, "[e]"},  {0x85, "<"},    {0x86, ">"},    {0xA0, "[re]"}, {0xAF, "·"},    {0xB0, "…"},
    {0xB1, "“"},    {0xB2, "”"},    {0xB3, "‘"},    {0xB4, "'"},    {0xB5, "♂"},    {0xB6, "♀"},
    {0xB7, "$"},    {0xB8, ","},    {0xB9, "×"},    {0xBA, "/"},    {0xEF, "▶"},    {0xF0, ":"},
    {0xF1, "Ä"},    {0xF2, "Ö"},    {0xF3, "Ü"},    {0xF4, "ä"},    {0xF5, "ö"},    {0xF6, "ü"},
    {0xFA, "\\l"},  {0xFB, "\\p"},  {0xFE, "\\n"},
};

std::vector<std::string> makeCharset() {
    std::vector<std::string> table(256);
    for (const Range& run : kRuns) {
        std::string_view text(run.text);
        for (std::size_t i = 0; i < text.size(); ++i) {
            table[run.first + i] = std::string(1, text[i]);
        }
    }
    for (const Single& s : kSingles) {
        table[s.byte] = s.text;
    }
    return table;
}

}  // namespace

const std::vector<std::string>& westernCharset() {
    static const std::vector<std::string> table = makeCharset();
    return table;
}

std::vector<std::uint8_t> encodeWestern(std::string_view text) {
    const auto& table = westernCharset();
    std::vector<std::uint8_t> out;
    std::string pending;
    for (char c : text) {
        pending.push_back(c);
        for (int b = 0; b < 256; ++b) {
            if (!table[b].empty() && table[b] == pending) {
                out.push_back(static_cast<std::uint8_t>(b));
                pending.clear();
                break;
            }
        }
    }
    if (!pending.empty()) {
        throw std::invalid_argument("no game-text code for \"" + pending + "\" in \"" +
                                    std::string(text) + "\"");
    }
    return out;
}

std::string decodeWestern(std::span<const std::uint8_t> bytes) {
    const auto& table = westernCharset();
    std::string text;
    for (std::uint8_t b : bytes) {
        if (b == 0xFF) {
            break;
        }
        text += table[b];
    }
    return text;
}

std::string westernTableIni() {
    const auto& table = westernCharset();
    std::string ini = "[Table]\n";
    for (int b = 0; b < 255; ++b) {
        if (table[b].empty()) {
            continue;
        }
        char key[4];
        std::snprintf(key, sizeof key, "%02X", b);
        // Blanks at either end and the characters ; and = survive the reader only quoted.
        const bool quote = table[b].front() == ' ' || table[b].back() == ' ' ||
                           table[b].find_first_of(";=") != std::string::npos;
        ini += std::string(key) + "=" + (quote ? "\"" + table[b] + "\"" : table[b]) + "\n";
    }
    return ini;
}

}  // namespace quillon::romkit
