#pragma once

#include <cstddef>
#include <iosfwd>
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

}  // namespace cli
}  // namespace quillon
