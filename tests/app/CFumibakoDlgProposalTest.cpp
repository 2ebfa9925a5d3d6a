// The filing window with its preview: the preview follows the source however it is chosen, a
// click on a proposal fills its field and composes, nothing is filled without one, and the
// company a document is filed under is remembered for its registration number.
#include "app/CFumibakoDlg.h"

#include "platform/PathText.h"
#include "res/ControlIds.h"
#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"
#include "support/FakePorts.h"
#include "support/SampleDocuments.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace fmb {
namespace {

namespace fs = std::filesystem;

constexpr int kSource = ids::filing::kSourceField, kBrowse = ids::filing::kBrowseButton,
              kDate = ids::filing::kDateField, kCompany = ids::filing::kCompanyField,
              kAmount = ids::filing::kAmountField, kGrouped = ids::filing::kGroupedAmount,
              kRemark = ids::filing::kRemarkField, kFolder = ids::filing::kFolderField,
              kFileName = ids::filing::kFileNameField, kExecute = ids::filing::kExecuteButton;
constexpr int kReceivedTypeButton = ids::filing::kTypeButton1,
              kIssuedTypeButton = ids::filing::kTypeButton2;
constexpr int kReadingTimeoutMs = 30000;

const char* const kCopied = "コピーしました。";

class CFumibakoDlgProposalTest : public ::testing::Test {
protected:
    CFumibakoDlgProposalTest() : m_fake({2023, 4, 10}) {
        fs::create_directory(test::U8(Root()));
        CFMBData settings(m_dir.Text(true));
        settings.ReadIni();
        settings.COPY_SAKI_DIR = Root();
        EXPECT_EQ(settings.WriteIni(), SaveResult::Saved);
        CFMBSyameiData types(m_dir.Text(true));
        types.SetTypeName(0, "請求書");
        types.SetCompanyNames(0, {"さくら電機(株)"});
        types.SetTypeName(1, "請求書(控)");
        EXPECT_EQ(types.WriteIni(), SaveResult::Saved);
        test::WriteTextPdf(test::U8(Invoice()), test::SampleInvoiceLines());
    }

    std::string Root() const { return m_dir.Child("書類"); }
    std::string Invoice() const { return m_dir.Child("invoice.pdf"); }
    std::string Stored(const std::string& fileName) const {
        return Root() + "/2022年度/請求書/2023年03月/" + fileName;
    }

    CFumibakoDlg& Open() {
        m_window = std::make_unique<CFumibakoDlg>(m_fake.Env(m_dir.Text(true)));
        m_window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        return *m_window;
    }

    QLineEdit* Edit(int id) const { return m_window->Control<QLineEdit>(id); }
    std::string Text(int id) const { return Edit(id)->text().toStdString(); }
    void SetText(int id, const std::string& text) {
        Edit(id)->setText(QString::fromStdString(text));
    }
    void Click(int id) { m_window->Control<QAbstractButton>(id)->click(); }
    QToolButton* Proposal(const char* name) const {
        return m_window->Preview().findChild<QToolButton*>(QString::fromLatin1(name));
    }
    bool WaitForProposals() const {
        return QTest::qWaitFor([this] { return !m_window->Preview().Reading(); },
                               kReadingTimeoutMs);
    }

