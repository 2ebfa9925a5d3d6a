#pragma once

#include "res/ControlIds.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The amount texts of the filing window and the multiple-amounts dialog: the on-screen keypad,
// the 14-byte limit, the separators a user may type or paste, and the extra-amount texts of an
// entry with several amounts.
namespace fmb {

// An amount holds at most this many bytes (of the file's code page): 99,999,999,999,999 yen.
inline constexpr std::size_t kAmountMaxBytes = 14;
// Shown when a typed, pasted or keyed amount is longer than kAmountMaxBytes.
inline constexpr const char* kAmountTooLongMessage =
    "入力可能桁数は、14桁までです。\n\n最大99,999,999,999,999円\n(100兆円未満までです)";

// What a keypad button does to the amount it writes into.
enum class KeypadKey {
    Digit,      // value x 10 + digit
    DoubleZero, // value x 100
    Clear,      // the empty text
};

struct KeypadButton {
    int controlId;
    KeypadKey key;
    int digit; // 0-9 for KeypadKey::Digit
};

// The twelve keypad buttons; both dialogs use these control ids.
inline constexpr std::array<KeypadButton, 12> kKeypadButtons = {{
    {ids::keypad::k7, KeypadKey::Digit, 7},
    {ids::keypad::k8, KeypadKey::Digit, 8},
    {ids::keypad::k9, KeypadKey::Digit, 9},
    {ids::keypad::k4, KeypadKey::Digit, 4},
    {ids::keypad::k5, KeypadKey::Digit, 5},
    {ids::keypad::k6, KeypadKey::Digit, 6},
    {ids::keypad::k1, KeypadKey::Digit, 1},
    {ids::keypad::k2, KeypadKey::Digit, 2},
    {ids::keypad::k3, KeypadKey::Digit, 3},
    {ids::keypad::k0, KeypadKey::Digit, 0},
    {ids::keypad::k00, KeypadKey::DoubleZero, 0},
    {ids::keypad::kClear, KeypadKey::Clear, 0},
}};

// Inserts "," every three characters from the right, never after a sign: 1234567 gives
// 1,234,567, -123456 gives -123,456, +1000 gives +1,000.
std::string FormatThousands(std::string_view amount);

// The number at the start of the text, read as a decimal floating-point number (blanks, a sign,
// digits, a decimal point, an exponent; also "inf" and "nan"); 0 when the text starts with none.
// Independent of the process's locale.
double LeadingNumber(std::string_view text);

// The amount after a keypad press: the leading number of the amount times 10 plus the digit
// (times 100 for "00"), written without decimals or separators ("%0.f"); the empty text for
// クリア. So "12" and 3 give "123", "" and 0 give "0", "-5" and 3 give "-47", "12abc" and 1 give
// "121". A result longer than kAmountMaxBytes is left for the amount's limit to cut.
std::string PressKeypad(std::string_view amount, const KeypadButton& button);

// The text cut to its first kAmountMaxBytes bytes (never inside a character), and whether it was
// longer.
struct LimitedAmount {
    std::string text;
    bool wasTooLong = false;
};
LimitedAmount LimitAmount(std::string_view text);

// The text without the separators a user may type or paste into an amount: "," and "，"
// (full-width), and the yen signs "\" (the yen sign of the Japanese code page), "¥" and "￥".
// Everything else stays, for the Execute checks to judge.
std::string RemoveAmountSeparators(std::string_view text);

// What the filing window's amount field holds after a change: the text with full-width digits
// made ASCII, limited to kAmountMaxBytes, then cleaned of separators (so a text typed with
// separators reaches the limit with fewer digits).
struct CleanedAmount {
    std::string text;
    bool wasTooLong = false; // the user is told of the limit
};
CleanedAmount CleanAmount(std::string_view text);

// The extra amounts (amounts 2 to 6) of an entry as the file name carries them: each non-empty
// amount in brackets, in order, without and with thousands separators. Amounts 500000, "" and
// 30000 give [500000][30000] and [500,000][30,000]; full-width digits are made ASCII and
// separators typed into an amount are removed first, so １,０００ gives [1000] and [1,000].
struct ExtraAmountTexts {
    std::string plain;
    std::string comma;
};
ExtraAmountTexts JoinExtraAmounts(std::span<const std::string> amounts);

} // namespace fmb
