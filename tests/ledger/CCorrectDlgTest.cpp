// The correction dialog and the verification dialog on a real storage root with its ledger, the
// user's part played through the fakes; each test asserts the files on disk and the ledger lines.
#include "ledger/CCorrectDlg.h"
#include "ledger/CVerifyDlg.h"

#include "app/CMenuDlg.h"
#include "filing/CopyIntoStorage.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerFiling.h"
#include "platform/PathText.h"
#include "res/ControlIds.h"
#include "settings/CFMBData.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace fmb {
namespace {

using test::ClickOn;
using test::ControlOf;
using test::SetTextOf;
using test::TextOf;
using test::U8;
using testing::ElementsAre;
using testing::HasSubstr;

using namespace ids::correct;

class NoDuplicates final : public DuplicateDecision {
public:
    bool FileSameContent(const std::string&) override { return false; }
    bool FileSameFields(const std::string&) override { return true; }
};

class LedgerDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(U8(Root()));
        CFMBData settings(m_settingsDir.Text(true));
        settings.ReadIni();
        settings.COPY_SAKI_DIR = Root();
        settings.SYORI_TANTOUSYA = "山田";
        ASSERT_EQ(settings.WriteIni(), SaveResult::Saved);
        const std::string source = m_dir.Child("scan.pdf");
        test::WriteBytes(U8(source), "first scan");
        NoDuplicates duplicates;
        test::FakeMessages silent;
        LedgerFilingRecorder recorder(
            m_ledger, {"請求書", "20221231", "A社", "500", "[20]", "", "scan.pdf", ""}, duplicates,
            silent);
        ASSERT_EQ(CopyIntoStorage(source, Root(), Root() + "/2022年度/請求書/2022年12月/", kName,
                                  silent, &recorder),
                  CopyResult::Filed);
    }

    std::string Root() const { return m_dir.Child("書類"); }
    std::string Filed() const { return Root() + "/2022年度/請求書/2022年12月/" + kName; }
    std::vector<LedgerRecord> Records() const { return m_ledger.Read().records; }

    // Runs a dialog as the user plays it.
    template <class Dialog> void Run(const char* className, std::function<void(QDialog&)> play) {
        m_fake.modal.Queue(className, std::move(play));
        Dialog dialog(m_fake.Env(m_settingsDir.Text(true)));
        m_fake.modal.RunModal(dialog);
    }

    static constexpr const char* kName = "[2022_12_31][A社][500][20].pdf";
    test::TempDir m_dir;
    test::TempDir m_settingsDir;
    Ledger m_ledger{m_dir.Child("書類")};
    test::FakePlatform m_fake{{2024, 1, 5}};
};

TEST_F(LedgerDialogsTest, ChoosingADocumentShowsItsFieldsAndThePersonOfTheSettings) {
    Run<CCorrectDlg>("fmb::CCorrectDlg", [&](QDialog& dialog) {
        EXPECT_EQ(TextOf(dialog, kPersonField), "山田");
        m_fake.pickers.QueueFile(Filed());
        ClickOn(dialog, kChooseDocumentButton);
        EXPECT_EQ(TextOf(dialog, kStoredField), Filed());
        EXPECT_EQ(TextOf(dialog, kTypeField), "請求書");
        EXPECT_EQ(TextOf(dialog, kDateField), "20221231");
        EXPECT_EQ(TextOf(dialog, kCompanyField), "A社");
        EXPECT_EQ(TextOf(dialog, kAmountField), "500");
        EXPECT_EQ(TextOf(dialog, kExtraField), "20");
        EXPECT_EQ(TextOf(dialog, kRemarkField), "");
        EXPECT_EQ(ControlOf<QLabel>(dialog, kCorrectedName)->text().toStdString(), kName);
        ClickOn(dialog, ids::kCancel);
    });
    // The chooser starts in the storage root.
    EXPECT_THAT(m_fake.pickers.Log(),
                ElementsAre(test::FakePickers::Call{test::FakePickers::Kind::File, Root()}));
}

// The user may fill the dialog in any order; the corrected document lands where the fields say.
enum class Order { DocumentAmountReason, ReasonFirst, AmountTypedAfterReason };

