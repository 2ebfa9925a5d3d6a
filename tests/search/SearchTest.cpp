#include "search/StorageSearch.h"

#include "search/DatedPaths.h"
#include "search/SearchRunner.h"

#include "ledger/LedgerFolder.h"
#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace fmb {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WriteBytes;

// A storage root holding both name forms, several amounts, folded spellings, a document kept in
// the ledger's folder and files that are not stored documents.
const char* const kStored[] = {
    "2022年度/請求書/(株)ＡＢＣ商事/[2023_03_31][(株)ＡＢＣ商事][500,000].pdf",
    "2022年度/請求書/[20230401][㈱テスト][1,000][2,000][-300]3月分.pdf",
    "2023年度/領収書/20230401_国税商事_2,100.pdf",
    "2023年度/領収書/20230402_ﾃｽﾄ販売_100＜領収書＞ﾒﾓ.pdf",
    "2023年度/[20240331][abc][99]前払い.pdf",
    "2023年度/請求書/2024年03月/[20240331][㊒みらい][10,000]＜請求書＞再発行.pdf",
    "2023年度/請求書/doc001.pdf",
    "2023年度/請求書/[__][x][1].pdf",
};
const char* const kKept = "/kept/[20230401][㈱テスト][1,000].pdf";

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* relative : kStored) {
            Touch(relative);
        }
        Touch(std::string(kLedgerFolderName) + kKept);
    }

    void Touch(const std::string& relative) {
        const fs::path path = m_dir.Path() / U8(relative);
        fs::create_directories(path.parent_path());
        WriteBytes(path, "");
    }

    // The hits of the fields, sorted, as paths relative to the root. The walk on one thread and
    // on three must find the same.
    std::vector<std::string> Find(const SearchFields& fields,
                                  KeptVersions kept = KeptVersions::LeftOut) {
        const CheckedSearch checked = CheckSearch(fields);
        EXPECT_TRUE(checked.query) << (checked.refusal ? checked.refusal->message : "");
        if (!checked.query) {
            return {};
        }
        const auto find = [&](std::size_t threads) {
            std::vector<std::vector<SearchHit>> found(threads);
            std::vector<MatchSink> sinks;
            for (std::vector<SearchHit>& hits : found) {
                sinks.push_back(
                    [&hits](const SearchMatch& match) { hits.push_back(match.ToHit()); });
            }
            SearchStorage(m_root, *checked.query, {NameForm::Bracketed, kept}, sinks);
            std::vector<SearchHit> hits;
            for (std::vector<SearchHit>& more : found) {
                std::move(more.begin(), more.end(), std::back_inserter(hits));
            }
            return hits;
        };
        const std::vector<SearchHit> hits = find(1);
        EXPECT_EQ(Paths(hits), Paths(find(3)));
        std::vector<std::string> relative;
        for (const SearchHit* hit : ByDateAndPath(hits)) {
            std::string path = hit->path.substr(m_dir.Text(true).size());
            std::replace(path.begin(), path.end(), kPathSeparator, '/');
            relative.push_back(path);
        }
        return relative;
    }

    static std::vector<std::string> Paths(const std::vector<SearchHit>& hits) {
        std::vector<std::string> paths;
        for (const SearchHit* hit : ByDateAndPath(hits)) {
            paths.push_back(hit->path);
        }
        return paths;
    }

    TempDir m_dir;
    std::string m_root = m_dir.Text();
};

struct QueryCase {
    const char* what;
    SearchFields fields;
    std::vector<int> hits; // indexes into kStored, sorted by date then path
};

TEST_F(SearchTest, FindsByDateAmountCompanyTypeAndTextAlone_AndTogether) {
    const QueryCase cases[] = {
        {"everything stored", {}, {0, 1, 2, 3, 4, 5}},
        {"date range, both edges inclusive", {.from = "20230331", .to = "20230401"}, {0, 1, 2}},
        {"date from only", {.from = "20240331"}, {4, 5}},
        {"date to only", {.to = "20230331"}, {0}},
        {"full-width date", {.from = "２０２３０４０２", .to = "２０２３０４０２"}, {3}},
        {"amount range at its edges", {.min = "2100", .max = "2100"}, {2}},
        {"any amount of a name in range", {.min = "1500", .max = "2500"}, {1, 2}},
        {"negative amounts", {.min = "-500", .max = "-1"}, {1}},
        {"separators in the range", {.min = "10,000", .max = "500,000"}, {0, 5}},
        {"company, full-width and case folded", {.company = "abc"}, {0, 4}},
        {"company form ㈱ = (株)", {.company = "(株)テスト"}, {1}},
        {"half-width katakana", {.company = "テスト"}, {1, 3}},
        {"circled form ㊒ = (有)", {.company = "(有)"}, {5}},
        {"type by folder or prefix", {.type = "領収書"}, {2, 3}},
        {"type 請求書", {.type = "請求書"}, {0, 1, 5}},
        {"remark text", {.text = "メモ"}, {3}},
        {"remark text leaves the type prefix out", {.text = "請求書"}, {}},
        {"combined: all must match",
         {.from = "20230401", .to = "20240331", .min = "0", .max = "5000", .company = "テスト"},
         {1, 3}},
        {"date and company", {.from = "20230401", .to = "20230401", .company = "国税"}, {2}},
        {"nothing matches", {.company = "存在しない"}, {}},
    };
    for (const QueryCase& c : cases) {
        std::vector<std::string> expected;
        for (const int index : c.hits) {
            expected.emplace_back(kStored[index]);
        }
        EXPECT_EQ(Find(c.fields), expected) << c.what;
    }
}

