#include "core/events/event_view.h"

#include "core/events/event_fields.h"
#include "core/events/event_tables.h"
#include "core/gfx/bitmap.h"
#include "core/gfx/event_markers.h"
#include "core/gfx/sprites.h"

namespace quillon {

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;

// Markers of every event of kind; false when one of them lies outside the picture.
bool drawMarkers(const EventTables& events, EventKind kind, const EventMarkers& markers,
                 Bitmap& out) {
    bool inside = true;
    for (int i = 0; i < events.count(kind); ++i) {
        const auto c = events.position({kind, i});
        inside &= markers.DrawEventMarker(out, kBlockPixels * c.x, kBlockPixels * c.y, static_cast<int>(kind));
    }
    return inside;
}

void drawSelection(const EventTables& events, EventRef selected, Bitmap& out) {
    if (selected.none() || !events.contains(selected) ||
        (selected.kind == EventKind::Fly && !events.hasFlyPosition())) {
        return;
    }
    // The cell's outline, also for a person drawn taller than its cell.
    const auto c = events.position(selected);
    const int x = kBlockPixels * c.x;
    const int y = kBlockPixels * c.y;
    out.drawHorizontalLine(y, x, x + kBlockPixels, kRed);
    out.drawHorizontalLine(y + kBlockPixels - 1, x, x + kBlockPixels, kRed);
    out.drawVerticalLine(x, y, y + kBlockPixels, kRed);
    out.drawVerticalLine(x + kBlockPixels - 1, y, y + kBlockPixels, kRed);
}

}  // namespace

const char* eventMessageText(EventMessage message) {
    switch (message) {
        case EventMessage::NoEvents:
            return "Keine Events.";
        case EventMessage::SomeOutside:
            return "Anmerkung: Einige Events sind auserhalb der Map.";
        case EventMessage::Ok:
            break;
    }
    return "Events sind ok.";
}

std::optional<EventMessage> DrawEvents(const Bitmap& mapPicture, const EventTables& events,
                                       EventRef selected, const EventViewOptions& options,
                                       SpriteSet& sprites, const EventMarkers& markers,
                                       Bitmap& out) {
    out.resize(mapPicture.width(), mapPicture.height());
    out.blit(mapPicture, 0, 0);
    if (!events.hasEvents()) {
        return EventMessage::NoEvents;
    }
    std::optional<EventMessage> message;
    bool inside = true;
    if (options.showSprites) {
        for (int i = 0; i < events.count(EventKind::Person); ++i) {
            const auto c = events.position({EventKind::Person, i});
            sprites.DrawPersonSprite(static_cast<int>(events.field(i, PersonFields::Picture)),
                                     kBlockPixels * c.x, kBlockPixels * c.y, out);
        }
    } else {
        message = EventMessage::Ok;
        inside &= drawMarkers(events, EventKind::Person, markers, out);
    }
    if (!(options.showSprites && options.hideOthers)) {
        for (EventKind kind : {EventKind::Warp, EventKind::ScriptTrigger, EventKind::Signpost}) {
            inside &= drawMarkers(events, kind, markers, out);
        }
        if (events.hasFlyPosition()) {
            inside &= drawMarkers(events, EventKind::Fly, markers, out);
        }
    }
    if (!inside) {
        message = EventMessage::SomeOutside;
    }
    if (options.markActive) {
        drawSelection(events, selected, out);
    }
    return message;
}

}  // namespace quillon
