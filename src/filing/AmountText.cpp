#include "filing/AmountText.h"

#include "platform/Cp932.h"
#include "platform/DecimalText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace fmb {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// "%0.f": no decimals, no separators, a minus sign when negative. The format has no decimal point,
// so the locale cannot change it.
std::string WithoutDecimals(double value) {
    const int size = std::snprintf(nullptr, 0, "%0.f", value);
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%0.f", value);
    text.resize(static_cast<std::size_t>(size));
    return text;
}

} // namespace

std::string FormatThousands(std::string_view amount) {
    std::size_t remaining = 0;
    for (char c : amount) {
        remaining += IsContinuationByte(c) ? 0 : 1;
    }
    std::string result;
    result.reserve(amount.size() + amount.size() / 3);
    for (std::size_t pos = 0; pos < amount.size();) {
        std::size_t next = pos + 1;
        while (next < amount.size() && IsContinuationByte(amount[next])) {
            ++next;
        }
        const std::string_view ch = amount.substr(pos, next - pos);
        result.append(ch);
        --remaining;
        if (remaining > 0 && remaining % 3 == 0 && ch != "-" && ch != "+") {
            result.push_back(',');
        }
        pos = next;
    }
    return result;
}

double LeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // from_chars takes a '-' of its own; after the sign above a second one is no number.
    if (pos == text.size() || text[pos] == '+' || text[pos] == '-') {
        return 0.0;
    }
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(first, last, value);
    if (read.ec == std::errc::invalid_argument) {
        return 0.0;
    }
    if (read.ec == std::errc::result_out_of_range) {
        // Too small is zero, too large is infinite, as a C conversion answers. A number is too
        // small when its exponent is negative or, without one, its whole part is zero.
        const std::string_view number(first, static_cast<std::size_t>(read.ptr - first));
        const auto exponent = number.find_first_of("eE");
        bool tiny = false;
        if (exponent != std::string_view::npos) {
            tiny = number.substr(exponent + 1).starts_with('-');
        } else {
            const std::string_view whole = number.substr(0, number.find('.'));
            tiny = whole.find_first_not_of('0') == std::string_view::npos;
        }
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

std::string PressKeypad(std::string_view amount, const KeypadButton& button) {
    switch (button.key) {
    case KeypadKey::Digit:
        return WithoutDecimals(LeadingNumber(amount) * 10 + button.digit);
    case KeypadKey::DoubleZero:
        return WithoutDecimals(LeadingNumber(amount) * 100);
    case KeypadKey::Clear:
        break;
    }
    return std::string();
}

LimitedAmount LimitAmount(std::string_view text) {
    if (cp932::ByteLength(text) <= kAmountMaxBytes) {
        return {std::string(text), false};
    }
    return {cp932::CutToBytes(text, kAmountMaxBytes), true};
}

std::string RemoveAmountSeparators(std::string_view text) {
    static constexpr std::string_view kSeparators[] = {",", "\\", "¥", "￥", "，"};
    std::string cleaned;
    cleaned.reserve(text.size());
    // A UTF-8 sequence never starts inside another character, so a plain search is safe.
    for (std::size_t pos = 0; pos < text.size();) {
        bool removed = false;
        for (std::string_view separator : kSeparators) {
            if (text.substr(pos).starts_with(separator)) {
                pos += separator.size();
                removed = true;
                break;
            }
        }
        if (!removed) {
            cleaned.push_back(text[pos++]);
        }
    }
    return cleaned;
}

CleanedAmount CleanAmount(std::string_view text) {
    const LimitedAmount limited = LimitAmount(HalfWidthDigits(text));
    return {RemoveAmountSeparators(limited.text), limited.wasTooLong};
}

ExtraAmountTexts JoinExtraAmounts(std::span<const std::string> amounts) {
    ExtraAmountTexts texts;
    for (const std::string& typed : amounts) {
        // Separators typed into the dialog would otherwise be doubled in the name ("1,,000").
        const std::string amount = RemoveAmountSeparators(HalfWidthDigits(typed));
        if (amount.empty()) {
            continue;
        }
        texts.plain += "[" + amount + "]";
        texts.comma += "[" + FormatThousands(amount) + "]";
    }
    return texts;
}

} // namespace fmb
