#pragma once

#include "search/StorageSearch.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// The columns of the search window's table of hits, in their order.
enum class HitColumn { Date, Company, Amounts, Type, Remark, FiscalYear, Path };
inline constexpr std::array<std::string_view, 7> kHitColumnTitles = {
    "日付", "取引先", "金額", "種類", "備考", "年度", "パス"};

// The text a cell shows: the date as YYYY/MM/DD, the amounts as the name writes them joined
// with " / ", the remark without its type prefix, the others as they stand.
std::string HitCellText(const SearchHit& hit, HitColumn column);

// The hits of the search window's table, in the order of one column: dates and amounts (the
// first amount) as numbers, texts by their bytes; equal cells keep the order of date and then
// path. The hits stay where they arrived; sorting and merging a batch move row numbers only, so
// a table of 100,000 hits takes a batch or a new order without a pause.
class HitTable {
public:
    void Clear();
    // Adds a batch of hits, keeping the order.
    void Add(std::vector<SearchHit>&& more);
    void SortBy(HitColumn column, bool ascending);

    std::size_t RowCount() const { return m_order.size(); }
    const SearchHit& Row(std::size_t row) const { return m_hits[m_order[row]]; }
    // Every row, in the table's order.
    std::vector<const SearchHit*> Rows() const;

private:
    bool Before(std::uint32_t a, std::uint32_t b) const;

    std::deque<SearchHit> m_hits; // in the order they arrived; a deque never moves them
    std::vector<std::uint32_t> m_order;
    HitColumn m_column = HitColumn::Date;
    bool m_ascending = true;
};

} // namespace fmb
