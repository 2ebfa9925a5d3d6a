#include "backup/BackupChoices.h"

#include "platform/PathText.h"

#include <filesystem>
#include <system_error>

namespace fmb {

std::string ExistingBackupQuestion(std::string_view backupFolder) {
    return "すでに該当フォルダが存在します。データをそのフォルダにコピーしてよろしいですか？ \n\n"
           "※「キャンセル」して「バックアップ フォルダ名」に変更を加えて再度実行することを、"
           "お勧めします\n\n" +
           std::string(backupFolder);
}

std::optional<std::string> CheckBackupDestination(std::string_view destination) {
    if (destination.empty()) {
        return "コピー先フォルダが指定されていません。\n"
               "「参照」ボタンを押して、バックアップを作るフォルダを選択してください。";
    }
    if (!ToFsPath(destination).is_absolute()) {
        return "コピー先フォルダは「参照」ボタンで選択するか、フルパスで指定してください。\n\n" +
               std::string(destination);
    }
    std::error_code error;
    if (!std::filesystem::is_directory(ToFsPath(destination), error)) {
        return "コピー先フォルダが見つかりません。\n\n" + std::string(destination);
    }
    return std::nullopt;
}

} // namespace fmb
