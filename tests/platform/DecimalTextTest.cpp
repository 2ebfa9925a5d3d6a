#include "platform/DecimalText.h"

#include <climits>

#include <gtest/gtest.h>

namespace fmb {
namespace {

TEST(DecimalText, ReadsLeadingIntegerLikeTheIniValues) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"12", 12},   {"12abc", 12}, {"  7", 7},     {"-3", -3},        {"+4", 4},
                 {"abc", 0},   {"", 0},       {"3月", 3},     {"- 3", 0},        {"０３", 0},
                 {"0012", 12}, {"99999999999", INT_MAX},      {"-99999999999", INT_MIN}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLeadingInt(c.text), c.value) << c.text;
    }
}

} // namespace
} // namespace fmb
