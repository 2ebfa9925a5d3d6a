#include "LedgerFixture.h"

#include "backup/CopyFolder.h"
#include "ledger/Correction.h"
#include "ledger/LedgerLog.h"
#include "ledger/StoredFields.h"
#include "ledger/Verification.h"
#include "platform/Cp932.h"
#include "settings/CFMBData.h"

#include <gmock/gmock.h>

namespace fmb::test {
namespace {

using ::testing::HasSubstr;

class LedgerChangesTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        m_settings.COPY_SAKI_DIR = Root();
        m_settings.NEND_END_M = 3;
        m_settings.KINGAKU_KANMA_FLG = 1;
        m_settings.HIDUKE_UB_FLG = 1;
        ASSERT_EQ(File(Source("a.pdf", "scan of invoice"), "A社", "500", "", "山田"),
                  CopyResult::Filed);
    }
    std::string Filed() const { return StoredPath("[2022_12_31][A社][500].pdf"); }

    CFMBData m_settings{m_dir.Text()};
};

TEST_F(LedgerChangesTest, TheStoredNameReadsBackIntoItsEntry) {
    const FilingEntry entry = EntryOfStoredDocument(m_ledger, Filed());
    EXPECT_EQ(entry.typeName, "請求書");
    EXPECT_EQ(entry.date, "20221231");
    EXPECT_EQ(entry.company, "A社");
    EXPECT_EQ(entry.amount, "500");
    EXPECT_EQ(entry.remark, "");
    EXPECT_EQ(entry.sourcePath, Filed());
}

TEST_F(LedgerChangesTest, ACorrectionFilesTheNewNameAndKeepsTheEarlierFileUnchanged) {
    FilingEntry entry = EntryOfStoredDocument(m_ledger, Filed());
    entry.amount = "600";
    const ChangeRequest request{Filed(), "金額の入力誤り", "鈴木"};
    ASSERT_EQ(CorrectDocument(m_ledger, request, entry, "", m_settings, m_reporter), 0)
        << (m_reporter.messages.empty() ? "" : m_reporter.messages[0]);
    EXPECT_FALSE(std::filesystem::exists(U8(Filed())));
    const std::string corrected = StoredPath("[2022_12_31][A社][600].pdf");
    EXPECT_EQ(ReadBytes(U8(corrected)), "scan of invoice");
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    const LedgerRecord& r = records[1];
    EXPECT_EQ(r.operation, "訂正");
    EXPECT_EQ(r.path, "2022年度/請求書/[2022_12_31][A社][600].pdf");
    EXPECT_EQ(r.earlierPath, "2022年度/請求書/[2022_12_31][A社][500].pdf");
    EXPECT_EQ(r.earlierSha256, records[0].sha256);
    EXPECT_EQ(r.sha256, records[0].sha256);
    EXPECT_EQ(r.reason, "金額の入力誤り");
    EXPECT_EQ(r.person, "鈴木");
    EXPECT_EQ(r.amount, "600");
    // The earlier file, read-only and unchanged, in the kept versions.
    const auto kept = U8(m_ledger.FullPath(r.keptPath));
    EXPECT_EQ(ReadBytes(kept), "scan of invoice");
    EXPECT_EQ(std::filesystem::status(kept).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                  std::filesystem::perms::others_read);
    EXPECT_THAT(r.keptPath, HasSubstr("ふみばこ台帳/訂正・削除前の書類/2022年度/請求書/"));
    const VerifyReport report = VerifyStorage(Root());
    EXPECT_TRUE(report.Ok()) << report.Summary();
    EXPECT_EQ(report.keptChecked, 1u);
}

TEST_F(LedgerChangesTest, ACorrectionWithANewSourceUnderTheSameNameReplacesTheContent) {
    const FilingEntry entry = EntryOfStoredDocument(m_ledger, Filed());
    const std::string better = Source("better.pdf", "a clearer scan");
    ASSERT_EQ(CorrectDocument(m_ledger, {Filed(), "読み取り不鮮明", "鈴木"}, entry, better,
                              m_settings, m_reporter),
              0);
    EXPECT_EQ(ReadBytes(U8(Filed())), "a clearer scan");
    const LedgerRecord r = Records().back();
    EXPECT_EQ(r.path, r.earlierPath);
    EXPECT_NE(r.sha256, r.earlierSha256);
    EXPECT_EQ(r.sourceName, "better.pdf");
    EXPECT_EQ(ReadBytes(U8(m_ledger.FullPath(r.keptPath))), "scan of invoice");
    EXPECT_TRUE(VerifyStorage(Root()).Ok());
}

