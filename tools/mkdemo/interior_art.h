#pragma once

#include <cstdint>
#include <vector>

#include "tools/mkdemo/tileset_art.h"

namespace quillon::mkdemo {

inline constexpr std::uint8_t kBehaviourSouthWarp = 0x65;

// A piece of furniture as blocks, row by row.
struct Piece {
    int width = 0, height = 0;
    std::vector<std::uint16_t> blocks;
};

// The interior pair: the room primary tileset (walls, floor, mat, window) and the furniture
// secondary tileset drawn over it.
class InteriorArt {
public:
    InteriorArt();

    TilesetArt& rooms() { return m_rooms; }
    TilesetArt& furniture() { return m_furniture; }

    std::uint16_t wallTop();
    std::uint16_t wallBottom();
    std::uint16_t window(int half);    // 0 left, 1 right, in the upper wall row
    std::uint16_t floor(bool shaded);  // shaded: the row under the wall
    std::uint16_t mat(int half);
    std::uint16_t clock();

    Piece bed();
    Piece table();
    Piece chair();
    Piece bookshelf();
    Piece plant();
    Piece screen();
    Piece rug();

private:
    // The canvas over a lower layer, cut into blocks of the furniture tileset.
    Piece piece(const char* name, const Canvas& art, int palette, const std::vector<Layer>& lowers,
                BlockInfo info);
    std::uint16_t room(const char* name, const Canvas& art, BlockInfo info);

    TilesetArt m_rooms;
    TilesetArt m_furniture;
};

}  // namespace quillon::mkdemo
