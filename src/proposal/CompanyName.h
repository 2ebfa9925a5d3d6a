#pragma once

#include <string>
#include <string_view>

namespace fmb {

// A company name reduced to what tells companies apart: NFKC (full-width letters and digits,
// ㈱), lower-case Latin letters, no blanks, and the short legal forms written out, so that
// "㈱ＡＢＣ商事", "(株)abc商事" and "株式会社 ABC 商事" compare equal.
std::string FoldedCompanyName(std::string_view name);

} // namespace fmb
