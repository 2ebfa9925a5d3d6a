#include "platform/FilePublish.h"
#include "platform/ErrorText.h"
#include "platform/FileCopy.h"
#include "platform/PathText.h"
#include "platform/TemporaryFile.h"
#include "platform/TemporaryName.h"
#include "support/TempDir.h"
#include "support/TestMounts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace fmb {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void SetModified(const fs::path& path, std::chrono::hours age) {
    const auto when = std::chrono::system_clock::now() - age;
    const struct timespec times[2] = {{0, UTIME_OMIT},
                                      {std::chrono::system_clock::to_time_t(when), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// A temporary file holding bytes, as a writer leaves it before publishing.
fs::path Written(TemporaryFile& file, const std::string& bytes) {
    EXPECT_FALSE(file.Write(bytes));
    return file.Path();
}

const PublishMethod kMethods[] = {PublishMethod::RenameNoReplace, PublishMethod::HardLink,
                                  PublishMethod::ClaimName};

// Every method, forced, keeps the same promise: a free name gets the complete file, a taken name
// (a file, a folder, a link leading nowhere) is left as it was and the temporary stays.
TEST(PublishWithoutReplacing, EveryMethodNeverReplaces) {
    for (const PublishMethod method : kMethods) {
        SCOPED_TRACE(static_cast<int>(method));
        TempDir dir;
        WriteBytes(dir.Path() / "taken.pdf", "filed earlier");
        fs::create_directory(dir.Path() / "folder.pdf");
        fs::create_symlink(dir.Path() / "nowhere.pdf", dir.Path() / "link.pdf");
        const fs::path temporary = dir.Path() / MakeTemporaryName();
        WriteBytes(temporary, "complete");

        for (const char* taken : {"taken.pdf", "folder.pdf", "link.pdf"}) {
            EXPECT_EQ(PublishWithoutReplacing(temporary, dir.Path() / taken, method),
                      std::errc::file_exists)
                << taken;
        }
        EXPECT_EQ(ReadBytes(dir.Path() / "taken.pdf"), "filed earlier");
        EXPECT_TRUE(fs::is_directory(dir.Path() / "folder.pdf"));
        EXPECT_TRUE(fs::is_symlink(dir.Path() / "link.pdf"));
        EXPECT_FALSE(fs::exists(dir.Path() / "nowhere.pdf"));
        EXPECT_EQ(ReadBytes(temporary), "complete");

        ASSERT_FALSE(PublishWithoutReplacing(temporary, dir.Path() / "new.pdf", method));
        EXPECT_EQ(ReadBytes(dir.Path() / "new.pdf"), "complete");
        EXPECT_FALSE(fs::exists(temporary));
        EXPECT_EQ(Names(dir.Path()),
                  (std::vector<std::string>{"folder.pdf", "link.pdf", "new.pdf", "taken.pdf"}));
    }
}

TEST(ReplaceInOneStep, ReplacesTheFileAndNotWhatALinkPointsAt) {
    TempDir dir;
    WriteBytes(dir.Path() / "book.csv", "old");
    const fs::path temporary = dir.Path() / MakeTemporaryName();
    WriteBytes(temporary, "new");
    ASSERT_FALSE(ReplaceInOneStep(temporary, dir.Path() / "book.csv"));
    EXPECT_EQ(ReadBytes(dir.Path() / "book.csv"), "new");

    // A link in the file's place is replaced itself; the file it leads to stays as it was.
    WriteBytes(dir.Path() / "victim.txt", "elsewhere");
    fs::create_symlink(dir.Path() / "victim.txt", dir.Path() / "linked.csv");
    WriteBytes(temporary, "newer");
    ASSERT_FALSE(ReplaceInOneStep(temporary, dir.Path() / "linked.csv"));
    EXPECT_FALSE(fs::is_symlink(dir.Path() / "linked.csv"));
    EXPECT_EQ(ReadBytes(dir.Path() / "linked.csv"), "newer");
    EXPECT_EQ(ReadBytes(dir.Path() / "victim.txt"), "elsewhere");
    EXPECT_EQ(Names(dir.Path()),
              (std::vector<std::string>{"book.csv", "linked.csv", "victim.txt"}));
}

TEST(TemporaryFile, IsRemovedUnlessPublished) {
    TempDir dir;
    fs::path path;
    {
        std::error_code error;
        TemporaryFile file(dir.Path(), error);
        ASSERT_FALSE(error);
        path = Written(file, "partial");
        EXPECT_EQ(path.parent_path(), dir.Path());
        EXPECT_TRUE(IsTemporaryName(path.filename().string()));
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
    }
    EXPECT_FALSE(fs::exists(path));

    // A refused publish leaves nothing either; the file that holds the name is untouched.
    WriteBytes(dir.Path() / "taken.pdf", "filed earlier");
    {
        std::error_code error;
        TemporaryFile file(dir.Path(), error);
        ASSERT_FALSE(error);
        Written(file, "second");
        EXPECT_EQ(file.PublishAs(dir.Path() / "taken.pdf"), std::errc::file_exists);
    }
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"taken.pdf"});
    EXPECT_EQ(ReadBytes(dir.Path() / "taken.pdf"), "filed earlier");

    {
        std::error_code error;
        TemporaryFile file(dir.Path(), error);
        ASSERT_FALSE(error);
        Written(file, "third");
        ASSERT_FALSE(file.PublishAs(dir.Path() / "new.pdf"));
    }
    EXPECT_EQ(ReadBytes(dir.Path() / "new.pdf"), "third");

    // No folder, no file.
    std::error_code error;
    TemporaryFile nowhere(dir.Path() / "missing", error);
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

// The index book and the INI files are written through a temporary file of the owner's only;
// where they replace nothing they get what any new file gets, 0666 less the umask, and otherwise
// what the file they replace had.
TEST(TemporaryFile, TakesThePermissionsOfTheFileItReplacesOrThoseOfANewFile) {
    TempDir dir;
    const mode_t previous = ::umask(027);
    const fs::path book = dir.Path() / "book.csv";
    for (const fs::perms expected :
         {fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
          fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read}) {
        std::error_code error;
        TemporaryFile file(dir.Path(), error);
        ASSERT_FALSE(error);
        ASSERT_FALSE(file.TakePermissionsOf(book));
        ASSERT_FALSE(file.ReplaceAs(book));
        EXPECT_EQ(fs::status(book).permissions() & fs::perms::all, expected);
        // The next one replaces a book its user shared otherwise.
        fs::permissions(book,
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    }
    ::umask(previous);
}

TEST(RemoveStaleTemporaries, RemovesOnlyOldTemporaryFiles) {
    TempDir dir;
    const std::string oldTemporary = MakeTemporaryName();
    const std::string freshTemporary = MakeTemporaryName();
    const std::string oldFolder = MakeTemporaryName();
    for (const std::string& name : {oldTemporary, freshTemporary, std::string(".fumibako-tmp-x"),
                                    std::string("[2022_12_31][A][1].pdf")}) {
        WriteBytes(dir.Path() / name, "x");
        SetModified(dir.Path() / name, std::chrono::hours(48));
    }
    SetModified(dir.Path() / freshTemporary, std::chrono::hours(23));
    fs::create_directory(dir.Path() / oldFolder);
    SetModified(dir.Path() / oldFolder, std::chrono::hours(48));
    // A link with a temporary name is not followed, nor removed.
    const std::string link = MakeTemporaryName();
    fs::create_symlink(dir.Path() / "[2022_12_31][A][1].pdf", dir.Path() / link);
    SetModified(dir.Path() / link, std::chrono::hours(48));

    RemoveStaleTemporaries(dir.Text());
    std::vector<std::string> expected = {freshTemporary, ".fumibako-tmp-x",
                                         "[2022_12_31][A][1].pdf", oldFolder, link};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(dir.Path()), expected);
}

TEST(SourceFile, ACopyFailsWhenTheSourceChangesAfterItWasOpened) {
    const auto shrink = [](const fs::path& path) { fs::resize_file(path, 3); };
    const auto grow = [](const fs::path& path) { std::ofstream(path, std::ios::app) << "more"; };
    const auto touch = [](const fs::path& path) { SetModified(path, std::chrono::hours(1)); };
    const std::function<void(const fs::path&)> changes[] = {shrink, grow, touch};
    for (const auto& change : changes) {
        TempDir dir;
        const fs::path source = dir.Path() / "scan.pdf";
        WriteBytes(source, std::string(100000, 'x'));
        std::error_code error;
        const SourceFile opened(source, error);
        ASSERT_FALSE(error);
        change(source);
        {
            TemporaryFile copy(dir.Path(), error);
            ASSERT_FALSE(error);
            EXPECT_EQ(CopyContents(opened, copy, fs::perms::owner_read), SourceChangedError());
        }
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"scan.pdf"});
    }
}

