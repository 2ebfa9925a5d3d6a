#pragma once

#include "filing/Composition.h"

#include <optional>
#include <string>
#include <string_view>

namespace fmb {

// True when the text holds one of [ ] \ / : * ? " < > |, a control character, or a character the
// file's code page cannot store.
bool HasForbiddenChar(std::string_view text);
// True when a byte is other than 0-9, '+' and '-'.
bool HasNonAmountChar(std::string_view text);
// True when a byte is other than 0-9.
bool HasNonDigit(std::string_view text);

// The message for an amount that holds a character other than 0-9, "+" and "-".
inline constexpr const char* kAmountNotDigitsMessage =
    "金額は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 + - ";

// Why a company name cannot stand in a stored file's name (a forbidden character, or one the
// index book cannot store): the message 実行 shows; nothing when it can.
std::optional<std::string> RefuseCompanyChars(std::string_view company);

enum class EntryField { Date, Company, Amount, Remark };

struct EntryRefusal {
    EntryField field;    // the field that gets the focus
    std::string message; // shown to the user as it stands
};

// Runs the checks of an entry in their fixed order and returns the first failure.
std::optional<EntryRefusal> ValidateEntry(const FilingEntry& entry);

} // namespace fmb