    void Drop(const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        const QPoint over = Edit(kRemark)->geometry().center();
        QDragEnterEvent enter(over, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        QDropEvent drop(QPointF(over), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &drop);
    }
    void Browse(const std::string& path) {
        m_fake.pickers.QueueFile(path);
        Click(kBrowse);
    }
    void TypePath(const std::string& path) {
        Edit(kSource)->setFocus();
        QTest::keyClicks(Edit(kSource), QString::fromStdString(path));
    }

    std::string Touroku() const {
        const fs::path file = m_dir.Path() / "FMB_Touroku.ini";
        return fs::exists(file) ? test::ReadBytes(file) : std::string("(none)");
    }

    test::TempDir m_dir;
    test::FakePlatform m_fake;
    std::unique_ptr<CFumibakoDlg> m_window;
};

TEST_F(CFumibakoDlgProposalTest, ClickedProposalsFillTheEntryInAnyOrderAndTheDocumentIsFiled) {
    using Step = std::function<void()>;
    const Step clickAll = [this] {
        ASSERT_TRUE(WaitForProposals());
        Proposal("dateProposal")->click();
        Proposal("companyProposal")->click();
        Proposal("amountProposal")->click();
    };
    const Step chooseType = [this] { Click(kReceivedTypeButton); };
    const Step drop = [this] { Drop(Invoice()); };
    const Step browse = [this] { Browse(Invoice()); };
    const Step typePath = [this] { TypePath(Invoice()); };
    const Step clickCompany = [this] { Proposal("companyProposal")->click(); };
    const struct {
        const char* remark; // tells the filed copies apart
        std::vector<Step> steps;
    } orders[] = {
        {"drop", {drop, chooseType, clickAll}},
        {"browse", {browse, chooseType, clickAll}},
        {"typed", {typePath, chooseType, clickAll}},
        // The type chosen last: the date and amount filled before compose under it; the type
        // empties the company, as it always does, and the proposal fills it again.
        {"typelast", {drop, clickAll, chooseType, clickCompany}},
        // The type first, before any source.
        {"typefirst", {chooseType, browse, clickAll}},
    };
    for (const auto& order : orders) {
        Open();
        SetText(kRemark, order.remark);
        for (const Step& step : order.steps)
            step();
        EXPECT_EQ(Text(kDate), "20230331") << order.remark;
        EXPECT_EQ(Text(kCompany), "(株)国税商事") << order.remark;
        EXPECT_EQ(Text(kAmount), "110000") << order.remark;
        EXPECT_EQ(Text(kGrouped), "110,000") << order.remark;
        const std::string name =
            std::string("[2023_03_31][(株)国税商事][110,000]") + order.remark + ".pdf";
        EXPECT_EQ(Text(kFileName), name);
        EXPECT_EQ(Text(kFolder), Stored(""));

        // The same invoice again after the first: the ledger knows its content, and the user
        // files it all the same.
        const bool again = &order != &orders[0];
        if (again)
            m_fake.messages.QueueAnswer(true);
        Click(kExecute);
        const std::vector<std::string> texts = m_fake.messages.TakeTexts();
        ASSERT_EQ(texts.size(), again ? 2u : 1u) << order.remark;
        if (again) {
            EXPECT_TRUE(texts.front().starts_with("同じ内容の書類がすでに保存されています。"));
        }
        EXPECT_EQ(texts.back(), kCopied) << order.remark;
        ASSERT_TRUE(fs::is_regular_file(test::U8(Stored(name)))) << name;
        EXPECT_EQ(test::ReadBytes(test::U8(Stored(name))), test::ReadBytes(test::U8(Invoice())));
        // The emptied entry empties the preview too.
        EXPECT_EQ(m_window->Preview().RegistrationNumbers(), std::vector<std::string>{});
    }
    // The issuer's number, with the company the document was filed under (CP932).
    EXPECT_EQ(Touroku(),
              "[TOUROKU]\r\nT7000012050002=(\x8A\x94)\x8D\x91\x90\xC5\x8F\xA4\x8E\x96\r\n");
}

TEST_F(CFumibakoDlgProposalTest, NothingIsFilledWithoutAClickAndTypedFieldsStay) {
    Open();
    Click(kReceivedTypeButton);
    SetText(kCompany, "まるや");
    SetText(kAmount, "5000");
    const std::string folder = Text(kFolder);
    const std::string fileName = Text(kFileName);
    Drop(Invoice());
    ASSERT_TRUE(WaitForProposals());
    ASSERT_EQ(Proposal("dateProposal")->text(), "候補: 2023/03/31");
    QTest::qWait(100);
    EXPECT_EQ(Text(kDate), "");
    EXPECT_EQ(Text(kCompany), "まるや");
    EXPECT_EQ(Text(kAmount), "5000");
    EXPECT_EQ(Text(kFileName), "[__][まるや][5,000].pdf");
    EXPECT_NE(fileName, Text(kFileName)); // the drop composed with the PDF's extension
    EXPECT_EQ(Text(kFolder), folder);

    // A further proposal from the drop-down fills the field it belongs to, and only that one.
    Proposal("dateProposal")->menu()->actions().at(1)->trigger();
    EXPECT_EQ(Text(kDate), "20230430");
    EXPECT_EQ(Text(kCompany), "まるや");
    EXPECT_EQ(Text(kFileName), "[2023_04_30][まるや][5,000].pdf");
}

TEST_F(CFumibakoDlgProposalTest, TheCompanyFiledUnderComesFirstForTheNextDocumentWithItsNumber) {
    Open();
    Click(kReceivedTypeButton);
    Drop(Invoice());
    ASSERT_TRUE(WaitForProposals());
    EXPECT_EQ(Proposal("companyProposal")->text(), "候補: (株)国税商事");
    Proposal("dateProposal")->click();
    Proposal("amountProposal")->click();
    SetText(kCompany, "国税商事"); // the user's own way of writing it
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kCopied});

