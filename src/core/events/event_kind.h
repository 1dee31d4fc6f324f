#pragma once

#include <cstdint>

namespace quillon {

// The kinds of events of a map, numbered as the marker pictures and the hit test number them.
// None: no event (an empty cell, nothing selected).
enum class EventKind : std::uint8_t {
    Warp = 0,
    Signpost = 1,
    Person = 2,
    ScriptTrigger = 3,
    Fly = 4,
    None = 5,
};

// The four kinds that live in tables of the event header, in the header's order.
inline constexpr EventKind kTableKinds[] = {EventKind::Person, EventKind::Warp,
                                            EventKind::ScriptTrigger, EventKind::Signpost};

// Bytes of one record: warp 8, signpost 12, person 24, script trigger 16, fly 8; none 0.
constexpr int recordSize(EventKind kind) {
    switch (kind) {
        case EventKind::Warp:
        case EventKind::Fly:
            return 8;
        case EventKind::Signpost:
            return 12;
        case EventKind::Person:
            return 24;
        case EventKind::ScriptTrigger:
            return 16;
        case EventKind::None:
            break;
    }
    return 0;
}

// Where a record keeps its cell (X, then Y, 16 bits each): persons at 4 and 6, the fly record
// at 2 and 4, the others at 0 and 2.
constexpr int xOffsetOf(EventKind kind) {
    return kind == EventKind::Person ? 4 : kind == EventKind::Fly ? 2 : 0;
}
constexpr int yOffsetOf(EventKind kind) { return xOffsetOf(kind) + 2; }

// One event: a kind and the index of its record in the kind's table (0 for the fly position).
struct EventRef {
    EventKind kind = EventKind::None;
    int index = 0;

    bool none() const { return kind == EventKind::None; }
    friend bool operator==(const EventRef&, const EventRef&) = default;
};

// The event-kind box lists Person, Signpost, Warp, Script, FlugPos (entries 0-4).
constexpr EventKind kindOfEntry(int entry) {
    constexpr EventKind kinds[] = {EventKind::Person, EventKind::Signpost, EventKind::Warp,
                                   EventKind::ScriptTrigger, EventKind::Fly};
    return entry >= 0 && entry < 5 ? kinds[entry] : EventKind::None;
}
// The box entry of a kind; -1 for None.
constexpr int entryOfKind(EventKind kind) {
    constexpr int entries[] = {2, 1, 0, 3, 4, -1};
    return entries[static_cast<int>(kind)];
}

}  // namespace quillon
