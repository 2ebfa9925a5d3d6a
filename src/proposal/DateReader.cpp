#include "proposal/DateReader.h"

#include "proposal/DocumentText.h"
#include "proposal/LabelledValues.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <array>
#include <cstdio>
#include <memory>

namespace fmb {
namespace {

constexpr int kIssueLabel = 100;
constexpr int kWeakDateLabel = 40;
constexpr int kDueLabel = -100;
constexpr int kHeadPercent = 90;
constexpr int kPeriodEnd = -30; // one end of a period (2023/03/01〜2023/03/31)
constexpr int kEarlyBonus = 10; // a date near the top of the page
constexpr std::size_t kEarlyLines = 12;

const std::vector<Label>& DateLabels() {
    static const std::vector<Label> labels = {
        {"発行日", kIssueLabel},     {"発行年月日", kIssueLabel}, {"請求日", kIssueLabel},
        {"請求年月日", kIssueLabel}, {"取引日", kIssueLabel},     {"取引年月日", kIssueLabel},
        {"領収日", kIssueLabel},     {"日付", kIssueLabel},       {"作成日", kIssueLabel},
        {"ご利用日", kIssueLabel},   {"利用日", kIssueLabel},     {"支給日", kIssueLabel},
        {"売上日", kIssueLabel},     {"締切日", kWeakDateLabel},  {"締日", kWeakDateLabel},
        {"納品日", kWeakDateLabel},  {"支払期限", kDueLabel},     {"お支払期限", kDueLabel},
        {"支払期日", kDueLabel},     {"お支払期日", kDueLabel},   {"振込期限", kDueLabel},
        {"お振込期限", kDueLabel},   {"お支払日", kDueLabel},     {"支払日", kDueLabel},
        {"引落日", kDueLabel},       {"お引落日", kDueLabel},     {"有効期限", kDueLabel},
        {"期限", kDueLabel},         {"期日", kDueLabel},
    };
    return labels;
}

struct Era {
    std::string_view name;
    char letter;
    std::array<int, 3> dayInside; // a Gregorian day of the era, to learn its code from ICU
};

constexpr std::array<Era, 5> kEras = {{
    {"令和", 'R', {2020, 1, 1}},
    {"平成", 'H', {2000, 1, 1}},
    {"昭和", 'S', {1970, 1, 1}},
    {"大正", 'T', {1920, 1, 1}},
    {"明治", 'M', {1900, 1, 1}},
}};

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsDay(int year, int month, int day) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1)
        return false;
    return day <= kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
}

std::string EightDigits(int year, int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
    return text;
}

// Reads the text at `at` and moves past it when it is there.
bool Take(std::string_view line, std::size_t& at, std::string_view text) {
    if (line.substr(at).substr(0, text.size()) != text)
        return false;
    at += text.size();
    return true;
}

// One to maxDigits digits not followed by another digit.
std::optional<int> TakeNumber(std::string_view line, std::size_t& at, std::size_t maxDigits) {
    std::size_t end = at;
    while (end < line.size() && IsAsciiDigit(line[end]))
        ++end;
    if (end == at || end - at > maxDigits)
        return std::nullopt;
    const int value = std::stoi(std::string(line.substr(at, end - at)));
    at = end;
    return value;
}

// Separators between year, month and day: 年 月 日, or the same one of / - . twice.
std::optional<std::array<int, 2>> TakeMonthDay(std::string_view line, std::size_t& at,
                                               bool kanjiOnly) {
    if (Take(line, at, "年")) {
        const auto month = TakeNumber(line, at, 2);
        if (!month || !Take(line, at, "月"))
            return std::nullopt;
        const auto day = TakeNumber(line, at, 2);
        if (!day)
            return std::nullopt;
        Take(line, at, "日");
        return std::array<int, 2>{*month, *day};
    }
    if (kanjiOnly || at >= line.size())
        return std::nullopt;
    const char separator = line[at];
    if (separator != '/' && separator != '-' && separator != '.')
        return std::nullopt;
    ++at;
    const auto month = TakeNumber(line, at, 2);
    if (!month || at >= line.size() || line[at] != separator)
        return std::nullopt;
    ++at;
    const auto day = TakeNumber(line, at, 2);
    if (!day)
        return std::nullopt;
    return std::array<int, 2>{*month, *day};
}

