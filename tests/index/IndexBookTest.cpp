#include "index/IndexBook.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

CLineOne Row(std::string remark, std::string company = "(株)〇〇商事") {
    CLineOne row;
    row.type = "請求書(控)";
    row.date = "2022_12_31";
    row.company = std::move(company);
    row.amount = "500000";
    row.remark = std::move(remark);
    row.path = "/data/書類/2022年度/a.pdf";
    return row;
}

TEST(IndexBookLine, SplitsTheTypePrefixOffTheRemark) {
    const struct {
        const char* remark;
        const char* cellsEF;
    } cases[] = {
        {"＜請求書(控)＞3月分", "＜請求書(控)＞,3月分"},
        {"3月分＜請求書(控)＞", ",3月分＜請求書(控)＞"},
        {"＜請求書(控)", ",＜請求書(控)"},
        {"＜請求書(控)＞", "＜請求書(控)＞,"},
        {"", ","},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IndexBookLine(Row(c.remark), 2),
                  std::string("請求書(控),20221231,(株)〇〇商事,500000,") + c.cellsEF +
                      ",\"/data/書類/2022年度/a.pdf\",=HYPERLINK(G2)")
            << c.remark;
    }
}

TEST(IndexBookLine, RemovesUnderscoresFromTheDateAndCommasFromTheAmount) {
    CLineOne row = Row("");
    row.date = "__";
    row.amount = "1,234,567";
    EXPECT_EQ(IndexBookLine(row, 6),
              "請求書(控),,(株)〇〇商事,1234567,,,\"/data/書類/2022年度/a.pdf\",=HYPERLINK(G6)");
}

TEST(IndexBookLine, QuotesCellsThatWouldOtherwiseShiftTheColumns) {
    CLineOne row = Row("＜請求書(控)＞a,b", "(株)A,B");
    row.type = "say \"hi\"";
    row.path = "/data/\"q\"/a.pdf";
    EXPECT_EQ(IndexBookLine(row, 2), "\"say \"\"hi\"\"\",20221231,\"(株)A,B\",500000,"
                                     "＜請求書(控)＞,\"a,b\",\"/data/\"\"q\"\"/a.pdf\","
                                     "=HYPERLINK(G2)");
    row = Row("line\nbreak");
    EXPECT_EQ(IndexBookLine(row, 3), "請求書(控),20221231,(株)〇〇商事,500000,,\"line\nbreak\","
                                     "\"/data/書類/2022年度/a.pdf\",=HYPERLINK(G3)");
}

TEST(BuildRows, OneRowPerAmountOfEveryNameWithADate) {
    std::vector<ScanEntry> entries = {
        {"請求書(控)", "[2022_12_31][(株)〇〇商事][500,000][120,000][30,000].pdf",
         "/data/書類/2022年度/請求書(控)/[2022_12_31][(株)〇〇商事][500,000][120,000][30,000].pdf"},
        {"", "doc001.pdf", "/data/書類/2022年度/doc001.pdf"},
        {"", "20230315_(株)〇〇商事_500,000.pdf",
         "/data/書類/2022年度/20230315_(株)〇〇商事_500,000.pdf"},
        {"", "[20230315][A][100]memo.pdf", "/data/書類/2022年度/[20230315][A][100]memo.pdf"},
    };
    const std::vector<CLineOne> rows = BuildRows(entries, "");
    ASSERT_EQ(rows.size(), 4u);
    const char* amounts[] = {"500000", "120000", "30000"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i].type, "請求書(控)");
        EXPECT_EQ(rows[i].date, "2022_12_31");
        EXPECT_EQ(rows[i].company, "(株)〇〇商事");
        EXPECT_EQ(rows[i].amount, amounts[i]);
        EXPECT_EQ(rows[i].path, entries[0].fullPath);
    }
    EXPECT_EQ(rows[3].type, "");
    EXPECT_EQ(rows[3].remark, "memo");
    EXPECT_EQ(rows[3].path, entries[3].fullPath);
}

TEST(BuildRows, MakesPathsRelativeToTheLinkBase) {
    const std::vector<ScanEntry> entries = {
        {"請求書(控)", "[20230315][A][100].pdf", "/data/書類/2022年度/請求書(控)/[20230315][A][100].pdf"},
    };
    EXPECT_EQ(BuildRows(entries, "/data/書類/")[0].path, "2022年度/請求書(控)/[20230315][A][100].pdf");
    // Letter case counts: a base spelled otherwise gives no path.
    EXPECT_EQ(BuildRows(entries, "/Data/書類/")[0].path, "");
}

} // namespace
} // namespace fmb
