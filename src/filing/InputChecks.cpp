#include "filing/InputChecks.h"

#include "filing/AmountText.h"
#include "filing/EntryValidation.h"
#include "platform/Cp932.h"
#include "platform/DecimalText.h"
#include "settings/CompanyNameRules.h"
#include "settings/SaveMessages.h"

namespace fmb {
namespace {

// A character the index book's code page cannot store, or a line break, named.
std::string UnsavableCharMessage(const char* field, const std::string& character) {
    return std::string(field) + "に、保存できない文字" + ShownChar(character) +
           "が含まれています。\n\nこの文字を別の文字に替えてから、もう一度実行してください。";
}

std::optional<std::string> RefuseType(const std::string& type) {
    if (auto refusal = RefuseTypeName(type)) {
        return refusal;
    }
    if (const std::string character = FirstUnsavableChar(type); !character.empty()) {
        return UnsavableCharMessage("種類名", character);
    }
    return std::nullopt;
}

// The amount field and the fields of the multiple-amounts dialog take no more than
// kAmountMaxBytes bytes; the dialog's separators are removed before the amount is filed.
std::optional<std::string> RefuseAmountText(const std::string& typed, bool separatorsAllowed) {
    // Full-width digits count as the digits they stand for, as in the window.
    const std::string amount = HalfWidthDigits(typed);
    if (cp932::ByteLength(amount) > kAmountMaxBytes) {
        return kAmountTooLongMessage;
    }
    if (separatorsAllowed && HasNonAmountChar(RemoveAmountSeparators(amount))) {
        return kAmountNotDigitsMessage;
    }
    return std::nullopt;
}

// The extension ends the stored name: a bracket would be read back as a further amount, a
// separator or line break would leave the folder, and the index book must be able to write it.
std::optional<std::string> RefuseSourceExtension(const std::string& sourcePath) {
    const std::string extension = ExtensionOf(sourcePath);
    if (!HasForbiddenChar(extension)) {
        return std::nullopt;
    }
    if (const std::string character = FirstUnsavableChar(extension); !character.empty()) {
        return UnsavableCharMessage("元ファイルの拡張子", character);
    }
    return "元ファイルの拡張子に使用禁止文字があります。ファイル名を変えてから、もう一度実行して"
           "ください。\n\n 入力不可→　[ ] \\ / : * ?  < > | ";
}

} // namespace

std::optional<std::string> RefuseUncontrolledInputs(const FilingEntry& entry,
                                                    std::span<const std::string> extraAmounts) {
    if (auto refusal = RefuseType(entry.typeName)) {
        return refusal;
    }
    if (auto refusal = RefuseAmountText(entry.amount, false)) {
        return refusal;
    }
    for (const std::string& amount : extraAmounts) {
        if (auto refusal = RefuseAmountText(amount, true)) {
            return refusal;
        }
    }
    return RefuseSourceExtension(entry.sourcePath);
}

} // namespace fmb