std::optional<Hit> WesternDateAt(std::string_view line, std::size_t begin) {
    std::size_t at = begin;
    const auto year = TakeNumber(line, at, 4);
    if (!year || at - begin != 4 || *year < 1900 || *year > 2099)
        return std::nullopt;
    const auto monthDay = TakeMonthDay(line, at, false);
    if (!monthDay || !IsDay(*year, (*monthDay)[0], (*monthDay)[1]))
        return std::nullopt;
    return Hit{EightDigits(*year, (*monthDay)[0], (*monthDay)[1]), begin, at, 0};
}

std::optional<Hit> EraDateAt(std::string_view line, std::size_t begin) {
    for (const Era& era : kEras) {
        std::size_t at = begin;
        const bool byName = Take(line, at, era.name);
        if (!byName) {
            // R5.3.31: the letter alone, not the end of a word.
            if (line[at] != era.letter || (at > 0 && IsAsciiAlnum(line[at - 1])))
                continue;
            ++at;
        }
        std::optional<int> year;
        if (byName && Take(line, at, "元"))
            year = 1;
        else
            year = TakeNumber(line, at, 2);
        if (!year)
            continue;
        const auto monthDay = TakeMonthDay(line, at, false);
        if (!monthDay)
            continue;
        if (const auto date = EraDateText(era.name, *year, (*monthDay)[0], (*monthDay)[1]))
            return Hit{*date, begin, at, 0};
    }
    return std::nullopt;
}

std::vector<Hit> DatesOf(std::string_view line) {
    std::vector<Hit> hits;
    for (std::size_t at = 0; at < line.size();) {
        const bool wordStart = at == 0 || !IsAsciiDigit(line[at - 1]);
        std::optional<Hit> hit;
        if (wordStart)
            hit = IsAsciiDigit(line[at]) ? WesternDateAt(line, at) : EraDateAt(line, at);
        if (!hit) {
            ++at;
            continue;
        }
        // Either end of a period.
        const std::string_view after = line.substr(hit->end);
        const std::string_view before = line.substr(0, hit->begin);
        for (std::string_view tilde : {"~", "〜", "-"}) {
            if (after.substr(0, tilde.size()) == tilde ||
                (before.size() >= tilde.size() &&
                 before.substr(before.size() - tilde.size()) == tilde))
                hit->bonus = kPeriodEnd;
        }
        at = hit->end;
        hits.push_back(std::move(*hit));
    }
    return hits;
}

std::unique_ptr<icu::Calendar> JapaneseCalendar() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale("ja_JP@calendar=japanese"), status));
    return U_SUCCESS(status) ? std::move(calendar) : nullptr;
}

// ICU's code of the era that holds the Gregorian day.
int EraCodeOn(icu::Calendar& japanese, const std::array<int, 3>& day) {
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar gregorian(*icu::TimeZone::getGMT(), status);
    gregorian.clear();
    gregorian.set(day[0], day[1] - 1, day[2]);
    japanese.setTime(gregorian.getTime(status), status);
    return japanese.get(UCAL_ERA, status);
}

} // namespace

std::optional<std::string> EraDateText(std::string_view eraName, int year, int month, int day) {
    const Era* era = nullptr;
    for (const Era& known : kEras) {
        if (known.name == eraName)
            era = &known;
    }
    const std::unique_ptr<icu::Calendar> japanese = JapaneseCalendar();
    if (!era || !japanese || year < 1 || month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const int eraCode = EraCodeOn(*japanese, era->dayInside);
    UErrorCode status = U_ZERO_ERROR;
    japanese->clear();
    japanese->set(UCAL_ERA, eraCode);
    japanese->set(UCAL_YEAR, year);
    japanese->set(UCAL_MONTH, month - 1);
    japanese->set(UCAL_DATE, 1);
    const UDate firstOfMonth = japanese->getTime(status);
    icu::GregorianCalendar gregorian(*icu::TimeZone::getGMT(), status);
    gregorian.setTime(firstOfMonth, status);
    const int gregorianYear = gregorian.get(UCAL_YEAR, status);
    if (U_FAILURE(status) || !IsDay(gregorianYear, month, day))
        return std::nullopt;
    // A day before the era began belongs to no era of that name.
    if (EraCodeOn(*japanese, {gregorianYear, month, day}) < eraCode)
        return std::nullopt;
    return EightDigits(gregorianYear, month, day);
}

std::vector<Candidate> ReadDates(const std::vector<std::string>& lines) {
    std::vector<Candidate> found;
    for (const LabelledHit& date : ReadLabelledValues(lines, DateLabels(), DatesOf, kHeadPercent)) {
        const int early = date.line < kEarlyLines ? kEarlyBonus : 0;
        found.push_back({date.hit.value, date.labelScore + date.hit.bonus + early});
    }
    return Ranked(std::move(found));
}

} // namespace fmb
