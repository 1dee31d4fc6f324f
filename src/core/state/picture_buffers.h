#pragma once

#include "core/gfx/bitmap.h"

namespace quillon {

// The pixel buffers the pictures of the open map are drawn into. They outlive every map, so
// a window showing one of them keeps a valid picture while maps come and go, and the memory
// is reused from map to map.
struct PictureBuffers {
    Bitmap map;
    Bitmap blockPalette;
    Bitmap movementView;
    Bitmap movementPalette;
    Bitmap events;
};

}  // namespace quillon
