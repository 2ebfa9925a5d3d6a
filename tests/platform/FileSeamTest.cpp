// The operating system's side of the program's files, through the same calls on every platform:
// these run on Linux and, built with mingw-w64, under Wine.
#include "platform/ErrorText.h"
#include "platform/ExeFolder.h"
#include "platform/FileCopy.h"
#include "platform/FilePublish.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "platform/ReadOnlyMark.h"
#include "platform/TemporaryFile.h"
#include "platform/TemporaryName.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fmb {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WriteBytes;

const std::string kStoredName = "[2023_03_31][ソ表能(株)][500,000].pdf";

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(FromFsPath(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A temporary file in folder that holds bytes, as a writer leaves it before publishing.
void Fill(TemporaryFile& file, const std::string& bytes) {
    ASSERT_FALSE(file.Write(bytes));
}

TEST(FileSeam, EveryWayOfPublishingGivesTheNameOnceAndNeverReplaces) {
    for (const PublishMethod method :
         {PublishMethod::RenameNoReplace, PublishMethod::HardLink, PublishMethod::ClaimName}) {
        SCOPED_TRACE(static_cast<int>(method));
        TempDir dir;
        const fs::path folder = dir.Path() / U8("書類");
        fs::create_directory(folder);
        const fs::path stored = folder / U8(kStoredName);
        {
            std::error_code error;
            TemporaryFile first(folder, error);
            ASSERT_FALSE(error) << error.message();
            EXPECT_TRUE(IsTemporaryName(FromFsPath(first.Path().filename())));
            Fill(first, "first");
            ASSERT_FALSE(first.PublishAs(stored, method));
        }
        {
            std::error_code error;
            TemporaryFile second(folder, error);
            ASSERT_FALSE(error) << error.message();
            Fill(second, "second");
            EXPECT_EQ(second.PublishAs(stored, method), std::errc::file_exists);
        }
        EXPECT_EQ(ReadBytes(stored), "first");
        // The refused temporary is gone with its owner.
        EXPECT_EQ(NamesIn(folder), std::vector<std::string>{kStoredName});
    }
}

TEST(FileSeam, ReplacingSwapsTheWholeFileAndKeepsItsPermissions) {
    TempDir dir;
    const fs::path book = dir.Path() / U8("索引簿.csv");
    for (const std::string bytes : {"old book", "new book, longer than the old one"}) {
        std::error_code error;
        TemporaryFile file(dir.Path(), error);
        ASSERT_FALSE(error) << error.message();
        ASSERT_FALSE(file.TakePermissionsOf(book)); // none the first time: no book yet
        Fill(file, bytes);
        ASSERT_FALSE(file.WriteThrough());
        ASSERT_FALSE(file.ReplaceAs(book));
        EXPECT_EQ(ReadBytes(book), bytes);
    }
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"索引簿.csv"});
}

TEST(FileSeam, AnAbandonedTemporaryIsRemovedEvenWhenMarkedReadOnly) {
    TempDir dir;
    WriteBytes(dir.Path() / "source.pdf", "%PDF");
    std::error_code error;
    const SourceFile source(dir.Path() / "source.pdf", error);
    ASSERT_FALSE(error);
    {
        TemporaryFile copy(dir.Path(), error);
        ASSERT_FALSE(error);
        ASSERT_FALSE(CopyContents(source, copy, fs::perms::owner_read));
        EXPECT_TRUE(IsReadOnlyFile(fs::status(copy.Path())));
    }
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"source.pdf"});
}

TEST(FileSeam, ACopyKeepsTheDataTheTimeAndTheReadOnlyMark) {
    TempDir dir;
    const fs::path source = dir.Path() / U8("ソ表能の請求書.pdf");
    const std::string data = std::string(5 << 20, 'x') + "end"; // more than one block
    WriteBytes(source, data);
    const auto written = fs::file_time_type::clock::now() - std::chrono::hours(30 * 24);
    fs::last_write_time(source, written);

    struct Case {
        fs::perms permissions;
        bool readOnly;
    };
    const Case cases[] = {
        {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, true},
        {fs::perms::owner_read | fs::perms::owner_write, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readOnly);
        const fs::path stored = dir.Path() / U8(c.readOnly ? kStoredName : "writable.pdf");
        std::error_code error;
        const SourceFile opened(source, error);
        ASSERT_FALSE(error) << error.message();
        EXPECT_EQ(opened.Size(), data.size());
        TemporaryFile copy(dir.Path(), error);
        ASSERT_FALSE(error) << error.message();
        std::uint64_t observed = 0;
        ASSERT_FALSE(CopyContents(opened, copy, c.permissions, [&](std::uint64_t bytes) {
            observed += bytes;
            return true;
        }));
        ASSERT_FALSE(copy.PublishAs(stored));
        EXPECT_EQ(observed, data.size());
        EXPECT_EQ(ReadBytes(stored), data);
        EXPECT_EQ(IsReadOnlyFile(fs::status(stored)), c.readOnly);
        EXPECT_EQ(fs::last_write_time(stored), fs::last_write_time(source));
    }
}

