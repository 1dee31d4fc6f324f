#include "core/rom/placement.h"

#include <algorithm>
#include <optional>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/cartridge.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

Message described(const RomRange& r) {
    return message("place.range", {r.what, hexOffset(r.offset), std::to_string(r.size)});
}

bool contains(const RomRange& r, std::uint64_t at) { return at >= r.offset && at < r.end(); }

// The first byte of [from, to) that no old place covers; nullopt when they cover it all.
std::optional<std::uint64_t> firstOutside(std::uint64_t from, std::uint64_t to,
                                          const std::vector<RomRange>& oldPlaces) {
    std::uint64_t at = from;
    bool moved = true;
    while (at < to && moved) {
        moved = false;
        for (const RomRange& old : oldPlaces) {
            if (contains(old, at)) {
                at = old.end();
                moved = true;
            }
        }
    }
    if (at < to) {
        return at;
    }
    return std::nullopt;
}

void requireInFile(TRom& rom, const RomRange& w) {
    if (w.offset < kCartridgeHeaderSize) {
        throw Error(message("place.header", {described(w), hexOffset(kCartridgeHeaderSize - 1)}));
    }
    const std::uint64_t size = rom.size();
    if (w.end() > size) {
        throw Error(message("place.past_end", {described(w), hexOffset(size)}));
    }
}

void requireApartFromReliedOn(const PlannedWrite& w, const std::vector<RomRange>& reliedOn) {
    for (const RomRange& r : reliedOn) {
        const std::uint64_t from = std::max<std::uint64_t>(w.range.offset, r.offset);
        const std::uint64_t to = std::min(w.range.end(), r.end());
        if (from >= to) {
            continue;
        }
        if (const auto at = firstOutside(from, to, w.oldPlaces)) {
            throw Error(
                message("place.occupied", {described(w.range), hexOffset(*at), described(r)}));
        }
    }
}

void requireApartFromEachOther(const std::vector<PlannedWrite>& writes) {
    for (auto a = writes.begin(); a != writes.end(); ++a) {
        for (auto b = a + 1; b != writes.end(); ++b) {
            const std::uint64_t from = std::max(a->range.offset, b->range.offset);
            const std::uint64_t to = std::min(a->range.end(), b->range.end());
            if (a->range.size > 0 && b->range.size > 0 && from < to) {
                throw Error(message("place.overlap",
                                    {described(a->range), described(b->range), hexOffset(from)}));
            }
        }
    }
}

// Every byte of the write outside its old places holds the fill value.
void requireFree(TRom& rom, const PlannedWrite& w, std::uint8_t fill) {
    const std::vector<std::uint8_t> bytes =
        rom.ReadBlock(static_cast<std::int32_t>(w.range.offset), w.range.size);
    std::uint64_t at = w.range.offset;
    while (const auto outside = firstOutside(at, w.range.end(), w.oldPlaces)) {
        const std::uint8_t b = bytes[*outside - w.range.offset];
        if (b != fill) {
            throw Error(message("place.not_fill", {described(w.range), hexOffset(*outside),
                                                   "$" + IntToHex(b, 2), "$" + IntToHex(fill, 2)}));
        }
        at = *outside + 1;
    }
}

}  // namespace

Message ownedName(const Message& what, const std::string& map) {
    if (map.empty()) {
        return what;
    }
    return message("place.of_map", {what, map});
}

Message tilesetOwnedName(const Message& what, int tileset) {
    return message("place.of_tileset", {what, std::to_string(tileset)});
}

Message paletteName(int palette) {
    return message("place.name.palette", {std::to_string(palette)});
}

void requirePlacement(TRom& rom, const Placement& placement) {
    std::vector<PlannedWrite> writes;
    for (const PlannedWrite& w : placement.writes) {
        if (w.range.size > 0) {
            requireInFile(rom, w.range);
            writes.push_back(w);
        }
    }
    for (const PlannedWrite& w : writes) {
        requireApartFromReliedOn(w, placement.reliedOn);
    }
    requireApartFromEachOther(writes);
    for (const PlannedWrite& w : writes) {
        requireFree(rom, w, w.fill.value_or(placement.fill));
    }
}

}  // namespace quillon
