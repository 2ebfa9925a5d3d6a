#include "search/StoredName.h"

#include "index/FileNameParse.h"
#include "platform/DateText.h"

namespace fmb {
namespace {

constexpr std::string_view kPrefixOpen = "＜";
constexpr std::string_view kPrefixClose = "＞";
// More digits than any amount the filing accepts (14 bytes), and still far from overflowing.
constexpr std::size_t kMaxAmountDigits = 17;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The date a date field names: 8 digits or YYYY_MM_DD, of a day that exists; 0 otherwise.
int DateOf(std::string_view text) {
    char digits[8];
    if (text.size() == 8) {
        text.copy(digits, 8);
    } else if (text.size() == 10 && text[4] == '_' && text[7] == '_') {
        text.substr(0, 4).copy(digits, 4);
        text.substr(5, 2).copy(digits + 4, 2);
        text.substr(8, 2).copy(digits + 6, 2);
    } else {
        return 0;
    }
    int value = 0;
    for (const char c : digits) {
        if (!IsDigit(c)) {
            return 0;
        }
        value = value * 10 + (c - '0');
    }
    const int year = value / 10000;
    const int month = value / 100 % 100;
    const int day = value % 100;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > LastDayOfMonth(year, month)) {
        return 0;
    }
    return value;
}

// The length of the amount at the start of text: a sign, then digits; with thousands
// separators, the longest run of well-formed groups (so the digits of a remark written straight
// after the amount are not taken for the amount's); 0 when text does not start with one.
std::size_t AmountLength(std::string_view text) {
    std::size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    const std::size_t leading = i - start;
    if (leading == 0) {
        return 0;
    }
    if (i >= text.size() || text[i] != ',' || leading > 3) {
        return i;
    }
    while (i + 3 < text.size() && text[i] == ',' && IsDigit(text[i + 1]) && IsDigit(text[i + 2]) &&
           IsDigit(text[i + 3])) {
        i += 4;
    }
    return i;
}

// value := the amount text as a number; false when it is not an amount as the filing writes
// it, or too long to be one.
bool ReadAmount(std::string_view text, long long& value) {
    return !text.empty() && AmountLength(text) == text.size() && AmountValue(text, value);
}

// Splits the remark (extension dropped) into its type prefix and the rest.
void SetRemark(std::string_view rest, StoredName& name) {
    const auto dot = rest.rfind('.');
    std::string_view remark =
        dot == std::string_view::npos ? std::string_view{} : rest.substr(0, dot);
    name.typePrefix = {};
    if (remark.starts_with(kPrefixOpen)) {
        const auto close = remark.find(kPrefixClose);
        if (close != std::string_view::npos) {
            name.typePrefix = remark.substr(0, close + kPrefixClose.size());
            remark.remove_prefix(name.typePrefix.size());
        }
    }
    name.remark = remark;
}

bool ReadBracketed(std::string_view fileName, StoredName& name) {
    if (!fileName.starts_with('[')) {
        return false;
    }
    ParsedName& parsed = name.scratch;
    ParseFileName(fileName, parsed);
    name.date = DateOf(parsed.date);
    if (name.date == 0) {
        return false;
    }
    name.amountValues.resize(parsed.amounts.size());
    for (std::size_t i = 0; i < parsed.amounts.size(); ++i) {
        if (!ReadAmount(parsed.amounts[i], name.amountValues[i])) {
            return false;
        }
    }
    name.dateText = parsed.date;
    name.company = parsed.company;
    name.amounts.assign(parsed.amounts.begin(), parsed.amounts.end());
    // The remark is what follows the last bracketed amount.
    const std::string_view last = parsed.amounts.back();
    const std::size_t afterAmounts =
        static_cast<std::size_t>(last.data() - fileName.data()) + last.size() + 1;
    SetRemark(fileName.substr(afterAmounts), name);
    return true;
}

// Reads the amount at the start of text and the bracketed extra amounts after it into name;
// what follows them, or nothing when text does not start with an amount.
bool ReadUnderscoreAmounts(std::string_view text, StoredName& name, std::string_view& rest) {
    const std::size_t length = AmountLength(text);
    long long value = 0;
    if (length == 0 || !ReadAmount(text.substr(0, length), value)) {
        return false;
    }
    name.amounts.assign(1, text.substr(0, length));
    name.amountValues.assign(1, value);
    rest = text.substr(length);
    while (rest.starts_with('[')) {
        const auto close = rest.find(']');
        if (close == std::string_view::npos || !ReadAmount(rest.substr(1, close - 1), value)) {
            break;
        }
        name.amounts.push_back(rest.substr(1, close - 1));
        name.amountValues.push_back(value);
        rest.remove_prefix(close + 1);
    }
    return true;
}

// date_company_amount[extra]...remark.extension. The company and the remark may hold "_" and
// digits themselves, so every "_" followed by an amount is a candidate for the one before the
// amount: the first whose amount is followed by an extra amount, a type prefix or the extension
// wins, else the first candidate.
bool ReadUnderscore(std::string_view fileName, StoredName& name) {
    if (fileName.size() < 10 || fileName[8] != '_') {
        return false;
    }
    name.date = DateOf(fileName.substr(0, 8));
    if (name.date == 0) {
        return false;
    }
    name.dateText = fileName.substr(0, 8);
    const std::string_view afterDate = fileName.substr(9);
    std::size_t chosen = std::string_view::npos;
    for (auto bar = afterDate.find('_'); bar != std::string_view::npos;
         bar = afterDate.find('_', bar + 1)) {
        std::string_view rest;
        if (!ReadUnderscoreAmounts(afterDate.substr(bar + 1), name, rest)) {
            continue;
        }
        if (chosen == std::string_view::npos) {
            chosen = bar;
        }
        if (name.amounts.size() > 1 || rest.empty() || rest.front() == '.' ||
            rest.starts_with(kPrefixOpen)) {
            chosen = bar;
            break;
        }
    }
    if (chosen == std::string_view::npos) {
        return false;
    }
    std::string_view rest;
    ReadUnderscoreAmounts(afterDate.substr(chosen + 1), name, rest);
    name.company = afterDate.substr(0, chosen);
    SetRemark(rest, name);
    return true;
}

} // namespace

// A name starting with "[" is never of the underscore form, whose date starts it; any other
// name is never of the bracketed form.
NameHead ReadNameHead(std::string_view fileName) {
    NameHead head;
    if (fileName.starts_with('[')) {
        std::string_view rest = fileName;
        head.date = DateOf(TakeField(rest));
        head.company = TakeField(rest);
    } else if (fileName.size() >= 10 && fileName[8] == '_') {
        head.date = DateOf(fileName.substr(0, 8));
    }
    return head;
}

bool ReadStoredName(std::string_view fileName, NameForm preferred, StoredName& name) {
    if (preferred == NameForm::Underscore) {
        return ReadUnderscore(fileName, name) || ReadBracketed(fileName, name);
    }
    return ReadBracketed(fileName, name) || ReadUnderscore(fileName, name);
}

bool AmountValue(std::string_view text, long long& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    long long result = 0;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == ',') {
            continue;
        }
        if (!IsDigit(c) || ++digits > kMaxAmountDigits) {
            return false;
        }
        result = result * 10 + (c - '0');
    }
    if (digits == 0) {
        return false;
    }
    value = negative ? -result : result;
    return true;
}

} // namespace fmb
