#pragma once

#include <vector>

#include "core/map/map_list.h"
#include "core/mapfile/map_insertion.h"

namespace quillon {

class TRom;

namespace map_insertion {

// The maps an insertion into slot changes: the slot's own map first, then, in bank and map
// order, every other listed map whose header is the slot's header or names the slot's footer
// (retail games share footers between maps; all of them take the inserted size and grid).
// Headers that lie past the end of the file or name no ROM pointer are passed over.
std::vector<BankMap> mapsInSlot(TRom& rom, const BankScan& scan, const Slot& slot);

}  // namespace map_insertion
}  // namespace quillon
