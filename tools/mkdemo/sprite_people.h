#pragma once

#include <cstdint>

#include "tools/mkdemo/canvas.h"

namespace quillon::mkdemo {

// Colour indices of the people palettes. Each palette gives the two hair and two clothes
// pairs its own colours, so one drawing comes out differently in each.
namespace person_ink {
inline constexpr std::uint8_t kLine = 1, kSkin = 2, kSkinShade = 3, kHairA = 4, kHairADark = 5,
                              kHairB = 6, kHairBDark = 7, kClothA = 8, kClothADark = 9,
                              kClothB = 10, kClothBDark = 11, kLegs = 12, kLegsDark = 13,
                              kWhite = 14, kShoe = 15;
}

// Colour indices of the owl's palette.
namespace owl_ink {
inline constexpr std::uint8_t kOutline = 1, kFeatherLight = 2, kFeather = 3, kFeatherDark = 4,
                              kBelly = 5, kBellyMark = 6, kFace = 7, kEye = 8, kEyeWhite = 9,
                              kBeak = 10;
}

// People of 16 x 32 pixels facing down, feet on the bottom row.
Canvas drawBoy();    // short hair A, clothes A, trousers
Canvas drawGirl();   // long hair B, dress of clothes B
Canvas drawMan();    // flat-topped hair A, clothes A with a collar, trousers
Canvas drawGran();   // hair B in a bun, long dress of clothes B
Canvas drawHiker();  // cap of clothes B, hair A, clothes A with straps, trousers

// A big round owl of 32 x 32 pixels facing down.
Canvas drawOwl();

}  // namespace quillon::mkdemo
