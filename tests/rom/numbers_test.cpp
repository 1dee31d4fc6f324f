#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/base/numbers.h"

namespace quillon {
namespace {

TEST(Numbers, HexToIntReadsHexAndRejectsOtherText) {
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_EQ(HexToInt("1f"), 31);
    EXPECT_EQ(HexToInt("313D04"), 0x313D04);
    EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
    for (const char* bad : {"G1", "-1", "1 2", "$10", "0x10"}) {
        EXPECT_THROW(HexToInt(bad), ConversionError) << bad;
    }
    try {
        HexToInt("G1");
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'$G1' is not a valid integer value");
    }
}

TEST(Numbers, IntToHexPadsButNeverTruncates) {
    EXPECT_EQ(IntToHex(255, 2), "FF");
    EXPECT_EQ(IntToHex(4096, 2), "1000");
    EXPECT_EQ(IntToHex(0, 6), "000000");
    EXPECT_EQ(IntToHex(0x3E4E8, 1), "3E4E8");
}

TEST(Numbers, StrToIntAcceptsTheDataFileNumberForms) {
    struct Case {
        const char* text;
        std::int32_t value;
    } cases[] = {{"0x3E4E8", 0x3E4E8}, {"$3E4E8", 0x3E4E8}, {"12", 12},   {"-10", -10},
                 {"+7", 7},            {" 5 ", 5},          {"0X1f", 31}, {"2147483647", 2147483647}};
    for (const auto& c : cases) {
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    }
    for (const char* bad : {"", "a.b", "3.1", "0x", "$", "12abc", "99999999999", "--1"}) {
        EXPECT_FALSE(TryStrToInt(bad).has_value()) << bad;
    }
    EXPECT_THROW(StrToInt("a"), ConversionError);
}

TEST(Numbers, PosFromIsOneBasedAndZeroWhenAbsent) {
    EXPECT_EQ(PosFrom("12.5", ".", 1), 3);
    EXPECT_EQ(PosFrom("125", ".", 1), 0);
    EXPECT_EQ(PosFrom("a.b.c", ".", 3), 4);
    EXPECT_EQ(PosFrom("abc", "c", 3), 3);
}

TEST(Numbers, BinToIntTakesTheLastCharacterAsBitZero) {
    EXPECT_EQ(BinToInt("1011"), 11);
    EXPECT_EQ(BinToInt(""), 0);
    EXPECT_THROW(BinToInt("10a"), ConversionError);
}

}  // namespace
}  // namespace quillon
