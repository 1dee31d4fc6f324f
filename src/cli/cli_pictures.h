#pragma once

#include <string>
#include <vector>

#include "core/connections/neighbour_band.h"
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
    bool neighbours = false;   // the maps connected at the four edges around it, dimmed
};

// Makes the pictures of one ROM's maps. The session must have its ROM open for as long as the
// maker lives; decoded tilesets and person pictures are kept from one map to the next.
class PictureMaker {
public:
    explicit PictureMaker(Session& session);

    // Opens map id and draws its picture. Throws quillon::Error (English) when id names no
    // map of the ROM or the map cannot be read.
    const Bitmap& render(const std::string& id, const PictureOptions& options);
    // The two steps of render: opening the map (the session's open map afterwards), then
    // drawing the open map's picture. Each throws as render does.
    void open(const std::string& id, const PictureOptions& options);
    const Bitmap& draw(const PictureOptions& options);
    // What kept neighbours out of the last picture drawn with them, in English
    // ("neighbour 9.0: map 9.0 is not in the bank table").
    const std::vector<std::string>& neighbourWarnings() const { return m_warnings; }

private:
    const Bitmap& view(const PictureOptions& options);
    const Bitmap& eventPicture(bool personsOnly);
    const Bitmap& withNeighbours(const Bitmap& picture);

    Session& m_session;
    std::string m_id;  // the map opened last
    SpriteSet m_sprites;
    EventMarkers m_markers;
    Bitmap m_events;
    Bitmap m_composed;
    std::vector<std::string> m_warnings;
};

}  // namespace cli
}  // namespace quillon