TEST_F(SearchTest, TheLedgersKeptVersionsOnlyWhenAsked) {
    SearchFields fields;
    fields.company = "テスト";
    fields.from = "20230401";
    fields.to = "20230401";
    EXPECT_EQ(Find(fields), std::vector<std::string>{kStored[1]});
    EXPECT_EQ(Find(fields, KeptVersions::Included),
              (std::vector<std::string>{kStored[1], std::string(kLedgerFolderName) + kKept}));
}

TEST(CheckSearchTest, RefusesInputThatCannotBeSearchedAtItsField) {
    const struct {
        SearchFields fields;
        SearchField field;
        const char* message;
    } cases[] = {
        {{.from = "2023040"},
         SearchField::From,
         "日付は8桁の数字 (例: 20230120) で入力してください。"},
        {{.from = "2023/4/1"},
         SearchField::From,
         "日付は8桁の数字 (例: 20230120) で入力してください。"},
        {{.to = "20230230"}, SearchField::To, "存在しない日付です。"},
        {{.from = "20231301"}, SearchField::From, "存在しない日付です。"},
        {{.from = "20230402", .to = "20230401"},
         SearchField::To,
         "終わりの日付が始まりの日付より前です。"},
        {{.min = "12a"},
         SearchField::Min,
         "金額は数字で入力してください (桁区切りの「,」と負の符号「-」は使えます)。"},
        {{.max = "1.5"},
         SearchField::Max,
         "金額は数字で入力してください (桁区切りの「,」と負の符号「-」は使えます)。"},
        {{.min = "200", .max = "100"},
         SearchField::Max,
         "金額の上限が下限より小さくなっています。"},
    };
    for (const auto& c : cases) {
        const CheckedSearch checked = CheckSearch(c.fields);
        ASSERT_TRUE(checked.refusal) << c.message;
        EXPECT_FALSE(checked.query);
        EXPECT_EQ(checked.refusal->field, c.field) << c.message;
        EXPECT_EQ(checked.refusal->message, c.message);
    }
    // Equal edges and blanks around the input are fine.
    EXPECT_TRUE(
        CheckSearch({.from = " 20230401 ", .to = "20230401", .min = "100", .max = "100"}).query);
}

// The command line's listing: by date, then by the bytes of the path, whatever order the walk
// found them in, and whether or not two paths share their folder (a folder's files may sort
// around the files of its subfolders). Lists gathered apart are taken in whole.
TEST(DatedPathsTest, ListsByDateThenPath) {
    const auto whole = [](const std::vector<FolderAndName>& paths) {
        std::vector<std::string> texts;
        for (const FolderAndName& path : paths) {
            texts.push_back(path.Whole());
        }
        return texts;
    };
    DatedPaths paths;
    const auto add = [](DatedPaths& list, int date, std::string_view folder,
                        std::string_view name) {
        list.Add(date, std::string(folder) + std::string(name), name.size());
    };
    add(paths, 20230401, "/r/b/", "[20230401][A][1].pdf");
    add(paths, 20230315, "/r/", "z.pdf");
    add(paths, 20230401, "/r/a/", "[20230401][A][1].pdf");
    add(paths, 20230401, "/r/a/", "[20230401][A][1]x.pdf");
    add(paths, 20230401, "/r/a/", "c.pdf");
    add(paths, 20230401, "/r/a/b/", "a.pdf");
    add(paths, 20221231, "/r/zz/", "y.pdf");
    DatedPaths more;
    add(more, 20230401, "/r/a/", "0.pdf");
    add(more, 20230401, "/r/", "a.pdf");
    paths.Add(std::move(more));
    add(paths, 20230401, "/r/a/", "b.pdf");
    EXPECT_EQ(whole(paths.Sorted()),
              (std::vector<std::string>{"/r/zz/y.pdf", "/r/z.pdf", "/r/a.pdf", "/r/a/0.pdf",
                                        "/r/a/[20230401][A][1].pdf", "/r/a/[20230401][A][1]x.pdf",
                                        "/r/a/b.pdf", "/r/a/b/a.pdf", "/r/a/c.pdf",
                                        "/r/b/[20230401][A][1].pdf"}));
    EXPECT_TRUE(DatedPaths().Sorted().empty());

    // Enough text to fill several blocks, in two lists: the order is that of the whole texts.
    DatedPaths many;
    DatedPaths second;
    std::vector<std::pair<int, std::string>> expected;
    for (int i = 0; i < 20000; ++i) {
        const int date = 20230401 + i % 3;
        const std::string folder = "/r/" + std::to_string(i % 7) + "/" + std::string(i % 5, 'f') +
                                   (i % 11 == 0 ? "" : "/");
        const std::string name = std::to_string(i * 7919 % 1000) + std::string(20, 'n') + ".pdf";
        add(i < 12000 ? many : second, date, folder, name);
        expected.emplace_back(date, folder + name);
    }
    many.Add(std::move(second));
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> expectedPaths;
    for (const auto& [date, path] : expected) {
        expectedPaths.push_back(path);
    }
    EXPECT_EQ(whole(many.Sorted()), expectedPaths);
}

