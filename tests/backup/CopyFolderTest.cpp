#include "backup/CopyFolder.h"

#include "jobs/JobMonitor.h"
#include "platform/PathText.h"
#include "platform/TemporaryName.h"
#include "support/FixedClock.h"
#include "support/TempDir.h"
#include "support/TestMounts.h"
#include "support/WholeCopies.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>

namespace fs = std::filesystem;

namespace fmb {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WholeCopies;
using test::WriteBytes;

const std::string kSep(1, kPathSeparator);

// All files and folders below root, as sorted UTF-8 paths relative to it.
std::vector<std::string> Tree(const fs::path& root) {
    std::vector<std::string> items;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        items.push_back(FromFsPath(fs::relative(e.path(), root)) + (e.is_directory() ? "/" : ""));
    }
    std::sort(items.begin(), items.end());
    return items;
}

class CopyFolderTest : public ::testing::Test {
protected:
    void File(const std::string& relative, const std::string& bytes) {
        const fs::path path = U8(m_source + kSep + relative);
        fs::create_directories(path.parent_path());
        WriteBytes(path, bytes);
    }

    TempDir m_dir;
    std::string m_source = m_dir.Child("書類");
    std::string m_backup = BackupFolderPath(m_dir.Child("退避"), "書類(20240105)");
};

TEST_F(CopyFolderTest, CopiesTheContentsWithTimesAndReadOnlyMarksButNoDotNames) {
    File("2022年度/請求書(控)/2022年12月/[2022_12_31][A][500,000].pdf", "pdf-1");
    File("2023年度/領収書/b.pdf", "pdf-2");
    File("2023年度/.git/config", "x");
    File(".hidden-file", "x");
    fs::create_directories(U8(m_source + "/2023年度/空"));
    const fs::path stored =
        U8(m_source + "/2022年度/請求書(控)/2022年12月/[2022_12_31][A][500,000].pdf");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(stored, old);
    fs::permissions(stored, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory(U8(m_dir.Child("退避")));

    const CopyOutcome outcome = CopyFolder(m_source, m_backup);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.message, "コピー終了しました。");
    EXPECT_EQ(outcome.filesCopied, 2u);
    EXPECT_EQ(Tree(U8(m_backup)),
              (std::vector<std::string>{
                  "2022年度/", "2022年度/請求書(控)/", "2022年度/請求書(控)/2022年12月/",
                  "2022年度/請求書(控)/2022年12月/[2022_12_31][A][500,000].pdf", "2023年度/",
                  "2023年度/空/", "2023年度/領収書/", "2023年度/領収書/b.pdf"}));
    const fs::path copy =
        U8(m_backup + "2022年度/請求書(控)/2022年12月/[2022_12_31][A][500,000].pdf");
    EXPECT_EQ(ReadBytes(copy), "pdf-1");
    EXPECT_EQ(fs::last_write_time(copy), old);
    EXPECT_EQ(fs::status(copy).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(CopyFolderTest, ReplacesWritableFilesAndStopsAtAReadOnlyOne) {
    File("2022年度/a.pdf", "new");
    fs::create_directories(U8(m_backup + "2022年度"));
    WriteBytes(U8(m_backup + "2022年度/a.pdf"), "old");
    EXPECT_TRUE(CopyFolder(m_source, m_backup).ok);
    EXPECT_EQ(ReadBytes(U8(m_backup + "2022年度/a.pdf")), "new");

    // The second backup of the day: the earlier one holds the document read-only.
    fs::permissions(U8(m_backup + "2022年度/a.pdf"), fs::perms::all & ~fs::perms::owner_write &
                                                         ~fs::perms::group_write &
                                                         ~fs::perms::others_write);
    File("2022年度/a.pdf", "newer");
    const CopyOutcome outcome = CopyFolder(m_source, m_backup);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message,
              "コピーを途中で中止しました。次のファイルをコピーできませんでした。\n\n" + m_source +
                  "/2022年度/a.pdf\n\nコピー先: " + m_backup +
                  "2022年度/a.pdf\nコピー先に読み取り専用の同じ名前のファイルがあるため、"
                  "置き換えられません。\n\nそれまでにコピーしたファイルはバックアップ先に"
                  "残っています。");
    EXPECT_EQ(ReadBytes(U8(m_backup + "2022年度/a.pdf")), "new");
}

TEST_F(CopyFolderTest, TheFirstFailureStopsTheCopyAndNamesTheItem) {
    // Two files in one folder: whichever comes first in the file system's order is copied or
    // stops the copy; a folder standing where a file should go makes that one fail.
    File("2022年度/a.pdf", "a");
    File("2022年度/b.pdf", "b");
    fs::create_directories(U8(m_backup + "2022年度/b.pdf"));
    CopyOutcome outcome = CopyFolder(m_source, m_backup);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find("\n\n" + m_source + "/2022年度/b.pdf\n\n"), std::string::npos)
        << outcome.message;
    EXPECT_LE(outcome.filesCopied, 1u);
    EXPECT_EQ(fs::exists(U8(m_backup + "2022年度/a.pdf")), outcome.filesCopied == 1);

    // A file standing where a folder should go.
    fs::remove_all(U8(m_backup));
    fs::create_directories(U8(m_backup));
    WriteBytes(U8(m_backup + "2022年度"), "");
    outcome = CopyFolder(m_source, m_backup);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.message.starts_with(
        "コピーを途中で中止しました。次のフォルダを作成できませんでした。\n\n" + m_backup +
        "2022年度/\n\n"))
        << outcome.message;

    // The backup folder's parent is missing: the folder is created one level only.
    outcome = CopyFolder(m_source, m_dir.Child("無い") + kSep + "書類(20240105)");
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find("次のフォルダを作成できませんでした。"), std::string::npos);
}

