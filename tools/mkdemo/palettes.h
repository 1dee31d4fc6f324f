#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quillon::mkdemo {

using Palette = std::array<std::uint16_t, 16>;
using PaletteSet = std::vector<Palette>;  // 16 palettes: a tileset's whole palette block

// Colour indices shared by the art. Colour 0 of every palette is black: the transparent
// colour of upper layers and the colour of unused blocks.
namespace ink {
// Outdoor terrain (primary palette 0).
inline constexpr std::uint8_t kOutline = 1, kGrassLight = 2, kGrass = 3, kGrassDark = 4,
                              kGrassDeep = 5, kSandLight = 6, kSand = 7, kSandDark = 8, kRed = 9,
                              kYellow = 10, kWhite = 11, kPink = 12, kOrange = 13, kBlue = 14,
                              kSandEdge = 15;
// Water (primary palette 1); sand and grass again for the shores.
inline constexpr std::uint8_t kWaterLine = 1, kWaterDeep = 2, kWater = 3, kWaterLight = 4,
                              kFoam = 5, kShoreLight = 6, kShore = 7, kShoreDark = 8;
// Trees, wood and stone (primary palette 2).
inline constexpr std::uint8_t kTreeLine = 1, kLeafDark = 2, kLeaf = 3, kLeafLight = 4,
                              kLeafShine = 5, kTrunkDark = 6, kTrunk = 7, kTrunkLight = 8,
                              kShadow = 9, kWoodLight = 10, kWood = 11, kWoodDark = 12,
                              kStoneLight = 13, kStone = 14, kStoneDark = 15;
// Buildings (town palettes 6 to 8, one roof colour each).
inline constexpr std::uint8_t kHouseLine = 1, kRoofDark = 2, kRoof = 3, kRoofLight = 4,
                              kRoofShine = 5, kWallLight = 6, kWall = 7, kWallDark = 8, kGlass = 9,
                              kGlassLight = 10, kDoorDark = 11, kDoor = 12, kTrim = 13,
                              kEaveShadow = 14, kBrick = 15;
// Rooms (interior palette 0).
inline constexpr std::uint8_t kRoomLine = 1, kFloorLight = 2, kFloor = 3, kFloorDark = 4,
                              kPaperLight = 5, kPaper = 6, kPaperDark = 7, kSkirting = 8, kVoid = 9,
                              kPane = 10, kPaneLight = 11, kFrame = 12, kMat = 13, kMatLight = 14,
                              kMatDark = 15;
// Furniture (interior palette 6).
inline constexpr std::uint8_t kFurnLine = 1, kOakDark = 2, kOak = 3, kOakLight = 4, kClothDark = 5,
                              kCloth = 6, kClothLight = 7, kLinen = 8, kLinenShade = 9,
                              kBookBlue = 10, kBookGreen = 11, kBookGold = 12, kPlantDark = 13,
                              kPlant = 14, kPot = 15;
// Rug and screen (interior palette 7).
inline constexpr std::uint8_t kRugLine = 1, kRugDark = 2, kRug = 3, kRugLight = 4, kRugTrim = 5,
                              kMetalDark = 6, kMetal = 7, kScreen = 8, kScreenLight = 9;
}  // namespace ink

// Palette numbers inside each part.
inline constexpr int kTerrainPalette = 0, kWaterPalette = 1, kTreePalette = 2;
inline constexpr int kRedHousePalette = 6, kBlueHousePalette = 7, kTealHousePalette = 8;
inline constexpr int kRoomPalette = 0, kFurniturePalette = 6, kRugPalette = 7;

PaletteSet outdoorPalettes();
PaletteSet townPalettes();
PaletteSet roomPalettes();
PaletteSet furniturePalettes();

}  // namespace quillon::mkdemo
