#include "filing/EntryValidation.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

FilingEntry ValidEntry() {
    FilingEntry entry;
    entry.date = "20221231";
    entry.company = "〇〇商事(株)";
    entry.amount = "500000";
    return entry;
}

const char* const kDateLength =
    "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 ";
const char* const kDateNotDigits =
    "日付は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 ";
const char* const kYear =
    "日付の年は1以上の数値を入れてください。\n\n 例：2022年xx月xx日　→　2022xxxx ";
const char* const kMonth =
    "日付の月は01～12の数値を入れてください。\n\n 例：xxxx年12月xx日　→　xxxx12xx ";
const char* const kDay =
    "日付の日は01～31の数値を入れてください。\n\n 例：xxxx年xx月31日　→　xxxxxx31 ";
const char* const kCompanyForbidden =
    "社名に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | ";
const char* const kAmountNotDigits =
    "金額は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 + - ";
const char* const kRemarkForbidden =
    "備考に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | ";

TEST(ValidateEntry, AcceptsAValidEntry) {
    EXPECT_FALSE(ValidateEntry(ValidEntry()).has_value());
    // The last days of months, in leap years and not; an empty remark is fine.
    for (const char* date :
         {"20240229", "20000229", "20230228", "20220430", "20221231", "00040229", "99991231"}) {
        FilingEntry entry = ValidEntry();
        entry.date = date;
        EXPECT_FALSE(ValidateEntry(entry).has_value()) << date;
    }
}

// An entry with this date, valid otherwise, is refused at the date field with the message.
void ExpectDateRefused(const std::string& date, const std::string& message) {
    FilingEntry entry = ValidEntry();
    entry.date = date;
    const auto refusal = ValidateEntry(entry);
    ASSERT_TRUE(refusal.has_value()) << date;
    EXPECT_EQ(refusal->field, EntryField::Date) << date;
    EXPECT_EQ(refusal->message, message) << date;
}

TEST(ValidateEntry, RefusesDaysTheCalendarDoesNotHave) {
    const std::pair<const char*, const char*> cases[] = {
        {"20230229", "日付の日は、2023年2月には28日までです。修正してください。\n\n 例：2023年2月28"
                     "日　→　20230228 "},
        {"21000229", "日付の日は、2100年2月には28日までです。修正してください。\n\n 例：2100年2月28"
                     "日　→　21000228 "},
        {"20240230", "日付の日は、2024年2月には29日までです。修正してください。\n\n 例：2024年2月29"
                     "日　→　20240229 "},
        {"20220431", "日付の日は、2022年4月には30日までです。修正してください。\n\n 例：2022年4月30"
                     "日　→　20220430 "},
        {"00110931", "日付の日は、11年9月には30日までです。修正してください。\n\n 例：11年9月30日　"
                     "→　00110930 "},
    };
    for (const auto& [date, message] : cases)
        ExpectDateRefused(date, message);
}

TEST(RefuseCompanyChars, TheRuleOfTheCompanyCheck) {
    EXPECT_FALSE(RefuseCompanyChars("〇〇商事(株)").has_value());
    EXPECT_FALSE(RefuseCompanyChars("").has_value()); // an empty name is not its business
    EXPECT_EQ(RefuseCompanyChars("A/B商会"), kCompanyForbidden);
    EXPECT_EQ(RefuseCompanyChars("a\"b"), kCompanyForbidden);
    const auto unstorable = RefuseCompanyChars("🍣商店");
    ASSERT_TRUE(unstorable.has_value());
    EXPECT_NE(unstorable->find("「🍣」"), std::string::npos);
}

TEST(ValidateEntry, DateChecksInOrder) {
    const std::pair<std::string, const char*> cases[] = {
        {"2022123", kDateLength},
        {"2022/12/31", kDateLength},
        {"", kDateLength},
        // Full-width digits take two bytes each in the file's code page: 16 bytes.
        {"２０２２１２３１", kDateLength},
        {"2022a231", kDateNotDigits},
        // Four double-byte characters make eight bytes but are no digits.
        {"令和四年", kDateNotDigits},
        {"2022 231", kDateNotDigits},
        {"00001231", kYear},
        {"20221331", kMonth},
        {"20220031", kMonth},
        {"20221200", kDay},
        {"20221232", kDay},
    };
    for (const auto& [date, message] : cases)
        ExpectDateRefused(date, message);
}

