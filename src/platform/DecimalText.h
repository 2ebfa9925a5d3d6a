#pragma once

#include <string>
#include <string_view>

namespace fmb {

// Reads a decimal integer the way the INI values and date parts are read: leading blanks are
// skipped, one optional sign is taken, then digits up to the first other character. A text that
// does not start with a digit after the sign gives 0; values beyond the int range are clamped.
int ReadLeadingInt(std::string_view text);

// The text with every full-width digit (０ to ９, as an input method in full-width mode types
// them) replaced by the same ASCII digit; everything else stays as it is.
std::string HalfWidthDigits(std::string_view text);

} // namespace fmb
