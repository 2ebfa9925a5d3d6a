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
    hit.remark = "＜請求書＞3月分";
    hit.typePrefixSize = std::string("＜請求書＞").size();
    hit.path = path;
    return hit;
}

std::vector<std::string> Paths(const std::vector<SearchHit>& hits) {
    std::vector<std::string> paths;
    for (const SearchHit& hit : hits) {
        paths.push_back(hit.path);
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
    std::vector<SearchHit> hits = {
        Hit(20230301, "B", {"1,000"}, "/r/b.pdf"),
        Hit(20230201, "A", {"900"}, "/r/a.pdf"),
        Hit(20230101, "A", {"-5,000"}, "/r/c.pdf"),
        Hit(20230201, "A", {"1,000"}, "/r/d.pdf"),
    };
    SortHitsBy(hits, HitColumn::Amounts, true);
    EXPECT_EQ(Paths(hits),
              (std::vector<std::string>{"/r/c.pdf", "/r/a.pdf", "/r/d.pdf", "/r/b.pdf"}));
    SortHitsBy(hits, HitColumn::Amounts, false);
    EXPECT_EQ(Paths(hits),
              (std::vector<std::string>{"/r/d.pdf", "/r/b.pdf", "/r/a.pdf", "/r/c.pdf"}));
    SortHitsBy(hits, HitColumn::Company, true);
    EXPECT_EQ(Paths(hits),
              (std::vector<std::string>{"/r/c.pdf", "/r/a.pdf", "/r/d.pdf", "/r/b.pdf"}));
}

TEST(HitTableTest, MergedBatchesKeepTheOrder) {
    std::vector<SearchHit> hits = {Hit(20230101, "A", {"1"}, "/r/1.pdf"),
                                   Hit(20230301, "A", {"1"}, "/r/3.pdf")};
    MergeHitsBy(hits,
                {Hit(20230401, "A", {"1"}, "/r/4.pdf"), Hit(20230201, "A", {"1"}, "/r/2.pdf")},
                HitColumn::Date, true);
    EXPECT_EQ(Paths(hits),
              (std::vector<std::string>{"/r/1.pdf", "/r/2.pdf", "/r/3.pdf", "/r/4.pdf"}));
}

} // namespace
} // namespace fmb
