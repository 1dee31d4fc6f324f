#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/edit/edit_history.h"
#include "core/events/event_fields.h"
#include "core/events/event_kind.h"
#include "core/events/event_view.h"
#include "core/gfx/bitmap.h"
#include "core/gfx/event_markers.h"

namespace quillon {

class EventTables;
class LanguageTable;
class Settings;
class SpriteSet;

// Editing the events of the open map in memory: the selected event, the hit test, dragging an
// event to another cell, the fields of the panels, and the event picture. Every change goes
// into the map's edit history (one drag or one field edit is one undo step) and so marks the
// map modified; the records reach the ROM when the map is saved. While nothing is selected (an
// empty cell was clicked) no edit reaches any record.
class EventEditor final : public RecordSink {
public:
    // The event picture is drawn into picture.
    EventEditor(EventTables& events, EditHistory& history, const Settings& settings,
                SpriteSet& sprites, Bitmap& picture);

    const EventTables& tables() const { return m_events; }

    // A new map: person 0 is selected when there is one, else nothing.
    void mapOpened();

    // --- selection ----------------------------------------------------------------------
    EventRef selected() const { return m_selected; }
    // Selects record index of kind (the number box). False, with nothing selected, when the
    // record does not exist (or, for Fly, the map has no fly position).
    bool select(EventKind kind, int index);
    // The event on cell (x, y) under the display switches: signposts, script triggers, warps,
    // persons, the fly position; only persons with sprites shown and others hidden.
    EventRef hitTest(int x, int y) const;
    // Mouse down on cell (x, y): the hit becomes the selection (None on an empty cell). On an
    // event this starts a drag.
    EventRef pressAt(int x, int y);
    // Mouse move with a drag on: moves the selected event to the cell. True when it moved.
    bool dragTo(int x, int y);
    // Mouse up: ends the drag; the whole drag is one undo step.
    void release();
    bool dragging() const { return m_dragging; }

    // --- fields of the selected record ---------------------------------------------------
    // Reads give 0 / "" while the field's kind is not the selected kind. Writes return true
    // when the record changed; they do nothing for a field of another kind than the selected
    // one and for a value the record already holds.
    std::uint32_t field(EventField f) const;
    bool setField(EventField f, std::uint32_t value);
    // Hex fields: two digits per byte. Writing throws ConversionError for bad text (whatever
    // is selected) before anything changes.
    std::string hexText(EventField f) const;
    bool setHexText(EventField f, std::string_view text);
    // Script pointer fields: "$" and the offset (at least six hex digits); "$hex" or decimal
    // text is stored as the offset's ROM pointer. Throws ConversionError.
    std::string scriptText(EventField f) const;
    bool setScriptText(EventField f, std::string_view text);
    // Person trainer box: ticked for any non-zero flag; writes 1 or 0.
    bool trainer() const;
    bool setTrainer(bool ticked);
    // Signpost hidden box: ticked for type 1 or 7; writes 7 or 0.
    bool hidden() const;
    bool setHidden(bool ticked);
    // Fly record bank and map: a value other than the record's is written and the map loses
    // its fly position (the record stays editable and is saved where it was read).
    bool setFlyBank(int bank);
    bool setFlyMap(int map);

    // --- view ----------------------------------------------------------------------------
    // First status panel text for the pointer on cell (x, y): "X: 5 Y: 7 Warp2 Offset: 1A2B".
    std::string statusText(int x, int y, const LanguageTable& lang) const;
    // The event picture over mapPicture, redrawn when the events, the selection, the display
    // switches or mapVersion (whatever stands for the map picture's contents) changed.
    const Bitmap& picture(const Bitmap& mapPicture, std::uint64_t mapVersion);
    // The status message of the last picture drawn; nothing: keep the status text.
    std::optional<EventMessage> pictureMessage() const { return m_message; }
    void invalidatePicture() { m_pictureCurrent = false; }

    // Undo and redo put a record back and select it.
    void restoreRecord(int table, int index, std::span<const std::uint8_t> bytes) override;

private:
    // A record's bytes, and for the fly record its fly index behind them.
    std::vector<std::uint8_t> state(EventRef ref) const;
    void putState(EventRef ref, std::span<const std::uint8_t> bytes);
    // The one write path: the record of ref becomes `after`, as an undo step of its own unless
    // a drag is open.
    bool apply(EventRef ref, const std::vector<std::uint8_t>& after, std::uint64_t mergeKey = 0);
    // typed: text edits of one field in a row merge into one undo step.
    bool writeField(EventField f, std::uint32_t value, bool typed);
    bool editable(EventField f) const;
    bool setFlyByte(EventField f, int value);
    void changed() { m_pictureCurrent = false; }
    EventViewOptions options() const;

    EventTables& m_events;
    EditHistory& m_history;
    const Settings& m_settings;
    SpriteSet& m_sprites;
    EventMarkers m_markers;
    EventRef m_selected;
    bool m_dragging = false;

    Bitmap& m_picture;
    bool m_pictureCurrent = false;
    std::uint64_t m_mapVersion = 0;
    EventViewOptions m_drawnWith;
    std::optional<EventMessage> m_message;
};

}  // namespace quillon
