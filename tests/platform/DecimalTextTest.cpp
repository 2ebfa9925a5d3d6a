#include "platform/DecimalText.h"

#include <climits>

#include <gtest/gtest.h>

namespace fmb {
namespace {

TEST(DecimalText, ReadsLeadingIntegerLikeTheIniValues) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"12", 12},
                 {"12abc", 12},
                 {"  7", 7},
                 {"-3", -3},
                 {"+4", 4},
                 {"abc", 0},
                 {"", 0},
                 {"3月", 3},
                 {"- 3", 0},
                 {"０３", 0},
                 {"0012", 12},
                 {"99999999999", INT_MAX},
                 {"-99999999999", INT_MIN}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLeadingInt(c.text), c.value) << c.text;
    }
}

TEST(DecimalText, FullWidthDigitsBecomeAsciiDigits) {
    const struct {
        const char* text;
        const char* converted;
    } cases[] = {
        {"２０２２１２３１", "20221231"},
        {"０１２３４５６７８９", "0123456789"},
        {"12３4", "1234"},
        // Other full-width characters and text around the digits stay.
        {"￥５，０００", "￥5，000"},
        {"令和４年", "令和4年"},
        {"ＡＢ：／", "ＡＢ：／"},
        {"", ""},
        // The character after ９ (U+FF1A, a full-width colon) and a cut sequence stay.
        {"\xEF\xBC\x9A", "\xEF\xBC\x9A"},
        {"1\xEF\xBC", "1\xEF\xBC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HalfWidthDigits(c.text), c.converted) << c.text;
    }
}

} // namespace
} // namespace fmb
