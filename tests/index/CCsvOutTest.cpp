#include "index/CCsvOut.h"

#include "index/FolderWalk.h"
#include "jobs/JobMonitor.h"
#include "ledger/LedgerFolder.h"
#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "platform/TemporaryName.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <thread>
#include <tuple>

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fmb {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WriteBytes;

const std::string kSep(1, kPathSeparator);
const std::string kHeader =
    cp932::Encode("種類,年月日,取引先名,金額,備考(種別),備考,ファイルパス,リンク先を開く\n").bytes;

// Creates an empty file at the UTF-8 path relative to root, with its folders.
void Touch(const TempDir& root, const std::string& relative) {
    const fs::path path = root.Path() / U8(relative);
    fs::create_directories(path.parent_path());
    WriteBytes(path, "");
}

std::string Utf8(const std::string& cp932Bytes) {
    return cp932::Decode(cp932Bytes).utf8;
}

class ScanFolderTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string m_year = m_dir.Child("2022年度");
};

TEST_F(ScanFolderTest, ListsEveryFileWithItsTypeFolderAndThePathAsSpelled) {
    Touch(m_dir, "2022年度/請求書(控)/2022年12月/[2022_12_31][A][1].pdf");
    Touch(m_dir, "2022年度/請求書(控)/b.pdf");
    Touch(m_dir, "2022年度/領収書/x/y/c.pdf");
    Touch(m_dir, "2022年度/.hidden/d.pdf");
    Touch(m_dir, "2022年度/.e.pdf");
    Touch(m_dir, "2022年度/top.pdf");
    fs::create_directories(U8(m_year + "/empty"));

    // The folder as the user typed it, with a trailing separator: no doubled separator.
    std::vector<ScanEntry> entries;
    std::size_t lastCount = 0;
    ScanFolder(
        m_year + kSep,
        [&](const ScanEntry& e) {
            entries.push_back(e);
            return true;
        },
        [&](std::size_t seen, std::size_t) {
            EXPECT_EQ(seen, lastCount + 1);
            lastCount = seen;
            return true;
        });
    std::map<std::string, ScanEntry> byName;
    for (const auto& e : entries) {
        byName[e.fileName] = e;
    }
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(byName["[2022_12_31][A][1].pdf"].typeFolder, "請求書(控)");
    EXPECT_EQ(byName["[2022_12_31][A][1].pdf"].fullPath,
              m_year + kSep + "請求書(控)" + kSep + "2022年12月" + kSep + "[2022_12_31][A][1].pdf");
    EXPECT_EQ(byName["c.pdf"].typeFolder, "領収書");
    EXPECT_EQ(byName["d.pdf"].typeFolder, ".hidden");
    EXPECT_EQ(byName[".e.pdf"].typeFolder, "");
    EXPECT_EQ(byName["top.pdf"].typeFolder, "");
    EXPECT_EQ(byName["top.pdf"].fullPath, m_year + kSep + "top.pdf");
    // Every file and folder below the scanned folder is one directory entry.
    EXPECT_EQ(lastCount, 13u); // 6 files and 7 folders

    // The files of a folder before its subfolders, and depth first: the scanned folder's own
    // files come first, and the files of one type folder come together.
    EXPECT_EQ(entries[0].typeFolder, "");
    EXPECT_EQ(entries[1].typeFolder, "");
    std::vector<std::string> runs;
    for (const auto& e : entries) {
        EXPECT_FALSE(e.typeFolder.empty() && !runs.empty()) << e.fullPath;
        if (!e.typeFolder.empty() && (runs.empty() || runs.back() != e.typeFolder)) {
            runs.push_back(e.typeFolder);
        }
    }
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(std::adjacent_find(runs.begin(), runs.end()), runs.end());
}

TEST_F(ScanFolderTest, PassesOverTemporariesLeftByAnInterruptedWrite) {
    Touch(m_dir, "2022年度/請求書/[20230315][A][100].pdf");
    Touch(m_dir, "2022年度/請求書/" + MakeTemporaryName());
    Touch(m_dir, "2022年度/" + MakeTemporaryName());
    std::vector<std::string> names;
    ScanFolder(m_year, [&](const ScanEntry& e) {
        names.push_back(e.fileName);
        return true;
    });
    EXPECT_EQ(names, std::vector<std::string>{"[20230315][A][100].pdf"});
}

