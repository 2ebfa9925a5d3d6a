#include "search/HitTable.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace fmb {
namespace {

// Compares the cells of one column: negative, zero or positive.
int CompareCells(const SearchHit& a, const SearchHit& b, HitColumn column) {
    const auto compare = [](const auto& x, const auto& y) { return x < y ? -1 : y < x ? 1 : 0; };
    switch (column) {
    case HitColumn::Date:
        return compare(a.date, b.date);
    case HitColumn::Company:
        return compare(a.company, b.company);
    case HitColumn::Amounts:
        return compare(a.firstAmount, b.firstAmount);
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

void HitTable::Clear() {
    m_hits.clear();
    m_order.clear();
}

void HitTable::Add(std::vector<SearchHit>&& more) {
    const auto first = static_cast<std::uint32_t>(m_hits.size());
    std::move(more.begin(), more.end(), std::back_inserter(m_hits));
    const auto middle = static_cast<std::ptrdiff_t>(m_order.size());
    m_order.resize(m_hits.size());
    std::iota(m_order.begin() + middle, m_order.end(), first);
    const auto before = [this](std::uint32_t a, std::uint32_t b) { return Before(a, b); };
    std::stable_sort(m_order.begin() + middle, m_order.end(), before);
    std::inplace_merge(m_order.begin(), m_order.begin() + middle, m_order.end(), before);
}

void HitTable::SortBy(HitColumn column, bool ascending) {
    m_column = column;
    m_ascending = ascending;
    std::stable_sort(m_order.begin(), m_order.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return Before(a, b); });
}

std::vector<const SearchHit*> HitTable::Rows() const {
    std::vector<const SearchHit*> rows;
    rows.reserve(m_order.size());
    for (const std::uint32_t index : m_order) {
        rows.push_back(&m_hits[index]);
    }
    return rows;
}

bool HitTable::Before(std::uint32_t a, std::uint32_t b) const {
    const SearchHit& x = m_hits[a];
    const SearchHit& y = m_hits[b];
    const int order = CompareCells(x, y, m_column);
    if (order != 0) {
        return m_ascending ? order < 0 : order > 0;
    }
    return std::tie(x.date, x.path) < std::tie(y.date, y.path);
}

} // namespace fmb
