#pragma once

#include <iosfwd>
#include <string>

namespace quillon {

class Session;

namespace cli {

// Opens map id and prints its wild encounters as JSON: {"grass", "water", "rock", "fishing"},
// each null or {"rate", "slots": [{"min", "max", "species", "name"}]} with the kind's slot
// count; null when the map has no entry in the wild table. Problems of the table go to err.
void printWild(Session& session, const std::string& id, std::ostream& out, std::ostream& err);

}  // namespace cli
}  // namespace quillon