TEST_F(SearchTest, StopsWhenAsked) {
    std::stop_source stop;
    stop.request_stop();
    std::size_t hits = 0;
    const SearchReport report = SearchStorage(
        m_root, {}, {}, [&](const SearchMatch&) { ++hits; }, stop.get_token());
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(hits, 0u);
}

// The hit book is the index book's CSV: CP932, the same columns, one line per amount; its links
// are relative to its folder when it lies in the storage root.
TEST_F(SearchTest, WritesTheHitsAsAnIndexBook) {
    std::vector<SearchHit> hits;
    SearchFields fields;
    fields.company = "テスト";
    SearchStorage(m_root, *CheckSearch(fields).query, {},
                  [&](const SearchMatch& match) { hits.push_back(match.ToHit()); });
    const std::vector<const SearchHit*> inOrder = ByDateAndPath(hits);
    ASSERT_EQ(inOrder.size(), 2u);

    const std::string inRoot = m_dir.Child("2023年度") + kPathSeparator + "hits.csv";
    const ExportResult written = WriteHitBook(inRoot, inOrder, m_root);
    ASSERT_TRUE(written.ok) << written.message;
    EXPECT_EQ(written.rowsWritten, 4u);
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(cp932::Decode(ReadBytes(U8(inRoot))).utf8,
              "種類,年月日,取引先名,金額,備考(種別),備考,ファイルパス,リンク先を開く\n"
              "請求書,20230401,㈱テスト,1000,,3月分,\".." +
                  sep + "2022年度" + sep + "請求書" + sep +
                  "[20230401][㈱テスト][1,000][2,000][-300]3月分.pdf\",=HYPERLINK(G2)\n"
                  "請求書,20230401,㈱テスト,2000,,3月分,\".." +
                  sep + "2022年度" + sep + "請求書" + sep +
                  "[20230401][㈱テスト][1,000][2,000][-300]3月分.pdf\",=HYPERLINK(G3)\n"
                  "請求書,20230401,㈱テスト,-300,,3月分,\".." +
                  sep + "2022年度" + sep + "請求書" + sep +
                  "[20230401][㈱テスト][1,000][2,000][-300]3月分.pdf\",=HYPERLINK(G4)\n"
                  "領収書,20230402,ﾃｽﾄ販売,100,＜領収書＞,ﾒﾓ,\"領収書" +
                  sep + "20230402_ﾃｽﾄ販売_100＜領収書＞ﾒﾓ.pdf\",=HYPERLINK(G5)\n");

    // Outside the storage root the links are full paths.
    TempDir elsewhere;
    const std::string outside = elsewhere.Child("hits.csv");
    ASSERT_TRUE(WriteHitBook(outside, inOrder, m_root).ok);
    const std::string book = cp932::Decode(ReadBytes(U8(outside))).utf8;
    EXPECT_NE(book.find("\"" + inOrder[1]->path + "\""), std::string::npos) << book;
}

TEST_F(SearchTest, AFailedHitBookLeavesTheOldOneAndSaysWhy) {
    const std::string book = m_dir.Child("hits.csv");
    WriteBytes(U8(book), "old");
    fs::permissions(U8(book),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const ExportResult written = WriteHitBook(book, {}, m_root);
    EXPECT_FALSE(written.ok);
    EXPECT_NE(written.message.find(book), std::string::npos) << written.message;
    EXPECT_EQ(ReadBytes(U8(book)), "old");
}

// The window's runner: a new search replaces the running one, whose hits stay apart.
TEST_F(SearchTest, TheRunnerDeliversTheHitsOfTheLatestSearchAndEndsIt) {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<SearchBatch> batches;
    SearchRunner runner([&](SearchBatch&& batch) {
        const std::lock_guard lock(mutex);
        batches.push_back(std::move(batch));
        changed.notify_all();
    });
    SearchFields first;
    first.company = "abc";
    SearchFields second;
    second.type = "領収書";
    runner.Start(m_root, *CheckSearch(first).query, {});
    const std::uint64_t latest = runner.Start(m_root, *CheckSearch(second).query, {});
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] {
        return !batches.empty() && batches.back().finished && batches.back().search == latest;
    }));
    std::vector<std::string> names;
    for (const SearchBatch& batch : batches) {
        if (batch.search == latest) {
            for (const SearchHit& hit : batch.hits) {
                names.push_back(fs::path(U8(hit.path)).filename().string());
            }
        }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"20230401_国税商事_2,100.pdf",
                                               "20230402_ﾃｽﾄ販売_100＜領収書＞ﾒﾓ.pdf"}));
}

} // namespace
} // namespace fmb
