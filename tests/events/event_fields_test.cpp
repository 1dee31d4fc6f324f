#include "core/events/event_fields.h"

#include <gtest/gtest.h>

#include "core/errors.h"

namespace quillon {
namespace {

TEST(EventFields, TextConversionsOfThePanels) {
    EXPECT_EQ(hexFieldValue("1FF", 1), 0xFFu) << "cut to the field's width";
    EXPECT_EQ(hexFieldValue("12345", 2), 0x2345u);
    EXPECT_EQ(hexFieldValue("", 1), 0u);
    EXPECT_EQ(hexFieldText(0x1234, 1), "34");
    EXPECT_EQ(hexFieldText(0x3, 2), "0003");
    EXPECT_EQ(scriptPointerValue("$000010"), 0x08000010u);
    EXPECT_EQ(scriptPointerValue("16"), 0x08000010u) << "decimal without '$'";
    EXPECT_EQ(scriptPointerValue("$1234567"), 0x09234567u) << "above 16 MiB";
    EXPECT_EQ(scriptPointerValue("$2345678"), 0x82345678u) << "past 32 MiB: \"08\" before";
    EXPECT_EQ(scriptPointerText(0), "$000000");
    EXPECT_EQ(scriptPointerText(0x09ABCDEF), "$1ABCDEF") << "above 16 MiB";
    EXPECT_EQ(scriptPointerText(0x0ABCDEF0), "$ABCDEF0") << "no ROM pointer: the whole word";
    for (const char* bad : {"G1", "$10", "-1", "123456789"}) {
        EXPECT_THROW(hexFieldValue(bad, 2), ConversionError) << bad;
    }
    for (const char* bad : {"", "12AB", "-1", "$12345678"}) {
        EXPECT_THROW(scriptPointerValue(bad), ConversionError) << bad;
    }
}

TEST(EventFields, EachKindsFieldsCoverItsRecordOnce) {
    for (EventKind kind : {EventKind::Person, EventKind::Warp, EventKind::ScriptTrigger,
                           EventKind::Signpost, EventKind::Fly}) {
        int next = 0;
        for (const EventField& f : eventFields(kind)) {
            EXPECT_EQ(f.kind, kind);
            EXPECT_EQ(f.offset, next) << f.name;
            next = f.offset + f.width * f.count;
        }
        EXPECT_EQ(next, recordSize(kind)) << static_cast<int>(kind);
    }
}

}  // namespace
}  // namespace quillon
