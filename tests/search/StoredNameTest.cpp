#include "search/StoredName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fmb {
namespace {

struct NameCase {
    const char* fileName;
    bool stored;
    int date;
    const char* company;
    std::vector<std::string> amounts;
    const char* typePrefix;
    const char* remark;
};

std::vector<std::string> Texts(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

void ExpectReads(const NameCase& c, NameForm preferred) {
    StoredName name;
    const bool read = ReadStoredName(c.fileName, preferred, name);
    ASSERT_EQ(read, c.stored) << c.fileName;
    if (!read) {
        return;
    }
    EXPECT_EQ(name.date, c.date) << c.fileName;
    EXPECT_EQ(name.company, c.company) << c.fileName;
    EXPECT_EQ(Texts(name.amounts), c.amounts) << c.fileName;
    ASSERT_EQ(name.amountValues.size(), c.amounts.size()) << c.fileName;
    for (std::size_t i = 0; i < c.amounts.size(); ++i) {
        long long value = 0;
        EXPECT_TRUE(AmountValue(c.amounts[i], value));
        EXPECT_EQ(name.amountValues[i], value) << c.fileName;
    }
    EXPECT_EQ(name.typePrefix, c.typePrefix) << c.fileName;
    EXPECT_EQ(name.remark, c.remark) << c.fileName;
    // The head a search reads first agrees with the whole reading, or a search would pass over
    // names it should find.
    const NameHead head = ReadNameHead(c.fileName);
    EXPECT_EQ(head.date, c.date) << c.fileName;
    if (head.company) {
        EXPECT_EQ(*head.company, c.company) << c.fileName;
    }
}

const NameCase kNames[] = {
    // The bracketed form.
    {"[2022_12_31][(株)〇〇商事][500,000].pdf",
     true,
     20221231,
     "(株)〇〇商事",
     {"500,000"},
     "",
     ""},
    {"[20230315][A][500000][120000][30000]＜請求書(控)＞3月分.pdf",
     true,
     20230315,
     "A",
     {"500000", "120000", "30000"},
     "＜請求書(控)＞",
     "3月分"},
    {"[20230315][A][-1,200]第1.2版.pdf", true, 20230315, "A", {"-1,200"}, "", "第1.2版"},
    {"[20230315][A_B][100]memo", true, 20230315, "A_B", {"100"}, "", ""},
    // The underscore form.
    {"20230120_国税商事_2,100.pdf", true, 20230120, "国税商事", {"2,100"}, "", ""},
    {"20230315_(株)〇〇商事_500,000[120,000][30,000]3月分.pdf",
     true,
     20230315,
     "(株)〇〇商事",
     {"500,000", "120,000", "30,000"},
     "",
     "3月分"},
    {"20230315_〇〇商事(株)_500,000＜請求書(控)＞3月分.pdf",
     true,
     20230315,
     "〇〇商事(株)",
     {"500,000"},
     "＜請求書(控)＞",
     "3月分"},
    // The digits of a remark written straight after a separated amount stay the remark's.
    {"20230315_A_500,0003月分.pdf", true, 20230315, "A", {"500,000"}, "", "3月分"},
    // A company holding "_" and digits: the amount followed by the extension wins.
    {"20230315_A_1商事_500.pdf", true, 20230315, "A_1商事", {"500"}, "", ""},
    {"20230315_A_-500.pdf", true, 20230315, "A", {"-500"}, "", ""},
    // Not stored names.
    {"doc001.pdf", false, 0, "", {}, "", ""},
    {"desktop.ini", false, 0, "", {}, "", ""},
    {"[__][(株)〇〇商事][500,000].pdf", false, 0, "", {}, "", ""},
    {"[20230230][A][100].pdf", false, 0, "", {}, "", ""},
    {"[20231301][A][100].pdf", false, 0, "", {}, "", ""},
    {"[20230315][A][abc].pdf", false, 0, "", {}, "", ""},
    {"[20230315][A][].pdf", false, 0, "", {}, "", ""},
    {"[20230315][A][100][x].pdf", false, 0, "", {}, "", ""},
    {"20230315_A_.pdf", false, 0, "", {}, "", ""},
    // More digits than any amount can have.
    {"[20230315][A][123456789012345678].pdf", false, 0, "", {}, "", ""},
    {"20230315_A_123456789012345678.pdf", false, 0, "", {}, "", ""},
    {"20230230_A_100.pdf", false, 0, "", {}, "", ""},
    {"20230315-A-100.pdf", false, 0, "", {}, "", ""},
};

TEST(StoredNameTest, ReadsBothFormsWhicheverTheSettingsWrite) {
    for (const NameCase& c : kNames) {
        ExpectReads(c, NameForm::Bracketed);
        ExpectReads(c, NameForm::Underscore);
    }
}

TEST(StoredNameTest, AmountValuesIgnoreSeparatorsAndKeepTheSign) {
    const struct {
        const char* text;
        bool ok;
        long long value;
    } cases[] = {
        {"500,000", true, 500000},
        {"500000", true, 500000},
        {"-1,200", true, -1200},
        {"+7", true, 7},
        {"0", true, 0},
        {"99,999,999,999,999", true, 99999999999999},
        {"", false, 0},
        {"-", false, 0},
        {"12a", false, 0},
        {"1.5", false, 0},
        {"123456789012345678", false, 0},
    };
    for (const auto& c : cases) {
        long long value = -1;
        EXPECT_EQ(AmountValue(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

} // namespace
} // namespace fmb