class CorrectionOrderTest : public LedgerDialogsTest, public testing::WithParamInterface<Order> {};

TEST_P(CorrectionOrderTest, FilesTheNewNameAndKeepsTheEarlierFile) {
    const auto choose = [this](QDialog& dialog) {
        m_fake.pickers.QueueFile(Filed());
        ClickOn(dialog, kChooseDocumentButton);
    };
    const auto amount = [](QDialog& dialog) {
        test::EditOf(dialog, kAmountField).clear();
        QTest::keyClicks(&test::EditOf(dialog, kAmountField), "600");
    };
    const auto reason = [](QDialog& dialog) { SetTextOf(dialog, kReasonField, "金額の入力誤り"); };
    std::vector<std::function<void(QDialog&)>> steps;
    switch (GetParam()) {
    case Order::DocumentAmountReason:
        steps = {choose, amount, reason};
        break;
    case Order::ReasonFirst:
        steps = {reason, choose, amount};
        break;
    case Order::AmountTypedAfterReason:
        steps = {choose, reason, amount};
        break;
    }
    const std::string corrected =
        Root() + "/2022年度/請求書/2022年12月/[2022_12_31][A社][600][20].pdf";
    Run<CCorrectDlg>("fmb::CCorrectDlg", [&](QDialog& dialog) {
        for (const auto& step : steps)
            step(dialog);
        EXPECT_EQ(ControlOf<QLabel>(dialog, kCorrectedName)->text().toStdString(),
                  "[2022_12_31][A社][600][20].pdf");
        m_fake.messages.QueueAnswer(true);
        ClickOn(dialog, kCorrectButton);
        ClickOn(dialog, ids::kCancel);
    });
    const auto texts = m_fake.messages.TakeTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_THAT(texts[0], HasSubstr("次の書類を訂正します。"));
    EXPECT_THAT(texts[0], HasSubstr(corrected));
    EXPECT_EQ(texts[1], "訂正しました。\n\n" + corrected);
    EXPECT_FALSE(fs::exists(U8(Filed())));
    EXPECT_EQ(test::ReadBytes(U8(corrected)), "first scan");
    const LedgerRecord last = Records().back();
    EXPECT_EQ(last.operation, "訂正");
    EXPECT_EQ(last.reason, "金額の入力誤り");
    EXPECT_EQ(last.person, "山田");
    EXPECT_EQ(last.amount, "600");
    EXPECT_EQ(last.extra, "[20]");
    EXPECT_EQ(test::ReadBytes(U8(m_ledger.FullPath(last.keptPath))), "first scan");
}

INSTANTIATE_TEST_SUITE_P(Orders, CorrectionOrderTest,
                         testing::Values(Order::DocumentAmountReason, Order::ReasonFirst,
                                         Order::AmountTypedAfterReason));

TEST_F(LedgerDialogsTest, ANewScanChosenLastReplacesTheContentUnderTheSameName) {
    const std::string better = m_dir.Child("better.pdf");
    test::WriteBytes(U8(better), "clearer scan");
    Run<CCorrectDlg>("fmb::CCorrectDlg", [&](QDialog& dialog) {
        m_fake.pickers.QueueFile(Filed());
        ClickOn(dialog, kChooseDocumentButton);
        SetTextOf(dialog, kReasonField, "不鮮明");
        m_fake.pickers.QueueFile(better);
        ClickOn(dialog, kChooseSourceButton);
        EXPECT_EQ(TextOf(dialog, kSourceField), better);
        m_fake.messages.QueueAnswer(true);
        ClickOn(dialog, kCorrectButton);
        ClickOn(dialog, ids::kCancel);
    });
    EXPECT_EQ(m_fake.messages.TakeTexts().back(), "訂正しました。\n\n" + Filed());
    EXPECT_EQ(test::ReadBytes(U8(Filed())), "clearer scan");
    const LedgerRecord last = Records().back();
    EXPECT_EQ(last.sourceName, "better.pdf");
    EXPECT_EQ(test::ReadBytes(U8(m_ledger.FullPath(last.keptPath))), "first scan");
}