// The ledger's folder holds earlier versions of documents under their stored names; only a walk
// that asks for them lists them, and only the folder of that name directly below the top.
TEST_F(ScanFolderTest, LeavesTheLedgerFolderBelowTheTopOutUnlessAsked) {
    const std::string ledger(kLedgerFolderName);
    Touch(m_dir, "2022年度/請求書/[20230315][A][100].pdf");
    Touch(m_dir, ledger + "/kept/[20230315][A][90].pdf");
    Touch(m_dir, "2022年度/" + ledger + "/[20230316][B][5].pdf");
    const auto namesOf = [&](KeptVersions kept) {
        std::vector<std::string> names;
        ScanFolder(
            m_dir.Text(),
            [&](const ScanEntry& e) {
                names.push_back(e.fileName);
                return true;
            },
            {}, kept);
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(namesOf(KeptVersions::LeftOut),
              (std::vector<std::string>{"[20230315][A][100].pdf", "[20230316][B][5].pdf"}));
    EXPECT_EQ(namesOf(KeptVersions::Included),
              (std::vector<std::string>{"[20230315][A][100].pdf", "[20230315][A][90].pdf",
                                        "[20230316][B][5].pdf"}));

    const std::string book = m_dir.Child("book.csv");
    ASSERT_TRUE(CCsvOut().Output(book, m_dir.Text(), "").ok);
    const std::string written = Utf8(ReadBytes(U8(book)));
    EXPECT_EQ(written.find("[90]"), std::string::npos) << written;
    EXPECT_NE(written.find("[100]"), std::string::npos) << written;
}

TEST_F(ScanFolderTest, GoesOnPastFoldersThatVanishBeforeTheyAreOpenedAndNamesTheFirst) {
    for (const char* folder : {"a", "b", "c"}) {
        Touch(m_dir, "2022年度/" + std::string(folder) + "/[20230315][A][100].pdf");
    }
    std::vector<std::string> paths;
    // Once the scanned folder's three entries are listed, two of them are removed.
    const ScanReport report = ScanFolder(
        m_year,
        [&](const ScanEntry& e) {
            paths.push_back(e.fullPath);
            return true;
        },
        [&](std::size_t seen, std::size_t) {
            if (seen == 3) {
                fs::remove_all(U8(m_year + "/b"));
                fs::remove_all(U8(m_year + "/c"));
            }
            return true;
        });
    EXPECT_EQ(paths, std::vector<std::string>{m_year + "/a/[20230315][A][100].pdf"});
    EXPECT_EQ(report.unreadableFolders, 2u);
    EXPECT_TRUE(report.firstUnreadable == m_year + "/b/" ||
                report.firstUnreadable == m_year + "/c/")
        << report.firstUnreadable;
    EXPECT_EQ(report.firstError, std::errc::no_such_file_or_directory);
}

TEST_F(ScanFolderTest, ReportsALinkThatLeadsRoundInACircle) {
    Touch(m_dir, "2022年度/a/[20230315][A][100].pdf");
    fs::create_directory_symlink("loop", U8(m_year + "/loop"));
    std::vector<std::string> names;
    const ScanReport report = ScanFolder(m_year, [&](const ScanEntry& e) {
        names.push_back(e.fileName);
        return true;
    });
    EXPECT_EQ(names, std::vector<std::string>{"[20230315][A][100].pdf"});
    EXPECT_EQ(report.unreadableFolders, 1u);
    EXPECT_EQ(report.firstUnreadable, m_year + "/loop/");
    EXPECT_EQ(report.firstError, std::errc::too_many_symbolic_link_levels);
}

TEST_F(ScanFolderTest, ReportsFoldersWhosePathIsLongerThanThePlatformTakes) {
    // Folders of 200-byte names, deeper than any path the platform's calls take: made and
    // filled level by level from open folders.
    Touch(m_dir, "2022年度/請求書/[20230315][A][1].pdf");
    const std::string level(200, 'd');
    std::string path = m_year + "/請求書";
    std::string firstTooLong;
    int levelsWithinLimit = 0;
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int depth = 0; depth < 25; ++depth) {
        ASSERT_EQ(mkdirat(fd, level.c_str(), 0755), 0);
        const int next = openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        path += "/" + level;
        if (firstTooLong.empty() && path.size() >= PATH_MAX) {
            firstTooLong = path + "/";
            levelsWithinLimit = depth;
        }
        const std::string name = "[20230315][A][" + std::to_string(depth) + "].pdf";
        close(openat(fd, name.c_str(), O_WRONLY | O_CREAT, 0644));
    }
    close(fd);
    ASSERT_FALSE(firstTooLong.empty());

    int files = 0;
    const ScanReport report = ScanFolder(m_year, [&](const ScanEntry&) {
        ++files;
        return true;
    });
    EXPECT_EQ(report.unreadableFolders, 1u);
    EXPECT_EQ(report.firstUnreadable, firstTooLong);
    EXPECT_EQ(report.firstError, std::errc::filename_too_long);
    // The files of the type folder and of every level within the limit.
    EXPECT_EQ(files, 1 + levelsWithinLimit);
}