    const std::string next = m_dir.Child("next.pdf");
    test::WriteTextPdf(test::U8(next),
                       {"請求書", "株式会社ふみばこ工房 御中", "請求日 2023年4月30日",
                        "合計 ¥5,500", "(株)国税商事", "T7000012050002"});
    Drop(next);
    ASSERT_TRUE(WaitForProposals());
    EXPECT_EQ(Proposal("companyProposal")->text(), "候補: 国税商事");
}

TEST_F(CFumibakoDlgProposalTest, AnIssuedDocumentRemembersNothing) {
    Open();
    Click(kIssuedTypeButton);
    Drop(Invoice());
    ASSERT_TRUE(WaitForProposals());
    // Its counterparty is the addressee; the number on it is the user's own.
    EXPECT_EQ(Proposal("companyProposal")->text(), "候補: 株式会社ふみばこ工房");
    Proposal("dateProposal")->click();
    Proposal("companyProposal")->click();
    Proposal("amountProposal")->click();
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kCopied});
    EXPECT_EQ(Touroku(), "(none)");
}

TEST_F(CFumibakoDlgProposalTest, ARecordThatCannotBeSavedIsToldAndTheDocumentStaysFiled) {
    // A folder where the file should be: it cannot be written.
    fs::create_directory(m_dir.Path() / "FMB_Touroku.ini");
    Open();
    Click(kReceivedTypeButton);
    Drop(Invoice());
    ASSERT_TRUE(WaitForProposals());
    Proposal("dateProposal")->click();
    Proposal("companyProposal")->click();
    Proposal("amountProposal")->click();
    Click(kExecute);
    EXPECT_EQ(
        m_fake.messages.TakeTexts(),
        (std::vector<std::string>{
            kCopied, "書類はコピーしましたが、登録番号と会社名の記録を保存できませんでした。"}));
    EXPECT_TRUE(fs::is_regular_file(test::U8(Stored("[2023_03_31][(株)国税商事][110,000].pdf"))));
}

TEST_F(CFumibakoDlgProposalTest, ThePreviewOpensBesideTheWindowAndCtrlPShowsItAgain) {
    CFumibakoDlg& window = Open();
    EXPECT_TRUE(window.Preview().isVisible());
    EXPECT_TRUE(window.Preview().isWindow());
    window.Preview().close();
    EXPECT_FALSE(window.Preview().isVisible());
    EXPECT_TRUE(window.isVisible()); // closing the preview closes nothing else
    window.activateWindow();
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(window.Preview().isVisible());
}

} // namespace
} // namespace fmb
