#include "settings/SettingRules.h"

#include "filing/Composition.h"
#include "platform/PathText.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fmb {
namespace {

// The document the example shows as filed: a 請求書(控) from (株)〇〇商事 for 500,000, dated
// 31 December of the given year.
FilingEntry ExampleEntry(int year) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d1231", year);
    FilingEntry entry;
    entry.sourcePath = "example.pdf";
    entry.typeName = "請求書(控)";
    entry.date = date;
    entry.company = "(株)〇〇商事";
    entry.amount = "500000";
    return entry;
}

} // namespace

SettingExample MakeSettingExample(const CFMBData& choices, int year) {
    const FilingEntry entry = ExampleEntry(year);
    SettingExample example;
    example.fileName = "例 : " + ComposeDestination(entry, choices).fileName;
    if (choices.COPY_SAKI_DIR.empty())
        return example;
    // The root as typed heads the tree, so a final separator shows as the user wrote it.
    example.folders = {choices.COPY_SAKI_DIR};
    for (std::string& level : FolderLevels(entry, choices))
        example.folders.push_back(std::move(level));
    return example;
}

std::optional<SettingRefusal> ValidateSettings(const CFMBData& settings) {
    const std::string& root = settings.COPY_SAKI_DIR;
    // Documents are filed into folders below the root, so a file of that name will not do.
    std::error_code error;
    if (!root.empty() && !std::filesystem::is_directory(ToFsPath(root), error)) {
        return SettingRefusal{std::nullopt, "保存先フォルダが存在しません\n"
                                            "存在する保存先フォルダを指定してください。"};
    }
    if (root.empty()) {
        return SettingRefusal{SettingField::Root, "「保存先フォルダ」が未選択です。「参照」ボタン"
                                                  "を押して、選択してください。"};
    }
    if (settings.NEND_END_M < 1 || settings.NEND_END_M > 12) {
        return SettingRefusal{SettingField::Month,
                              "「年度末(月)」は1～12を半角数字で入力してください。"};
    }
    return std::nullopt;
}

SaveResult CompleteTypes(CFMBSyameiData& types) {
    if (types.TypeCount() == 0) {
        types.SetDefaultTypes();
        types.ExtendTypes();
        return types.WriteIni();
    }
    if (types.TypeCount() == 12) {
        types.ExtendTypes();
        return types.WriteIni();
    }
    return SaveResult::Saved;
}

} // namespace fmb
