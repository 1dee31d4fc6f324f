#pragma once

#include <optional>

#include "core/events/event_kind.h"
#include "core/gfx/bitmap.h"

namespace quillon {

class EventTables;
class EventMarkers;
class SpriteSet;

// The state messages of the event view, by their language text numbers.
enum class EventMessage {
    NoEvents = 36,     // "Keine Events."
    SomeOutside = 37,  // "Anmerkung: Einige Events sind auserhalb der Map."
    Ok = 38,           // "Events sind ok."
};

// The German text of a message (the language table's default).
const char* eventMessageText(EventMessage message);

// The display switches of the event view.
struct EventViewOptions {
    bool showSprites = true;  // persons drawn as their pictures instead of markers
    bool hideOthers = true;   // with showSprites: nothing but persons is drawn
    bool markActive = true;   // red square around the selected event's cell
    friend bool operator==(const EventViewOptions&, const EventViewOptions&) = default;
};

// Draws the event picture into out: the map picture, the persons (pictures or markers), the
// markers of warps, script triggers, signposts and the fly position, and the red square of the
// selected event. Returns the message the status bar is to show, or nothing when it keeps its
// text (pictures drawn, no marker outside the map). A map without events gets the plain map
// picture and NoEvents.
std::optional<EventMessage> DrawEvents(const Bitmap& mapPicture, const EventTables& events,
                                       EventRef selected, const EventViewOptions& options,
                                       SpriteSet& sprites, const EventMarkers& markers,
                                       Bitmap& out);

}  // namespace quillon
