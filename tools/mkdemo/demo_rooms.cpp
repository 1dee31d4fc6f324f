#include "tools/mkdemo/demo_maps.h"

namespace quillon::mkdemo {

namespace {

// Walls in the two top rows, floor below (shaded under the wall), a mat at the exit.
MapCanvas emptyRoom(InteriorArt& art, int width, int height) {
    MapCanvas m(width, height);
    for (int x = 0; x < width; ++x) {
        m.put(x, 0, art.wallTop());
        m.put(x, 1, art.wallBottom());
        m.put(x, 2, art.floor(true));
        for (int y = 3; y < height; ++y) {
            m.put(x, y, art.floor(false));
        }
    }
    m.put(width / 2 - 1, height - 1, art.mat(0));
    m.put(width / 2, height - 1, art.mat(1));
    return m;
}

void place(MapCanvas& m, int x, int y, const Piece& piece) {
    m.put(x, y, piece.width, piece.blocks);
}

}  // namespace

MapCanvas playerHouse(DemoArt& demo) {
    InteriorArt& art = demo.interior;
    MapCanvas m = emptyRoom(art, 10, 8);
    m.put(2, 0, art.window(0));
    m.put(3, 0, art.window(1));
    m.put(5, 0, art.clock());
    place(m, 7, 0, art.bookshelf());
    place(m, 1, 2, art.bed());
    place(m, 4, 2, art.screen());
    place(m, 9, 2, art.plant());
    place(m, 3, 4, art.rug());
    place(m, 7, 4, art.table());
    place(m, 7, 5, art.chair());
    place(m, 8, 5, art.chair());
    return m;
}

MapCanvas neighbourHouse(DemoArt& demo) {
    InteriorArt& art = demo.interior;
    MapCanvas m = emptyRoom(art, 10, 8);
    place(m, 1, 0, art.bookshelf());
    m.put(5, 0, art.window(0));
    m.put(6, 0, art.window(1));
    m.put(8, 0, art.clock());
    place(m, 0, 2, art.plant());
    place(m, 8, 2, art.bed());
    place(m, 6, 2, art.screen());
    place(m, 2, 4, art.table());
    place(m, 2, 5, art.chair());
    place(m, 3, 5, art.chair());
    place(m, 5, 4, art.rug());
    return m;
}

}  // namespace quillon::mkdemo
