#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// The text of a document as the readers see it: NFKC-normalised (full-width digits and letters
// become ASCII, ㈱ becomes (株), and the Kangxi radicals some PDF writers put for 日, 月 and
// other characters become the ordinary characters), one entry per non-blank line, every run of
// blanks one space. OCR output that spaces out single characters ("請 求 書") is closed up.
std::vector<std::string> DocumentLines(std::string_view utf8Text);

// NFKC of a UTF-8 text; an invalid sequence becomes U+FFFD.
std::string NormalizedText(std::string_view utf8Text);

// The line without the blanks between a number or sign and Japanese text ("2023 年 3 月" becomes
// "2023年3月", "¥ 110,000" "¥110,000"); a blank between two ASCII words or numbers, or between
// two Japanese words, stays.
std::string ClosedUp(std::string_view line);

// The words of a line: the runs between blanks.
std::vector<std::string_view> Words(std::string_view line);

// Whether the byte starts a character that is an ASCII letter or digit.
bool IsAsciiAlnum(char c);
bool IsAsciiDigit(char c);

} // namespace fmb
