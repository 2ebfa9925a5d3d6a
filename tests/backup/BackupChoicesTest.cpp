#include "backup/BackupChoices.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

TEST(BackupChoicesTest, TheExistingFolderQuestionEndsWithThePath) {
    EXPECT_EQ(ExistingBackupQuestion("/退避/書類(20240105)/"),
              "すでに該当フォルダが存在します。データをそのフォルダにコピーしてよろしいですか？ "
              "\n\n※「キャンセル」して「バックアップ フォルダ名」に変更を加えて再度実行する"
              "ことを、お勧めします\n\n/退避/書類(20240105)/");
}

TEST(BackupChoicesTest, TheDestinationMustBeAFullPath) {
    const test::TempDir dir;
    EXPECT_EQ(CheckBackupDestination(dir.Text()), std::nullopt);
    EXPECT_EQ(CheckBackupDestination(dir.Text(true)), std::nullopt);
    const auto empty = CheckBackupDestination("");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->rfind("コピー先フォルダが指定されていません。", 0), 0u);
    const auto relative = CheckBackupDestination("退避");
    ASSERT_TRUE(relative.has_value());
    EXPECT_EQ(*relative,
              "コピー先フォルダは「参照」ボタンで選択するか、フルパスで指定してください。\n\n退避");
    const std::string missing = dir.Child("退避");
    EXPECT_EQ(CheckBackupDestination(missing), "コピー先フォルダが見つかりません。\n\n" + missing);
}

TEST(BackupChoicesTest, TheNameIsOneFolderName) {
    for (const char* name : {"書類(20240105)", "(20240105)", "...", ".退避", "a b"}) {
        EXPECT_EQ(CheckBackupName(name), std::nullopt) << name;
    }
    for (const std::string name : {"", ".", "..", "../外", "a/b", "/abs", "a\\b", "x/"}) {
        EXPECT_EQ(CheckBackupName(name),
                  "バックアップ フォルダ名には、フォルダ名を一つだけ指定してください。\n"
                  "「/」や「\\」を含む名前、「.」「..」、空の名前は使えません。\n\n" +
                      name)
            << name;
    }
}

} // namespace
} // namespace fmb
