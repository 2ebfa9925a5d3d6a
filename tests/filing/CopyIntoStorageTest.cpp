#include "filing/CopyIntoStorage.h"
#include "filing/ExclusiveFileCopy.h"

#include "platform/Cp932.h"
#include "platform/ErrorText.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/TemporaryName.h"
#include "support/TestMounts.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include <chrono>
#include <filesystem>
#include <random>
#include <vector>

namespace fmb {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kSep(1, kPathSeparator);

const char* const kSourceMissing =
    "コピー元ファイルがありません。\n再度コピー元ファイルを指定してください";
const char* const kNameTaken =
    "コピー先に同じファイル名のファイルがあります。\n\n「備考」の文字列を変更"
    "することにより、ファイル名を変更できます。";
const char* const kRootMissing =
    "コピー先フォルダが存在しません\n「設定」ボタンを押下して、存在する保存"
    "先フォルダを指定してください。";
const char* const kFolderFailed =
    "コピーに失敗しました。\n\n[ERR:32]コピー先フォルダの自動生成に失敗しました。";
const char* const kCopyFailed = "コピーに失敗しました。[ERR:01]";
const char* const kSourceTooLong =
    "コピーに失敗しました。\n\n[ERR:02]コピー元ファイル名（プルパス）の文字数オーバーです";
const char* const kDestinationTooLong =
    "コピーに失敗しました。\n\n[ERR:03]コピー先フォルダ名 + コピー先ファイル名の文字数オーバーです";

// A regular file whose reading fails at once: the copy fails after its destination was created.
const char* const kUnreadableFile = "/proc/self/mem";

class RecordingReporter final : public Reporter {
public:
    void Notify(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

struct stat StatusOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status;
}

std::vector<fs::path> TreeOf(const fs::path& folder) {
    std::vector<fs::path> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        entries.push_back(entry.path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// Runs call (which returns a result of CopyIntoStorage, 0 or negative) in a child process whose
// files may grow to at most fileSizeLimit bytes. With the size signal left at its default, the
// child is killed the moment a write crosses the limit, as by kill -9 in the middle of the copy;
// ignored, the write fails with EFBIG instead. Returns the child's wait status; the child exits
// with the result's absolute value.
int RunLimitedChild(const std::function<CopyResult()>& call, rlim_t fileSizeLimit,
                    bool killAtLimit) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, killAtLimit ? SIG_DFL : SIG_IGN);
        const struct rlimit limit = {fileSizeLimit, fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(-static_cast<int>(call()));
    }
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    return status;
}

void SetModified(const fs::path& path, std::chrono::hours age) {
    const auto when = std::chrono::system_clock::now() - age;
    const struct timespec times[2] = {{0, UTIME_OMIT},
                                      {std::chrono::system_clock::to_time_t(when), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

class CopyIntoStorageTest : public ::testing::Test {
protected:
    CopyIntoStorageTest() {
        fs::create_directories(U8(m_root));
        fs::create_directories(m_temp.Path() / "scan");
        WriteBytes(U8(m_source), "%PDF-1.4 請求書");
        // A modification time with nanoseconds, far from now, so keeping it is visible.
        const struct timespec times[2] = {{1600000000, 0}, {1600000000, 123456789}};
        ::utimensat(AT_FDCWD, U8(m_source).c_str(), times, 0);
    }

    CopyResult File(const std::string& folder, const std::string& name) {
        return CopyIntoStorage(m_source, m_root, folder, name, m_reporter);
    }

    TempDir m_temp;
    std::string m_root = m_temp.Child("書類");
    std::string m_source = m_temp.Child("scan" + kSep + "doc001.pdf");
    std::string m_folder =
        m_root + kSep + "2022年度" + kSep + "請求書(控)" + kSep + "2022年12月" + kSep;
    std::string m_name = "[2022_12_31][〇〇商事(株)][500,000].pdf";
    RecordingReporter m_reporter;
};

TEST_F(CopyIntoStorageTest, FilesAReadOnlyCopyCreatingMissingLevels) {
    ASSERT_EQ(File(m_folder, m_name), CopyResult::Filed);
    EXPECT_THAT(m_reporter.messages, IsEmpty());

    const fs::path stored = U8(m_folder + m_name);
    EXPECT_EQ(ReadBytes(stored), "%PDF-1.4 請求書");
    const struct stat status = StatusOf(stored);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_mode & 07777, 0444u);
    EXPECT_EQ(status.st_mtim.tv_sec, 1600000000);
    EXPECT_EQ(status.st_mtim.tv_nsec, 123456789);
    // The source is left as it was.
    EXPECT_EQ(ReadBytes(U8(m_source)), "%PDF-1.4 請求書");
    EXPECT_EQ(StoredFilePath(m_folder, m_name), m_folder + m_name);
    EXPECT_EQ(StoredFilePath(m_root, m_name), m_root + kSep + m_name);
}

TEST_F(CopyIntoStorageTest, NeverReplacesWhatIsStored) {
    ASSERT_EQ(File(m_folder, m_name), CopyResult::Filed);
    const fs::path stored = U8(m_folder + m_name);
    const struct stat before = StatusOf(stored);

    WriteBytes(U8(m_source), "another document");
    EXPECT_EQ(File(m_folder, m_name), CopyResult::NameTaken);
    EXPECT_THAT(m_reporter.messages, ElementsAre(kNameTaken));
    EXPECT_EQ(ReadBytes(stored), "%PDF-1.4 請求書");
    const struct stat after = StatusOf(stored);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);

    // A folder, or a link pointing nowhere, of the same name is a clash as well.
    m_reporter.messages.clear();
    fs::create_directories(U8(m_folder + "folder.pdf"));
    fs::create_symlink(m_temp.Path() / "elsewhere.pdf", U8(m_folder + "link.pdf"));
    EXPECT_EQ(File(m_folder, "folder.pdf"), CopyResult::NameTaken);
    EXPECT_EQ(File(m_folder, "link.pdf"), CopyResult::NameTaken);
    EXPECT_THAT(m_reporter.messages, ElementsAre(kNameTaken, kNameTaken));
    EXPECT_FALSE(fs::exists(m_temp.Path() / "elsewhere.pdf"));
}

TEST_F(CopyIntoStorageTest, EmptyInputs) {
    struct Case {
        std::string source, root, folder, name;
        CopyResult code;
        const char* message;
    };
    const Case cases[] = {
        {"", m_root, m_folder, m_name, CopyResult::NoSourcePath, "コピー元ファイル名がありません"},
        {m_source, "", m_folder, m_name, CopyResult::NoStorageRoot,
         "コピー先が指定されていません\n「設定」ボタンを押下して、保存先フォルダを指定してください"
         "。"},
        {m_source, m_root, "", m_name, CopyResult::NoDestinationFolder,
         "コピー先が指定されていません\n"},
        {m_source, m_root, m_folder, "", CopyResult::NoFileName,
         "コピー先ファイル名はありません。\n日時、取引先、金額の入力を確認してください。"},
    };
    for (const Case& c : cases) {
        RecordingReporter reporter;
        EXPECT_EQ(CopyIntoStorage(c.source, c.root, c.folder, c.name, reporter), c.code);
        EXPECT_THAT(reporter.messages, ElementsAre(c.message));
    }
    EXPECT_THAT(TreeOf(U8(m_root)), IsEmpty());
}

TEST_F(CopyIntoStorageTest, SourceMustBeAFile) {
    const std::string folderSource = m_temp.Child("scan");
    for (const std::string& source : {m_temp.Child("gone.pdf"), folderSource}) {
        RecordingReporter reporter;
        EXPECT_EQ(CopyIntoStorage(source, m_root, m_folder, m_name, reporter),
                  CopyResult::SourceMissing)
            << source;
        EXPECT_THAT(reporter.messages, ElementsAre(kSourceMissing));
    }
    // Refused before any folder is made.
    EXPECT_THAT(TreeOf(U8(m_root)), IsEmpty());
}

TEST_F(CopyIntoStorageTest, StorageRootIsNeverCreated) {
    const std::string missingRoot = m_temp.Child("removed");
    const std::string folder = missingRoot + kSep + "2022年度" + kSep;
    EXPECT_EQ(CopyIntoStorage(m_source, missingRoot, folder, m_name, m_reporter),
              CopyResult::StorageRootMissing);
    EXPECT_FALSE(fs::exists(U8(missingRoot)));

    // A file standing where the root should be is no storage root either.
    const std::string fileRoot = m_temp.Child("file-root");
    WriteBytes(U8(fileRoot), "x");
    EXPECT_EQ(CopyIntoStorage(m_source, fileRoot, fileRoot + kSep + "2022年度" + kSep, m_name,
                              m_reporter),
              CopyResult::StorageRootMissing);
    EXPECT_THAT(m_reporter.messages, ElementsAre(kRootMissing, kRootMissing));
}

TEST_F(CopyIntoStorageTest, FolderCreationFailures) {
    // A file where the year folder should be: the levels below it cannot be made.
    WriteBytes(U8(m_root + kSep + "2022年度"), "not a folder");
    EXPECT_EQ(File(m_folder, m_name), CopyResult::FolderCreationFailed);

    // A file where the deepest folder should be.
    const std::string blockedLeaf = m_root + kSep + "2023年度" + kSep + "請求書(控)" + kSep;
    fs::create_directories(U8(m_root + kSep + "2023年度"));
    WriteBytes(U8(blockedLeaf.substr(0, blockedLeaf.size() - 1)), "not a folder");
    EXPECT_EQ(File(blockedLeaf, m_name), CopyResult::FolderCreationFailed);

    // The deepest level cannot be made (its name is too long); the upper level made on the way
    // is removed again, while the one that was there before stays.
    const std::string longLevel = m_root + kSep + "2024年度" + kSep + std::string(300, 'x') + kSep;
    EXPECT_EQ(File(longLevel, m_name), CopyResult::FolderCreationFailed);
    EXPECT_FALSE(fs::exists(U8(m_root + kSep + "2024年度")));
    const std::string underExisting =
        m_root + kSep + "2023年度" + kSep + "領収書" + kSep + std::string(300, 'x') + kSep;
    EXPECT_EQ(File(underExisting, m_name), CopyResult::FolderCreationFailed);
    EXPECT_TRUE(fs::is_directory(U8(m_root + kSep + "2023年度")));
    EXPECT_FALSE(fs::exists(U8(m_root + kSep + "2023年度" + kSep + "領収書")));

    EXPECT_THAT(m_reporter.messages,
                ElementsAre(kFolderFailed, kFolderFailed, kFolderFailed, kFolderFailed));
}

TEST_F(CopyIntoStorageTest, RefusesNamesThatLeaveTheComposedPlace) {
    const std::string outside = m_temp.Child("outside");
    fs::create_directories(U8(outside));
    struct Case {
        std::string folder, name;
    };
    const Case cases[] = {
        // A name holding a separator, or naming the folder itself or its parent.
        {m_folder, "sub" + kSep + "doc.pdf"},
        {m_folder, ".."},
        {m_folder, "."},
        {m_folder, std::string("a\0b.pdf", 7)},
        // A type or company named ".." or ".", at any level below the root.
        {m_root + kSep + "2022年度" + kSep + ".." + kSep + ".." + kSep + "outside" + kSep, m_name},
        {m_root + kSep + "2022年度" + kSep + "." + kSep, m_name},
        {m_root + kSep + ".." + kSep, m_name},
        // A folder that does not lie in the storage root at all.
        {outside + kSep, m_name},
        {m_root + "2" + kSep, m_name},
    };
    for (const Case& c : cases) {
        RecordingReporter reporter;
        EXPECT_EQ(CopyIntoStorage(m_source, m_root, c.folder, c.name, reporter),
                  CopyResult::CopyFailed)
            << c.folder << c.name;
        EXPECT_THAT(reporter.messages, ElementsAre(kCopyFailed));
    }
    EXPECT_THAT(TreeOf(U8(m_root)), IsEmpty());
    EXPECT_THAT(TreeOf(U8(outside)), IsEmpty());
    EXPECT_FALSE(fs::exists(U8(m_root + "2")));
}

TEST_F(CopyIntoStorageTest, FilesDirectlyIntoTheRootAndThroughEmptyLevels) {
    // No date and no type: the folder is the root itself.
    EXPECT_EQ(File(m_root + kSep, "[__][A][1].pdf"), CopyResult::Filed);
    EXPECT_EQ(File(m_root + kSep + kSep + "sub" + kSep + kSep, "[__][A][1].pdf"),
              CopyResult::Filed);
    EXPECT_TRUE(fs::is_regular_file(U8(m_root + kSep + "[__][A][1].pdf")));
    EXPECT_TRUE(fs::is_regular_file(U8(m_root + kSep + "sub" + kSep + "[__][A][1].pdf")));
    EXPECT_THAT(m_reporter.messages, IsEmpty());
}

TEST_F(CopyIntoStorageTest, FailedCopyChoosesItsMessageByCodePageLength) {
    // A folder whose CP932 length differs from its UTF-8 length, so the count is visible.
    std::string deep = m_root + kSep;
    for (int i = 0; i < 40; ++i) {
        deep += "あ";
    }
    deep += kSep;
    fs::create_directories(U8(deep));
    const std::size_t folderBytes = cp932::ByteLength(deep);
    ASSERT_LT(folderBytes, 250u);
    const auto nameOfTotal = [&](std::size_t total) {
        return std::string(total - folderBytes - 4, 'a') + ".pdf";
    };
    // A long path leading to the unreadable file, for the source's own length.
    std::string longSourceFolder = m_temp.Text();
    while (cp932::ByteLength(longSourceFolder) <= 270) {
        longSourceFolder += kSep + std::string(50, 's');
    }
    fs::create_directories(U8(longSourceFolder));
    const std::string longSource = longSourceFolder + kSep + "link.pdf";
    fs::create_symlink(kUnreadableFile, U8(longSource));

    struct Case {
        std::string source;
        std::size_t destinationBytes;
        const char* message;
    };
    // Reading the unreadable file fails with EIO, which the second line of the message tells.
    const std::string readFailed =
        std::string(kCopyFailed) + "\n読み書きの途中でエラーが発生しました。";
    const Case cases[] = {
        {kUnreadableFile, 260, readFailed.c_str()},
        {kUnreadableFile, 261, kDestinationTooLong},
        {longSource, 260, kSourceTooLong},
        {longSource, 261, kDestinationTooLong},
    };
    for (const Case& c : cases) {
        const std::string name = nameOfTotal(c.destinationBytes);
        ASSERT_EQ(cp932::ByteLength(deep + name), c.destinationBytes);
        RecordingReporter reporter;
        EXPECT_EQ(CopyIntoStorage(c.source, m_root, deep, name, reporter), CopyResult::CopyFailed);
        EXPECT_THAT(reporter.messages, ElementsAre(c.message));
        // The destination the failed copy had created is gone again.
        EXPECT_FALSE(fs::exists(U8(deep + name)));
    }
}

TEST_F(CopyIntoStorageTest, ACopyCutShortLeavesNothingUnderTheName) {
    std::string data(4 * 1024 * 1024, 'x');
    WriteBytes(U8(m_source), data);
    const auto file = [this] { return File(m_folder, m_name); };
    const fs::path stored = U8(m_folder + m_name);

    // The copy fails at the limit: the temporary file and the folders made for it are gone.
    int status = RunLimitedChild(file, 1024 * 1024, false);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), -static_cast<int>(CopyResult::CopyFailed));
    EXPECT_THAT(TreeOf(U8(m_root)), IsEmpty());

