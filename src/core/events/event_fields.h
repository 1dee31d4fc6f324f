#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/events/event_kind.h"

namespace quillon {

// One field of an event record: the record's kind, an English name, byte offset and width in
// bytes (1, 2 or 4, little-endian). count > 1 stands for that many one-byte fields in a row
// shown as one list (the eight unknown bytes of a script trigger).
struct EventField {
    EventKind kind;
    const char* name;
    int offset;
    int width;
    int count = 1;
};

// Person record, 24 bytes.
struct PersonFields {
    static constexpr EventField Number{EventKind::Person, "number", 0, 1};
    static constexpr EventField Picture{EventKind::Person, "picture", 1, 1};
    static constexpr EventField Unknown1{EventKind::Person, "unknown1", 2, 1};
    static constexpr EventField Unknown2{EventKind::Person, "unknown2", 3, 1};
    static constexpr EventField X{EventKind::Person, "x", 4, 2};
    static constexpr EventField Y{EventKind::Person, "y", 6, 2};
    static constexpr EventField Unknown3{EventKind::Person, "unknown3", 8, 1};
    static constexpr EventField MovementType{EventKind::Person, "movementType", 9, 1};
    static constexpr EventField Movement{EventKind::Person, "movement", 10, 1};
    static constexpr EventField Unknown4{EventKind::Person, "unknown4", 11, 1};
    static constexpr EventField Trainer{EventKind::Person, "trainer", 12,
                                        1};  // 0 no, anything else yes
    static constexpr EventField Unknown5{EventKind::Person, "unknown5", 13, 1};
    static constexpr EventField SightRange{EventKind::Person, "sightRange", 14, 2};
    static constexpr EventField Script{EventKind::Person, "script", 16, 4};  // ROM pointer
    static constexpr EventField NumberStatus{EventKind::Person, "numberStatus", 20, 2};
    static constexpr EventField Unknown6{EventKind::Person, "unknown6", 22, 1};
    static constexpr EventField Unknown7{EventKind::Person, "unknown7", 23, 1};
};

// Warp record, 8 bytes: the target map number comes before the target bank number.
struct WarpFields {
    static constexpr EventField X{EventKind::Warp, "x", 0, 2};
    static constexpr EventField Y{EventKind::Warp, "y", 2, 2};
    static constexpr EventField Unknown{EventKind::Warp, "unknown", 4, 1};
    static constexpr EventField TargetWarp{EventKind::Warp, "targetWarp", 5, 1};
    static constexpr EventField TargetMap{EventKind::Warp, "targetMap", 6, 1};
    static constexpr EventField TargetBank{EventKind::Warp, "targetBank", 7, 1};
};

// Script-trigger record, 16 bytes; Unknown(i) is the i-th unknown byte, i = 0..7.
struct ScriptTriggerFields {
    static constexpr EventField X{EventKind::ScriptTrigger, "x", 0, 2};
    static constexpr EventField Y{EventKind::ScriptTrigger, "y", 2, 2};
    static constexpr EventField Unknowns{EventKind::ScriptTrigger, "unknown", 4, 1, 8};
    static constexpr EventField Script{EventKind::ScriptTrigger, "script", 12, 4};
    static constexpr EventField Unknown(int i) {
        return {EventKind::ScriptTrigger, "unknown", 4 + i, 1};
    }
};

// Signpost record, 12 bytes. Type 1 and 7 mean hidden; the value at 8 is a script pointer,
// or the hidden item's data.
struct SignpostFields {
    static constexpr EventField X{EventKind::Signpost, "x", 0, 2};
    static constexpr EventField Y{EventKind::Signpost, "y", 2, 2};
    static constexpr EventField Unknown1{EventKind::Signpost, "unknown1", 4, 1};
    static constexpr EventField Type{EventKind::Signpost, "type", 5, 1};
    static constexpr EventField Unknown2{EventKind::Signpost, "unknown2", 6, 1};
    static constexpr EventField Unknown3{EventKind::Signpost, "unknown3", 7, 1};
    static constexpr EventField Script{EventKind::Signpost, "script", 8, 4};
};

// Fly record, 8 bytes; a non-zero word at 6 ends the fly table.
struct FlyFields {
    static constexpr EventField Bank{EventKind::Fly, "bank", 0, 1};
    static constexpr EventField Map{EventKind::Fly, "map", 1, 1};
    static constexpr EventField X{EventKind::Fly, "x", 2, 2};
    static constexpr EventField Y{EventKind::Fly, "y", 4, 2};
    static constexpr EventField Unknown{EventKind::Fly, "unknown", 6, 2};
};

// Every field of a kind's record in record order (empty for None).
std::span<const EventField> eventFields(EventKind kind);

// The low 8, 16 or 32 bits of value for a field of width 1, 2 or 4 bytes.
constexpr std::uint32_t cutToWidth(std::uint32_t value, int width) {
    return width >= 4 ? value : value & ((1u << (8 * width)) - 1u);
}

// Hex fields: upper-case digits, two per byte, zero-padded, no "$". Reading takes the text as
// hexadecimal (empty text is 0) and cuts it to the width. Throws ConversionError.
std::string hexFieldText(std::uint32_t value, int width);
std::uint32_t hexFieldValue(std::string_view text, int width);

// Script pointer fields: "$" and the file offset a ROM pointer names (at least six hex digits),
// or another word as it is. Reading takes text starting with "$" as
// hexadecimal and other text as decimal; an offset below 32 MiB becomes its ROM pointer, a
// wider value gets "08" put before its hex digits. Throws ConversionError.
std::string scriptPointerText(std::uint32_t value);
std::uint32_t scriptPointerValue(std::string_view text);

// The trainer box is ticked for any non-zero flag and writes 1 or 0.
constexpr bool trainerShown(std::uint32_t flag) { return flag != 0; }
constexpr std::uint8_t trainerValue(bool ticked) { return ticked ? 1 : 0; }
// The hidden box is ticked for signpost type 1 or 7 and writes 7 or 0.
constexpr bool hiddenShown(std::uint32_t type) { return type == 1 || type == 7; }
constexpr std::uint8_t hiddenValue(bool ticked) { return ticked ? 7 : 0; }

}  // namespace quillon
