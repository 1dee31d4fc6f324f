#include "tools/mkdemo/demo_wild.h"

#include "romkit/rom_builder.h"
#include "tools/mkdemo/canvas.h"

namespace quillon::mkdemo {

namespace {

// count slots around level `level`, species from a stretch of the names that suits the place.
romkit::WildKindSpec kind(Rng& rng, std::uint32_t rate, int count, int level, int firstSpecies) {
    romkit::WildKindSpec slots{rate, {}};
    for (int i = 0; i < count; ++i) {
        const int min = level + rng.below(4);
        slots.entries.push_back({static_cast<std::uint8_t>(min),
                                static_cast<std::uint8_t>(min + rng.below(3)),
                                static_cast<std::uint16_t>(firstSpecies + rng.below(12))});
    }
    return slots;
}

}  // namespace

void addDemoWild(romkit::RomBuilder& builder) {
    Rng rng(7);
    const auto grass = static_cast<std::size_t>(wild::Kind::Grass);
    const auto water = static_cast<std::size_t>(wild::Kind::Water);
    const auto fishing = static_cast<std::size_t>(wild::Kind::Fishing);
    romkit::WildSpec town{0, 0, {}};
    town.kinds[water] = kind(rng, 4, 5, 5, 120);
    town.kinds[fishing] = kind(rng, 30, 10, 5, 130);
    romkit::WildSpec route1{0, 1, {}};
    route1.kinds[grass] = kind(rng, 20, 12, 2, 1);
    route1.kinds[water] = kind(rng, 4, 5, 10, 120);
    route1.kinds[fishing] = kind(rng, 30, 10, 10, 130);
    romkit::WildSpec route2{0, 2, {}};
    route2.kinds[grass] = kind(rng, 20, 12, 6, 20);
    romkit::WildSpec wood{0, 3, {}};
    wood.kinds[grass] = kind(rng, 25, 12, 9, 40);
    for (const romkit::WildSpec& place : {town, route1, route2, wood}) {
        builder.addWild(place);
    }
}

}  // namespace quillon::mkdemo