    // The process dies in the middle of the copy: at most an unfinished temporary file stays,
    // under a name that never reads back as a document, and the document is not there.
    status = RunLimitedChild(file, 1024 * 1024, true);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_FALSE(fs::exists(fs::symlink_status(stored)));
    const std::vector<fs::path> left = TreeOf(U8(m_folder));
    ASSERT_EQ(left.size(), 1u);
    const std::string leftName = left.front().filename().string();
    EXPECT_TRUE(IsTemporaryName(leftName)) << leftName;
    EXPECT_EQ(fs::file_size(left.front()), 1024u * 1024u);

    // Filing the entry again works, and leaves the fresh temporary alone (its writer may still be
    // at work) ...
    ASSERT_EQ(File(m_folder, m_name), CopyResult::Filed);
    EXPECT_EQ(ReadBytes(stored), data);
    EXPECT_TRUE(fs::exists(left.front()));
    // ... until it is a day old: the next filing into the folder removes it.
    SetModified(left.front(), std::chrono::hours(25));
    ASSERT_EQ(File(m_folder, "[2022_12_31][〇〇商事(株)][600,000].pdf"), CopyResult::Filed);
    EXPECT_FALSE(fs::exists(left.front()));
    EXPECT_THAT(TreeOf(U8(m_folder)),
                ElementsAre(U8(m_folder + m_name),
                            U8(m_folder + "[2022_12_31][〇〇商事(株)][600,000].pdf")));
}

TEST_F(CopyIntoStorageTest, AFailedCopyTellsWhyAndLeavesTheStorageAsItWas) {
    test::TmpfsMount disk(512 * 1024);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Why();
    }
    const std::string root = disk.Text() + kSep + "書類";
    fs::create_directories(U8(root + kSep + "2021年度"));
    const std::string folder = root + kSep + "2022年度" + kSep + "請求書(控)" + kSep;
    WriteBytes(U8(m_source), std::string(1024 * 1024, 'x'));

