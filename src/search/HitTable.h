#pragma once

#include "search/StorageSearch.h"

#include <array>
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

// Sorts hits by a column: dates and amounts (the first amount) as numbers, texts by their bytes;
// equal cells keep the order of date and then path.
void SortHitsBy(std::vector<SearchHit>& hits, HitColumn column, bool ascending);

// Adds more to hits, which are sorted by the column, keeping them so.
void MergeHitsBy(std::vector<SearchHit>& hits, std::vector<SearchHit>&& more, HitColumn column,
                 bool ascending);

} // namespace fmb
