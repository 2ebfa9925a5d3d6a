#include "index/FileNameParse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fmb {
namespace {

TEST(ParseFileName, ReadsTheFieldsBackFromStoredNames) {
    const struct {
        const char* name;
        const char* date;
        const char* company;
        std::vector<std::string> amounts;
        const char* remark;
    } cases[] = {
        {"[2022_12_31][(株)〇〇商事][500,000].pdf", "2022_12_31", "(株)〇〇商事", {"500,000"}, ""},
        {"[2022_12_31][(株)〇〇商事][500,000][120,000][30,000].pdf",
         "2022_12_31",
         "(株)〇〇商事",
         {"500,000", "120,000", "30,000"},
         ""},
        {"[20230315][(株)〇〇商事][500000]＜請求書(控)＞3月分.pdf",
         "20230315",
         "(株)〇〇商事",
         {"500000"},
         "＜請求書(控)＞3月分"},
        {"[20230315][A][100]第1.2版.pdf", "20230315", "A", {"100"}, "第1.2版"},
        {"[20230315][A][100]memo", "20230315", "A", {"100"}, ""},
        {"[20230315][][].pdf", "20230315", "", {""}, ""},
        {"[__][(株)〇〇商事][500,000].pdf", "__", "(株)〇〇商事", {"500,000"}, ""},
        {"doc001.pdf", "", "", {""}, "doc001"},
        {"desktop.ini", "", "", {""}, "desktop"},
        {"20230315_(株)〇〇商事_500,000.pdf", "", "", {""}, "20230315_(株)〇〇商事_500,000"},
        // Underscore form with extra amounts: the brackets are read as date and company.
        {"20230315_(株)〇〇商事_500,000[120,000][30,000]3月分.pdf",
         "120,000",
         "30,000",
         {""},
         "3月分"},
        // A "]" before the "[" gives an empty field and the reading goes on after the "]";
        // without any "[" the field starts at the front.
        {"a]b[c]d.pdf", "", "c", {""}, "d"},
        {"a]b]c].pdf", "a", "b", {"c"}, ""},
    };
    ParsedName parsed; // reused, as the export does: nothing of one name may stay for the next
    for (const auto& c : cases) {
        ParseFileName(c.name, parsed);
        EXPECT_EQ(parsed.date, c.date) << c.name;
        EXPECT_EQ(parsed.company, c.company) << c.name;
        EXPECT_EQ(std::vector<std::string>(parsed.amounts.begin(), parsed.amounts.end()), c.amounts)
            << c.name;
        EXPECT_EQ(parsed.remark, c.remark) << c.name;
    }
}

TEST(ParseFileName, EndsForABracketThatIsNeverClosed) {
    // Reading amounts would go round for ever on "[" without "]": the amounts end there and
    // the unread rest stays visible in the remark.
    ParsedName parsed;
    ParseFileName("[20230315][A][100][200[300.pdf", parsed);
    EXPECT_EQ(parsed.date, "20230315");
    EXPECT_EQ(parsed.amounts, (std::vector<std::string_view>{"100"}));
    EXPECT_EQ(parsed.remark, "[200[300");

    ParseFileName("[[[[", parsed);
    EXPECT_EQ(parsed.date, "");
    EXPECT_EQ(parsed.amounts, (std::vector<std::string_view>{""}));
}

TEST(MakeRelativePath, CutsTheBaseOnlyFromTheFront) {
    EXPECT_EQ(MakeRelativePath("/data/書類/2022年度/a.pdf", "/data/書類/"), "2022年度/a.pdf");
    EXPECT_EQ(MakeRelativePath("/data/書類/2022年度/a.pdf", "/Data/書類/"), "");
    EXPECT_EQ(MakeRelativePath("/x/data/書類/a.pdf", "/data/書類/"), "");
    EXPECT_EQ(MakeRelativePath("/data/a.pdf", "/data/a.pdf"), "");
}

} // namespace
} // namespace fmb
