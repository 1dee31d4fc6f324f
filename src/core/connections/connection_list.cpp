#include "core/connections/connection_list.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/errors.h"

namespace quillon {

namespace {

// A field's text as a number: decimal with an optional sign, or "$" / "0x" hexadecimal.
// Throws ConversionError naming the text.
std::int32_t fieldNumber(std::string_view text) { return StrToInt(text); }

// A number being typed: nothing yet, or only its sign or "$". The field waits for more.
bool halfTyped(std::string_view text) {
    return text.empty() || text == "-" || text == "$" || text == "-$";
}

}  // namespace

ConnectionList::ConnectionList(const ConnectionTable& table) : m_hasTable(table.exists()) {
    const std::size_t shown = std::min(table.records.size(), kCapacity);
    m_records.assign(table.records.begin(), table.records.begin() + static_cast<long>(shown));
    m_dropped = table.records.size() - shown;
}

const Connection& ConnectionList::at(std::size_t n) const {
    if (n < 1 || n > m_records.size()) {
        throw Error(
            message("connection.no_such", {std::to_string(n), std::to_string(m_records.size())}));
    }
    return m_records[n - 1];
}

Connection& ConnectionList::edit(std::size_t n) { return const_cast<Connection&>(at(n)); }

std::optional<Message> ConnectionList::tooManyNotice() const {
    if (m_dropped == 0) {
        return std::nullopt;
    }
    return message("connection.too_many",
                   {std::to_string(m_records.size() + m_dropped), std::to_string(kCapacity)});
}

void ConnectionList::add() {
    if (m_records.size() >= kCapacity) {
        throw Error(message("connection.list_full", {std::to_string(kCapacity)}));
    }
    m_records.emplace_back();
}

void ConnectionList::remove(std::size_t n) {
    if (m_records.empty()) {
        return;
    }
    at(n);
    m_records.erase(m_records.begin() + static_cast<long>(n - 1));
}

void ConnectionList::setDirection(std::size_t n, std::uint32_t direction) {
    edit(n).direction = direction;
}

void ConnectionList::setOffsetText(std::size_t n, std::string_view text) {
    if (!halfTyped(text)) {
        edit(n).offset = fieldNumber(text);
    }
}

void ConnectionList::setBankText(std::size_t n, std::string_view text) {
    if (!halfTyped(text)) {
        edit(n).bank = static_cast<std::uint8_t>(fieldNumber(text));
    }
}

void ConnectionList::setMapText(std::size_t n, std::string_view text) {
    if (!halfTyped(text)) {
        edit(n).map = static_cast<std::uint8_t>(fieldNumber(text));
    }
}

void ConnectionList::setFillerText(std::size_t n, std::string_view text) {
    if (!halfTyped(text)) {
        edit(n).filler = static_cast<std::uint16_t>(fieldNumber(text));
    }
}

void ConnectionList::requireSavable() const {
    if (m_dropped != 0) {
        throw Error(*tooManyNotice());
    }
}

std::string offsetText(const Connection& c) { return std::to_string(c.offset); }

std::string fillerText(const Connection& c) { return "$" + IntToHex(c.filler, 4); }

}  // namespace quillon
