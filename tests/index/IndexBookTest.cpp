#include "index/IndexBook.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

std::vector<CLineOne> RowsOf(const ScanEntry& entry, std::string_view linkBase) {
    ParsedName parsed;
    std::vector<CLineOne> rows;
    BuildRows(entry, linkBase, parsed, rows);
    return rows;
}

TEST(BuildRows, OneRowPerAmountOfANameWithADate) {
    const ScanEntry entry = {"請求書(控)",
                             "[2022_12_31][(株)〇〇商事][500,000][120,000][30,000]3月分.pdf",
                             "/data/書類/2022年度/請求書(控)/"
                             "[2022_12_31][(株)〇〇商事][500,000][120,000][30,000]3月分.pdf"};
    const std::vector<CLineOne> rows = RowsOf(entry, "");
    ASSERT_EQ(rows.size(), 3u);
    const char* amounts[] = {"500000", "120000", "30000"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i].type, "請求書(控)");
        EXPECT_EQ(rows[i].date, "2022_12_31");
        EXPECT_EQ(rows[i].company, "(株)〇〇商事");
        EXPECT_EQ(rows[i].amount, amounts[i]);
        EXPECT_EQ(rows[i].remark, "3月分");
        EXPECT_EQ(rows[i].path, entry.fullPath);
    }
    // No date, no row: other files, and names of the underscore form with a single amount.
    for (const char* name : {"doc001.pdf", "desktop.ini", "20230315_(株)〇〇商事_500,000.pdf"}) {
        EXPECT_TRUE(RowsOf({"", name, std::string("/data/") + name}, "").empty()) << name;
    }
}

TEST(BuildRows, ReusesItsStorageWithoutLeftovers) {
    ParsedName parsed;
    std::vector<CLineOne> rows;
    // The rows are read while their entries live, as the scan hands them over.
    const ScanEntry first = {"a", "[20230315][A][1][2][3].pdf", "/x/a/[20230315][A][1][2][3].pdf"};
    const ScanEntry second = {"b", "[20230316][B][9].pdf", "/x/b/[20230316][B][9].pdf"};
    BuildRows(first, "", parsed, rows);
    BuildRows(second, "", parsed, rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].amount, "9");
    EXPECT_EQ(rows[0].type, "b");
    BuildRows({"b", "doc.pdf", "/x/b/doc.pdf"}, "", parsed, rows);
    EXPECT_TRUE(rows.empty());
}

TEST(BuildRows, MakesPathsRelativeToTheLinkBase) {
    const ScanEntry entry = {"請求書(控)", "[20230315][A][100].pdf",
                             "/data/書類/2022年度/請求書(控)/[20230315][A][100].pdf"};
    EXPECT_EQ(RowsOf(entry, "/data/書類/")[0].path, "2022年度/請求書(控)/[20230315][A][100].pdf");
    // Letter case counts: a base spelled otherwise gives no path.
    EXPECT_EQ(RowsOf(entry, "/Data/書類/")[0].path, "");
}

TEST(MakeCells, SplitsTheTypePrefixOffTheRemarkAndDropsTheDateUnderscores) {
    const struct {
        const char* remark;
        const char* prefix;
        const char* rest;
    } cases[] = {
        {"＜請求書(控)＞3月分", "＜請求書(控)＞", "3月分"},
        {"3月分＜請求書(控)＞", "", "3月分＜請求書(控)＞"},
        {"＜請求書(控)", "", "＜請求書(控)"},
        {"＜請求書(控)＞", "＜請求書(控)＞", ""},
        {"＜A＞＜B＞", "＜A＞", "＜B＞"},
        {"", "", ""},
    };
    CLineOne row;
    row.date = "2022_12_31";
    IndexBookCells cells;
    for (const auto& c : cases) {
        row.remark = c.remark;
        MakeCells(row, cells);
        EXPECT_EQ(cells.typePrefix, c.prefix) << c.remark;
        EXPECT_EQ(cells.remark, c.rest) << c.remark;
        EXPECT_EQ(cells.date, "20221231");
    }
    row.date = "__";
    MakeCells(row, cells);
    EXPECT_EQ(cells.date, "");
}

