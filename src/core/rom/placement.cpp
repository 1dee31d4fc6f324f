#include "core/rom/placement.h"

#include <algorithm>
#include <optional>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/cartridge.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr const char* kNothingWritten = "; es wurde nichts geschrieben.";

std::string described(const RomRange& r) {
    return r.what + " (" + hexOffset(r.offset) + ", " + std::to_string(r.size) + " Bytes)";
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
        throw Error(described(w) + " ragt in den Rom-Header (bis " +
                    hexOffset(kCartridgeHeaderSize - 1) + ")" + kNothingWritten);
    }
    const std::uint64_t size = rom.size();
    if (w.end() > size) {
        throw Error(described(w) + " reicht über das Dateiende hinaus (die Datei endet bei " +
                    hexOffset(size) + ")" + kNothingWritten);
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
            throw Error(described(w.range) + " ist bei " + hexOffset(*at) +
                        " nicht frei: dort liegt " + described(r) + kNothingWritten);
        }
    }
}

void requireApartFromEachOther(const std::vector<PlannedWrite>& writes) {
    for (auto a = writes.begin(); a != writes.end(); ++a) {
        for (auto b = a + 1; b != writes.end(); ++b) {
            const std::uint64_t from = std::max(a->range.offset, b->range.offset);
            const std::uint64_t to = std::min(a->range.end(), b->range.end());
            if (a->range.size > 0 && b->range.size > 0 && from < to) {
                throw Error(described(a->range) + " und " + described(b->range) +
                            " überschneiden sich bei " + hexOffset(from) + kNothingWritten);
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
            throw Error(described(w.range) + " ist bei " + hexOffset(*outside) +
                        " nicht frei: dort steht das Byte $" + IntToHex(b, 2) +
                        ", kein Füllbyte $" + IntToHex(fill, 2) + kNothingWritten);
        }
        at = *outside + 1;
    }
}

}  // namespace

std::string ownedName(const char* what, const std::string& owner) {
    if (owner.empty()) {
        return what;
    }
    return std::string(what) + " von " + owner;
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
