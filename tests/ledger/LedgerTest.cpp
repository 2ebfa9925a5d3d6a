#include "LedgerFixture.h"

#include "ledger/Verification.h"
#include "platform/FileHash.h"

#include <gmock/gmock.h>

namespace fmb::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Kind = VerifyProblem::Kind;

std::vector<Kind> KindsOf(const VerifyReport& report) {
    std::vector<Kind> kinds;
    for (const VerifyProblem& problem : report.problems) {
        kinds.push_back(problem.kind);
    }
    return kinds;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + '\n';
    }
    return text;
}

using LedgerTest = LedgerFixture;

TEST_F(LedgerTest, AFilingIsRecordedWithItsPathContentFieldsAndPerson) {
    ASSERT_EQ(File(Source("a.pdf", "first document"), "A社", "500", "", "山田"), CopyResult::Filed);
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    const LedgerRecord& r = records[0];
    EXPECT_EQ(r.operation, "登録");
    EXPECT_EQ(r.path, "2022年度/請求書/[2022_12_31][A社][500].pdf");
    EXPECT_EQ(r.size, 14u);
    ContentDigest stored;
    ASSERT_FALSE(HashFile(U8(StoredPath("[2022_12_31][A社][500].pdf")), stored));
    EXPECT_EQ(r.sha256, stored.sha256);
    EXPECT_EQ(r.sha256.size(), 64u);
    EXPECT_EQ(r.type, "請求書");
    EXPECT_EQ(r.date, "20221231");
    EXPECT_EQ(r.company, "A社");
    EXPECT_EQ(r.amount, "500");
    EXPECT_EQ(r.person, "山田");
    EXPECT_EQ(r.sourceName, "src.pdf");
    EXPECT_FALSE(r.computer.empty());
    // Local time with its offset.
    EXPECT_EQ(r.time.size(), 25u) << r.time;
    EXPECT_EQ(r.time[10], 'T');
    EXPECT_EQ(r.time[22], ':');
    EXPECT_TRUE(VerifyStorage(Root()).Ok());
}

TEST_F(LedgerTest, FieldsWithTabsLineBreaksAndBackslashesReadBackUnchanged) {
    LedgerRecord record;
    record.operation = "訂正";
    record.path = "2022年度/a\\b.pdf";
    record.reason = "行1\n行2\tタブ\r\\";
    record.sha256 = std::string(64, 'a');
    record.size = 7;
    ASSERT_FALSE(m_ledger.Append(record));
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], record);
    EXPECT_EQ(Lines(LedgerBytes()).size(), 2u); // header and one line
}

// The chain finds a line removed, changed or reordered, and names the line.
TEST_F(LedgerTest, TheChainFindsEveryLineRemovedChangedOrReordered) {
    for (const char* name : {"1.pdf", "2.pdf", "3.pdf", "4.pdf"}) {
        ASSERT_EQ(File(Source(name, std::string("content ") + name), "A社", "500", name),
                  CopyResult::Filed);
    }
    const std::vector<std::string> intact = Lines(LedgerBytes());
    ASSERT_EQ(intact.size(), 5u);
    struct Case {
        const char* what;
        std::function<std::vector<std::string>(std::vector<std::string>)> edit;
        std::vector<std::size_t> brokenLines;
    };
    const std::vector<Case> cases = {
        {"second record removed",
         [](auto lines) {
             lines.erase(lines.begin() + 2);
             return lines;
         },
         {3}},
        {"an amount changed",
         [](auto lines) {
             const std::size_t at = lines[2].find("\t500\t");
             lines[2].replace(at, 5, "\t900\t");
             return lines;
         },
         {3}},
        {"two records swapped",
         [](auto lines) {
             std::swap(lines[2], lines[3]);
             return lines;
         },
         {3, 4, 5}},
        {"header changed",
         [](auto lines) {
             lines[0] += "x";
             return lines;
         },
         {1}},
        {"a line cut short",
         [](auto lines) {
             lines[4].resize(lines[4].size() / 2);
             return lines;
         },
         {5}},
    };
    for (const Case& c : cases) {
        WriteBytes(m_ledger.FilePath(), Joined(c.edit(intact)));
        EXPECT_EQ(m_ledger.Read().brokenLines, c.brokenLines) << c.what;
        const VerifyReport report = VerifyStorage(Root());
        EXPECT_FALSE(report.Ok()) << c.what;
        EXPECT_THAT(report.problems.front().Text(),
                    HasSubstr(std::to_string(c.brokenLines.front()) + " 行目"))
            << c.what;
    }
    WriteBytes(m_ledger.FilePath(), Joined(intact));
    EXPECT_TRUE(VerifyStorage(Root()).Ok());
}

