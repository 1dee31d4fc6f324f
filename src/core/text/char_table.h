#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class IniFile;

// The game-text character table: one text per byte value (usually one character, sometimes a
// token such as [PK]); 0xFF ends a game text and is never decoded.
class CharTable {
public:
    // Entry b = key "00".."FF" of section "Table"; missing keys are empty.
    void load(const IniFile& table);
    void set(std::uint8_t byte, std::string text) { m_entries[byte] = std::move(text); }
    const std::string& entry(std::uint8_t byte) const { return m_entries[byte]; }

    // The entries of the bytes before the first 0xFF, concatenated; empty entries vanish.
    std::string decode(std::span<const std::uint8_t> bytes) const;

    struct Encoded {
        std::vector<std::uint8_t> bytes;  // one code per recognised entry, no terminator
        std::string accepted;             // the texts of those entries
        std::string pending;              // typed characters that match no entry (yet)
    };
    // Greedy encoding of typed text: characters collect in a pending text until it equals an
    // entry (lowest byte value wins); stops after maxCodes codes.
    Encoded encode(std::string_view text, std::size_t maxCodes = SIZE_MAX) const;

private:
    std::array<std::string, 256> m_entries;
};

}  // namespace quillon
