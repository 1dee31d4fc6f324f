#include "core/text/char_table.h"

#include "core/base/ini_file.h"
#include "core/base/numbers.h"

namespace quillon {

namespace {

// Length of the UTF-8 sequence that starts with byte c (1 for stray continuation bytes).
std::size_t utf8Length(unsigned char c) {
    if (c >= 0xF0) {
        return 4;
    }
    if (c >= 0xE0) {
        return 3;
    }
    if (c >= 0xC0) {
        return 2;
    }
    return 1;
}

}  // namespace

void CharTable::load(const IniFile& table) {
    for (int b = 0; b < 256; ++b) {
        m_entries[static_cast<std::size_t>(b)] = table.readString("Table", IntToHex(b, 2), "");
    }
}

std::string CharTable::decode(std::span<const std::uint8_t> bytes) const {
    std::string out;
    for (std::uint8_t b : bytes) {
        if (b == 0xFF) {
            break;
        }
        out += m_entries[b];
    }
    return out;
}

CharTable::Encoded CharTable::encode(std::string_view text, std::size_t maxCodes) const {
    Encoded result;
    std::size_t i = 0;
    while (i < text.size() && result.bytes.size() < maxCodes) {
        std::size_t len = std::min(utf8Length(static_cast<unsigned char>(text[i])),
                                   text.size() - i);
        result.pending.append(text.substr(i, len));
        i += len;
        for (int b = 0; b < 256; ++b) {
            const std::string& entry = m_entries[static_cast<std::size_t>(b)];
            if (!entry.empty() && entry == result.pending) {
                result.bytes.push_back(static_cast<std::uint8_t>(b));
                result.accepted += entry;
                result.pending.clear();
                break;
            }
        }
    }
    return result;
}

}  // namespace quillon