TEST_F(LedgerTest, ADocumentChangedAfterItsReadOnlyMarkWasClearedIsFoundAltered) {
    ASSERT_EQ(File(Source("a.pdf", "the amount is 500"), "A社", "500"), CopyResult::Filed);
    const auto stored = U8(StoredPath("[2022_12_31][A社][500].pdf"));
    std::filesystem::permissions(stored, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    WriteBytes(stored, "the amount is 900"); // same size, other content
    const VerifyReport report = VerifyStorage(Root());
    EXPECT_THAT(KindsOf(report), ElementsAre(Kind::Altered));
    EXPECT_EQ(report.problems[0].path, StoredPath("[2022_12_31][A社][500].pdf"));
    EXPECT_THAT(report.Summary(), HasSubstr("問題: 1 件"));

    std::filesystem::remove(stored);
    EXPECT_THAT(KindsOf(VerifyStorage(Root())), ElementsAre(Kind::Missing));
}

TEST_F(LedgerTest, AFileCopiedInByHandIsUnrecordedUntilAdopted) {
    ASSERT_EQ(File(Source("a.pdf", "filed"), "A社", "500"), CopyResult::Filed);
    const std::string byHand = StoredPath("[2022_12_31][B社][1,000]手入力.pdf");
    WriteBytes(U8(byHand), "copied by hand");
    // Outside the fiscal-year folders, and temporaries, are none of the verification's business.
    WriteBytes(U8(Native(Root() + "/メモ.txt")), "note");
    const VerifyReport report = VerifyStorage(Root());
    EXPECT_THAT(KindsOf(report), ElementsAre(Kind::Unrecorded));
    EXPECT_EQ(report.UnrecordedFiles(), std::vector<std::string>{byHand});

    EXPECT_EQ(AdoptFiles(m_ledger, report.UnrecordedFiles(), "鈴木", m_reporter), 1u);
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].operation, "既存登録");
    EXPECT_EQ(records[1].company, "B社");
    EXPECT_EQ(records[1].amount, "1000");
    EXPECT_EQ(records[1].remark, "手入力");
    EXPECT_EQ(records[1].type, "請求書");
    EXPECT_EQ(records[1].person, "鈴木");
    EXPECT_TRUE(VerifyStorage(Root()).Ok());
}

TEST_F(LedgerTest, TheSameContentIsAskedAboutAndStoredOnlyWhenAllowed) {
    ASSERT_EQ(File(Source("a.pdf", "one invoice"), "A社", "500"), CopyResult::Filed);
    const std::string again = Source("again.pdf", "one invoice");

    m_duplicates.sameContentAnswer = false;
    EXPECT_EQ(File(again, "A社", "500", "別名"), CopyResult::NotPublished);
    EXPECT_THAT(m_duplicates.asked,
                ElementsAre("content:" + StoredPath("[2022_12_31][A社][500].pdf")));
    EXPECT_FALSE(std::filesystem::exists(U8(StoredPath("[2022_12_31][A社][500]別名.pdf"))));
    EXPECT_EQ(Records().size(), 1u);
    // Nothing is left of the refused copy, not even a temporary.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(U8(StoredPath(""))),
                            std::filesystem::directory_iterator()),
              1);

    m_duplicates.sameContentAnswer = true;
    EXPECT_EQ(File(again, "C社", "1", "二重"), CopyResult::Filed);
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_THAT(records[1].note, HasSubstr("同じ内容"));
    EXPECT_THAT(records[1].note, HasSubstr("[2022_12_31][A社][500].pdf"));
}

TEST_F(LedgerTest, OtherContentWithTheSameFieldsIsAskedAbout) {
    ASSERT_EQ(File(Source("a.pdf", "page one"), "A社", "500"), CopyResult::Filed);
    m_duplicates.sameFieldsAnswer = false;
    EXPECT_EQ(File(Source("b.pdf", "page two"), "A社", "500", "2"), CopyResult::NotPublished);
    EXPECT_THAT(m_duplicates.asked,
                ElementsAre("fields:" + StoredPath("[2022_12_31][A社][500].pdf")));
    m_duplicates.sameFieldsAnswer = true;
    EXPECT_EQ(File(Source("b.pdf", "page two"), "A社", "500", "2"), CopyResult::Filed);
    EXPECT_THAT(Records().back().note, HasSubstr("日付・会社名・金額が同じ"));
    // Another amount is no duplicate.
    m_duplicates.asked.clear();
    EXPECT_EQ(File(Source("c.pdf", "page three"), "A社", "501"), CopyResult::Filed);
    EXPECT_TRUE(m_duplicates.asked.empty());
}

// No document is ever stored unrecorded: when the ledger cannot be written, the filing is undone.
TEST_F(LedgerTest, AFilingWhoseRecordCannotBeWrittenIsUndone) {
    // A file where the ledger's folder belongs.
    WriteBytes(m_ledger.FolderPath(), "not a folder");
    EXPECT_EQ(File(Source("a.pdf", "doc"), "A社", "500"), CopyResult::NotRecorded);
    EXPECT_FALSE(std::filesystem::exists(U8(Native(Root() + "/2022年度"))));
    ASSERT_EQ(m_reporter.messages.size(), 1u);
    EXPECT_THAT(m_reporter.messages[0], HasSubstr("台帳に記録できませんでした"));
    EXPECT_THAT(m_reporter.messages[0], HasSubstr(m_ledger.FileText()));
    EXPECT_THAT(m_reporter.messages[0], HasSubstr("書類は保存されていません"));
}

} // namespace
} // namespace fmb::test
