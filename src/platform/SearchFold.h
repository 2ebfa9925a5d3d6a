#pragma once

#include <string>
#include <string_view>

namespace fmb {

// The form in which a search compares texts: what Japanese users take for the same text comes
// out the same. Full-width and half-width letters, digits, signs and katakana become one
// (ＡＢＣ and ABC, ﾃｽﾄ and テスト), letter case is dropped (ABC and abc), and the enclosed
// company forms become their parenthesised spelling (㈱ and ㊑ read (株), ㍿ reads 株式会社).
// Texts are UTF-8; a byte that is not UTF-8 reads as U+FFFD.
std::string FoldForSearch(std::string_view utf8);

} // namespace fmb