    // Full disk.
    EXPECT_EQ(CopyIntoStorage(m_source, root, folder, m_name, m_reporter), CopyResult::CopyFailed);
    EXPECT_THAT(m_reporter.messages,
                ElementsAre(std::string(kCopyFailed) + "\nディスクの空き容量が足りません。"));
    EXPECT_THAT(TreeOf(U8(root)), ElementsAre(U8(root + kSep + "2021年度")));

    // A source whose size says nothing of its content (a file of a pseudo file system).
    m_reporter.messages.clear();
    EXPECT_EQ(CopyIntoStorage("/proc/self/status", root, folder, m_name, m_reporter),
              CopyResult::CopyFailed);
    EXPECT_THAT(m_reporter.messages,
                ElementsAre(std::string(kCopyFailed) +
                            "\nコピーの途中でコピー元ファイルが変更されました。もう一度実行して"
                            "ください。"));
    EXPECT_THAT(TreeOf(U8(root)), ElementsAre(U8(root + kSep + "2021年度")));

    // Read-only drive.
    WriteBytes(U8(m_source), "small");
    ASSERT_TRUE(disk.RemountReadOnly());
    m_reporter.messages.clear();
    EXPECT_EQ(CopyIntoStorage(m_source, root, root + kSep + "2021年度" + kSep, m_name, m_reporter),
              CopyResult::CopyFailed);
    EXPECT_THAT(m_reporter.messages,
                ElementsAre(std::string(kCopyFailed) + "\n書き込みできないドライブです。"));
}

