#include "cli/StorageCommands.h"

#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "support/FixedClock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace fmb::cli {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WriteBytes;

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

CommandRun Index(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunIndex(args, out, err);
    return {status, out.str(), err.str()};
}

CommandRun Backup(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunBackup(args, out, err, test::FixedClock({2024, 1, 5}));
    return {status, out.str(), err.str()};
}

class StorageCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path folder = U8(m_year + "/請求書");
        fs::create_directories(folder);
        WriteBytes(folder / U8("[20230315][A][100][200].pdf"), "pdf");
        fs::permissions(folder / U8("[20230315][A][100][200].pdf"),
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        fs::create_directories(U8(m_dir.Child("退避")));
    }

    TempDir m_dir;
    std::string m_root = m_dir.Child("書類");
    std::string m_year = m_root + "/2022年度";
    std::string m_csv = m_dir.Child("book.csv");
};

TEST_F(StorageCommandsTest, IndexWritesTheBookAndTellsTheRows) {
    CommandRun run = Index({m_year, m_csv});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "出力処理を終了しました。\n行数: 2\n");
    EXPECT_NE(cp932::Decode(ReadBytes(U8(m_csv))).utf8.find("\"" + m_year + "/請求書/"),
              std::string::npos);

    run = Index({m_year, m_csv, "--link-base", m_root});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(cp932::Decode(ReadBytes(U8(m_csv)))
                  .utf8.find(",\"2022年度/請求書/[20230315][A][100][200].pdf\",=HYPERLINK(G3)\n"),
              std::string::npos);
}

TEST_F(StorageCommandsTest, IndexTellsOfFoldersItCouldNotReadAndExitsWithStatusOne) {
    fs::create_directory_symlink("loop", U8(m_year + "/loop"));
    const CommandRun run = Index({m_year, m_csv});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "出力処理を終了しました。\n\n読み取れなかったフォルダが 1 個あります。"
                       "その中の書類は索引簿に載っていません。\n\n最初のフォルダ: " +
                           m_year + "/loop/\nリンクが循環しています。\n行数: 2\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(StorageCommandsTest, IndexFailuresExitWithTheMessage) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string errStart;
    } cases[] = {
        {{"", m_csv}, 1, "リスト化対象フォルダが指定されていません。"},
        {{"", m_csv, "--link-base", m_root}, 1, "リスト化対象フォルダが指定されていません。"},
        {{m_year, m_dir.Child("無い/book.csv")}, 1, "索引簿ファイルを作成できませんでした。"},
        {{m_dir.Child("無い"), m_csv}, 1, "リスト化対象フォルダが見つかりません。"},
        {{m_year, m_csv, "--link-base", m_dir.Child("他")}, 1, "相対パスで出力できません。"},
        {{m_year, m_csv, "--link-base"}, 2, "fumibako-cli: option --link-base needs a value"},
        {{m_year, m_csv, "--relative"}, 2, "fumibako-cli: unknown option --relative"},
        {{m_year}, 2, "fumibako-cli: index needs TARGET_FOLDER and OUTPUT_CSV"},
    };
    for (const auto& c : cases) {
        const CommandRun run = Index(c.args);
        EXPECT_EQ(run.status, c.status) << c.errStart;
        EXPECT_TRUE(run.err.starts_with(c.errStart)) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(U8(m_csv)));
}

TEST_F(StorageCommandsTest, BackupCopiesIntoTheDatedFolderAndRefusesAnExistingOne) {
    CommandRun run = Backup({m_root, m_dir.Child("退避")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "コピー終了しました。\n");
    const std::string copied =
        m_dir.Child("退避/書類(20240105)/2022年度/請求書/[20230315][A][100][200].pdf");
    EXPECT_EQ(ReadBytes(U8(copied)), "pdf");

    run = Backup({m_root, m_dir.Child("退避")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("すでに該当フォルダが存在します。\n\n" +
                                    m_dir.Child("退避/書類(20240105)/")))
        << run.err;

    // Into the existing folder, the copy stops at the read-only document filed there before.
    run = Backup({m_root, m_dir.Child("退避"), "--into-existing"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("\n\nコピー先: " + copied + "\n"), std::string::npos) << run.err;

    run = Backup({m_year, m_dir.Child("退避"), "--name=年度分"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(U8(m_dir.Child("退避/年度分/請求書"))));
}

TEST_F(StorageCommandsTest, BackupFailuresExitWithTheMessage) {
    const std::string kNotOneName =
        "バックアップ フォルダ名には、フォルダ名を一つだけ指定してください。";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string errStart;
    } cases[] = {
        {{"", m_dir.Child("退避")}, 1, "コピー対象フォルダが指定されていません。"},
        {{m_dir.Child("無い"), m_dir.Child("退避")}, 1, "コピー対象フォルダが見つかりません。"},
        {{m_root, m_dir.Child("退避"), "--name"}, 2, "fumibako-cli: option --name needs a value"},
        {{m_root, m_dir.Child("退避"), "-f"}, 2, "fumibako-cli: unknown option -f"},
        {{m_root}, 2, "fumibako-cli: backup needs SOURCE_FOLDER and DEST_FOLDER"},
        // The name must be one folder inside DEST_FOLDER.
        {{m_root, m_dir.Child("退避"), "--name", "../外"}, 1, kNotOneName},
        {{m_root, m_dir.Child("退避"), "--name", "a/b"}, 1, kNotOneName},
        {{m_root, m_dir.Child("退避"), "--name", ".."}, 1, kNotOneName},
        {{m_root, m_dir.Child("退避"), "--name", "."}, 1, kNotOneName},
        {{m_root, m_dir.Child("退避"), "--name", ""}, 1, kNotOneName},
    };
    for (const auto& c : cases) {
        const CommandRun run = Backup(c.args);
        EXPECT_EQ(run.status, c.status) << c.errStart;
        EXPECT_TRUE(run.err.starts_with(c.errStart)) << run.err;
    }
    EXPECT_TRUE(fs::is_empty(U8(m_dir.Child("退避"))));
    EXPECT_FALSE(fs::exists(U8(m_dir.Child("外"))));
}

TEST_F(StorageCommandsTest, ProgressGoesToStandardErrorOnlyWhenAskedAndIsClearedAtTheEnd) {
    // Standard error is no terminal here: no progress unless --progress forces it. The job
    // ends before the first refresh, so the forced line is only cleared again.
    const struct {
        std::vector<std::string> options;
        std::string err;
    } cases[] = {
        {{}, ""},
        {{"--quiet"}, ""},
        {{"--progress"}, "\r\033[K"},
        {{"--progress", "--quiet"}, ""},
    };
    int n = 0;
    for (const auto& c : cases) {
        std::vector<std::string> index = c.options;
        index.insert(index.end(), {m_year, m_csv});
        const CommandRun indexRun = Index(index);
        EXPECT_EQ(indexRun.status, 0) << indexRun.err;
        EXPECT_EQ(indexRun.err, c.err);

        std::vector<std::string> backup = c.options;
        backup.insert(backup.end(),
                      {"--name", "b" + std::to_string(n++), m_root, m_dir.Child("退避")});
        const CommandRun backupRun = Backup(backup);
        EXPECT_EQ(backupRun.status, 0) << backupRun.err;
        EXPECT_EQ(backupRun.err, c.err);
    }
}

} // namespace
} // namespace fmb::cli
