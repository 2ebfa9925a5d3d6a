#include "app/DateText.h"

#include <cstdio>

namespace fmb {
namespace {

std::string FormatDate(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
    return text;
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

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

} // namespace

std::string TodayText(const Clock& clock) {
    const LocalDate today = clock.Today();
    return FormatDate(today.year, today.month, today.day);
}

std::string MonthEndText(int offset, const Clock& clock) {
    const LocalDate today = clock.Today();
    int year = today.year;
    int month = today.month + offset;
    if (month <= 0) {
        month = 12;
        --year;
    }
    return FormatDate(year, month, LastDayOfMonth(year, month));
}

} // namespace fmb