TEST_F(ScanFolderTest, AMissingFolderGivesNothingAndAFolderLinkBackUpTheTreeEnds) {
    std::vector<ScanEntry> entries;
    const auto collect = [&](const ScanEntry& e) {
        entries.push_back(e);
        return true;
    };
    const ScanReport missing = ScanFolder(m_dir.Child("無い"), collect);
    EXPECT_EQ(missing.unreadableFolders, 1u);
    EXPECT_EQ(missing.firstUnreadable, m_dir.Child("無い") + kSep);
    EXPECT_EQ(ScanFolder("", collect).unreadableFolders, 0u);
    EXPECT_TRUE(entries.empty());

    Touch(m_dir, "2022年度/請求書/a.pdf");
    fs::create_directory_symlink(U8(m_year), U8(m_year + "/請求書/loop"));
    fs::create_directory_symlink(U8(m_year + "/請求書"), U8(m_year + "/link"));
    EXPECT_EQ(ScanFolder(m_year, collect).unreadableFolders, 0u);
    std::vector<std::string> paths;
    for (const auto& e : entries) {
        paths.push_back(e.fullPath);
    }
    std::sort(paths.begin(), paths.end());
    // The link to a folder outside the walk's way is followed; the links back up are not.
    EXPECT_EQ(paths, (std::vector<std::string>{m_year + "/link/a.pdf", m_year + "/請求書/a.pdf"}));
}