TEST(FileSeam, ACopyStopsWhenAskedOrWhenTheSourceChanges) {
    TempDir dir;
    const fs::path source = dir.Path() / "source.pdf";
    WriteBytes(source, std::string(100, 'a'));
    std::error_code error;
    {
        const SourceFile opened(source, error);
        ASSERT_FALSE(error);
        TemporaryFile copy(dir.Path(), error);
        ASSERT_FALSE(error);
        EXPECT_EQ(
            CopyContents(opened, copy, fs::perms::owner_read, [](std::uint64_t) { return false; }),
            std::errc::operation_canceled);
    }
    {
        const SourceFile opened(source, error);
        ASSERT_FALSE(error);
        // Rewritten by another program after it was opened: longer, and with another time.
        WriteBytes(source, std::string(200, 'b'));
        fs::last_write_time(source, fs::file_time_type::clock::now() + std::chrono::hours(1));
        TemporaryFile copy(dir.Path(), error);
        ASSERT_FALSE(error);
        EXPECT_EQ(CopyContents(opened, copy, fs::perms::owner_read), SourceChangedError());
    }
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"source.pdf"});
}

TEST(FileSeam, OnlyARegularFileOpensAsASource) {
    TempDir dir;
    fs::create_directory(dir.Path() / "folder");
    std::error_code error;
    const SourceFile folder(dir.Path() / "folder", error);
    EXPECT_EQ(error, std::errc::invalid_argument);
    const SourceFile missing(dir.Path() / "missing.pdf", error);
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_EQ(DescribeError(error), "ファイルまたはフォルダが見つかりません。");
}

TEST(FileSeam, AFolderListsItsJapaneseNamesWithTheirKinds) {
    TempDir dir;
    fs::create_directory(dir.Path() / U8("2022年度"));
    WriteBytes(dir.Path() / U8(kStoredName), "x");
    WriteBytes(dir.Path() / U8("請求書(控).pdf"), "y");

    const std::vector<std::pair<std::string, EntryKind>> expected = {
        {"2022年度", EntryKind::Folder},
        {kStoredName, EntryKind::File},
        {"請求書(控).pdf", EntryKind::File},
    };
    // The folder as the settings hold it, with a trailing separator, or without.
    for (const bool trailingSeparator : {false, true}) {
        std::vector<std::pair<std::string, EntryKind>> seen;
        EXPECT_FALSE(
            ListFolder(dir.Text(trailingSeparator), [&](std::string_view name, EntryKind kind) {
                seen.emplace_back(name, kind);
                return true;
            }));
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, expected) << trailingSeparator;
    }

    std::error_code error;
    const OpenFolder open = OpenFolder::Open(dir.Text(), error);
    ASSERT_TRUE(open.IsOpen()) << error.message();
    EXPECT_EQ(open.FileSize(kStoredName), 1u);
    const OpenFolder year = open.OpenSubfolder("2022年度", error);
    ASSERT_TRUE(year.IsOpen()) << error.message();
    EXPECT_FALSE(year.IsSameFolderAs(open));
    EXPECT_TRUE(OpenFolder::Open(dir.Child("2022年度"), error).IsSameFolderAs(year));

    // The visitor stops the listing; a missing folder or a file is no folder to list.
    int visits = 0;
    EXPECT_FALSE(ListFolder(dir.Text(), [&](std::string_view, EntryKind) {
        ++visits;
        return false;
    }));
    EXPECT_EQ(visits, 1);
    const auto ignore = [](std::string_view, EntryKind) { return true; };
    EXPECT_EQ(ListFolder(dir.Child("missing"), ignore), std::errc::no_such_file_or_directory);
    EXPECT_TRUE(ListFolder(dir.Child(kStoredName), ignore));
}

TEST(FileSeam, OnlyTemporariesOlderThanADayAreRemovedAsLeftovers) {
    TempDir dir;
    const auto stale =
        fs::file_time_type::clock::now() - kStaleTemporaryAge - std::chrono::hours(1);
    const std::string oldTemporary = std::string(kTemporaryPrefix) + "abcdefghijkl";
    const std::string newTemporary = std::string(kTemporaryPrefix) + "mnopqrstuvwx";
    for (const std::string& name : {oldTemporary, newTemporary, kStoredName}) {
        WriteBytes(dir.Path() / U8(name), "x");
    }
    fs::last_write_time(dir.Path() / oldTemporary, stale);
    fs::last_write_time(dir.Path() / U8(kStoredName), stale);
    // A leftover of a filing carries the read-only mark already.
    fs::permissions(dir.Path() / oldTemporary, fs::perms::owner_read);
    RemoveStaleTemporaries(dir.Text());
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{newTemporary, kStoredName}));
}

TEST(FileSeam, TheProgramFolderIsAFolderEndingInTheSeparator) {
    const std::string folder = GetExeFolder();
    EXPECT_TRUE(EndsWithSeparator(folder)) << folder;
    EXPECT_TRUE(fs::is_directory(ToFsPath(folder))) << folder;
}

} // namespace
} // namespace fmb
