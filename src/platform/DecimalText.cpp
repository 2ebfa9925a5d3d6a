#include "platform/DecimalText.h"

#include <climits>

namespace fmb {

int ReadLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value < INT_MIN ? INT_MIN : value);
}

std::string HalfWidthDigits(std::string_view text) {
    // U+FF10 to U+FF19 in UTF-8: EF BC 90 to EF BC 99. A UTF-8 sequence never starts inside
    // another character, so a plain search is safe.
    static constexpr std::string_view kLead = "\xEF\xBC";
    std::string converted;
    converted.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (text.substr(pos).starts_with(kLead) && pos + 2 < text.size()) {
            const auto last = static_cast<unsigned char>(text[pos + 2]);
            if (last >= 0x90 && last <= 0x99) {
                converted.push_back(static_cast<char>('0' + (last - 0x90)));
                pos += 3;
                continue;
            }
        }
        converted.push_back(text[pos++]);
    }
    return converted;
}

} // namespace fmb
