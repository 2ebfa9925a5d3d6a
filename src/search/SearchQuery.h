#pragma once

#include "search/StoredName.h"

#include <optional>
#include <string>
#include <string_view>

namespace fmb {

// The search fields as the user typed them; an empty field asks for nothing.
struct SearchFields {
    std::string from{}, to{}; // dates, YYYYMMDD
    std::string min{}, max{}; // amounts
    std::string company{};    // contained in the counterparty
    std::string type{};       // the document type, whole; empty for every type
    std::string text{};       // contained in the remark
};

enum class SearchField { From, To, Min, Max, Company, Type, Text };

// Why the fields cannot be searched: which field, and what to tell the user there.
struct SearchRefusal {
    SearchField field;
    std::string message;
};

// A checked search: ranges as numbers, texts folded (FoldForSearch).
struct SearchQuery {
    std::optional<int> from, to; // YYYYMMDD, inclusive
    std::optional<long long> min, max;
    std::string company, type, text;
};

// The query the fields ask for, or why they cannot be searched (the first field at fault, in the
// order of the window): a date that does not exist, an amount that is not a number, a range whose
// start lies after its end.
struct CheckedSearch {
    std::optional<SearchQuery> query;
    std::optional<SearchRefusal> refusal;
};
CheckedSearch CheckSearch(const SearchFields& fields);

// A stored document as the search sees it.
struct SearchedDocument {
    const StoredName& name;
    std::string_view
        type; // its type: the name's type prefix without its signs, else its type folder
};

// Folds texts for the search, remembering the last few: counterparties and remarks repeat from
// file to file, and folding costs far more than a look-up.
class FoldCache {
public:
    FoldCache() = default;
    FoldCache(const FoldCache&) = delete;
    FoldCache& operator=(const FoldCache&) = delete;

    // The folded form of text, valid until the next call.
    const std::string& Fold(std::string_view text);

private:
    static constexpr std::size_t kSlots = 256;
    struct Slot {
        bool valid = false;
        std::string text;
        std::string folded;
    };
    Slot m_slots[kSlots];
    const Slot* m_last = nullptr;
};

// The folded texts of the fields a search compares, one cache for each.
struct SearchFolds {
    FoldCache type, company, remark;
};

// False when the leading fields of fileName (its date and, in the bracketed form, its
// counterparty) already rule it out; a search reads whole only the names this lets through.
bool MayMatch(const SearchQuery& query, std::string_view fileName, SearchFolds& folds);

// True when the document matches every field of the query.
bool Matches(const SearchQuery& query, const SearchedDocument& document, SearchFolds& folds);

} // namespace fmb
