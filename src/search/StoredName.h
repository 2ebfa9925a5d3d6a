#pragma once

#include "index/FileNameParse.h"

#include <optional>
#include <string_view>
#include <vector>

namespace fmb {

// The two forms in which the filing writes a stored name.
enum class NameForm {
    Bracketed,  // [date][company][amount][extra amount]...remark.extension
    Underscore, // date_company_amount[extra amount]...remark.extension
};

// The fields of a stored name, as views into the name.
struct StoredName {
    int date = 0;              // the transaction date as the number YYYYMMDD
    std::string_view dateText; // the date as written (8 digits, or YYYY_MM_DD)
    std::string_view company;
    std::vector<std::string_view> amounts; // as written, separators included; never empty
    std::vector<long long> amountValues;   // the amounts as numbers, in the same order
    std::string_view typePrefix;           // ＜type＞ at the start of the remark, or empty
    std::string_view remark;               // the remark after the type prefix, extension dropped
    ParsedName scratch;                    // storage reused from read to read
};

// The leading fields of a stored name, read without the rest: enough to pass over most names a
// search asks nothing of, before the whole name is read.
struct NameHead {
    int date = 0; // as StoredName::date; 0 when the name cannot be a stored name
    // The counterparty of a bracketed name; unknown for the underscore form, whose counterparty
    // ends where its amount begins.
    std::optional<std::string_view> company;
};

// The date, and where the form allows the counterparty, that ReadStoredName would find in
// fileName, whatever the preferred form; a date of 0 when it would find no stored name.
NameHead ReadNameHead(std::string_view fileName);

// Reads a file name of either form into name (its storage is reused); false when the name is not
// a stored name: no real date, or an amount that is not a number. Both forms are tried, the
// preferred one (the form the settings write) first.
bool ReadStoredName(std::string_view fileName, NameForm preferred, StoredName& name);

// The value of an amount as written in a stored name: digits with an optional sign, thousands
// separators ignored; false when the text is not such a number or too long to be an amount.
bool AmountValue(std::string_view text, long long& value);

} // namespace fmb