// The walk on several threads finds what the walk on one finds, links, temporaries, the ledger's
// folder and unreadable folders included; each visitor stays on one thread, and one visitor's
// stop or failure ends the walk on every thread.
TEST_F(ScanFolderTest, OnSeveralThreadsFindsWhatOneThreadFinds) {
    for (const char* type : {"請求書", "領収書", "見積書", "その他"}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 5; ++day) {
                Touch(m_dir, "2022年度/" + std::string(type) + "/" + std::to_string(month) +
                                 "/[2023" + std::to_string(100 + month).substr(1) + "0" +
                                 std::to_string(day) + "][A][1].pdf");
            }
        }
    }
    Touch(m_dir, "2022年度/top.pdf");
    Touch(m_dir, "2022年度/請求書/" + MakeTemporaryName());
    Touch(m_dir, "2022年度/" + std::string(kLedgerFolderName) + "/kept.pdf");
    fs::create_directory_symlink(U8(m_year), U8(m_year + "/請求書/1/up"));
    fs::create_directory_symlink(U8(m_year + "/領収書"), U8(m_year + "/receipts"));
    fs::create_directory_symlink("loop", U8(m_year + "/loop"));

    using Found = std::vector<std::tuple<std::string, std::string, std::string>>;
    const auto record = [](Found& found) {
        return [&found](const ScanEntry& e) {
            found.emplace_back(e.fullPath, e.typeFolder, e.fileName);
            return true;
        };
    };
    Found alone;
    const ScanReport aloneReport = ScanFolder(m_year, record(alone));
    std::sort(alone.begin(), alone.end());
    ASSERT_EQ(alone.size(), 4u * 12 * 5 + 12 * 5 + 1);

    std::vector<Found> perThread(3);
    std::vector<std::set<std::thread::id>> threadsSeen(3);
    std::vector<ScanVisitor> visitors;
    for (std::size_t i = 0; i < 3; ++i) {
        visitors.push_back([&, i](const ScanEntry& e) {
            threadsSeen[i].insert(std::this_thread::get_id());
            return record(perThread[i])(e);
        });
    }
    const ScanReport report = ScanFolderOnThreads(m_year, visitors);
    Found together;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_LE(threadsSeen[i].size(), 1u);
        together.insert(together.end(), perThread[i].begin(), perThread[i].end());
    }
    std::sort(together.begin(), together.end());
    EXPECT_EQ(together, alone);
    EXPECT_EQ(report.unreadableFolders, aloneReport.unreadableFolders);
    EXPECT_EQ(report.firstUnreadable, m_year + "/loop/");

    std::atomic<int> seen = 0;
    const ScanVisitor stopAtTen = [&](const ScanEntry&) { return ++seen < 10; };
    const std::vector<ScanVisitor> stopping(3, stopAtTen);
    ScanFolderOnThreads(m_year, stopping);
    EXPECT_LE(seen.load(), 12);

    const ScanVisitor failing = [](const ScanEntry&) -> bool {
        throw std::runtime_error("visitor failed");
    };
    const std::vector<ScanVisitor> failingOnes(3, failing);
    EXPECT_THROW(ScanFolderOnThreads(m_year, failingOnes), std::runtime_error);
}

class OutputTest : public ::testing::Test {
protected:
    ExportResult Run(const std::string& linkBase, JobMonitor* monitor = nullptr) {
        CCsvOut worker;
        return worker.Output(m_csv, m_year, linkBase, monitor);
    }

    TempDir m_dir;
    std::string m_year = m_dir.Child("書類") + kSep + "2022年度";
    std::string m_csv = m_dir.Child("索引簿.csv");
};

TEST_F(OutputTest, WritesTheHeaderAndOneNumberedCp932LinePerAmount) {
    Touch(m_dir, "書類/2022年度/請求書(控)/2022年12月/[2022_12_31][(株)〇〇商事][500,000].pdf");
    Touch(m_dir, "書類/2022年度/領収書/[20230315][ＡＢＣ][1,000][2,000]＜領収書＞3月分.pdf");
    Touch(m_dir, "書類/2022年度/doc001.pdf");

    const ExportResult result = Run("");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.message, "出力処理を終了しました。");
    EXPECT_EQ(result.rowsWritten, 3u);
    EXPECT_EQ(result.warning, "");

    const std::string bytes = ReadBytes(U8(m_csv));
    ASSERT_EQ(kHeader.size(), 70u);
    ASSERT_EQ(bytes.substr(0, 70), kHeader);
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_EQ(bytes.back(), '\n');
    const std::string first =
        "請求書(控),20221231,(株)〇〇商事,500000,,,\"" + m_year +
        "/請求書(控)/2022年12月/[2022_12_31][(株)〇〇商事][500,000].pdf\",=HYPERLINK(G";
    const std::string second = "領収書,20230315,ＡＢＣ,1000,＜領収書＞,3月分,\"" + m_year +
                               "/領収書/[20230315][ＡＢＣ][1,000][2,000]＜領収書＞3月分.pdf\","
                               "=HYPERLINK(G";
    const std::string third = "領収書,20230315,ＡＢＣ,2000,＜領収書＞,3月分,\"" + m_year +
                              "/領収書/[20230315][ＡＢＣ][1,000][2,000]＜領収書＞3月分.pdf\","
                              "=HYPERLINK(G";
    // The type folders come in the file system's order; the amounts of one file in theirs.
    const std::string expected =
        bytes.find(cp932::Encode("請求書").bytes) < bytes.find(cp932::Encode("領収書").bytes)
            ? first + "2)\n" + second + "3)\n" + third + "4)\n"
            : second + "2)\n" + third + "3)\n" + first + "4)\n";
    EXPECT_EQ(bytes.substr(70), cp932::Encode(expected).bytes);
}

