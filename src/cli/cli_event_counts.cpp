#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_data_move.h"
#include "cli/cli_messages.h"
#include "core/errors.h"
#include "core/writers/event_counts.h"
#include "core/rom/rom_pointer.h"
#include "core/session/session.h"

namespace quillon::cli {

void setEventCounts(Session& session, const std::string& id, const std::vector<std::string>& counts,
                    const std::string& offsetText, std::ostream& out, const std::string& fillText) {
    if (counts.size() != 4) {
        throw Error("event-counts needs four counts: persons, warps, script triggers, signposts");
    }
    const EventCounts wanted{numberArgument("persons", counts[0], 0, 255),
                             numberArgument("warps", counts[1], 0, 255),
                             numberArgument("script triggers", counts[2], 0, 255),
                             numberArgument("signposts", counts[3], 0, 255)};
    const auto offset =
        static_cast<std::uint32_t>(numberArgument("--at", offsetText, 0, kRomPointerReach - 1));
    const std::uint8_t fill = fillArgument(fillText);
    openMapForWrite(session, id);
    if (!session.mapState().map().hasHeader()) {
        throw Error("map " + id + " has no map header (it was found through the map name file)");
    }
    checkPlace(session, offset, eventSpace(wanted), 4,
               "event tables and headers are read as 32-bit words");
    const EventLayout layout =
        applyEventCounts(session.rom(), session.mapState(), wanted, offset, fill);
    nlohmann::ordered_json j;
    j["counts"] = {{"persons", wanted.persons},
                   {"warps", wanted.warps},
                   {"scripts", wanted.scripts},
                   {"signposts", wanted.signposts}};
    j["offset"] = offset;
    j["bytes"] = layout.size;
    j["tables"] = {{"persons", layout.tables[0]},
                   {"warps", layout.tables[1]},
                   {"scripts", layout.tables[2]},
                   {"signposts", layout.tables[3]}};
    j["events_offset"] = layout.header;
    out << j.dump(2) << '\n';
}

}  // namespace quillon::cli
