#include "core/base/numbers.h"

#include <charconv>

#include "core/errors.h"

namespace quillon {

namespace {

std::optional<std::int64_t> parseDigits(std::string_view digits, int base) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) {
        return std::nullopt;
    }
    // Hexadecimal text may spell a full 32-bit pattern (FFFFFFFF is -1, as a 32-bit integer).
    if (base == 16 ? value > 0xFFFFFFFFull : value > 0x7FFFFFFFull + 1) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(value);
}

}  // namespace

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        return std::nullopt;
    }
    auto value = parseDigits(text, base);
    if (!value) {
        return std::nullopt;
    }
    std::int64_t v = negative ? -*value : *value;
    if (base == 10 && (v > 0x7FFFFFFF || v < -0x80000000LL)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

std::int32_t StrToInt(std::string_view text) {
    if (auto v = TryStrToInt(text)) {
        return *v;
    }
    throw ConversionError(std::string(text));
}

std::int32_t HexToInt(std::string_view text) {
    std::string prefixed = "$";
    prefixed += text.empty() ? std::string_view("0") : text;
    if (auto v = TryStrToInt(prefixed)) {
        return *v;
    }
    throw ConversionError(prefixed);
}

std::string IntToHex(std::int64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto v = static_cast<std::uint64_t>(value);
    if (value < 0) {
        v &= 0xFFFFFFFFull;
    }
    std::string out;
    do {
        out.insert(out.begin(), kDigits[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    if (static_cast<int>(out.size()) < digits) {
        out.insert(0, static_cast<std::size_t>(digits) - out.size(), '0');
    }
    return out;
}

int PosFrom(std::string_view text, std::string_view pattern, int start) {
    if (start < 1 || pattern.empty()) {
        return 0;
    }
    auto pos = text.find(pattern, static_cast<std::size_t>(start - 1));
    return pos == std::string_view::npos ? 0 : static_cast<int>(pos) + 1;
}

std::int32_t BinToInt(std::string_view text) {
    std::uint32_t value = 0;
    std::uint32_t bit = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it, bit <<= 1) {
        if (*it < '0' || *it > '9') {
            throw ConversionError(std::string(text));
        }
        value += static_cast<std::uint32_t>(*it - '0') * bit;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace quillon