TEST_F(OutputTest, QuotesCellsWithCommasAndQuotesSoNoCellShifts) {
    Touch(m_dir, "書類/2022年度/請求書/[20230315][(株)A,B][1,000]見積\"再\",2回目.pdf");
    ASSERT_TRUE(Run(m_dir.Child("書類") + kSep).ok);
    EXPECT_EQ(Utf8(ReadBytes(U8(m_csv))).substr(Utf8(kHeader).size()),
              "請求書,20230315,\"(株)A,B\",1000,,\"見積\"\"再\"\",2回目\","
              "\"2022年度/請求書/[20230315][(株)A,B][1,000]見積\"\"再\"\",2回目.pdf\","
              "=HYPERLINK(G2)\n");
}

TEST_F(OutputTest, WritesPathsRelativeToTheLinkBase) {
    Touch(m_dir, "書類/2022年度/請求書/[20230315][A][100].pdf");
    ASSERT_TRUE(Run(m_dir.Child("書類") + kSep).ok);
    EXPECT_EQ(
        Utf8(ReadBytes(U8(m_csv))).substr(Utf8(kHeader).size()),
        "請求書,20230315,A,100,,,\"2022年度/請求書/[20230315][A][100].pdf\",=HYPERLINK(G2)\n");
}

// Asked at every point where the run could stop: a watcher that checks the book there.
class BookWatch final : public JobMonitor {
public:
    BookWatch(const std::string& csv, std::string old) : m_csv(csv), m_old(std::move(old)) {}

    bool CancelRequested() const override {
        EXPECT_EQ(ReadBytes(U8(m_csv)), m_old);
        ++m_checks;
        return false;
    }
    int Checks() const { return m_checks; }

private:
    std::string m_csv;
    std::string m_old;
    mutable std::atomic<int> m_checks{0};
};

TEST_F(OutputTest, ReplacesAnExistingBookWholeButOnlyAfterTheScan) {
    Touch(m_dir, "書類/2022年度/a/[20230315][A][100].pdf");
    const std::string old = std::string(5000, 'x') + "\n";
    WriteBytes(U8(m_csv), old);
    BookWatch watch(m_csv, old);
    const ExportResult result = Run("", &watch);
    EXPECT_TRUE(result.ok);
    EXPECT_GE(watch.Checks(), 3) << "two folders and the end";
    EXPECT_EQ(watch.Snapshot().foldersDone, 2u);
    EXPECT_EQ(watch.Snapshot().itemsDone, 1u);
    EXPECT_EQ(ReadBytes(U8(m_csv)),
              kHeader + cp932::Encode("a,20230315,A,100,,,\"" + m_year +
                                      "/a/[20230315][A][100].pdf\",=HYPERLINK(G2)\n")
                            .bytes);
}

// Stops the run once this many rows are written.
class StopAfterRows final : public JobMonitor {
public:
    explicit StopAfterRows(std::uint64_t rows) : m_rows(rows) {}
    bool CancelRequested() const override { return Snapshot().itemsDone >= m_rows; }

private:
    std::uint64_t m_rows;
};

TEST_F(OutputTest, AStoppedRunKeepsTheOldBookOrMakesNoneAndLeavesNoTemporary) {
    for (int i = 0; i < 60; ++i) {
        Touch(m_dir, "書類/2022年度/" + std::to_string(i % 6) + "/[20230315][A][" +
                         std::to_string(i) + "][1].pdf");
    }
    const std::string expectedMessage = "索引簿の出力を中止しました。\n\n" + m_csv +
                                        "\n\n索引簿ファイルは書き込んでいません。以前の索引簿"
                                        "ファイルがあれば、そのまま残っています。";
    for (const bool oldBook : {true, false}) {
        for (const std::uint64_t stopAfter : {0u, 1u, 2u, 33u, 119u}) {
            SCOPED_TRACE(std::to_string(stopAfter) + (oldBook ? " with a book" : " without"));
            fs::remove(U8(m_csv));
            if (oldBook) {
                WriteBytes(U8(m_csv), "the book of last week\n");
            }
            StopAfterRows monitor(stopAfter);
            const ExportResult result = Run("", &monitor);
            EXPECT_FALSE(result.ok);
            EXPECT_TRUE(result.cancelled);
            EXPECT_EQ(result.rowsWritten, 0u);
            EXPECT_EQ(result.message, expectedMessage);
            EXPECT_EQ(fs::exists(U8(m_csv)), oldBook);
            if (oldBook) {
                EXPECT_EQ(ReadBytes(U8(m_csv)), "the book of last week\n");
            }
            EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.Path()), fs::directory_iterator()),
                      oldBook ? 2 : 1)
                << "the storage folder and the old book, no temporary";
        }
    }
    StopAfterRows never(121);
    EXPECT_TRUE(Run("", &never).ok) << "a run that ends before the stop point is not stopped";
    EXPECT_EQ(never.Snapshot().itemsDone, 120u);
}

