#pragma once

#include <cstdint>

#include "tools/mkdemo/tileset_art.h"

namespace quillon::mkdemo {

// Which neighbours of a cell show different ground: the four sides, then the four corners
// (a corner counts only when both sides next to it are the same ground).
inline constexpr unsigned kNorth = 1, kEast = 2, kSouth = 4, kWest = 8, kNorthEast = 16,
                          kSouthEast = 32, kSouthWest = 64, kNorthWest = 128;

// Behaviour bytes of the blocks (Ruby/Sapphire/Emerald numbering).
inline constexpr std::uint8_t kBehaviourTallGrass = 0x02, kBehaviourPond = 0x10,
                              kBehaviourDoor = 0x69, kBehaviourSign = 0x00;
// Movement values: blocked, surfable water, ordinary ground.
inline constexpr std::uint8_t kBlocked = 0x01, kSurf = 0x04, kWalk = 0x0C;
// Background byte for blocks whose upper layer covers the player.
inline constexpr std::uint8_t kCovered = 0x10;

// The blocks of the outdoor primary tileset: grass, flowers, paths, water and shores, trees,
// fences, signs, rocks and a bridge, drawn on request and registered once each.
class OutdoorArt {
public:
    OutdoorArt();

    TilesetArt& tiles() { return m_art; }
    std::uint16_t grass(int variant);  // 0 plain, 1 and 2 tufts, 3 dashes
    std::uint16_t tallGrass();
    std::uint16_t flowers(int kind);  // 0 red, 1 yellow, 2 pink
    std::uint16_t path(unsigned edges);
    std::uint16_t water(unsigned edges);
    std::uint16_t tree(int quarter);  // 2 x 2 blocks: 0 top left, 1 top right, 2, 3
    std::uint16_t fence(int kind);    // 0 along, 1 across, 2 post
    std::uint16_t sign();
    std::uint16_t rock();
    std::uint16_t bridge();
    // The lower layer of plain grass, for blocks elsewhere that stand on grass.
    Layer grassLayer();

private:
    std::uint16_t onGrass(const std::string& key, const Canvas& upper, BlockInfo info);

    TilesetArt m_art;
};

}  // namespace quillon::mkdemo
