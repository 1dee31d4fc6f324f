#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/wild/wild_table.h"

namespace quillon {

class Session;

namespace cli {

// Opens map id and finds its header in the wild table (nullopt: the table has no entry for
// it). What is wrong with the table goes to err as warnings.
std::optional<wild::Header> openWildHeader(Session& session, const std::string& id,
                                           std::ostream& err);

// Opens map id and prints its wild encounters as JSON: {"grass", "water", "rock", "fishing"},
// each null or {"rate", "slots": [{"min", "max", "species", "name"}]} with the kind's slot
// count; null when the map has no entry in the wild table. Problems of the table go to err.
void printWild(Session& session, const std::string& id, std::ostream& out, std::ostream& err);
// The same for the open map's header as openWildHeader found it.
void printEncounters(Session& session, const std::optional<wild::Header>& header,
                     std::ostream& out, std::ostream& err);

// What `wild ROM ID` is given to write: assignments "KIND.rate=N" and "KIND.SLOT=MIN,MAX,
// SPECIES" (KIND grass, water, rock or fishing; SLOT counted from 0 as the printed slots
// list; SPECIES a number or a name of the species list), or a file in the printed shape.
struct WildEdit {
    std::vector<std::string> sets;
    std::string jsonFile;
    bool force = false;  // write levels outside 1-100 and minimums above maximums
    bool writes() const { return !sets.empty() || !jsonFile.empty(); }
};

// Writes the wild encounters of map id as the wild tab saves them (wild::save), every kind
// the edit touches in one transaction, then prints the map's encounters as printWild does.
// Everything is checked first; nothing is written on any error: a map without an entry in
// the table or a kind without slots (neither is created), a value that is no number or does
// not fit its byte, a species outside the list or a name the list does not hold exactly
// once, and unusual levels unless edit.force (the window asks before writing those).
void setWild(Session& session, const std::string& id, const WildEdit& edit, std::ostream& out,
             std::ostream& err);

}  // namespace cli
}  // namespace quillon