// A FAT stick refuses hard links and RENAME_NOREPLACE; publishing falls back to claiming the name
// and keeps its promise there.
TEST(PublishWithoutReplacing, WorksOnAFatDrive) {
    test::FatMount fat(8 * 1024 * 1024);
    if (!fat.Mounted()) {
        GTEST_SKIP() << "no FAT drive to test on: " << fat.Why();
    }
    const fs::path temporary = fat.Path() / MakeTemporaryName();
    WriteBytes(temporary, "complete");
    WriteBytes(fat.Path() / "taken.pdf", "filed earlier");
    // The file system refuses the better methods as such, so they cannot be what publishes here.
    const fs::path probe = fat.Path() / "probe";
    ASSERT_NE(::link(temporary.c_str(), probe.c_str()), 0);
    ASSERT_NE(::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, probe.c_str(), RENAME_NOREPLACE),
              0);
    ASSERT_FALSE(fs::exists(probe));

    EXPECT_EQ(PublishWithoutReplacing(temporary, fat.Path() / "taken.pdf"), std::errc::file_exists);
    EXPECT_EQ(ReadBytes(fat.Path() / "taken.pdf"), "filed earlier");
    ASSERT_FALSE(PublishWithoutReplacing(temporary, fat.Path() / "new.pdf"));
    EXPECT_EQ(ReadBytes(fat.Path() / "new.pdf"), "complete");
    EXPECT_FALSE(fs::exists(temporary));
}

} // namespace
} // namespace fmb