TEST_F(CopyIntoStorageTest, ALinkLeadingOutOfTheStorageIsRefused) {
    const std::string outside = m_temp.Child("outside");
    fs::create_directories(U8(outside + kSep + "請求書(控)"));
    fs::create_directory_symlink(U8(outside), U8(m_root + kSep + "2022年度"));
    EXPECT_EQ(File(m_folder, m_name), CopyResult::CopyFailed);
    EXPECT_EQ(File(m_root + kSep + "2022年度" + kSep, m_name), CopyResult::CopyFailed);
    const std::string refusal =
        std::string(kCopyFailed) +
        "\nコピー先フォルダへの経路にリンクがあり、保存先フォルダの外を指しています。";
    EXPECT_THAT(m_reporter.messages, ElementsAre(refusal, refusal));
    EXPECT_THAT(TreeOf(U8(outside)), ElementsAre(U8(outside + kSep + "請求書(控)")));

    // A link that stays inside the storage, and a storage root that is itself a link, are fine.
    m_reporter.messages.clear();
    fs::create_directories(U8(m_root + kSep + "共通"));
    fs::create_directory_symlink(U8(m_root + kSep + "共通"), U8(m_root + kSep + "2023年度"));
    EXPECT_EQ(File(m_root + kSep + "2023年度" + kSep + "領収書" + kSep, m_name), CopyResult::Filed);
    EXPECT_TRUE(fs::is_regular_file(U8(m_root + kSep + "共通" + kSep + "領収書" + kSep + m_name)));
    const std::string linkedRoot = m_temp.Child("root-link");
    fs::create_directory_symlink(U8(m_root), U8(linkedRoot));
    EXPECT_EQ(CopyIntoStorage(m_source, linkedRoot, linkedRoot + kSep + "2024年度" + kSep, m_name,
                              m_reporter),
              CopyResult::Filed);
    EXPECT_TRUE(fs::is_regular_file(U8(m_root + kSep + "2024年度" + kSep + m_name)));
    EXPECT_THAT(m_reporter.messages, IsEmpty());
}

