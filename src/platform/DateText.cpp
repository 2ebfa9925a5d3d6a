#include "platform/DateText.h"

#include "platform/DecimalText.h"

#include <cstdio>

namespace fmb {
namespace {

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

} // namespace

int LastDayOfMonth(int year, int month) {
    switch (month) {
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

std::string DateText(const LocalDate& day) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d%02d%02d", day.year, day.month, day.day);
    return text;
}

LocalDate DateOfText(std::string_view dateText) {
    const auto part = [dateText](std::size_t first, std::size_t count) {
        return first < dateText.size() ? ReadLeadingInt(dateText.substr(first, count)) : 0;
    };
    return {part(0, 4), part(4, 2), part(6, 2)};
}

std::string TodayText(const Clock& clock) {
    return DateText(clock.Today());
}

std::string MonthEndText(int offset, const Clock& clock) {
    const LocalDate today = clock.Today();
    int year = today.year;
    int month = today.month + offset;
    if (month <= 0) {
        month = 12;
        --year;
    }
    return DateText({year, month, LastDayOfMonth(year, month)});
}

} // namespace fmb
