#pragma once

#include <string>
#include <string_view>

namespace fmb {

// A company name reduced to what tells companies apart: the search's folding (width, case,
// ㈱ and ㊑), no blanks, and the short legal forms written out, so that
// "㈱ＡＢＣ商事", "(株)abc商事" and "株式会社 ABC 商事" compare equal.
std::string FoldedCompanyName(std::string_view name);

// The folded name without its legal form, so that a list's "国税商事(株)" finds a document's
// "株式会社国税商事" (strictly another name, but what the user keeps in the list).
std::string FoldedNameWithoutLegalForm(std::string_view name);

} // namespace fmb
