#include "core/map/map_header.h"

#include <algorithm>

#include "core/errors.h"

namespace quillon {

MapHeader MapHeader::decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kSize) {
        throw DataError(message("map.header_short"));
    }
    MapHeader h;
    std::copy_n(bytes.begin(), kSize, h.raw.begin());
    return h;
}

ShowNameBits ShowNameBits::forGame(const std::string& gameCode3, bool frlg) {
    if (frlg) {
        return {25, 0xFC, 2};
    }
    if (gameCode3 == "BPE") {
        return {26, 0xF8, 3};
    }
    return {26, 0xFF, 0};
}

MapFooter MapFooter::decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kSize) {
        throw DataError(message("map.footer_short"));
    }
    MapFooter f;
    std::copy_n(bytes.begin(), kSize, f.raw.begin());
    return f;
}

}  // namespace quillon
