#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The text read as hexadecimal; "" is 0. Throws ConversionError naming "$" + text.
std::int32_t HexToInt(std::string_view text);

// Upper-case hexadecimal with at least `digits` digits; never truncated (4096, 2 -> "1000").
std::string IntToHex(std::int64_t value, int digits);

// A file offset as the messages show it: "$" and at least six hex digits ("$1A2B3C").
inline std::string hexOffset(std::uint64_t offset) {
    return "$" + IntToHex(static_cast<std::int64_t>(offset), 6);
}

// The decimal conversion of the data files and fields: optional sign, decimal, or hexadecimal
// with "$" or "0x". Throws ConversionError with the text as given.
std::int32_t StrToInt(std::string_view text);

// The same conversion without the error: nullopt for text that is not a number.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// The text without the blanks and tabs at either end.
std::string_view trimmed(std::string_view text);

// 1-based position of pattern in text at or after start; 0 when absent.
int PosFrom(std::string_view text, std::string_view pattern, int start);

// "1011" -> 11; the last character is bit 0. Throws ConversionError on other characters.
std::int32_t BinToInt(std::string_view text);

// Little-endian readers for buffers the core parses after one block read.
inline std::uint16_t readLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t readLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void writeLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void writeLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

}  // namespace quillon
