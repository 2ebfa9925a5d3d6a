#include "search/HitTable.h"

#include <algorithm>
#include <tuple>

namespace fmb {
namespace {

long long FirstAmount(const SearchHit& hit) {
    long long value = 0;
    return !hit.amounts.empty() && AmountValue(hit.amounts.front(), value) ? value : 0;
}

// Compares the cells of one column: negative, zero or positive.
int CompareCells(const SearchHit& a, const SearchHit& b, HitColumn column) {
    const auto compare = [](const auto& x, const auto& y) { return x < y ? -1 : y < x ? 1 : 0; };
    switch (column) {
    case HitColumn::Date:
        return compare(a.date, b.date);
    case HitColumn::Company:
        return compare(a.company, b.company);
    case HitColumn::Amounts:
        return compare(FirstAmount(a), FirstAmount(b));
    case HitColumn::Type:
        return compare(a.type, b.type);
    case HitColumn::Remark:
        return compare(a.RemarkWithoutPrefix(), b.RemarkWithoutPrefix());
    case HitColumn::FiscalYear:
        return compare(a.fiscalYear, b.fiscalYear);
    case HitColumn::Path:
        return compare(a.path, b.path);
    }
    return 0;
}

// The order of a column, ties broken by date and then path.
auto OrderBy(HitColumn column, bool ascending) {
    return [column, ascending](const SearchHit& a, const SearchHit& b) {
        const int order = CompareCells(a, b, column);
        if (order != 0) {
            return ascending ? order < 0 : order > 0;
        }
        return std::tie(a.date, a.path) < std::tie(b.date, b.path);
    };
}

} // namespace

std::string HitCellText(const SearchHit& hit, HitColumn column) {
    switch (column) {
    case HitColumn::Date: {
        const std::string digits = std::to_string(hit.date);
        return digits.substr(0, 4) + "/" + digits.substr(4, 2) + "/" + digits.substr(6, 2);
    }
    case HitColumn::Company:
        return hit.company;
    case HitColumn::Amounts: {
        std::string text;
        for (const std::string& amount : hit.amounts) {
            text += (text.empty() ? "" : " / ") + amount;
        }
        return text;
    }
    case HitColumn::Type:
        return hit.type;
    case HitColumn::Remark:
        return std::string(hit.RemarkWithoutPrefix());
    case HitColumn::FiscalYear:
        return hit.fiscalYear;
    case HitColumn::Path:
        return hit.path;
    }
    return {};
}

void SortHitsBy(std::vector<SearchHit>& hits, HitColumn column, bool ascending) {
    std::stable_sort(hits.begin(), hits.end(), OrderBy(column, ascending));
}

void MergeHitsBy(std::vector<SearchHit>& hits, std::vector<SearchHit>&& more, HitColumn column,
                 bool ascending) {
    std::stable_sort(more.begin(), more.end(), OrderBy(column, ascending));
    const auto middle = static_cast<std::ptrdiff_t>(hits.size());
    hits.insert(hits.end(), std::make_move_iterator(more.begin()),
                std::make_move_iterator(more.end()));
    std::inplace_merge(hits.begin(), hits.begin() + middle, hits.end(), OrderBy(column, ascending));
}

} // namespace fmb