TEST(AppendWrittenCell, QuotesOnlyCellsThatWouldShiftTheColumns) {
    const struct {
        const char* cell;
        bool alwaysQuoted;
        const char* written;
    } cases[] = {
        {"(株)〇〇商事", false, "(株)〇〇商事"},
        {"(株)A,B", false, "\"(株)A,B\""},
        {"say \"hi\"", false, "\"say \"\"hi\"\"\""},
        {"line\nbreak", false, "\"line\nbreak\""},
        {"cr\rhere", false, "\"cr\rhere\""},
        {"", false, ""},
        {"/data/a.pdf", true, "\"/data/a.pdf\""},
        {"/data/\"q\"/a.pdf", true, "\"/data/\"\"q\"\"/a.pdf\""},
        {"", true, "\"\""},
    };
    for (const auto& c : cases) {
        std::string out = "x,";
        AppendWrittenCell(out, c.cell, c.alwaysQuoted);
        EXPECT_EQ(out, std::string("x,") + c.written) << c.cell;
    }
}

TEST(AppendWrittenCell, WritesCellsASpreadsheetWouldComputeAsText) {
    const struct {
        const char* cell;
        bool alwaysQuoted;
        const char* written;
    } cases[] = {
        {"=cmd|' /C calc'!A0", false, "'=cmd|' /C calc'!A0"},
        {"=HYPERLINK(\"http://x\")", false, "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1", false, "'+1"},
        {"-1", false, "'-1"},
        {"@SUM(A1)", false, "'@SUM(A1)"},
        {"\tA", false, "'\tA"},
        {"\rA", false, "\"'\rA\""},
        {"=a,b", false, "\"'=a,b\""},
        {"=2022年度/a.pdf", true, "\"'=2022年度/a.pdf\""},
        {"a=b", false, "a=b"},
        {"＝全角", false, "＝全角"},
    };
    for (const auto& c : cases) {
        std::string out;
        AppendWrittenCell(out, c.cell, c.alwaysQuoted);
        EXPECT_EQ(out, c.written) << c.cell;
    }
}

TEST(AppendAmountCell, KeepsNumbersNumericAndAnythingElseText) {
    const struct {
        const char* amount;
        const char* written;
    } cases[] = {
        {"500000", "500000"}, {"-500", "-500"},  {"+500", "+500"},
        {"12.5", "12.5"},     {"", ""},          {"-", "'-"},
        {"=1+1", "'=1+1"},    {"-1-1", "'-1-1"}, {"1.2.3", "1.2.3"},
        {"@1", "'@1"},        {"abc", "abc"},    {"1,2", "\"1,2\""},
    };
    for (const auto& c : cases) {
        std::string out;
        AppendAmountCell(out, c.amount);
        EXPECT_EQ(out, c.written) << c.amount;
    }
}

TEST(AppendIndexBookLine, JoinsTheCellsAndLinksToItsOwnLine) {
    std::string line;
    AppendIndexBookLine(
        line, {"請求書(控)", "20221231", "(株)〇〇商事", "500000", "", "", "\"/a.pdf\""}, 2);
    EXPECT_EQ(line, "請求書(控),20221231,(株)〇〇商事,500000,,,\"/a.pdf\",=HYPERLINK(G2)");
    line.clear();
    AppendIndexBookLine(line, {"", "", "", "", "", "", "\"\""}, 100006);
    EXPECT_EQ(line, ",,,,,,\"\",=HYPERLINK(G100006)");
}

TEST(IndexBookHeader, IsTheEightTitles) {
    EXPECT_EQ(IndexBookHeader(),
              "種類,年月日,取引先名,金額,備考(種別),備考,ファイルパス,リンク先を開く");
}

} // namespace
} // namespace fmb