// A FAT stick as storage: no hard links, no RENAME_NOREPLACE, and ASCII names only.
TEST_F(CopyIntoStorageTest, FilesOntoAFatDrive) {
    test::FatMount fat(8 * 1024 * 1024);
    if (!fat.Mounted()) {
        GTEST_SKIP() << "no FAT drive to test on: " << fat.Why();
    }
    const std::string root = fat.Text() + kSep + "docs";
    fs::create_directory(U8(root));
    const std::string folder = root + kSep + "2022" + kSep + "invoice" + kSep;
    const std::string name = "[2022_12_31][ACME][500,000].pdf";
    ASSERT_EQ(CopyIntoStorage(m_source, root, folder, name, m_reporter), CopyResult::Filed);
    EXPECT_EQ(ReadBytes(U8(folder + name)), "%PDF-1.4 請求書");
    EXPECT_EQ(CopyIntoStorage(m_source, root, folder, name, m_reporter), CopyResult::NameTaken);
    EXPECT_THAT(m_reporter.messages, ElementsAre(kNameTaken));
    EXPECT_THAT(TreeOf(U8(folder)), ElementsAre(U8(folder + name)));
}

TEST(CreateFolderChain, CreatesMissingLevelsFromTheTop) {
    TempDir temp;
    const std::string deepest = temp.Child("a" + kSep + "b" + kSep + "c");
    EXPECT_TRUE(CreateFolderChain(deepest + kSep + kSep));
    EXPECT_TRUE(fs::is_directory(U8(deepest)));
    // Nothing left to create: false, as no creation was attempted.
    EXPECT_FALSE(CreateFolderChain(deepest));
    EXPECT_FALSE(CreateFolderChain(kSep));
    // A file on the way stops every deeper level.
    WriteBytes(temp.Path() / "file", "x");
    EXPECT_FALSE(CreateFolderChain(temp.Child("file" + kSep + "d" + kSep + "e")));
    // A text with a NUL byte names no folder; nothing is made in its place.
    EXPECT_FALSE(CreateFolderChain(temp.Child(std::string("x\0y", 3))));
    EXPECT_FALSE(fs::exists(temp.Path() / "x"));
}

