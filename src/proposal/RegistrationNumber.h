#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// Whether the text is an invoice registration number: "T" and thirteen digits whose first digit
// checks the other twelve (the check digit of the corporate number).
bool IsRegistrationNumber(std::string_view text);

// The registration numbers a document's lines (see DocumentLines) carry, in the order they
// appear, each once; digits split by blanks or hyphens are joined. Numbers whose check digit
// fails are misread or mistyped and are left out.
std::vector<std::string> ReadRegistrationNumbers(const std::vector<std::string>& lines);

} // namespace fmb
