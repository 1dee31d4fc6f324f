#include "cli/cli_edit_options.h"

#include <CLI/CLI.hpp>

#include "cli/cli_connections.h"
#include "cli/cli_wild.h"

namespace quillon::cli {

void addWildEditOptions(CLI::App& wild, WildEdit& edit) {
    auto* set = wild.add_option(
        "--set", edit.sets,
        "write: KIND.rate=N (0 to 255) or KIND.SLOT=MIN,MAX,SPECIES; KIND grass, water, rock or "
        "fishing; SLOT counted from 0 as the printed slots list; SPECIES its number or its name "
        "(any case); several in one call are one step of the history");
    auto* json = wild.add_option(
        "--json", edit.jsonFile,
        "write the encounters of a file in the shape this command prints; null for a kind (or "
        "the whole) leaves it as it is, \"name\" beside \"species\" must be its name");
    set->excludes(json);
    wild.add_flag("--force", edit.force,
                  "write levels outside 1 to 100 and minimums above maximums (refused without "
                  "it, where the window asks)");
    wild.footer(
        "Without --set or --json the map's encounters are printed: {grass, water, rock, "
        "fishing}, each null or {rate, slots: [{min, max, species, name}]}, null for a map "
        "without an entry in the wild table.\nA write changes only kinds the map has (grass 12 "
        "slots, water 5, rock 5, fishing 10); a map without an entry or a kind without slots "
        "is refused, as the window creates neither. Levels are 0 to 255; species 0 to the last "
        "of the game's species list. Nothing is written on any error; `undo` takes the write "
        "back. Prints the encounters as written.");
}

void addConnectionEditOptions(CLI::App& connections, ConnectionEdit& edit) {
    auto* add = connections.add_option(
        "--add", edit.add,
        "DIR,OFFSET,BANK.MAP: a new connection at the end; DIR down, up, left, right, dive or "
        "emerge (or 1 to 6), OFFSET signed blocks along the edge, BANK.MAP a map of the ROM");
    auto* remove = connections.add_option(
        "--remove", edit.remove, "N: removes connection N, counted from 0 as the printed list");
    auto* wayBack = connections.add_option(
        "--way-back", edit.wayBack,
        "N: gives the neighbour of connection N (from 0) the connection back to this map; its "
        "table goes to --at");
    auto* json = connections.add_option(
        "--json", edit.jsonFile,
        "the whole list from a file in the shape this command prints (a direction by number or "
        "name; \"reverse\" is ignored, \"filler\" may be left out; a record the map holds "
        "already is kept as it is); [] writes an empty table, null only for a map without one");
    const std::vector<CLI::Option*> edits{add, remove, wayBack, json};
    for (CLI::Option* a : edits) {
        for (CLI::Option* b : edits) {
            if (a != b) {
                a->excludes(b);
            }
        }
    }
    connections.add_option(
        "--at", edit.at,
        "file offset for the written table, a multiple of 4 ($ for hex); default where the "
        "map's table is (refused when it does not fit there); needed for --way-back, where it "
        "places the neighbour's table");
    connections.add_option("--fill", edit.fill,
                           "00 or FF (default FF): the byte free space holds, as find-free --byte");
    connections.footer(
        connections.get_footer() +
        "\nA write saves the map's whole table as the connections window does (records, then "
        "count and pointer, last the map header's pointer) after the same checks: at most 10 "
        "connections, a new one leads somewhere and to a map of the ROM, the place holds free "
        "bytes or the table's old place. The old table stays where it was. Nothing is written "
        "on any error; `undo` takes the write back. Prints where the table went.");
}

}  // namespace quillon::cli
