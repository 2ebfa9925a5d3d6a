#include "search/SearchQuery.h"

#include "platform/DateText.h"
#include "platform/SearchFold.h"

#include <functional>

namespace fmb {
namespace {

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// The date a field names; the message when it names none.
std::optional<int> ReadDate(const std::string& folded, std::string& message) {
    if (folded.size() != 8 || folded.find_first_not_of("0123456789") != std::string::npos) {
        message = "日付は8桁の数字 (例: 20230120) で入力してください。";
        return std::nullopt;
    }
    const int value = std::stoi(folded);
    const int year = value / 10000;
    const int month = value / 100 % 100;
    const int day = value % 100;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > LastDayOfMonth(year, month)) {
        message = "存在しない日付です。";
        return std::nullopt;
    }
    return value;
}

std::optional<long long> ReadAmount(const std::string& folded, std::string& message) {
    long long value = 0;
    if (!AmountValue(folded, value)) {
        message = "金額は数字で入力してください (桁区切りの「,」と負の符号「-」は使えます)。";
        return std::nullopt;
    }
    return value;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace

CheckedSearch CheckSearch(const SearchFields& fields) {
    CheckedSearch checked;
    SearchQuery query;
    std::string message;
    const auto refuse = [&](SearchField field) {
        checked.refusal = SearchRefusal{field, message};
        return checked;
    };
    // Full-width digits and signs are read as their ASCII forms.
    const std::string from = FoldForSearch(Trimmed(fields.from));
    const std::string to = FoldForSearch(Trimmed(fields.to));
    const std::string min = FoldForSearch(Trimmed(fields.min));
    const std::string max = FoldForSearch(Trimmed(fields.max));
    if (!from.empty() && !(query.from = ReadDate(from, message))) {
        return refuse(SearchField::From);
    }
    if (!to.empty() && !(query.to = ReadDate(to, message))) {
        return refuse(SearchField::To);
    }
    if (query.from && query.to && *query.from > *query.to) {
        message = "終わりの日付が始まりの日付より前です。";
        return refuse(SearchField::To);
    }
    if (!min.empty() && !(query.min = ReadAmount(min, message))) {
        return refuse(SearchField::Min);
    }
    if (!max.empty() && !(query.max = ReadAmount(max, message))) {
        return refuse(SearchField::Max);
    }
    if (query.min && query.max && *query.min > *query.max) {
        message = "金額の上限が下限より小さくなっています。";
        return refuse(SearchField::Max);
    }
    query.company = FoldForSearch(Trimmed(fields.company));
    query.type = FoldForSearch(Trimmed(fields.type));
    query.text = FoldForSearch(Trimmed(fields.text));
    checked.query = std::move(query);
    return checked;
}

const std::string& FoldCache::Fold(std::string_view text) {
    // The files of a folder mostly share their counterparty: the last text comes first.
    if (m_last != nullptr && m_last->text == text) {
        return m_last->folded;
    }
    Slot& slot = m_slots[std::hash<std::string_view>{}(text) % kSlots];
    m_last = &slot;
    if (!slot.valid || slot.text != text) {
        slot.valid = true;
        slot.text = text;
        slot.folded = FoldForSearch(text);
    }
    return slot.folded;
}

namespace {

bool InDateRange(const SearchQuery& query, int date) {
    return (!query.from || date >= *query.from) && (!query.to || date <= *query.to);
}

bool CompanyMatches(const SearchQuery& query, std::string_view company, SearchFolds& folds) {
    return query.company.empty() || Contains(folds.company.Fold(company), query.company);
}

} // namespace

bool MayMatch(const SearchQuery& query, std::string_view fileName, SearchFolds& folds) {
    if (!query.from && !query.to && query.company.empty()) {
        return true;
    }
    const NameHead head = ReadNameHead(fileName);
    return head.date != 0 && InDateRange(query, head.date) &&
           (!head.company || CompanyMatches(query, *head.company, folds));
}

bool Matches(const SearchQuery& query, const SearchedDocument& document, SearchFolds& folds) {
    const StoredName& name = document.name;
    if (!InDateRange(query, name.date)) {
        return false;
    }
    if (query.min || query.max) {
        bool inRange = false;
        for (const long long value : name.amountValues) {
            if ((!query.min || value >= *query.min) && (!query.max || value <= *query.max)) {
                inRange = true;
                break;
            }
        }
        if (!inRange) {
            return false;
        }
    }
    if (!query.type.empty() && folds.type.Fold(document.type) != query.type) {
        return false;
    }
    if (!CompanyMatches(query, name.company, folds)) {
        return false;
    }
    return query.text.empty() || Contains(folds.remark.Fold(name.remark), query.text);
}

} // namespace fmb
