#include "search/HitTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fmb {
namespace {

SearchHit Hit(int date, const char* company, std::vector<std::string> amounts, const char* path) {
    SearchHit hit;
    hit.date = date;
    hit.company = company;
    hit.amounts = std::move(amounts);
    EXPECT_TRUE(AmountValue(hit.amounts.front(), hit.firstAmount));
    hit.remark = "＜請求書＞3月分";
    hit.typePrefixSize = std::string("＜請求書＞").size();
    hit.path = path;
    return hit;
}

std::vector<std::string> Paths(const HitTable& table) {
    std::vector<std::string> paths;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        paths.push_back(table.Row(row).path);
    }
    return paths;
}

TEST(HitTableTest, CellsShowTheDateTheAmountsAndTheRemarkWithoutItsPrefix) {
    const SearchHit hit = Hit(20230315, "A", {"500,000", "-1,200"}, "/r/x.pdf");
    EXPECT_EQ(HitCellText(hit, HitColumn::Date), "2023/03/15");
    EXPECT_EQ(HitCellText(hit, HitColumn::Amounts), "500,000 / -1,200");
    EXPECT_EQ(HitCellText(hit, HitColumn::Remark), "3月分");
    EXPECT_EQ(HitCellText(hit, HitColumn::Path), "/r/x.pdf");
}

TEST(HitTableTest, SortsAmountsAsNumbersAndBreaksTiesByDateAndPath) {
    HitTable table;
    table.Add({
        Hit(20230301, "B", {"1,000"}, "/r/b.pdf"),
        Hit(20230201, "A", {"900"}, "/r/a.pdf"),
        Hit(20230101, "A", {"-5,000"}, "/r/c.pdf"),
        Hit(20230201, "A", {"1,000"}, "/r/d.pdf"),
    });
    table.SortBy(HitColumn::Amounts, true);
    EXPECT_EQ(Paths(table),
              (std::vector<std::string>{"/r/c.pdf", "/r/a.pdf", "/r/d.pdf", "/r/b.pdf"}));
    table.SortBy(HitColumn::Amounts, false);
    EXPECT_EQ(Paths(table),
              (std::vector<std::string>{"/r/d.pdf", "/r/b.pdf", "/r/a.pdf", "/r/c.pdf"}));
    table.SortBy(HitColumn::Company, true);
    EXPECT_EQ(Paths(table),
              (std::vector<std::string>{"/r/c.pdf", "/r/a.pdf", "/r/d.pdf", "/r/b.pdf"}));
}

// Batches arrive in the walk's order; each is merged into the table's order, whatever column the
// table is sorted by, and the rows handed out (to the hit book) follow it.
TEST(HitTableTest, MergedBatchesKeepTheOrder) {
    HitTable table;
    table.Add({Hit(20230101, "B", {"1"}, "/r/1.pdf"), Hit(20230301, "D", {"1"}, "/r/3.pdf")});
    table.Add({Hit(20230401, "A", {"1"}, "/r/4.pdf"), Hit(20230201, "C", {"1"}, "/r/2.pdf")});
    EXPECT_EQ(Paths(table),
              (std::vector<std::string>{"/r/1.pdf", "/r/2.pdf", "/r/3.pdf", "/r/4.pdf"}));
    table.SortBy(HitColumn::Company, false);
    table.Add({Hit(20230501, "BB", {"1"}, "/r/5.pdf")});
    EXPECT_EQ(Paths(table), (std::vector<std::string>{"/r/3.pdf", "/r/2.pdf", "/r/5.pdf",
                                                      "/r/1.pdf", "/r/4.pdf"}));
    const std::vector<const SearchHit*> rows = table.Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2]->path, "/r/5.pdf");
    table.Clear();
    EXPECT_EQ(table.RowCount(), 0u);
}

} // namespace
} // namespace fmb
