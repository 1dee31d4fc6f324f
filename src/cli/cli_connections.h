#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace quillon {

class Session;

namespace cli {

// Prints the connections of map id as JSON: a list of {"direction", "offset", "bank", "map",
// "filler", "reverse"} ("reverse": the neighbour leads back), or null when the map has no
// connection header (also for a map opened by footer offset alone).
void printConnections(Session& session, const std::string& id, std::ostream& out);

// One line per connection of every listed map that has no way back ("3.1 down +0 -> 3.2: no
// way back"), and per map whose connections cannot be read. Returns how many lines it wrote.
std::size_t checkConnections(Session& session, std::ostream& out);

// A direction as check-connections names it (none, down, up, left, right, dive, emerge; any
// case) or its number 0 to 6; nullopt for anything else.
std::optional<std::uint32_t> directionOf(const std::string& text);

// What `connections ROM ID` is given to write; one of add, remove, wayBack and jsonFile.
// Connections are counted from 0, as the printed list.
struct ConnectionEdit {
    std::string add;       // "DIR,OFFSET,BANK.MAP": a new connection at the end
    std::string remove;    // N: connection N goes, the ones after it move up
    std::string wayBack;   // N: the neighbour of connection N gets the connection back
    std::string jsonFile;  // the whole list, in the printed shape
    std::string at;        // where the (neighbour's) table goes; "" for where it is
    std::string fill = "FF";
    bool writes() const {
        return !add.empty() || !remove.empty() || !wayBack.empty() || !jsonFile.empty();
    }
};

// Writes the connections of map id as the connections window saves them (saveConnections,
// or saveWithCounterpart for the way back), in one transaction, after the same checks; prints
// where the tables went as JSON. The map's table is written at edit.at, or where it is when
// no --at is given (the placement check refuses that when it does not fit there); the way
// back writes the map's table where it is and the neighbour's at edit.at, which it needs.
// Nothing is written on any error.
void editConnections(Session& session, const std::string& id, const ConnectionEdit& edit,
                     std::ostream& out);

}  // namespace cli
}  // namespace quillon