TEST_F(OutputTest, AFolderWithoutDatedNamesGivesTheHeaderAlone) {
    Touch(m_dir, "書類/2022年度/doc001.pdf");
    const ExportResult result = Run("");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.rowsWritten, 0u);
    EXPECT_EQ(ReadBytes(U8(m_csv)), kHeader);
}

TEST_F(OutputTest, RefusesATargetFolderThatIsNotThereAndKeepsTheBook) {
    Touch(m_dir, "書類/2022年度/a/[20230315][A][100].pdf");
    WriteBytes(U8(m_csv), "old book\n");
    const struct {
        std::string target;
        const char* reason;
    } cases[] = {
        {m_dir.Child("書類") + kSep + "2O22年度", "ファイルまたはフォルダが見つかりません。"},
        {m_year + kSep + "a" + kSep + "[20230315][A][100].pdf",
         "パスの途中にフォルダではないファイルがあります。"},
    };
    for (const auto& c : cases) {
        m_year = c.target;
        const ExportResult result = Run("");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, "リスト化対象フォルダが見つかりません。\n\n" + c.target + "\n\n" +
                                      c.reason + "\n\n索引簿ファイルは作成していません。");
    }
    EXPECT_EQ(ReadBytes(U8(m_csv)), "old book\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.Path()), fs::directory_iterator()), 2)
        << "the book and the storage folder, nothing else";
}

TEST_F(OutputTest, WritesTheRestAndTellsOfFoldersItCouldNotRead) {
    for (const char* folder : {"a", "b", "c"}) {
        Touch(m_dir, "書類/2022年度/" + std::string(folder) + "/[20230315][A][100].pdf");
    }
    // b and c vanish while the target folder is listed, before they are opened: the run first
    // asks whether to stop at the target folder's first entry, once its three entries are read.
    class RemoveOnFirstQuestion final : public JobMonitor {
    public:
        explicit RemoveOnFirstQuestion(std::string year) : m_year(std::move(year)) {}
        bool CancelRequested() const override {
            if (++m_asked == 1) {
                fs::remove_all(U8(m_year + "/b"));
                fs::remove_all(U8(m_year + "/c"));
            }
            return false;
        }

    private:
        std::string m_year;
        mutable int m_asked = 0;
    } monitor(m_year);
    const ExportResult result = Run("", &monitor);
    EXPECT_EQ(monitor.Snapshot().foldersDone, 2u);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.rowsWritten, 1u);
    EXPECT_EQ(result.unreadableFolders, 2u);
    const std::string start =
        "出力処理を終了しました。\n\n読み取れなかったフォルダが 2 個あります。"
        "その中の書類は索引簿に載っていません。\n\n最初のフォルダ: ";
    const std::string reason = "\nファイルまたはフォルダが見つかりません。";
    EXPECT_TRUE(result.message == start + m_year + "/b/" + reason ||
                result.message == start + m_year + "/c/" + reason)
        << result.message;
    EXPECT_EQ(ReadBytes(U8(m_csv)),
              kHeader + cp932::Encode("a,20230315,A,100,,,\"" + m_year +
                                      "/a/[20230315][A][100].pdf\",=HYPERLINK(G2)\n")
                            .bytes);
}

