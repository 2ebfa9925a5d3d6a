#include "proposal/AmountReader.h"

#include "proposal/DocumentText.h"
#include "proposal/LabelledValues.h"

#include <algorithm>
#include <optional>

namespace fmb {
namespace {

constexpr int kBilledLabel = 110; // the amount asked for, in so many words
constexpr int kTotalLabel = 100;
constexpr int kMoneyLabel = 40; // 金額 of a line item
constexpr int kPartLabel = -80; // subtotal, tax, unit price
constexpr int kHeadPercent = 90;
constexpr int kMoneySign = 10; // ¥ or 円
constexpr int kClosedSum = 10; // ¥110,000-: a sum closed against additions, as totals are
constexpr int kGrouped = 5;    // thousands separators
constexpr int kLargest = 50;   // the total is the largest sum when no label tells
constexpr std::size_t kMaxDigits = 14;

const std::vector<Label>& AmountLabels() {
    static const std::vector<Label> labels = {
        {"ご請求金額", kBilledLabel},
        {"御請求金額", kBilledLabel},
        {"請求金額", kBilledLabel},
        {"ご請求額", kBilledLabel},
        {"今回ご請求額", kBilledLabel},
        {"請求額", kBilledLabel},
        {"お支払金額", kBilledLabel},
        {"お支払額", kBilledLabel},
        {"領収金額", kBilledLabel},
        {"差引支給額", kBilledLabel},
        {"差引支給合計", kBilledLabel},
        {"合計", kTotalLabel},
        {"総合計", kTotalLabel},
        {"税込合計", kTotalLabel},
        {"合計金額", kTotalLabel},
        {"税込金額", kTotalLabel},
        {"総額", kTotalLabel},
        {"お買上合計", kTotalLabel},
        {"ご利用金額合計", kTotalLabel},
        {"ご利用合計", kTotalLabel},
        {"金額", kMoneyLabel},
        {"支給額", kMoneyLabel},
        {"小計", kPartLabel},
        {"消費税", kPartLabel},
        {"消費税額", kPartLabel},
        {"消費税合計", kPartLabel},
        {"税額", kPartLabel},
        {"内税", kPartLabel},
        {"税抜", kPartLabel},
        {"税抜合計", kPartLabel},
        {"税抜金額", kPartLabel},
        {"対象", kPartLabel}, // 10%対象 100,000
        {"単価", kPartLabel},
        {"数量", kPartLabel},
        {"値引", kPartLabel},
        {"お預り", kPartLabel},
        {"お預かり", kPartLabel},
        {"お釣り", kPartLabel},
        {"おつり", kPartLabel},
        {"前回ご請求額", kPartLabel},
        {"前回請求額", kPartLabel},
        {"ご入金額", kPartLabel},
        {"繰越", kPartLabel},
        {"総支給額", kPartLabel},
        {"控除合計", kPartLabel},
        {"源泉", kPartLabel},
    };
    return labels;
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The digits of 110,000 or 110000 at `at`; the end is past them.
std::optional<std::string> TakeDigits(std::string_view line, std::size_t& at, bool& grouped) {
    std::string digits;
    std::size_t end = at;
    std::size_t run = 0;
    grouped = false;
    while (end < line.size()) {
        if (IsAsciiDigit(line[end])) {
            digits += line[end];
            ++run;
            ++end;
            continue;
        }
        // A separator with three digits after it and not more. OCR often reads the comma as a
        // full stop; a yen amount has no decimals, so 81.620 is 81,620 too.
        const bool separator =
            (line[end] == ',' || line[end] == '.') && run >= 1 && (grouped ? run == 3 : run <= 3);
        if (separator && end + 3 < line.size() + 0 && IsAsciiDigit(line[end + 1]) &&
            IsAsciiDigit(line[end + 2]) && IsAsciiDigit(line[end + 3]) &&
            (end + 4 >= line.size() || !IsAsciiDigit(line[end + 4]))) {
            grouped = true;
            run = 0;
            ++end;
            continue;
        }
        break;
    }
    if (digits.empty() || (grouped && run != 3))
        return std::nullopt;
    at = end;
    return digits;
}

// Whether the number is something else than money by what stands around it.
bool IsOtherNumber(std::string_view before, std::string_view after) {
    // Part of a date, a time, a telephone or account number, a code or a decimal.
    for (std::string_view next :
         {"年", "月", "日",   "/",    ":",  "%",  "件", "個", "点", "枚", "名",
          "時", "分", "ヶ月", "か月", "号", "番", "歳", "才", "回", "人", "."}) {
        if (StartsWith(after, next))
            return true;
    }
    if (StartsWith(after, "-") && after.size() > 1 && IsAsciiDigit(after[1]))
        return true;
    if (!before.empty()) {
        const char last = before.back();
        if (IsAsciiAlnum(last) || last == '/' || last == '-' || last == '.' || last == ':' ||
            last == '#')
            return true;
    }
    return EndsWith(before, "No.") || EndsWith(before, "〒") || EndsWith(before, "第");
}

std::vector<Hit> AmountsOf(std::string_view line) {
    std::vector<Hit> hits;
    for (std::size_t at = 0; at < line.size();) {
        std::size_t begin = at;
        bool yen = false;
        if (StartsWith(line.substr(at), "¥")) {
            yen = true;
            at += std::string_view("¥").size();
        } else if (line[at] == '\\') { // the yen sign of code page 932 fonts
            yen = true;
            ++at;
        }
        if (at >= line.size() || !IsAsciiDigit(line[at]) ||
            (!yen && begin > 0 && IsAsciiDigit(line[begin - 1]))) {
            at = begin + 1;
            continue;
        }
        std::size_t end = at;
        bool grouped = false;
        const auto digits = TakeDigits(line, end, grouped);
        if (!digits) {
            at = begin + 1;
            continue;
        }
        const std::string_view after = line.substr(end);
        bool sign = yen;
        bool closed = false;
        if (StartsWith(after, "円")) {
            sign = true;
        } else if (yen && StartsWith(after, "-")) {
            sign = true;
            closed = true;
        } else if (IsOtherNumber(line.substr(0, begin), after)) {
            at = end;
            continue;
        }
        const std::string value =
            digits->substr(std::min(digits->find_first_not_of('0'), digits->size() - 1));
        if (value != "0" && value.size() <= kMaxDigits)
            hits.push_back(
                {value, begin, end,
                 (sign ? kMoneySign : 0) + (closed ? kClosedSum : 0) + (grouped ? kGrouped : 0)});
        at = end;
    }
    return hits;
}

// Compares two amounts given as digits without leading zeros.
bool LessThan(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

} // namespace

std::vector<Candidate> ReadAmounts(const std::vector<std::string>& lines) {
    std::vector<LabelledHit> amounts =
        ReadLabelledValues(lines, AmountLabels(), AmountsOf, kHeadPercent);
    // A bare number is money only when its place says so.
    std::erase_if(amounts, [](const LabelledHit& amount) {
        return amount.hit.bonus == 0 && !amount.labelled;
    });
    std::string largest;
    for (const LabelledHit& amount : amounts) {
        if (amount.labelScore >= 0 && LessThan(largest, amount.hit.value))
            largest = amount.hit.value;
    }
    std::vector<Candidate> found;
    for (const LabelledHit& amount : amounts) {
        const int size = amount.hit.value == largest ? kLargest : 0;
        found.push_back({amount.hit.value, amount.labelScore + amount.hit.bonus + size});
    }
    return Ranked(std::move(found));
}

} // namespace fmb
