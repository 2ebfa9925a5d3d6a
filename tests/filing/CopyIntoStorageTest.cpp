#include "filing/CopyIntoStorage.h"
#include "filing/ExclusiveFileCopy.h"

#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

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

    int File(const std::string& folder, const std::string& name) {
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
    ASSERT_EQ(File(m_folder, m_name), copy_result::kFiled);
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
    ASSERT_EQ(File(m_folder, m_name), copy_result::kFiled);
    const fs::path stored = U8(m_folder + m_name);
    const struct stat before = StatusOf(stored);

    WriteBytes(U8(m_source), "another document");
    EXPECT_EQ(File(m_folder, m_name), copy_result::kNameTaken);
    EXPECT_THAT(m_reporter.messages, ElementsAre(kNameTaken));
    EXPECT_EQ(ReadBytes(stored), "%PDF-1.4 請求書");
    const struct stat after = StatusOf(stored);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);

    // A folder, or a link pointing nowhere, of the same name is a clash as well.
    m_reporter.messages.clear();
    fs::create_directories(U8(m_folder + "folder.pdf"));
    fs::create_symlink(m_temp.Path() / "elsewhere.pdf", U8(m_folder + "link.pdf"));
    EXPECT_EQ(File(m_folder, "folder.pdf"), copy_result::kNameTaken);
    EXPECT_EQ(File(m_folder, "link.pdf"), copy_result::kNameTaken);
    EXPECT_THAT(m_reporter.messages, ElementsAre(kNameTaken, kNameTaken));
    EXPECT_FALSE(fs::exists(m_temp.Path() / "elsewhere.pdf"));
}

TEST_F(CopyIntoStorageTest, EmptyInputs) {
    struct Case {
        std::string source, root, folder, name;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"", m_root, m_folder, m_name, copy_result::kNoSourcePath,
         "コピー元ファイル名がありません"},
        {m_source, "", m_folder, m_name, copy_result::kNoStorageRoot,
         "コピー先が指定されていません\n「設定」ボタンを押下して、保存先フォルダを指定してください"
         "。"},
        {m_source, m_root, "", m_name, copy_result::kNoDestinationFolder,
         "コピー先が指定されていません\n"},
        {m_source, m_root, m_folder, "", copy_result::kNoFileName,
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
                  copy_result::kSourceMissing)
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
              copy_result::kStorageRootMissing);
    EXPECT_FALSE(fs::exists(U8(missingRoot)));

    // A file standing where the root should be is no storage root either.
    const std::string fileRoot = m_temp.Child("file-root");
    WriteBytes(U8(fileRoot), "x");
    EXPECT_EQ(CopyIntoStorage(m_source, fileRoot, fileRoot + kSep + "2022年度" + kSep, m_name,
                              m_reporter),
              copy_result::kStorageRootMissing);
    EXPECT_THAT(m_reporter.messages, ElementsAre(kRootMissing, kRootMissing));
}

TEST_F(CopyIntoStorageTest, FolderCreationFailures) {
    // A file where the year folder should be: the levels below it cannot be made.
    WriteBytes(U8(m_root + kSep + "2022年度"), "not a folder");
    EXPECT_EQ(File(m_folder, m_name), copy_result::kFolderCreationFailed);

    // A file where the deepest folder should be.
    const std::string blockedLeaf = m_root + kSep + "2023年度" + kSep + "請求書(控)" + kSep;
    fs::create_directories(U8(m_root + kSep + "2023年度"));
    WriteBytes(U8(blockedLeaf.substr(0, blockedLeaf.size() - 1)), "not a folder");
    EXPECT_EQ(File(blockedLeaf, m_name), copy_result::kFolderCreationFailed);

    // The deepest level cannot be made (its name is too long); the upper levels made on the way
    // stay.
    const std::string longLevel = m_root + kSep + "2024年度" + kSep + std::string(300, 'x') + kSep;
    EXPECT_EQ(File(longLevel, m_name), copy_result::kFolderCreationFailed);
    EXPECT_TRUE(fs::is_directory(U8(m_root + kSep + "2024年度")));

    EXPECT_THAT(m_reporter.messages, ElementsAre(kFolderFailed, kFolderFailed, kFolderFailed));
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
                  copy_result::kCopyFailed)
            << c.folder << c.name;
        EXPECT_THAT(reporter.messages, ElementsAre(kCopyFailed));
    }
    EXPECT_THAT(TreeOf(U8(m_root)), IsEmpty());
    EXPECT_THAT(TreeOf(U8(outside)), IsEmpty());
    EXPECT_FALSE(fs::exists(U8(m_root + "2")));
}

TEST_F(CopyIntoStorageTest, FilesDirectlyIntoTheRootAndThroughEmptyLevels) {
    // No date and no type: the folder is the root itself.
    EXPECT_EQ(File(m_root + kSep, "[__][A][1].pdf"), copy_result::kFiled);
    EXPECT_EQ(File(m_root + kSep + kSep + "sub" + kSep + kSep, "[__][A][1].pdf"),
              copy_result::kFiled);
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
    const Case cases[] = {
        {kUnreadableFile, 260, kCopyFailed},
        {kUnreadableFile, 261, kDestinationTooLong},
        {longSource, 260, kSourceTooLong},
        {longSource, 261, kDestinationTooLong},
    };
    for (const Case& c : cases) {
        const std::string name = nameOfTotal(c.destinationBytes);
        ASSERT_EQ(cp932::ByteLength(deep + name), c.destinationBytes);
        RecordingReporter reporter;
        EXPECT_EQ(CopyIntoStorage(c.source, m_root, deep, name, reporter),
                  copy_result::kCopyFailed);
        EXPECT_THAT(reporter.messages, ElementsAre(c.message));
        // The destination the failed copy had created is gone again.
        EXPECT_FALSE(fs::exists(U8(deep + name)));
    }
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

TEST(CopyFileExclusive, CopiesLargeAndSizelessFiles) {
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

    // A file that reports size 0 but has content.
    ASSERT_FALSE(CopyFileExclusive("/proc/self/status", temp.Path() / "status"));
    EXPECT_THAT(ReadBytes(temp.Path() / "status"), ::testing::StartsWith("Name:"));

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
