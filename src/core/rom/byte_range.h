#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// Bytes [begin, end) of the ROM file and what lies there ("die Bank-Tabelle", "MapBankHeader",
// "der Map-Footer", ...), for messages that name a place.
struct ByteRange {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    std::string what;
    friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

}  // namespace quillon
