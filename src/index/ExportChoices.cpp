#include "index/ExportChoices.h"

#include "index/CCsvOut.h"
#include "platform/DateText.h"
#include "platform/PathText.h"

namespace fmb {

std::string DefaultIndexBookName(std::string_view targetFolder, const Clock& clock) {
    return LastComponent(targetFolder) + "_索引簿(作成日" + TodayText(clock) + ").csv";
}

std::string IndexBookPath(std::string_view outputFolder, std::string_view fileName) {
    return WithTrailingSeparator(outputFolder) + std::string(fileName);
}

std::optional<ExportRefusal> CheckExportFields(std::string_view target,
                                               std::string_view outputFolder,
                                               std::string_view fileName) {
    if (target.empty()) {
        return ExportRefusal{ExportField::Target, std::string(kNoTargetFolderMessage)};
    }
    // A relative folder would be looked for in whatever folder the program was started from.
    if (!ToFsPath(target).is_absolute()) {
        return ExportRefusal{ExportField::Target,
                             "リスト化対象フォルダ（年度）は「参照」ボタンで選択するか、"
                             "フルパスで指定してください。\n\n" +
                                 std::string(target)};
    }
    if (outputFolder.empty()) {
        return ExportRefusal{ExportField::OutputFolder,
                             "出力フォルダ名が指定されていません。\n"
                             "索引簿CSVファイルを書き込むフォルダを指定してください。"};
    }
    if (!ToFsPath(outputFolder).is_absolute()) {
        return ExportRefusal{ExportField::OutputFolder,
                             "出力フォルダ名は「参照」ボタンで選択するか、"
                             "フルパスで指定してください。\n\n" +
                                 std::string(outputFolder)};
    }
    if (fileName.empty()) {
        return ExportRefusal{ExportField::FileName, "出力ファイル名(CSV)が指定されていません。\n"
                                                    "索引簿CSVファイルの名前を指定してください。"};
    }
    return std::nullopt;
}

LinkChoice ChooseLinks(std::string_view target, std::string_view outputFolder, bool relative) {
    if (!relative) {
        return {};
    }
    std::string base = WithTrailingSeparator(outputFolder);
    // Only a target that begins with the base gives relative paths: anywhere else in the target
    // the base would leave every path of the book empty.
    if (!base.empty() && target.starts_with(base)) {
        return {std::move(base), false};
    }
    return {{}, true};
}

} // namespace fmb