TEST_F(CopyFolderTest, NeverCopiesTheBackupIntoItself) {
    File("2022年度/a.pdf", "a");
    const std::string inside = BackupFolderPath(m_source + kSep + "退避", "書類(20240105)");
    fs::create_directories(U8(m_source + "/退避"));
    const CopyOutcome outcome = CopyFolder(m_source, inside);
    EXPECT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(Tree(U8(inside)), (std::vector<std::string>{"2022年度/", "2022年度/a.pdf", "退避/"}));
}

TEST_F(CopyFolderTest, FollowsFolderLinksButNotBackUpTheTree) {
    File("2022年度/a.pdf", "a");
    fs::create_directory_symlink(U8(m_source), U8(m_source + "/2022年度/loop"));
    fs::create_directories(U8(m_dir.Child("外")));
    WriteBytes(U8(m_dir.Child("外") + "/c.pdf"), "c");
    fs::create_directory_symlink(U8(m_dir.Child("外")), U8(m_source + "/2023年度"));
    fs::create_directory(U8(m_dir.Child("退避")));
    const CopyOutcome outcome = CopyFolder(m_source, m_backup);
    EXPECT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(Tree(U8(m_backup)), (std::vector<std::string>{"2022年度/", "2022年度/a.pdf",
                                                            "2023年度/", "2023年度/c.pdf"}));
}

TEST_F(CopyFolderTest, RefusesCopiesThatCannotStart) {
    File("2022年度/a.pdf", "a");
    const struct {
        std::string source;
        std::string backup;
        std::string message;
    } cases[] = {
        {"", m_backup, "コピー対象フォルダが指定されていません。"},
        {m_source, "", "コピー先フォルダとバックアップ フォルダ名が指定されていません。"},
        {m_dir.Child("無い"), m_backup,
         "コピー対象フォルダが見つかりません。\n\n" + m_dir.Child("無い")},
        {m_source, m_source + kSep,
         "コピー対象フォルダがバックアップ先のフォルダと同じか、その中にあるため、コピーできません"
         "。"
         "\n\nコピー対象: " +
             m_source + "\nバックアップ先: " + m_source + kSep},
        {m_source + "/2022年度", m_dir.Text(true),
         "コピー対象フォルダがバックアップ先のフォルダと同じか、その中にあるため、コピーできません"
         "。"
         "\n\nコピー対象: " +
             m_source + "/2022年度\nバックアップ先: " + m_dir.Text(true)},
    };
    for (const auto& c : cases) {
        const auto before = Tree(m_dir.Path());
        const CopyOutcome outcome = CopyFolder(c.source, c.backup);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(Tree(m_dir.Path()), before) << c.message;
    }
}

constexpr fs::perms kReadOnly =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

TEST_F(CopyFolderTest, AFullDiskKeepsTheCopyItWasToReplace) {
    test::TmpfsMount disk(512 * 1024);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Why();
    }
    File("2022年度/book.csv", std::string(1024 * 1024, 'n'));
    const std::string backup = disk.Text() + kSep + "書類(20240105)" + kSep;
    fs::create_directories(U8(backup + "2022年度"));
    WriteBytes(U8(backup + "2022年度/book.csv"), "old book");

    const CopyOutcome outcome = CopyFolder(m_source, backup);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find("ディスクの空き容量が足りません。"), std::string::npos)
        << outcome.message;
    EXPECT_EQ(ReadBytes(U8(backup + "2022年度/book.csv")), "old book");
    EXPECT_EQ(Tree(U8(backup)), (std::vector<std::string>{"2022年度/", "2022年度/book.csv"}));
}

