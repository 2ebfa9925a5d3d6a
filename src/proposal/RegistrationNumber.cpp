#include "proposal/RegistrationNumber.h"

#include "proposal/DocumentText.h"

#include <algorithm>

namespace fmb {
namespace {

constexpr std::size_t kDigits = 13;

} // namespace

bool IsRegistrationNumber(std::string_view text) {
    if (text.size() != kDigits + 1 || text.front() != 'T' ||
        !std::all_of(text.begin() + 1, text.end(), IsAsciiDigit))
        return false;
    // The twelve digits after the check digit, weighted 1, 2, 1, 2 … from the last one.
    int sum = 0;
    for (std::size_t n = 1; n <= kDigits - 1; ++n)
        sum += (text[text.size() - n] - '0') * (n % 2 == 1 ? 1 : 2);
    return text[1] - '0' == 9 - sum % 9;
}

std::vector<std::string> ReadRegistrationNumbers(const std::vector<std::string>& lines) {
    std::vector<std::string> numbers;
    for (const std::string& line : lines) {
        for (std::size_t at = line.find('T'); at != std::string::npos;
             at = line.find('T', at + 1)) {
            if (at > 0 && IsAsciiAlnum(line[at - 1]))
                continue;
            std::string number = "T";
            std::size_t end = at + 1;
            while (end < line.size() && number.size() <= kDigits) {
                const char c = line[end];
                if (IsAsciiDigit(c))
                    number += c;
                else if (c != ' ' && c != '-')
                    break;
                ++end;
            }
            const bool ends = end >= line.size() || !IsAsciiDigit(line[end]);
            if (ends && IsRegistrationNumber(number) &&
                std::find(numbers.begin(), numbers.end(), number) == numbers.end())
                numbers.push_back(number);
        }
    }
    return numbers;
}

} // namespace fmb
