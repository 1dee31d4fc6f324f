#include "cli/cli_map_files.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_data_move.h"
#include "cli/cli_messages.h"
#include "core/errors.h"
#include "core/map_from_file.h"
#include "core/mapfile/map_file.h"
#include "core/mapfile/map_insertion.h"
#include "core/rom/rom_pointer.h"
#include "core/session.h"

namespace quillon::cli {

namespace {

// checkPlace's messages name the option the offset came from.
void checkOption(Session& session, const std::string& option, std::uint32_t offset,
                 std::uint32_t count, std::uint32_t alignment, const std::string& why) {
    try {
        checkPlace(session, offset, count, alignment, why);
    } catch (const Error& e) {
        std::string message = e.what();
        if (message.rfind("--at", 0) == 0) {
            message.replace(0, 4, option);
        }
        throw Error(message);
    }
}

std::pair<int, int> slotArgument(const std::string& text) {
    std::optional<std::pair<int, int>> slot;
    try {
        slot = map_insertion::parseSlot(text);
    } catch (const ConversionError&) {
    }
    if (!slot) {
        throw Error("--slot: \"" + text + "\" is not bank.map (e.g. 3.1)");
    }
    return *slot;
}

}  // namespace

void exportMap(Session& session, const std::string& id, const std::filesystem::path& out,
               std::ostream& log) {
    openMapForWrite(session, id);
    if (!session.map().hasFooter()) {
        throw Error("map " + id + " has no block grid of its own (no footer); nothing to export");
    }
    const std::filesystem::path file = map_file::withMapExtension(out);
    saveMapFiles(session.mapState(), file);
    log << "Wrote " << file.string() << " and " << map_file::eventFileName(file).string() << '\n';
}

void insertMap(Session& session, const std::filesystem::path& mapFile, const std::string& slotText,
               const std::string& gridText, const std::string& eventsText, std::ostream& out,
               const std::string& fillText) {
    const auto [bank, map] = slotArgument(slotText);
    const auto gridAt =
        static_cast<std::uint32_t>(numberArgument("--grid-at", gridText, 0, kRomPointerReach - 1));
    const auto eventsAt = static_cast<std::uint32_t>(
        numberArgument("--events-at", eventsText, 0, kRomPointerReach - 1));
    const std::uint8_t fill = fillArgument(fillText);
    session.openDetachedMap(detachedFromFiles(mapFile));
    map_insertion::locateSlot(session.rom(), session.bankScan(), bank, map);
    const std::uint32_t gridBytes = map_insertion::gridSpace(session.grid());
    const std::uint32_t eventBytes = map_insertion::eventSpace(session.events());
    checkOption(session, "--grid-at", gridAt, gridBytes, 2,
                "the grid starts 8 bytes behind it and needs an even address");
    checkOption(session, "--events-at", eventsAt, eventBytes, 4,
                "event tables and headers are read as 32-bit words");
    const map_insertion::Plan plan{bank, map, gridAt, eventsAt, fill, fill};
    const map_insertion::Result r =
        map_insertion::insert(session.rom(), session.profile(), session.bankScan(), session.map(),
                              session.grid(), session.events(), plan);
    nlohmann::ordered_json j;
    j["slot"] = std::to_string(bank) + "." + std::to_string(map);
    j["header_offset"] = r.slot.header;
    j["footer_offset"] = r.slot.footer;
    j["grid_offset"] = r.grid;
    j["grid_bytes"] = gridBytes;
    j["events_offset"] = eventsAt;
    j["event_bytes"] = r.eventBytes;
    j["event_header"] = r.eventHeader;
    out << j.dump(2) << '\n';
}

}  // namespace quillon::cli