// A tmpfs of the given size, mounted on a fresh folder for the test and gone after it.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& size) {
        std::string pattern = (fs::temp_directory_path() / "fumibako-disk-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        m_path = pattern;
        m_mounted = mount("tmpfs", m_path.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    }
    ~SmallDisk() {
        if (m_mounted) {
            umount2(m_path.c_str(), MNT_DETACH);
        }
        if (!m_path.empty()) {
            rmdir(m_path.c_str());
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_mounted = false;
};

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(U8(folder))) {
        names.push_back(FromFsPath(e.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Enough stored files for a book of some 100 KB.
void FileManyDocuments(const TempDir& dir) {
    for (int i = 0; i < 400; ++i) {
        Touch(dir, "書類/2022年度/請求書/[20230315][(株)〇〇商事][100][200]第" + std::to_string(i) +
                       "回.pdf");
    }
}

TEST_F(OutputTest, AFullDiskLeavesTheOldBookWholeAndNoPartOfTheNewOne) {
    const SmallDisk disk("64k");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "mounting a tmpfs needs root";
    }
    FileManyDocuments(m_dir);
    m_csv = disk.Path() + "/索引簿.csv";
    const std::string old = std::string(20000, 'x') + "\n";
    WriteBytes(U8(m_csv), old);
    const ExportResult result = Run("");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "索引簿ファイルへの書き込みに失敗しました。\n\n" + m_csv +
                                  "\n\nディスクの空き容量が足りません。\n\n"
                                  "以前の索引簿ファイルはそのまま残っています。");
    EXPECT_EQ(ReadBytes(U8(m_csv)), old);
    EXPECT_EQ(NamesIn(disk.Path()), std::vector<std::string>{"索引簿.csv"});
}

TEST_F(OutputTest, ARunKilledWhileWritingLeavesTheOldBook) {
    FileManyDocuments(m_dir);
    const std::string old = "old book\n";
    WriteBytes(U8(m_csv), old);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The file-size limit kills the run with its first write past 16 KB.
        const rlimit limit{16384, 16384};
        setrlimit(RLIMIT_FSIZE, &limit);
        Run("");
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_EQ(ReadBytes(U8(m_csv)), old);
    // What the killed run wrote stays under a temporary name, which no reader takes for a book.
    const std::vector<std::string> names = NamesIn(m_dir.Text());
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(IsTemporaryName(names[0])) << names[0];
    EXPECT_EQ(names[1], "書類");
    EXPECT_EQ(names[2], "索引簿.csv");
}

TEST_F(OutputTest, KeepsTheBooksPermissionsAndALinkToIt) {
    Touch(m_dir, "書類/2022年度/a/[20230315][A][100].pdf");
    const std::string real = m_dir.Child("共有") + kSep + "索引簿.csv";
    fs::create_directories(U8(m_dir.Child("共有")));
    WriteBytes(U8(real), "old book\n");
    fs::permissions(U8(real),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(U8(real), U8(m_csv));
    ASSERT_TRUE(Run("").ok);
    EXPECT_TRUE(fs::is_symlink(U8(m_csv)));
    EXPECT_EQ(ReadBytes(U8(m_csv)),
              kHeader + cp932::Encode("a,20230315,A,100,,,\"" + m_year +
                                      "/a/[20230315][A][100].pdf\",=HYPERLINK(G2)\n")
                            .bytes);
    EXPECT_EQ(fs::status(U8(real)).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(NamesIn(m_dir.Child("共有")), std::vector<std::string>{"索引簿.csv"});
}

TEST_F(OutputTest, CellsASpreadsheetWouldComputeAreWrittenAsText) {
    // Names a spreadsheet would read as formulas, in every cell the names fill.
    Touch(m_dir, "書類/2022年度/=cmd|' -C calc'!A0/[=1+1][@SUM(1)][-500][=2+2]+remark.pdf");
    Touch(m_dir, "書類/2022年度/-型/[20230315][\tA][100]\rnote.pdf");
    ASSERT_TRUE(Run(m_dir.Child("書類") + kSep + "2022年度" + kSep).ok);
    const std::string book = Utf8(ReadBytes(U8(m_csv))).substr(Utf8(kHeader).size());
    const std::string first = "'=cmd|' -C calc'!A0,'=1+1,'@SUM(1),-500,,'+remark,"
                              "\"'=cmd|' -C calc'!A0/[=1+1][@SUM(1)][-500][=2+2]+remark.pdf\","
                              "=HYPERLINK(G";
    const std::string second = "'=cmd|' -C calc'!A0,'=1+1,'@SUM(1),'=2+2,,'+remark,"
                               "\"'=cmd|' -C calc'!A0/[=1+1][@SUM(1)][-500][=2+2]+remark.pdf\","
                               "=HYPERLINK(G";
    const std::string third =
        "'-型,20230315,'\tA,100,,\"'\rnote\",\"'-型/[20230315][\tA][100]\rnote.pdf\",=HYPERLINK(G";
    EXPECT_TRUE(book == first + "2)\n" + second + "3)\n" + third + "4)\n" ||
                book == third + "2)\n" + first + "3)\n" + second + "4)\n")
        << book;
}

TEST_F(OutputTest, RefusesAnEmptyTargetFolderWithoutTouchingTheFile) {
    m_year.clear();
    JobMonitor monitor;
    const ExportResult result = Run("", &monitor);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "リスト化対象フォルダが指定されていません。\n"
                              "索引簿にするフォルダ（年度）を指定してください。");
    EXPECT_EQ(monitor.Snapshot().foldersDone, 0u);
    EXPECT_FALSE(fs::exists(U8(m_csv)));
}

TEST_F(OutputTest, ReportsAFileThatCannotBeWrittenNamingIt) {
    Touch(m_dir, "書類/2022年度/a/[20230315][A][100].pdf");
    const struct {
        std::string path;
        const char* start;
    } cases[] = {
        {m_dir.Child("無いフォルダ") + kSep + "x.csv", "索引簿ファイルを作成できませんでした。"},
        {m_dir.Child("書類"), "索引簿ファイルを作成できませんでした。"}, // a folder stands there
        {m_dir.Text(true), "索引簿ファイルを作成できませんでした。"},    // empty file name
        {"/dev/full", "索引簿ファイルを作成できませんでした。"},         // not a file to replace
    };
    for (const auto& c : cases) {
        m_csv = c.path;
        const ExportResult result = Run("");
        EXPECT_FALSE(result.ok) << c.path;
        EXPECT_EQ(result.rowsWritten, 0u);
        EXPECT_TRUE(result.message.starts_with(c.start)) << result.message;
        EXPECT_NE(result.message.find("\n\n" + c.path + "\n\n"), std::string::npos)
            << result.message;
    }
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    const std::vector<std::string> devices = NamesIn("/dev");
    EXPECT_EQ(std::find_if(devices.begin(), devices.end(), IsTemporaryName), devices.end());
}

TEST_F(OutputTest, NeverReplacesAStoredReadOnlyFile) {
    Touch(m_dir, "書類/2022年度/a/[20230315][A][100].pdf");
    const std::string stored = m_year + kSep + "a" + kSep + "[20230315][A][100].pdf";
    WriteBytes(U8(stored), "%PDF stored");
    std::filesystem::permissions(U8(stored), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::group_read |
                                                 std::filesystem::perms::others_read);
    m_csv = stored;
    const ExportResult result = Run("");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.starts_with("索引簿ファイルを作成できませんでした。\n\n" + stored))
        << result.message;
    EXPECT_EQ(ReadBytes(U8(stored)), "%PDF stored");
}

TEST_F(OutputTest, WarnsAboutNamesTheCsvCodePageCannotHold) {
    Touch(m_dir, "書類/2022年度/a/[20230315][𠮷野家😀][100].pdf");
    const ExportResult result = Run("");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.rowsWritten, 1u);
    const std::string path = m_year + "/a/[20230315][𠮷野家😀][100].pdf";
    EXPECT_NE(result.warning.find("2行目: " + path), std::string::npos) << result.warning;
    EXPECT_NE(Utf8(ReadBytes(U8(m_csv))).find("a,20230315,?野家?,100,"), std::string::npos);
}

} // namespace
} // namespace fmb
