#include "filing/EntryValidation.h"

#include "platform/Cp932.h"
#include "platform/DateText.h"
#include "platform/DecimalText.h"

#include <utility>

namespace fmb {
namespace {

// The messages of the checks, in the order the checks run.
constexpr const char* kDateLength =
    "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 ";
constexpr const char* kDateNotDigits =
    "日付は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 ";
constexpr const char* kYearRange =
    "日付の年は1以上の数値を入れてください。\n\n 例：2022年xx月xx日　→　2022xxxx ";
constexpr const char* kMonthRange =
    "日付の月は01～12の数値を入れてください。\n\n 例：xxxx年12月xx日　→　xxxx12xx ";
constexpr const char* kDayRange =
    "日付の日は01～31の数値を入れてください。\n\n 例：xxxx年xx月31日　→　xxxxxx31 ";
// A day within 01-31 that its month does not have (20230229, 20220431).
std::string NoSuchDayMessage(int year, int month) {
    const int lastDay = LastDayOfMonth(year, month);
    const std::string last = std::to_string(lastDay);
    const std::string example = std::to_string(year) + "年" + std::to_string(month) + "月";
    return "日付の日は、" + example + "には" + last + "日までです。修正してください。\n\n 例：" +
           example + last + "日　→　" + DateText({year, month, lastDay}) + " ";
}

constexpr const char* kNoCompany = "社名を入力してください。 ";
constexpr const char* kCompanyForbidden =
    "社名に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | ";
constexpr const char* kNoAmount = "金額を入力してください。 ";
constexpr const char* kAmountNotDigits = kAmountNotDigitsMessage;
constexpr const char* kRemarkForbidden =
    "備考に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | ";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The message for a company or remark that HasForbiddenChar refuses: the fixed list of
// forbidden characters, or, when the text holds a character the index book's code page cannot
// store (an emoji, a rare kanji), a message that names that character, which the list does not.
std::string ForbiddenCharMessage(std::string_view text, const char* field, const char* fixed) {
    const std::string character = cp932::FirstUnrepresentable(text);
    if (character.empty()) {
        return fixed;
    }
    return std::string(field) + "に、保存できない文字「" + character +
           "」があります。修正してください。\n\n（この文字は索引簿CSVに書き出せません）";
}

} // namespace

bool HasForbiddenChar(std::string_view text) {
    static constexpr std::string_view kForbidden = "[]\\/:*?\"<>|";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        // Control characters are invisible in a name and refused by Windows file systems.
        if (kForbidden.find(c) != std::string_view::npos || byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    // A name the index book cannot write in its code page would come back as "?".
    return !cp932::IsRepresentable(text);
}

std::optional<std::string> RefuseCompanyChars(std::string_view company) {
    if (!HasForbiddenChar(company)) {
        return std::nullopt;
    }
    return ForbiddenCharMessage(company, "社名", kCompanyForbidden);
}

bool HasNonAmountChar(std::string_view text) {
    for (char c : text) {
        if (!IsDigit(c) && c != '+' && c != '-') {
            return true;
        }
    }
    return false;
}

bool HasNonDigit(std::string_view text) {
    for (char c : text) {
        if (!IsDigit(c)) {
            return true;
        }
    }
    return false;
}

std::optional<EntryRefusal> ValidateEntry(const FilingEntry& entry) {
    const auto refuse = [](EntryField field, std::string message) {
        return std::optional<EntryRefusal>(EntryRefusal{field, std::move(message)});
    };
    const std::string& date = entry.date;
    if (cp932::ByteLength(date) != 8) {
        return refuse(EntryField::Date, kDateLength);
    }
    if (HasNonDigit(date)) {
        return refuse(EntryField::Date, kDateNotDigits);
    }
    // From here the date is eight ASCII digits.
    const std::string_view digits = date;
    const int year = ReadLeadingInt(digits.substr(0, 4));
    if (year < 1) {
        return refuse(EntryField::Date, kYearRange);
    }
    const int month = ReadLeadingInt(digits.substr(4, 2));
    if (month < 1 || month > 12) {
        return refuse(EntryField::Date, kMonthRange);
    }
    const int day = ReadLeadingInt(digits.substr(6, 2));
    if (day < 1 || day > 31) {
        return refuse(EntryField::Date, kDayRange);
    }
    // A document dated on a day that never was would be filed under a wrong month or year.
    if (day > LastDayOfMonth(year, month)) {
        return refuse(EntryField::Date, NoSuchDayMessage(year, month));
    }
    if (entry.company.empty()) {
        return refuse(EntryField::Company, kNoCompany);
    }
    if (auto message = RefuseCompanyChars(entry.company)) {
        return refuse(EntryField::Company, std::move(*message));
    }
    if (entry.amount.empty()) {
        return refuse(EntryField::Amount, kNoAmount);
    }
    if (HasNonAmountChar(entry.amount)) {
        return refuse(EntryField::Amount, kAmountNotDigits);
    }
    if (HasForbiddenChar(entry.remark)) {
        return refuse(EntryField::Remark,
                      ForbiddenCharMessage(entry.remark, "備考", kRemarkForbidden));
    }
    return std::nullopt;
}

} // namespace fmb