TEST_F(LedgerChangesTest, ADeletionMovesTheDocumentIntoTheKeptVersions) {
    ASSERT_EQ(DeleteDocument(m_ledger, {Filed(), "二重に保存したため", "鈴木"}, m_reporter), 0);
    EXPECT_FALSE(std::filesystem::exists(U8(Filed())));
    const LedgerRecord r = Records().back();
    EXPECT_EQ(r.operation, "削除");
    EXPECT_EQ(r.path, "");
    EXPECT_EQ(r.earlierPath, "2022年度/請求書/[2022_12_31][A社][500].pdf");
    EXPECT_EQ(ReadBytes(U8(m_ledger.FullPath(r.keptPath))), "scan of invoice");
    EXPECT_TRUE(VerifyStorage(Root()).Ok());
    // The same content may be filed again: the deleted document is no longer live.
    EXPECT_EQ(File(Source("a2.pdf", "scan of invoice"), "A社", "500"), CopyResult::Filed);
    EXPECT_TRUE(m_duplicates.asked.empty());
}

// The chain cannot tell that its last lines were cut off; the files can.
TEST_F(LedgerChangesTest, CuttingOffTheLastRecordsIsFoundThroughTheFiles) {
    FilingEntry entry = EntryOfStoredDocument(m_ledger, Filed());
    entry.amount = "600";
    ASSERT_EQ(
        CorrectDocument(m_ledger, {Filed(), "誤り", "鈴木"}, entry, "", m_settings, m_reporter), 0);
    const std::string kept = m_ledger.FullPath(Records().back().keptPath);
    std::string bytes = LedgerBytes();
    bytes.erase(bytes.rfind('\n', bytes.size() - 2) + 1); // the 訂正 line
    WriteBytes(m_ledger.FilePath(), bytes);
    const VerifyReport report = VerifyStorage(Root());
    std::vector<std::string> texts;
    for (const VerifyProblem& problem : report.problems) {
        texts.push_back(problem.Text());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"書類がありません: " + Filed(),
                                               "台帳に記録のない書類: " +
                                                   StoredPath("[2022_12_31][A社][600].pdf"),
                                               "台帳に記録のない訂正・削除前の書類: " + kept}));
    // Adopting takes the stored document, never a kept version.
    EXPECT_EQ(report.UnrecordedFiles(),
              std::vector<std::string>{StoredPath("[2022_12_31][A社][600].pdf")});
}

TEST_F(LedgerChangesTest, ChangesAreRefusedWithoutReasonPersonRecordOrIntactContent) {
    const FilingEntry entry = EntryOfStoredDocument(m_ledger, Filed());
    const std::string byHand = StoredPath("[2022_12_31][B社][1].pdf");
    WriteBytes(U8(byHand), "unrecorded");
    struct Case {
        ChangeRequest request;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{Filed(), "", "鈴木"}, "理由を入力"},
        {{Filed(), "誤り", ""}, "処理担当者を入力"},
        {{byHand, "誤り", "鈴木"}, "台帳に記録されていません"},
        {{m_dir.Child("a.pdf"), "誤り", "鈴木"}, "保存先フォルダの中の書類"},
    };
    const std::string ledgerBefore = LedgerBytes();
    for (const Case& c : cases) {
        m_reporter.messages.clear();
        EXPECT_EQ(DeleteDocument(m_ledger, c.request, m_reporter), change_result::kRefused);
        EXPECT_EQ(CorrectDocument(m_ledger, c.request, entry, "", m_settings, m_reporter),
                  change_result::kRefused);
        ASSERT_EQ(m_reporter.messages.size(), 2u) << c.message;
        EXPECT_THAT(m_reporter.messages[0], HasSubstr(c.message));
    }
    // A document changed behind the ledger's back is not taken as its record says.
    const auto filed = U8(Filed());
    std::filesystem::permissions(filed, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    WriteBytes(filed, "tampered");
    m_reporter.messages.clear();
    EXPECT_EQ(DeleteDocument(m_ledger, {Filed(), "誤り", "鈴木"}, m_reporter),
              change_result::kRefused);
    EXPECT_THAT(m_reporter.messages[0], HasSubstr("台帳の記録と違います"));
    EXPECT_EQ(LedgerBytes(), ledgerBefore);
    EXPECT_TRUE(std::filesystem::exists(filed));
}

TEST_F(LedgerChangesTest, ACorrectionThatCannotBeFiledPutsTheEarlierFileBack) {
    FilingEntry entry = EntryOfStoredDocument(m_ledger, Filed());
    entry.amount = "6x0";
    EXPECT_EQ(
        CorrectDocument(m_ledger, {Filed(), "誤り", "鈴木"}, entry, "", m_settings, m_reporter),
        change_result::kRefused);
    entry.amount = "700";
    // The new name is taken by another file.
    WriteBytes(U8(StoredPath("[2022_12_31][A社][700].pdf")), "other");
    EXPECT_EQ(
        CorrectDocument(m_ledger, {Filed(), "誤り", "鈴木"}, entry, "", m_settings, m_reporter),
        change_result::kFailed);
    EXPECT_EQ(ReadBytes(U8(Filed())), "scan of invoice");
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(m_ledger.KeptFolderPath() / U8("2022年度/請求書")));
}

