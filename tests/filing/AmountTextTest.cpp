#include "filing/AmountText.h"

#include "res/ControlIds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace fmb {
namespace {

using namespace ids::keypad;

const KeypadButton& Key(int controlId) {
    for (const KeypadButton& button : kKeypadButtons) {
        if (button.controlId == controlId)
            return button;
    }
    ADD_FAILURE() << "no keypad button " << controlId;
    return kKeypadButtons[0];
}

TEST(FormatThousands, InsertsSeparatorsBetweenGroupsOfThree) {
    const std::pair<std::string, std::string> cases[] = {
        {"500000", "500,000"},
        {"1234567", "1,234,567"},
        {"-123456", "-123,456"},
        {"-123", "-123"},
        {"+1000", "+1,000"},
        {"123", "123"},
        {"12", "12"},
        {"", ""},
        {"99999999999999", "99,999,999,999,999"},
        // Characters, not bytes, are counted, so a full-width digit is never split.
        {"１２３４", "１,２３４"},
    };
    for (const auto& [amount, expected] : cases) {
        EXPECT_EQ(FormatThousands(amount), expected) << amount;
    }
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartLikeACConversion) {
    const std::pair<const char*, double> cases[] = {
        {"", 0},       {"abc", 0},       {"12", 12},
        {"  12", 12},  {"+12", 12},      {"-12", -12},
        {"12abc", 12}, {"12.5", 12.5},   {"1e3", 1000},
        {"1,234", 1},  {"+-5", 0},       {"--5", 0},
        {"-", 0},      {"１２", 0},      {"99999999999999", 99999999999999.0},
        {"1e-999", 0}, {"0.000e999", 0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(LeadingNumber(text), expected) << text;
    }
    EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));
    EXPECT_TRUE(std::isinf(LeadingNumber(std::string(400, '9'))));
    EXPECT_EQ(LeadingNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(PressKeypad, AppendsToTheLeadingNumberWithoutDecimals) {
    struct Case {
        const char* amount;
        std::vector<int> keys;
        const char* expected;
    };
    const Case cases[] = {
        {"", {k1, k2, k3, k00}, "12300"},
        {"", {k0}, "0"},
        {"0", {k5}, "5"},
        {"", {k1, k2, k00}, "1200"},
        {"-5", {k3}, "-47"},
        {"12abc", {k1}, "121"},
        {"12.5", {k3}, "128"},
        {"12345", {kClear}, ""},
        {"", {kClear, k9}, "9"},
        // 14 digits and one more: the result is 15 digits, for the limit to cut.
        {"99999999999999", {k9}, "999999999999999"},
        {"99999999999999", {k00}, "9999999999999900"},
    };
    for (const Case& c : cases) {
        std::string amount = c.amount;
        for (int key : c.keys)
            amount = PressKeypad(amount, Key(key));
        EXPECT_EQ(amount, c.expected) << c.amount;
    }
}

TEST(PressKeypad, EveryButtonOfTheTemplateIsMapped) {
    std::vector<int> digits;
    for (const KeypadButton& button : kKeypadButtons) {
        if (button.key == KeypadKey::Digit)
            digits.push_back(button.digit);
    }
    EXPECT_EQ(digits, (std::vector<int>{7, 8, 9, 4, 5, 6, 1, 2, 3, 0}));
    EXPECT_EQ(PressKeypad("4", Key(k7)), "47");
    EXPECT_EQ(PressKeypad("4", Key(k8)), "48");
    EXPECT_EQ(PressKeypad("4", Key(k4)), "44");
    EXPECT_EQ(PressKeypad("4", Key(k6)), "46");
    EXPECT_EQ(PressKeypad("4", Key(k3)), "43");
}

TEST(CleanAmount, LimitsToFourteenBytesThenRemovesSeparators) {
    struct Case {
        const char* typed;
        const char* expected;
        bool tooLong;
    };
    const Case cases[] = {
        {"12300", "12300", false},
        {"1,234,567", "1234567", false},
        {"99999999999999", "99999999999999", false},
        {"999999999999999", "99999999999999", true},
        // 17 bytes: the first 14 end with the separator after 890.
        {"1,234,567,890,123", "1234567890", true},
        {"\\1,000", "1000", false},
        {"¥1,000", "1000", false},
        {"￥1，000", "1000", false},
        // Letters and signs stay for the Execute checks to judge.
        {"-12a", "-12a", false},
        {"", "", false},
        // 14 bytes reached inside a two-byte character: the character is left out whole.
        {"1234567890123あ", "1234567890123", true},
        // Full-width digits, as an input method in full-width mode types them, are digits; the
        // limit counts them as the digits they are.
        {"１２３４５６７８", "12345678", false},
        {"１２，３００", "12300", false},
        {"９９９９９９９９９９９９９９９", "99999999999999", true},
        {"５万", "5万", false},
    };
    for (const Case& c : cases) {
        const CleanedAmount cleaned = CleanAmount(c.typed);
        EXPECT_EQ(cleaned.text, c.expected) << c.typed;
        EXPECT_EQ(cleaned.wasTooLong, c.tooLong) << c.typed;
    }
}

TEST(LimitAmount, KeepsSeparatorsForTheMultipleAmountsDialog) {
    EXPECT_EQ(LimitAmount("1,234").text, "1,234");
    EXPECT_FALSE(LimitAmount("-1234567890123").wasTooLong);
    const LimitedAmount cut = LimitAmount("1,234,567,890,123");
    EXPECT_EQ(cut.text, "1,234,567,890,");
    EXPECT_TRUE(cut.wasTooLong);
}

TEST(JoinExtraAmounts, BracketsEveryFilledAmountInOrder) {
    const std::vector<std::string> amounts = {"120000", "", "30000", "", ""};
    const ExtraAmountTexts texts = JoinExtraAmounts(amounts);
    EXPECT_EQ(texts.plain, "[120000][30000]");
    EXPECT_EQ(texts.comma, "[120,000][30,000]");

    // Typed separators never reach the name twice.
    const std::vector<std::string> typed = {"1,000", "￥2,500", "", "", ""};
    EXPECT_EQ(JoinExtraAmounts(typed).plain, "[1000][2500]");
    EXPECT_EQ(JoinExtraAmounts(typed).comma, "[1,000][2,500]");
    // Nor full-width digits.
    const std::vector<std::string> fullWidth = {"１，０００", "３０", "", "", ""};
    EXPECT_EQ(JoinExtraAmounts(fullWidth).plain, "[1000][30]");
    EXPECT_EQ(JoinExtraAmounts(fullWidth).comma, "[1,000][30]");

    const std::vector<std::string> none(5);
    EXPECT_EQ(JoinExtraAmounts(none).plain, "");
    EXPECT_EQ(JoinExtraAmounts(none).comma, "");
}

} // namespace
} // namespace fmb
