#pragma once

#include <array>

#include "core/gfx/bitmap.h"

namespace quillon {

// The marker pictures of the event view, one per event kind in kind order (0 warp "W",
// 1 signpost "S", 2 person "P", 3 script trigger "S", 4 fly position "F"): 32 x 32 pixels, a
// large yellow letter with a dark outline on a diagonal gradient between the kind's two
// colours, framed by a light top-left and a dark bottom-right bevel. Drawn by code.
class EventMarkers {
public:
    static constexpr int kKinds = 5;
    static constexpr int kSize = 32;
    static constexpr int kCell = 16;

    EventMarkers();

    // The 32 x 32 marker of kind 0-4.
    const Bitmap& marker(int kind) const { return m_markers[static_cast<std::size_t>(kind)]; }

    // Blends the marker of kind, shrunk to 16 x 16, half and half into the picture's cell whose
    // top-left pixel is (x, y): each component becomes (marker + picture) / 2. False, with
    // nothing drawn, when the cell does not lie wholly inside the picture.
    bool DrawEventMarker(Bitmap& picture, int x, int y, int kind) const;

private:
    std::array<Bitmap, kKinds> m_markers;
    std::array<Bitmap, kKinds> m_cells;  // the markers at 16 x 16
};

// Draws the marker picture of one kind (0-4).
Bitmap makeEventMarker(int kind);

}  // namespace quillon