TEST_F(LedgerChangesTest, ABackupCopyVerifiesAndFindsWhatChangedInIt) {
    FilingEntry entry = EntryOfStoredDocument(m_ledger, Filed());
    entry.amount = "600";
    ASSERT_EQ(
        CorrectDocument(m_ledger, {Filed(), "誤り", "鈴木"}, entry, "", m_settings, m_reporter), 0);
    std::filesystem::create_directory(U8(m_dir.Child("backup")));
    const std::string backup = Native(m_dir.Child("backup") + "/root(20261210)/");
    const CopyOutcome copy = CopyFolder(Root(), backup);
    ASSERT_TRUE(copy.ok) << copy.message;
    EXPECT_EQ(copy.message, "コピー終了しました。\n台帳と照合した書類: 2 件");
    const VerifyReport report = VerifyStorage(backup);
    EXPECT_TRUE(report.Ok()) << report.Summary();
    EXPECT_EQ(report.documentsChecked, 1u);
    EXPECT_EQ(report.keptChecked, 1u);

    const auto copied = U8(Native(backup + "2022年度/請求書/[2022_12_31][A社][600].pdf"));
    std::filesystem::permissions(copied, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    WriteBytes(copied, "changed in the backup");
    const VerifyReport changed = VerifyStorage(backup);
    ASSERT_EQ(changed.problems.size(), 1u);
    EXPECT_EQ(changed.problems[0].kind, VerifyProblem::Kind::Altered);
}

// A backup of one fiscal-year folder checks its documents against the storage root's ledger,
// however the folder is written.
TEST_F(LedgerChangesTest, ABackupOfAFiscalYearChecksItsDocumentsAgainstTheRootsLedger) {
    ASSERT_EQ(File(Source("b.pdf", "another scan"), "B社", "7"), CopyResult::Filed);
    std::filesystem::create_directory(U8(m_dir.Child("backup")));
    for (const std::string& year : {Native(Root() + "/2022年度"), Native(Root() + "/2022年度/")}) {
        const std::string backup =
            Native(m_dir.Child("backup") + "/" + std::to_string(year.size()));
        const CopyOutcome copy = CopyFolder(year, backup);
        EXPECT_TRUE(copy.ok) << copy.message;
        EXPECT_EQ(copy.message, "コピー終了しました。\n台帳と照合した書類: 2 件") << year;
    }
    // A document changed in the storage makes the backup fail, naming it.
    const auto filed = U8(Filed());
    std::filesystem::permissions(filed, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    WriteBytes(filed, "changed afterwards");
    const CopyOutcome copy = CopyFolder(Root(), Native(m_dir.Child("backup") + "/whole"));
    EXPECT_FALSE(copy.ok);
    EXPECT_THAT(copy.message, HasSubstr("台帳の記録と一致しません"));
    EXPECT_THAT(copy.message, HasSubstr(Filed()));
}

TEST_F(LedgerChangesTest, TheChangeLogIsACp932CsvOfCorrectionsAndDeletions) {
    FilingEntry entry = EntryOfStoredDocument(m_ledger, Filed());
    entry.amount = "600";
    ASSERT_EQ(CorrectDocument(m_ledger, {Filed(), "=HYPERLINK(\"x\"),誤り", "鈴木"}, entry, "",
                              m_settings, m_reporter),
              0);
    const std::string csv = m_dir.Child("log.csv");
    const LogExport changes = WriteChangeLog(m_ledger, csv, false);
    ASSERT_TRUE(changes.ok) << changes.message;
    EXPECT_EQ(changes.rows, 1u);
    const cp932::Decoded text = cp932::Decode(ReadBytes(U8(csv)));
    ASSERT_TRUE(text.ok);
    EXPECT_TRUE(text.utf8.starts_with("日時,操作,保存パス,元の保存パス,旧版の保管先,"));
    // A reason that looks like a formula is shown as text, and its comma stays in its cell.
    EXPECT_THAT(text.utf8, HasSubstr(",\"'=HYPERLINK(\"\"x\"\"),誤り\","));
    EXPECT_THAT(text.utf8, HasSubstr(",訂正,"));
    EXPECT_EQ(text.utf8.find(",登録,"), std::string::npos);
    const LogExport all = WriteChangeLog(m_ledger, csv, true);
    EXPECT_EQ(all.rows, 2u);
}

} // namespace
} // namespace fmb::test