TEST(ValidateEntry, FirstFailureWins) {
    FilingEntry entry;
    entry.date = "20221299";
    entry.remark = "?";
    EXPECT_EQ(ValidateEntry(entry)->message, kDay);
    entry.date = "20221231";
    EXPECT_EQ(ValidateEntry(entry)->message, "社名を入力してください。 ");
    entry.company = "a/b";
    EXPECT_EQ(ValidateEntry(entry)->field, EntryField::Company);
    EXPECT_EQ(ValidateEntry(entry)->message, kCompanyForbidden);
    entry.company = "A社";
    EXPECT_EQ(ValidateEntry(entry)->field, EntryField::Amount);
    EXPECT_EQ(ValidateEntry(entry)->message, "金額を入力してください。 ");
    entry.amount = "12";
    EXPECT_EQ(ValidateEntry(entry)->field, EntryField::Remark);
    EXPECT_EQ(ValidateEntry(entry)->message, kRemarkForbidden);
}

TEST(ValidateEntry, Amounts) {
    for (const char* amount : {"-500", "+500", "1-2", "0"}) {
        FilingEntry entry = ValidEntry();
        entry.amount = amount;
        EXPECT_FALSE(ValidateEntry(entry).has_value()) << amount;
    }
    for (const char* amount : {"５00", "500,000", "1.5", " 500"}) {
        FilingEntry entry = ValidEntry();
        entry.amount = amount;
        const auto refusal = ValidateEntry(entry);
        ASSERT_TRUE(refusal.has_value()) << amount;
        EXPECT_EQ(refusal->field, EntryField::Amount);
        EXPECT_EQ(refusal->message, kAmountNotDigits);
    }
}

TEST(HasForbiddenChar, RefusesTheElevenCharactersAndWhatCannotBeStored) {
    for (const char* c : {"[", "]", "\\", "/", ":", "*", "?", "\"", "<", ">", "|"}) {
        EXPECT_TRUE(HasForbiddenChar(std::string("A") + c + "B")) << c;
    }
    // Characters the index book's code page has no form for, control characters, broken text.
    for (const char* text : {"A😀B", "Ａ\tＢ", "A\nB", "A\x7F", "\xE3\x81"}) {
        EXPECT_TRUE(HasForbiddenChar(text)) << text;
    }
    // Double-byte characters whose second byte in the code page equals "\", "[" or "|", and
    // full-width look-alikes of the forbidden characters, are fine.
    for (const char* text : {"ソ表能", "ゼ", "ポ", "＼［］／：＊？＜＞｜", "", "(株)〇〇 商事"}) {
        EXPECT_FALSE(HasForbiddenChar(text)) << text;
    }
}

TEST(HasForbiddenChar, CompanyAndRemarkAreBothChecked) {
    FilingEntry entry = ValidEntry();
    entry.company = "ソ表\"";
    EXPECT_EQ(ValidateEntry(entry)->message, kCompanyForbidden);
    entry.company = "ソ表ポゼ";
    entry.remark = "3月分/";
    EXPECT_EQ(ValidateEntry(entry)->message, kRemarkForbidden);
}

TEST(HasForbiddenChar, ACharacterTheBookCannotStoreIsNamed) {
    FilingEntry entry = ValidEntry();
    entry.company = "𠮷野家";
    EXPECT_EQ(ValidateEntry(entry)->message,
              "社名に、保存できない文字「𠮷」があります。修正してください。\n\n"
              "（この文字は索引簿CSVに書き出せません）");
    entry.company = "〇〇〜商事"; // the wave dash an input method types is stored as ～
    entry.remark = "3月分😀";
    const auto refusal = ValidateEntry(entry);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, EntryField::Remark);
    EXPECT_EQ(refusal->message, "備考に、保存できない文字「😀」があります。修正してください。\n\n"
                                "（この文字は索引簿CSVに書き出せません）");
}

TEST(DigitChecks, CountEveryByte) {
    EXPECT_FALSE(HasNonDigit("0123456789"));
    EXPECT_FALSE(HasNonDigit(""));
    EXPECT_TRUE(HasNonDigit("12-3"));
    EXPECT_TRUE(HasNonDigit("１"));
    EXPECT_FALSE(HasNonAmountChar("+-0123456789--"));
    EXPECT_TRUE(HasNonAmountChar("１"));
    EXPECT_TRUE(HasNonAmountChar("1e3"));
}

} // namespace
} // namespace fmb