TEST_F(CopyFolderTest, AKilledBackupLeavesNoCopyCutShort) {
    const std::string data(2 * 1024 * 1024, 'd');
    File("2022年度/a.pdf", data);
    fs::permissions(U8(m_source + "/2022年度/a.pdf"), kReadOnly);
    fs::create_directory(U8(m_dir.Child("退避")));

    // The backup process dies in the middle of the file, as by kill -9.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        const struct rlimit limit = {1024 * 1024, 1024 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(CopyFolder(m_source, m_backup).ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_FALSE(fs::exists(U8(m_backup + "2022年度/a.pdf")));

    // The next backup into that folder copies the file whole and marks it read-only.
    const CopyOutcome outcome = CopyFolder(m_source, m_backup);
    EXPECT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(ReadBytes(U8(m_backup + "2022年度/a.pdf")), data);
    EXPECT_EQ(fs::status(U8(m_backup + "2022年度/a.pdf")).permissions() & fs::perms::all,
              kReadOnly);
    // What the killed run left is a temporary the backups and the index book pass over.
    for (const auto& entry : fs::directory_iterator(U8(m_backup + "2022年度"))) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "a.pdf" || IsTemporaryName(name)) << name;
    }
}

TEST_F(CopyFolderTest, NeverWritesThroughALinkInTheBackup) {
    File("2022年度/book.csv", "new book");
    File("2023年度/a.pdf", "a");
    const std::string victim = m_dir.Child("victim.txt");
    WriteBytes(U8(victim), "elsewhere");
    fs::create_directories(U8(m_backup + "2022年度"));
    fs::create_symlink(U8(victim), U8(m_backup + "2022年度/book.csv"));

    CopyOutcome outcome = CopyFolder(m_source, m_backup);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find("\n\n" + m_source +
                                   "/2022年度/book.csv\n\nコピー先: " + m_backup +
                                   "2022年度/book.csv\nコピー先の同じ名前の項目がリンク"),
              std::string::npos)
        << outcome.message;
    EXPECT_EQ(ReadBytes(U8(victim)), "elsewhere");
    EXPECT_TRUE(fs::is_symlink(U8(m_backup + "2022年度/book.csv")));

    // A folder of the backup that is a link to a folder elsewhere.
    fs::remove_all(U8(m_backup));
    const std::string elsewhere = m_dir.Child("elsewhere");
    fs::create_directories(U8(elsewhere));
    fs::create_directories(U8(m_backup));
    fs::create_directory_symlink(U8(elsewhere), U8(m_backup + "2023年度"));
    fs::remove_all(U8(m_source + "/2022年度"));
    outcome = CopyFolder(m_source, m_backup);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.message.starts_with(
        "コピーを途中で中止しました。次のコピー先フォルダはリンクのため、コピーできませんでした。"
        "\n\n" +
        m_backup + "2023年度/\n\n"))
        << outcome.message;
    EXPECT_TRUE(fs::is_empty(U8(elsewhere)));
}

TEST(BackupNames, DefaultNameAndFolder) {
    const test::FixedClock clock({2024, 1, 5});
    EXPECT_EQ(DefaultBackupName("/data/書類", clock), "書類(20240105)");
    EXPECT_EQ(DefaultBackupName("/data/書類/", clock), "(20240105)");
    EXPECT_EQ(BackupFolderPath("/mnt/退避", "書類(20240105)"), "/mnt/退避/書類(20240105)/");
    EXPECT_EQ(BackupFolderPath("/mnt/退避/", "書類(20240105)"), "/mnt/退避/書類(20240105)/");
    EXPECT_EQ(BackupFolderPath("", "書類(20240105)"), "書類(20240105)/");
}

// A watcher that stops the copy at a chosen point of its own reports, so that the point is the
// same in every run: once the count has ended and `files` files are done, or, with bytes set,
// once that many bytes are done (in the middle of a file larger than a block).
class StopAt final : public JobMonitor {
public:
    static StopAt Files(std::uint64_t files) { return StopAt(files, 0); }
    static StopAt Bytes(std::uint64_t bytes) { return StopAt(0, bytes); }

