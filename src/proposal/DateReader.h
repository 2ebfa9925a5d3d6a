#pragma once

#include "proposal/Candidate.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// The transaction dates a document's lines (see DocumentLines) mention, as eight digits
// YYYYMMDD, best first. Read: 2023年3月31日, 2023/03/31, 2023-03-31, 2023.3.31 and the Japanese
// eras (令和5年3月31日, 令和元年, R5.3.31, H31/4/30). A date labelled as the day of issue or of
// the transaction (発行日, 請求日, 取引日, 領収日, 日付 …) comes before an unlabelled one, and a
// due date (支払期限, お支払期日 …) or either end of a period after it; otherwise the earlier in
// the document comes first.
std::vector<Candidate> ReadDates(const std::vector<std::string>& lines);

// The Gregorian date of a day in a Japanese era, as eight digits; nothing for a day that does
// not exist or lies before the era began. A day after the era ended is read as meant (forms
// printed before 令和 went on saying 平成31年 in May 2019).
std::optional<std::string> EraDateText(std::string_view era, int year, int month, int day);

} // namespace fmb