TEST_F(LedgerDialogsTest, ADeletionAsksFirstAndKeepsTheDocument) {
    Run<CCorrectDlg>("fmb::CCorrectDlg", [&](QDialog& dialog) {
        m_fake.pickers.QueueFile(Filed());
        ClickOn(dialog, kChooseDocumentButton);
        // Without a reason nothing is asked and nothing changes.
        ClickOn(dialog, kDeleteButton);
        SetTextOf(dialog, kReasonField, "二重に保存");
        m_fake.messages.QueueAnswer(false);
        ClickOn(dialog, kDeleteButton);
        EXPECT_TRUE(fs::exists(U8(Filed())));
        m_fake.messages.QueueAnswer(true);
        ClickOn(dialog, kDeleteButton);
        EXPECT_EQ(TextOf(dialog, kStoredField), "");
        ClickOn(dialog, ids::kCancel);
    });
    const auto texts = m_fake.messages.TakeTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "訂正・削除の理由を入力してください。");
    EXPECT_THAT(texts[1], HasSubstr("次の書類を削除します。"));
    EXPECT_EQ(texts[3], "削除しました（書類は「訂正・削除前の書類」に保管されています）。");
    EXPECT_FALSE(fs::exists(U8(Filed())));
    const LedgerRecord last = Records().back();
    EXPECT_EQ(last.operation, "削除");
    EXPECT_EQ(last.reason, "二重に保存");
    EXPECT_EQ(test::ReadBytes(U8(m_ledger.FullPath(last.keptPath))), "first scan");
}

TEST_F(LedgerDialogsTest, TheMenuOpensBothDialogs) {
    m_fake.modal.Queue("fmb::CMenuDlg", [](QDialog& menu) {
        ClickOn(menu, ids::menu::kCorrectButton);
        ClickOn(menu, ids::menu::kVerifyButton);
        ClickOn(menu, ids::menu::kBackButton);
    });
    m_fake.modal.Queue("fmb::CCorrectDlg", [](QDialog& dialog) { ClickOn(dialog, ids::kCancel); });
    m_fake.modal.Queue("fmb::CVerifyDlg", [](QDialog& dialog) { ClickOn(dialog, ids::kCancel); });
    CMenuDlg menu(m_fake.Env(m_settingsDir.Text(true)));
    m_fake.modal.RunModal(menu);
    EXPECT_THAT(m_fake.modal.Log(),
                ElementsAre("fmb::CMenuDlg", "fmb::CCorrectDlg", "fmb::CVerifyDlg"));
}

TEST_F(LedgerDialogsTest, VerificationReportsAndOffersToRecordAFileCopiedInByHand) {
    const std::string byHand = Root() + "/2022年度/請求書/[2022_12_01][B社][1].pdf";
    test::WriteBytes(U8(byHand), "by hand");
    Run<CVerifyDlg>("fmb::CVerifyDlg", [&](QDialog& dialog) {
        EXPECT_EQ(TextOf(dialog, ids::verify::kFolderField), Root());
        m_fake.messages.QueueAnswer(true);
        ASSERT_TRUE(test::ClickAndWaitForJob(dialog, ids::verify::kExecuteButton));
        ClickOn(dialog, ids::kCancel);
    });
    const auto texts = m_fake.messages.TakeTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_THAT(texts[0], HasSubstr("台帳に記録のない書類: " + byHand));
    EXPECT_THAT(texts[1], HasSubstr("台帳に記録のない書類が 1 件あります。"));
    EXPECT_EQ(texts[2], "1 件を既存登録しました。");
    EXPECT_EQ(Records().back().operation, "既存登録");
    EXPECT_EQ(Records().back().person, "山田");

    Run<CVerifyDlg>("fmb::CVerifyDlg", [&](QDialog& dialog) {
        ASSERT_TRUE(test::ClickAndWaitForJob(dialog, ids::verify::kExecuteButton));
        ClickOn(dialog, ids::kCancel);
    });
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(HasSubstr("問題はありません。")));
}

} // namespace
} // namespace fmb
