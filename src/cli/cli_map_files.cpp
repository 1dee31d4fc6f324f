#include "cli/cli_map_files.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_data_move.h"
#include "cli/cli_messages.h"
#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/mapfile/map_from_file.h"
#include "core/mapfile/map_file.h"
#include "core/mapfile/map_insertion.h"
#include "core/rom/rom_pointer.h"
#include "core/session/session.h"

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
    if (!session.mapState().map().hasFooter()) {
        throw Error("map " + id + " has no block grid of its own (no footer); nothing to export");
    }
    const std::filesystem::path file = map_file::withMapExtension(out);
    saveMapFiles(session.mapState(), session.romState().profile(), file);
    log << "Wrote " << file.string() << " and " << map_file::eventFileName(file).string() << '\n';
}

namespace {

// A slot whose footer other maps share: refused, naming them and the ways on, unless allowed.
void checkSharedFooter(Session& session, const map_insertion::Slot& slot,
                       const InsertFooter& footer) {
    const auto sharing =
        map_insertion::mapsSharingFooter(session.rom(), session.romState().bankScan(), slot.footer);
    if (sharing.size() <= 1 || footer.sharedOk || footer.own) {
        return;
    }
    std::string names;
    for (const auto& [bank, map] : sharing) {
        names += (names.empty() ? "" : ", ") + std::to_string(bank) + "." + std::to_string(map);
    }
    throw Error("--slot " + std::to_string(slot.bank) + "." + std::to_string(slot.map) +
                ": its map footer at " + hexOffset(slot.footer) + " is shared by " +
                std::to_string(sharing.size()) + " maps (" + names +
                "); inserting would change all of them. Nothing was written. Give "
                "--own-footer --footer-at OFFSET for a footer of the slot's own, or --shared-ok "
                "to change them all");
}

}  // namespace

void insertMap(Session& session, const std::filesystem::path& mapFile, const std::string& slotText,
               const InsertPlaces& places, std::ostream& out) {
    const auto [bank, map] = slotArgument(slotText);
    const auto gridAt = static_cast<std::uint32_t>(
        numberArgument("--grid-at", places.gridAt, 0, kRomPointerReach - 1));
    const auto eventsAt = static_cast<std::uint32_t>(
        numberArgument("--events-at", places.eventsAt, 0, kRomPointerReach - 1));
    const std::uint8_t fill = fillArgument(places.fill);
    map_insertion::Plan plan;
    plan.bank = bank;
    plan.map = map;
    plan.gridSpace = gridAt;
    plan.events = eventsAt;
    plan.gridFill = fill;
    plan.eventFill = fill;
    plan.sharedOk = places.footer.sharedOk;
    if (places.footer.own) {
        plan.ownFooter = static_cast<std::uint32_t>(
            numberArgument("--footer-at", places.footer.at, 0, kRomPointerReach - 1));
    }
    session.openDetachedMap(detachedFromFiles(mapFile));
    const auto slot =
        map_insertion::locateSlot(session.rom(), session.romState().bankScan(), bank, map);
    checkSharedFooter(session, slot, places.footer);
    const std::uint32_t gridBytes = map_insertion::gridSpace(session.mapState().grid());
    const std::uint32_t eventBytes = map_insertion::eventSpace(session.mapState().events());
    checkOption(session, "--grid-at", gridAt, gridBytes, 2,
                "the grid starts 8 bytes behind it and needs an even address");
    checkOption(session, "--events-at", eventsAt, eventBytes, 4,
                "event tables and headers are read as 32-bit words");
    if (plan.ownFooter) {
        checkOption(session, "--footer-at", *plan.ownFooter,
                    map_insertion::ownFooterSpace(session.rom()), 4,
                    "a map footer is read as 32-bit words");
    }
    const map_insertion::Result r = map_insertion::insert(
        session.rom(), session.romState().profile(), session.romState().bankScan(),
        session.mapState().map(), session.mapState().grid(), session.mapState().events(), plan);
    nlohmann::ordered_json j;
    j["slot"] = std::to_string(bank) + "." + std::to_string(map);
    j["header_offset"] = r.slot.header;
    j["footer_offset"] = r.footer;
    j["border_offset"] = r.border;
    j["grid_offset"] = r.grid;
    j["grid_bytes"] = gridBytes;
    j["events_offset"] = eventsAt;
    j["event_bytes"] = r.eventBytes;
    j["event_header"] = r.eventHeader;
    out << j.dump(2) << '\n';
}

}  // namespace quillon::cli
