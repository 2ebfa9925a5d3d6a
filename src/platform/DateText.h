#pragma once

#include "platform/Clock.h"

#include <string>
#include <string_view>

namespace fmb {

// Today's local date as eight digits, YYYYMMDD.
std::string TodayText(const Clock& clock);
// The last day of this month (offset 0) or of the previous month (offset -1) as YYYYMMDD.
std::string MonthEndText(int offset, const Clock& clock);

// The number of days of a month (1-12) of a year, by the Gregorian leap-year rule.
int LastDayOfMonth(int year, int month);

// A day as a date text, "%04d%02d%02d", whatever its year.
std::string DateText(const LocalDate& day);
// The day a date text names: characters 1-4, 5-6 and 7-8 each read as a number (0 where they
// hold none).
LocalDate DateOfText(std::string_view dateText);

} // namespace fmb
