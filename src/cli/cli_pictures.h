#pragma once

#include <string>

#include "core/gfx/bitmap.h"
#include "core/gfx/event_markers.h"
#include "core/gfx/sprites.h"

namespace quillon {

class Session;

namespace cli {

enum class View { Map, Movement, Events };

// What a picture of the command line shows. These come from the command line alone: the
// editor's view settings in Quillon.ini play no part.
struct PictureOptions {
    View view = View::Map;
    bool grid = false;         // block grid lines
    bool personsOnly = false;  // events view: persons only, no markers of other events
};

// Makes the pictures of one ROM's maps. The session must have its ROM open for as long as the
// maker lives; decoded tilesets and person pictures are kept from one map to the next.
class PictureMaker {
public:
    explicit PictureMaker(Session& session);

    // Opens map id and draws its picture. Throws quillon::Error (English) when id names no
    // map of the ROM or the map cannot be read.
    const Bitmap& render(const std::string& id, const PictureOptions& options);

private:
    const Bitmap& eventPicture(bool personsOnly);

    Session& m_session;
    SpriteSet m_sprites;
    EventMarkers m_markers;
    Bitmap m_events;
};

}  // namespace cli
}  // namespace quillon
