#include "settings/SaveMessages.h"

#include "platform/Cp932.h"

#include <vector>

namespace fmb {
namespace {

std::string WriteFailedText(const std::string& file, const std::string& path) {
    return file + "に保存できませんでした。\n" + path +
           "\n\nこのフォルダに書き込めるか（同じ名前のフォルダがないか）を確かめてから、"
           "もう一度保存してください。";
}

} // namespace

std::string FirstUnsavableChar(std::string_view text) {
    const auto lineBreak = text.find_first_of("\r\n");
    std::string found = cp932::FirstUnrepresentable(text.substr(0, lineBreak));
    if (found.empty() && lineBreak != std::string_view::npos) {
        found = text[lineBreak];
    }
    return found;
}

std::string ShownChar(const std::string& character) {
    if (character == "\r" || character == "\n")
        return "（改行）";
    return "「" + character + "」";
}

std::string SaveFailureMessage(const CFMBData& settings, SaveResult result) {
    if (result == SaveResult::UnrepresentableText &&
        FirstUnsavableChar(settings.COPY_SAKI_DIR).empty()) {
        return "処理担当者に、設定ファイル（FMB_Setting.ini）に保存できない文字" +
               ShownChar(FirstUnsavableChar(settings.SYORI_TANTOUSYA)) +
               "が含まれています。\n\nこの文字を別の文字に替えてから、もう一度保存してください。";
    }
    if (result == SaveResult::UnrepresentableText) {
        return "保存先フォルダの名前に、設定ファイル（FMB_Setting.ini）に保存できない文字" +
               ShownChar(FirstUnsavableChar(settings.COPY_SAKI_DIR)) +
               "が含まれています。\n\nこの文字を含まない名前のフォルダを指定してください。";
    }
    return WriteFailedText("設定ファイル（FMB_Setting.ini）", settings.IniPath());
}

std::string SaveFailureMessage(const CFMBSyameiData& types, SaveResult result) {
    if (result == SaveResult::UnrepresentableText) {
        // Name the first text that holds such a character, so the user knows what to change.
        for (int slot = 0; slot < types.TypeCount(); ++slot) {
            std::vector<std::string> texts{types.TypeName(slot)};
            std::vector<std::string> companies;
            types.GetCompanyNames(slot, companies);
            texts.insert(texts.end(), companies.begin(), companies.end());
            for (std::size_t k = 0; k < texts.size(); ++k) {
                const std::string character = FirstUnsavableChar(texts[k]);
                if (character.empty())
                    continue;
                const std::string where =
                    k == 0 ? "種類名「" + texts[k] + "」"
                           : "種類「" + texts[0] + "」の社名「" + texts[k] + "」";
                return where + "に、種類・社名ファイル（FMB_Corp.ini）に保存できない文字" +
                       ShownChar(character) +
                       "が含まれています。\n\nこの文字を別の文字に替えてから、もう一度保存して"
                       "ください。";
            }
        }
    }
    return WriteFailedText("種類・社名ファイル（FMB_Corp.ini）", types.IniPath());
}

} // namespace fmb
