#include "settings/CompanyNameRules.h"

#include "filing/EntryValidation.h"
#include "platform/Cp932.h"
#include "settings/SaveMessages.h"

#include <algorithm>

namespace fmb {

std::optional<std::string> RefuseCompanyToAdd(const std::string& name,
                                              const std::vector<std::string>& listed) {
    if (name.empty())
        return "社名を入力してください。";
    if (std::find(listed.begin(), listed.end(), name) != listed.end())
        return "同じ社名が、すでにリストにあります。";
    return RefuseCompanyToReplace(name);
}

std::optional<std::string> RefuseCompanyToReplace(const std::string& name) {
    const std::string character = FirstUnsavableChar(name);
    if (!character.empty())
        return "社名に、保存できない文字" + ShownChar(character) +
               "が含まれています。\n\nこの文字を別の文字に替えてから、もう一度押してください。";
    // A name picked from the list must pass 実行 as it stands.
    return RefuseCompanyChars(name);
}

std::optional<std::string> RefuseTypeName(const std::string& name) {
    // As a folder name, "." would file the type's documents into the fiscal-year folder and ".."
    // beside it.
    if (name == "." || name == "..")
        return "種類名に「.」や「..」は使えません。修正してください。";
    if (!cp932::IsRepresentable(name) || !HasForbiddenChar(name))
        return std::nullopt;
    return "種類名に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > "
           "| ";
}

} // namespace fmb
