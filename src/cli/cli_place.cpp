#include <string>

#include "cli/cli_data_move.h"
#include "cli/cli_messages.h"
#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/free_space.h"
#include "core/session/session.h"

namespace quillon::cli {

namespace {

std::string hex(std::uint64_t offset) {
    return "$" + IntToHex(static_cast<std::int64_t>(offset), 6);
}

}  // namespace

void checkPlace(Session& session, std::uint32_t offset, std::uint32_t count,
                std::uint32_t alignment, const std::string& why) {
    if (offset % alignment == 0) {
        return;
    }
    std::string message = "--at " + hex(offset) + " is not a multiple of " +
                          std::to_string(alignment) + " (" + why + "); ";
    if (auto next = nextAlignedFree(session.rom(), offset, count, alignment)) {
        message += "the next such offset in the same free run is " + hex(*next);
    } else {
        message += "the free run there has no such offset with room for " + std::to_string(count) +
                   " bytes";
    }
    throw Error(message);
}

}  // namespace quillon::cli
