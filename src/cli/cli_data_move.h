#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace quillon {

class Session;

namespace cli {

// Commands that move a map's data to a place the user names with --at, exactly as the
// window does with the repoint dialog's answer. Everything is checked before the first write
// (the core's placement check: the written bytes must be free space, bytes of fill, "00" or
// "FF", or the data's own old place); nothing is written on any error.

// Gives map id the size width x height: its grid goes to offset + 8 (the space is width x
// height x 2 + 32 bytes from offset, which must be even). Prints the new places as JSON.
void resizeMap(Session& session, const std::string& id, const std::string& width,
               const std::string& height, const std::string& offset, std::ostream& out,
               const std::string& fill = "FF");

// Gives map id the counts "P W S G" (persons, warps, script triggers, signposts, 0 to 255):
// the four tables and the event header go to offset (a multiple of 4) and the map header
// points there. Prints the new places as JSON.
void setEventCounts(Session& session, const std::string& id, const std::vector<std::string>& counts,
                    const std::string& offset, std::ostream& out, const std::string& fill = "FF");

// offset must be a multiple of alignment; a misaligned offset is refused naming the next
// aligned one in the same free run of count bytes (why says what needs the alignment). Where
// the data may go is the core's placement check.
void checkPlace(Session& session, std::uint32_t offset, std::uint32_t count,
                std::uint32_t alignment, const std::string& why);

}  // namespace cli
}  // namespace quillon