TEST(CopyFileExclusive, NeverOpensWhatExists) {
    TempDir temp;
    const fs::path source = temp.Path() / "source.pdf";
    WriteBytes(source, "new");
    const fs::path existing = temp.Path() / "existing.pdf";
    WriteBytes(existing, "filed earlier");
    fs::permissions(existing, fs::perms::owner_read);
    const fs::path link = temp.Path() / "link.pdf";
    fs::create_symlink(temp.Path() / "target.pdf", link);

    EXPECT_EQ(CopyFileExclusive(source, existing), std::errc::file_exists);
    EXPECT_EQ(ReadBytes(existing), "filed earlier");
    // A link is never followed to create its target.
    EXPECT_EQ(CopyFileExclusive(source, link), std::errc::file_exists);
    EXPECT_FALSE(fs::exists(temp.Path() / "target.pdf"));
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST(CopyFileExclusive, CopiesLargeFilesAndRefusesSizelessOnes) {
    TempDir temp;
    // Several megabytes of varied bytes: more than one round of every copy loop.
    std::string data(5 * 1024 * 1024 + 123, '\0');
    std::mt19937 random(42);
    for (char& c : data) {
        c = static_cast<char>(random());
    }
    WriteBytes(temp.Path() / "big.bin", data);
    ASSERT_FALSE(CopyFileExclusive(temp.Path() / "big.bin", temp.Path() / "big-copy.bin"));
    EXPECT_EQ(ReadBytes(temp.Path() / "big-copy.bin"), data);

    // A file that reports size 0 but has content: what was read is not the file the size
    // describes, so nothing is filed.
    EXPECT_EQ(CopyFileExclusive("/proc/self/status", temp.Path() / "status"), SourceChangedError());
    EXPECT_FALSE(fs::exists(temp.Path() / "status"));

    // Not a regular file: refused before anything is created.
    EXPECT_EQ(CopyFileExclusive(temp.Path(), temp.Path() / "dir-copy"),
              std::errc::invalid_argument);
    EXPECT_FALSE(fs::exists(temp.Path() / "dir-copy"));
}

TEST(CopyFileExclusive, FailedCopyRemovesOnlyItsOwnPartialFile) {
    TempDir temp;
    const fs::path destination = temp.Path() / "partial.pdf";
    const std::error_code error = CopyFileExclusive(kUnreadableFile, destination);
    EXPECT_TRUE(error);
    EXPECT_NE(error, std::errc::file_exists);
    EXPECT_FALSE(fs::exists(fs::symlink_status(destination)));
}

} // namespace
} // namespace fmb
