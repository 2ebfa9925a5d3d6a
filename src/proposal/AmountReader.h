#pragma once

#include "proposal/Candidate.h"

#include <string>
#include <vector>

namespace fmb {

// The amounts a document's lines (see DocumentLines) name, as plain digits, best first. A sum
// of money is a number with ¥ before it, 円 or a closing "-" after it, thousands separators, or
// a money label before it; dates, telephone numbers, rates and counts are not. The total
// labelled as such (合計, 請求金額, ご請求金額, 税込合計, 総額, 領収金額, 差引支給額 …) comes
// first, line items after it, and subtotals (小計) and tax lines (消費税) last; of amounts alike,
// the largest.
std::vector<Candidate> ReadAmounts(const std::vector<std::string>& lines);

} // namespace fmb
