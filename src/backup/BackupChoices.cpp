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

std::optional<std::string> CheckBackupName(std::string_view name) {
    // Both separators are refused on every system: a name typed for one must not become a path on
    // the other.
    const bool oneName = !name.empty() && name != "." && name != ".." &&
                         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
    if (oneName) {
        return std::nullopt;
    }
    return "バックアップ フォルダ名には、フォルダ名を一つだけ指定してください。\n"
           "「/」や「\\」を含む名前、「.」「..」、空の名前は使えません。\n\n" +
           std::string(name);
}

} // namespace fmb
