#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/connections/connection_table.h"
#include "core/text/message.h"

namespace quillon {

// The connections of the open map as the window edits them: at most kCapacity records,
// numbered from 1. Adding, removing and the field setters change only this list; saving
// writes it (connection_save.h). A ROM table of more than kCapacity records shows its first
// kCapacity and cannot be saved, since saving would drop the others.
class ConnectionList {
public:
    static constexpr std::size_t kCapacity = 10;

    ConnectionList() = default;
    // The list of a map read from the ROM.
    explicit ConnectionList(const ConnectionTable& table);

    // The map has a connection header (or can get one: every map with a header can).
    bool hasTable() const { return m_hasTable; }
    const std::vector<Connection>& records() const { return m_records; }
    std::size_t count() const { return m_records.size(); }
    // Connection number n (1-based). Throws Error outside 1..count.
    const Connection& at(std::size_t n) const;
    // Records the ROM table holds beyond the ones shown (0 when all are shown).
    std::size_t dropped() const { return m_dropped; }
    // The notice for a table of more records than the list holds ("connection.too_many");
    // nothing when all are shown.
    std::optional<Message> tooManyNotice() const;

    // A new connection of zeros at the end. Throws Error when kCapacity exist already.
    void add();
    // Removes connection n; the ones after it move down one place. Nothing happens without
    // connections. Throws Error for a number outside 1..count otherwise.
    void remove(std::size_t n);

    // The window's fields, each for connection n (1-based). A text still being typed ("", a
    // lone sign or "$", or "-$") changes nothing until the digits follow.
    void setDirection(std::size_t n, std::uint32_t direction);
    // Signed decimal (or "$" hex).
    void setOffsetText(std::size_t n, std::string_view text);
    // Decimal or "$" hex, the low 8 bits.
    void setBankText(std::size_t n, std::string_view text);
    void setMapText(std::size_t n, std::string_view text);
    // "$" and hex digits (or decimal), the low 16 bits.
    void setFillerText(std::size_t n, std::string_view text);

    // Throws Error when the list cannot be saved (records of the ROM table not shown).
    void requireSavable() const;

private:
    Connection& edit(std::size_t n);

    bool m_hasTable = false;
    std::vector<Connection> m_records;
    std::size_t m_dropped = 0;
};

// The texts the fields show for a record: offset signed decimal, bank and map decimal, filler
// "$" and four hex digits.
std::string offsetText(const Connection& c);
std::string fillerText(const Connection& c);

}  // namespace quillon
