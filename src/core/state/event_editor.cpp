#include "core/state/event_editor.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/config/language_table.h"
#include "core/config/settings.h"
#include "core/events/event_tables.h"

namespace quillon {

EventEditor::EventEditor(EventTables& events, EditHistory& history, const Settings& settings,
                         SpriteSet& sprites, Bitmap& picture)
    : m_events(events),
      m_history(history),
      m_settings(settings),
      m_sprites(sprites),
      m_picture(picture) {}

void EventEditor::mapOpened() {
    m_dragging = false;
    m_message.reset();
    if (!select(EventKind::Person, 0)) {
        m_selected = {};
    }
    changed();
}

bool EventEditor::select(EventKind kind, int index) {
    const EventRef ref{kind, index};
    const bool exists =
        m_events.contains(ref) && (kind != EventKind::Fly || m_events.hasFlyPosition());
    m_selected = exists ? ref : EventRef{};
    changed();
    return exists;
}

EventRef EventEditor::hitTest(int x, int y) const {
    const EventViewOptions o = options();
    return m_events.hitTest(x, y, o.showSprites && o.hideOthers);
}

EventRef EventEditor::pressAt(int x, int y) {
    release();
    const EventRef hit = hitTest(x, y);
    m_selected = hit;
    changed();
    if (!hit.none()) {
        m_dragging = true;
        m_history.begin();
    }
    return hit;
}

bool EventEditor::dragTo(int x, int y) {
    if (!m_dragging || m_selected.none() || x < 0 || y < 0 || x > 0xFFFF || y > 0xFFFF) {
        return false;
    }
    const auto at = m_events.position(m_selected);
    if (at.x == x && at.y == y) {
        return false;
    }
    std::vector<std::uint8_t> after = state(m_selected);
    EventTables::writePosition(m_selected.kind, after, x, y);
    return apply(m_selected, after);
}

void EventEditor::release() {
    if (m_dragging) {
        m_dragging = false;
        m_history.end();
    }
}

std::vector<std::uint8_t> EventEditor::state(EventRef ref) const {
    const auto bytes = m_events.record(ref.kind, ref.index);
    std::vector<std::uint8_t> out(bytes.begin(), bytes.end());
    if (ref.kind == EventKind::Fly) {
        out.push_back(static_cast<std::uint8_t>(m_events.flyIndex()));
    }
    return out;
}

void EventEditor::putState(EventRef ref, std::span<const std::uint8_t> bytes) {
    auto record = m_events.record(ref.kind, ref.index);
    std::copy_n(bytes.begin(), record.size(), record.begin());
    if (ref.kind == EventKind::Fly) {
        m_events.setFlyIndex(bytes[record.size()]);
    }
}

bool EventEditor::apply(EventRef ref, const std::vector<std::uint8_t>& after,
                        std::uint64_t mergeKey) {
    const std::vector<std::uint8_t> before = state(ref);
    if (before == after) {
        return false;
    }
    const bool own = !m_history.inStep();
    if (own) {
        m_history.begin();
    }
    putState(ref, after);
    m_history.recordChange(static_cast<int>(ref.kind), ref.index, before, after);
    if (own) {
        m_history.end(mergeKey);
    }
    changed();
    return true;
}

void EventEditor::restoreRecord(int table, int index, std::span<const std::uint8_t> bytes) {
    const EventRef ref{static_cast<EventKind>(table), index};
    if (!m_events.contains(ref) || bytes.size() != state(ref).size()) {
        return;  // the tables were replaced since (another map, new counts)
    }
    putState(ref, bytes);
    m_selected = ref;
    changed();
}

bool EventEditor::editable(EventField f) const {
    return !m_selected.none() && f.kind == m_selected.kind && m_events.contains(m_selected);
}

std::uint32_t EventEditor::field(EventField f) const {
    return editable(f) ? m_events.field(m_selected.index, f) : 0;
}

bool EventEditor::setField(EventField f, std::uint32_t value) {
    return writeField(f, value, false);
}

bool EventEditor::writeField(EventField f, std::uint32_t value, bool typed) {
    if (!editable(f)) {
        return false;
    }
    m_events.field(m_selected.index, f);  // a field outside the record throws here
    std::vector<std::uint8_t> after = state(m_selected);
    for (int i = 0; i < f.width; ++i) {
        after[static_cast<std::size_t>(f.offset + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    // Text typed into one field of one record, keystroke by keystroke, is one undo step.
    const std::uint64_t key = (std::uint64_t{static_cast<std::uint8_t>(f.kind)} + 1) << 32 |
                              static_cast<std::uint64_t>(m_selected.index) << 8 |
                              static_cast<std::uint64_t>(f.offset);
    return apply(m_selected, after, typed ? key : 0);
}

std::string EventEditor::hexText(EventField f) const {
    return editable(f) ? hexFieldText(field(f), f.width) : std::string();
}

bool EventEditor::setHexText(EventField f, std::string_view text) {
    // Bad text is reported whatever is selected.
    const std::uint32_t value = hexFieldValue(text, f.width);
    return writeField(f, value, true);
}

std::string EventEditor::scriptText(EventField f) const {
    return editable(f) ? scriptPointerText(field(f)) : std::string();
}

bool EventEditor::setScriptText(EventField f, std::string_view text) {
    const std::uint32_t value = scriptPointerValue(text);
    return writeField(f, value, true);
}

bool EventEditor::trainer() const { return trainerShown(field(PersonFields::Trainer)); }

bool EventEditor::setTrainer(bool ticked) {
    return setField(PersonFields::Trainer, trainerValue(ticked));
}

bool EventEditor::hidden() const { return hiddenShown(field(SignpostFields::Type)); }

bool EventEditor::setHidden(bool ticked) {
    return setField(SignpostFields::Type, hiddenValue(ticked));
}

bool EventEditor::setFlyByte(EventField f, int value) {
    if (!editable(f) || value < 0 || value > 255 ||
        m_events.field(0, f) == static_cast<std::uint32_t>(value)) {
        return false;
    }
    // The record now names another map: this map has no fly position any more, but the record
    // is still saved where it was read.
    std::vector<std::uint8_t> after = state(m_selected);
    after[static_cast<std::size_t>(f.offset)] = static_cast<std::uint8_t>(value);
    after.back() = EventTables::kNoFly;
    return apply(m_selected, after);
}

bool EventEditor::setFlyBank(int bank) { return setFlyByte(FlyFields::Bank, bank); }

bool EventEditor::setFlyMap(int map) { return setFlyByte(FlyFields::Map, map); }

std::string EventEditor::statusText(int x, int y, const LanguageTable& lang) const {
    std::string text = "X: " + std::to_string(x) + " Y: " + std::to_string(y);
    const EventRef hit = hitTest(x, y);
    std::string offset = " ";
    offset += lang.text(34, "Offset:");
    offset += " ";
    if (!hit.none()) {
        offset += IntToHex(m_events.recordOffset(hit.kind, hit.index), 2);
    }
    switch (hit.kind) {
        case EventKind::Warp:
            return text + " " + lang.text(40, "Warp") + std::to_string(hit.index) + offset;
        case EventKind::Person:
            return text + " " + lang.text(41, "Person") + std::to_string(hit.index) + offset;
        case EventKind::ScriptTrigger:
            return text + " " + lang.text(42, "Script") + std::to_string(hit.index) + offset;
        case EventKind::Signpost:
            return text + " " + lang.text(43, "Signpost") + std::to_string(hit.index) + offset;
        case EventKind::Fly:
            return text + " " + lang.text(46, "FlugPos") + offset;
        case EventKind::None:
            break;
    }
    return text + " " + lang.text(44, "Kein Event");
}

EventViewOptions EventEditor::options() const {
    return {m_settings.flag(Settings::Flag::ShowSprites),
            m_settings.flag(Settings::Flag::HideOtherEvents),
            m_settings.flag(Settings::Flag::ShowSprite)};
}

const Bitmap& EventEditor::picture(const Bitmap& mapPicture, std::uint64_t mapVersion) {
    const EventViewOptions now = options();
    if (m_pictureCurrent && mapVersion == m_mapVersion && now == m_drawnWith &&
        m_picture.width() == mapPicture.width() && m_picture.height() == mapPicture.height()) {
        return m_picture;
    }
    m_message = DrawEvents(mapPicture, m_events, m_selected, now, m_sprites, m_markers, m_picture);
    m_pictureCurrent = true;
    m_mapVersion = mapVersion;
    m_drawnWith = now;
    return m_picture;
}

}  // namespace quillon
