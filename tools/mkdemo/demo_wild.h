#pragma once

namespace quillon::romkit {
class RomBuilder;
}

namespace quillon::mkdemo {

// The wild encounters of the outdoor maps: grass on both routes and in the wood, water and
// fishing in the town and on the first route. The houses have none.
void addDemoWild(romkit::RomBuilder& builder);

}  // namespace quillon::mkdemo
