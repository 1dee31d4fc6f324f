#include "core/events/event_fields.h"

#include "core/base/numbers.h"
#include "core/rom/rom_pointer.h"

namespace quillon {

namespace {

using P = PersonFields;
using W = WarpFields;
using T = ScriptTriggerFields;
using S = SignpostFields;
using F = FlyFields;

constexpr EventField kPersonFields[] = {
    P::Number,     P::Picture,      P::Unknown1,     P::Unknown2, P::X,        P::Y,
    P::Unknown3,   P::MovementType, P::Movement,     P::Unknown4, P::Trainer,  P::Unknown5,
    P::SightRange, P::Script,       P::NumberStatus, P::Unknown6, P::Unknown7,
};
constexpr EventField kWarpFields[] = {W::X,          W::Y,         W::Unknown,
                                      W::TargetWarp, W::TargetMap, W::TargetBank};
constexpr EventField kScriptTriggerFields[] = {T::X, T::Y, T::Unknowns, T::Script};
constexpr EventField kSignpostFields[] = {S::X,        S::Y,        S::Unknown1, S::Type,
                                          S::Unknown2, S::Unknown3, S::Script};
constexpr EventField kFlyFields[] = {F::Bank, F::Map, F::X, F::Y, F::Unknown};

}  // namespace

std::span<const EventField> eventFields(EventKind kind) {
    switch (kind) {
        case EventKind::Person:
            return kPersonFields;
        case EventKind::Warp:
            return kWarpFields;
        case EventKind::ScriptTrigger:
            return kScriptTriggerFields;
        case EventKind::Signpost:
            return kSignpostFields;
        case EventKind::Fly:
            return kFlyFields;
        case EventKind::None:
            break;
    }
    return {};
}

std::string hexFieldText(std::uint32_t value, int width) {
    return IntToHex(cutToWidth(value, width), 2 * width);
}

std::uint32_t hexFieldValue(std::string_view text, int width) {
    return cutToWidth(static_cast<std::uint32_t>(HexToInt(text)), width);
}

std::string scriptPointerText(std::uint32_t value) {
    // A ROM pointer shows the file offset it names (seven digits above 16 MiB); any other word
    // shows as it is, so nothing of it is hidden.
    std::string text = "$";
    return text += IntToHex(decodeRomPointer(value).value_or(value), 6);
}

std::uint32_t scriptPointerValue(std::string_view text) {
    // An offset a ROM pointer reaches becomes that pointer; for anything wider "08" goes before
    // its hex digits, so a text too wide for 32 bits fails the hex conversion with its own
    // message.
    const std::int32_t value = StrToInt(text);
    if (value >= 0 && static_cast<std::uint32_t>(value) < kRomPointerReach) {
        return encodeRomPointer(static_cast<std::uint32_t>(value));
    }
    return static_cast<std::uint32_t>(HexToInt("08" + IntToHex(value, 6)));
}

}  // namespace quillon
