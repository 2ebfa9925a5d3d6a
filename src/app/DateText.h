#pragma once

#include "platform/Clock.h"

#include <string>

namespace fmb {

// Today's local date as eight digits, YYYYMMDD.
std::string TodayText(const Clock& clock);
// The last day of this month (offset 0) or of the previous month (offset -1) as YYYYMMDD.
std::string MonthEndText(int offset, const Clock& clock);

} // namespace fmb