    bool CancelRequested() const override {
        const JobSnapshot now = Snapshot();
        return now.totalFinal && now.itemsDone >= m_files && now.bytesDone >= m_bytes;
    }

private:
    StopAt(std::uint64_t files, std::uint64_t bytes) : m_files(files), m_bytes(bytes) {}

    std::uint64_t m_files;
    std::uint64_t m_bytes;
};

std::string Numbered(int i) {
    return std::string(static_cast<std::size_t>(1000 + i * 37), static_cast<char>('a' + i));
}

TEST_F(CopyFolderTest, StoppedAfterEachOfTheFirstFilesKeepsExactlyThoseWholeAndSaysHowFar) {
    constexpr int kFiles = 8;
    for (int i = 0; i < kFiles; ++i) {
        File((i % 2 ? "2022年度/請求書/" : "2023年度/") + std::to_string(i) + ".pdf", Numbered(i));
    }
    for (int stopAfter = 0; stopAfter < kFiles; ++stopAfter) {
        SCOPED_TRACE(stopAfter);
        fs::remove_all(U8(m_dir.Child("退避")));
        fs::create_directory(U8(m_dir.Child("退避")));
        StopAt monitor = StopAt::Files(static_cast<std::uint64_t>(stopAfter));
        const CopyOutcome outcome = CopyFolder(m_source, m_backup, &monitor);
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(outcome.cancelled);
        EXPECT_EQ(outcome.filesCopied, static_cast<std::size_t>(stopAfter));
        EXPECT_EQ(outcome.message,
                  std::to_string(stopAfter) + " / 8 ファイルをコピーしました。中止しました。");
        EXPECT_EQ(WholeCopies(m_backup, m_source).size(), static_cast<std::size_t>(stopAfter));
        // Stopped before the first file: nothing at all is made.
        EXPECT_EQ(fs::exists(U8(m_backup)), stopAfter > 0);
        const JobSnapshot last = monitor.Snapshot();
        EXPECT_EQ(last.itemsTotal, 8u);
        EXPECT_TRUE(last.currentItem.empty());
    }
}

TEST_F(CopyFolderTest, StoppedInTheMiddleOfALargeFileRemovesItsUnfinishedCopy) {
    File("2022年度/小さい.pdf", "small");
    std::string large(40u << 20, '\0');
    for (std::size_t i = 0; i < large.size(); i += 4096) {
        large[i] = static_cast<char>(i / 4096);
    }
    File("2022年度/大きい.pdf", large);
    fs::create_directory(U8(m_dir.Child("退避")));
    // Past the small file and one block of the large one, whichever comes first.
    StopAt monitor = StopAt::Bytes((4u << 20) + 5);
    const CopyOutcome outcome = CopyFolder(m_source, m_backup, &monitor);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_LT(monitor.Snapshot().bytesDone, large.size()) << "stopped within the large file";
    const std::vector<std::string> copies = WholeCopies(m_backup, m_source);
    EXPECT_EQ(copies.size(), outcome.filesCopied);
    EXPECT_EQ(std::count(copies.begin(), copies.end(), "2022年度/大きい.pdf"), 0);
    EXPECT_EQ(outcome.message, std::to_string(outcome.filesCopied) +
                                   " / 2 ファイルをコピーしました。中止しました。");
}

TEST_F(CopyFolderTest, AStopDuringTheCountMakesNothingAndAFinishedCopyIsNotCancelled) {
    File("a.pdf", "a");
    File("b.pdf", "b");
    fs::create_directory(U8(m_dir.Child("退避")));
    JobMonitor stopped;
    stopped.RequestCancel();
    const CopyOutcome outcome = CopyFolder(m_source, m_backup, &stopped);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.message, "0 / 0 ファイルをコピーしました。中止しました。");
    EXPECT_FALSE(fs::exists(U8(m_backup)));

    JobMonitor watched;
    const CopyOutcome done = CopyFolder(m_source, m_backup, &watched);
    EXPECT_TRUE(done.ok);
    EXPECT_FALSE(done.cancelled);
    EXPECT_EQ(done.message, kBackupDoneMessage);
    const JobSnapshot last = watched.Snapshot();
    EXPECT_EQ(last.itemsDone, 2u);
    EXPECT_EQ(last.itemsTotal, 2u);
    EXPECT_EQ(last.bytesDone, 2u);
    EXPECT_EQ(last.bytesTotal, 2u);
    EXPECT_TRUE(last.totalFinal);
}

} // namespace
} // namespace fmb
