#include "index/CCsvOut.h"

#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

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
    CCsvOut::ScanFolder(
        m_year + kSep, [&](const ScanEntry& e) { entries.push_back(e); },
        [&](std::size_t seen) {
            EXPECT_EQ(seen, lastCount + 1);
            lastCount = seen;
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

    // Depth first: the files of one type folder come together (the scanned folder's own files
    // may come between type folders, in the file system's order).
    std::vector<std::string> runs;
    for (const auto& e : entries) {
        if (!e.typeFolder.empty() && (runs.empty() || runs.back() != e.typeFolder)) {
            runs.push_back(e.typeFolder);
        }
    }
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(std::adjacent_find(runs.begin(), runs.end()), runs.end());
}

TEST_F(ScanFolderTest, AMissingFolderGivesNothingAndAFolderLinkBackUpTheTreeEnds) {
    std::vector<ScanEntry> entries;
    const auto collect = [&](const ScanEntry& e) { entries.push_back(e); };
    CCsvOut::ScanFolder(m_dir.Child("無い"), collect);
    CCsvOut::ScanFolder("", collect);
    EXPECT_TRUE(entries.empty());

    Touch(m_dir, "2022年度/請求書/a.pdf");
    fs::create_directory_symlink(U8(m_year), U8(m_year + "/請求書/loop"));
    fs::create_directory_symlink(U8(m_year + "/請求書"), U8(m_year + "/link"));
    CCsvOut::ScanFolder(m_year, collect);
    std::vector<std::string> paths;
    for (const auto& e : entries) {
        paths.push_back(e.fullPath);
    }
    std::sort(paths.begin(), paths.end());
    // The link to a folder outside the walk's way is followed; the links back up are not.
    EXPECT_EQ(paths, (std::vector<std::string>{m_year + "/link/a.pdf", m_year + "/請求書/a.pdf"}));
}

class OutputTest : public ::testing::Test {
protected:
    ExportResult Run(const std::string& linkBase, const ScanProgress& progress = {}) {
        CCsvOut worker;
        return worker.Output(m_csv, m_year, linkBase, progress);
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

TEST_F(OutputTest, ReplacesAnExistingBookWholeButOnlyAfterTheScan) {
    Touch(m_dir, "書類/2022年度/a/[20230315][A][100].pdf");
    const std::string old = std::string(5000, 'x') + "\n";
    WriteBytes(U8(m_csv), old);
    std::size_t checks = 0;
    const ExportResult result = Run("", [&](std::size_t) {
        EXPECT_EQ(ReadBytes(U8(m_csv)), old);
        ++checks;
    });
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(checks, 2u);
    EXPECT_EQ(ReadBytes(U8(m_csv)),
              kHeader + cp932::Encode("a,20230315,A,100,,,\"" + m_year +
                                      "/a/[20230315][A][100].pdf\",=HYPERLINK(G2)\n")
                            .bytes);
}

TEST_F(OutputTest, AFolderWithoutDatedNamesGivesTheHeaderAlone) {
    Touch(m_dir, "書類/2022年度/doc001.pdf");
    const ExportResult result = Run("");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.rowsWritten, 0u);
    EXPECT_EQ(ReadBytes(U8(m_csv)), kHeader);

    m_year = m_dir.Child("無い");
    EXPECT_TRUE(Run("").ok);
    EXPECT_EQ(ReadBytes(U8(m_csv)), kHeader);
}

TEST_F(OutputTest, RefusesAnEmptyTargetFolderWithoutTouchingTheFile) {
    m_year.clear();
    std::size_t entriesSeen = 0;
    const ExportResult result = Run("", [&](std::size_t) { ++entriesSeen; });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "リスト化対象フォルダが指定されていません。\n"
                              "索引簿にするフォルダ（年度）を指定してください。");
    EXPECT_EQ(entriesSeen, 0u);
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
        {"/dev/full", "索引簿ファイルへの書き込みに失敗しました。"},     // the disk is full
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
