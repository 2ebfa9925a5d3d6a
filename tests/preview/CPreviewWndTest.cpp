// The preview window on real documents: it follows every source it is given, reads proposals
// without holding up the window, turns pages, zooms and rotates, and keeps its place.
#include "preview/CPreviewWnd.h"

#include "preview/PageView.h"
#include "preview/WindowPlace.h"
#include "support/SampleDocuments.h"
#include "support/TempDir.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace fmb {
namespace {

using test::TempDir;

constexpr int kReadingTimeoutMs = 30000; // OCR of a page on a busy machine

const char* const kTextLayerStatus =
    "書類の文字から読み取った候補です。書類と見比べてからクリックしてください。";
const char* const kRecognisedStatus =
    "文字認識（OCR）で読み取った候補です。書類と見比べてからクリックしてください。";

class CPreviewWndTest : public ::testing::Test {
protected:
    CPreviewWndTest() {
        test::WriteTextPdf(m_dir.Path() / "invoice.pdf", test::SampleInvoiceLines());
    }

    CPreviewWnd& Open() {
        m_window = std::make_unique<CPreviewWnd>(m_dir.Text(true), nullptr);
        m_window->show();
        return *m_window;
    }

    template <class T> T* Child(const char* name) const {
        T* child = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    PageView* View() const { return Child<PageView>("previewPage"); }
    QString Caption(const char* button) const { return Child<QToolButton>(button)->text(); }
    QStringList MenuOf(const char* button) const {
        QStringList texts;
        for (const QAction* action : Child<QToolButton>(button)->menu()->actions())
            texts << action->text();
        return texts;
    }
    QString Status() const { return Child<QLabel>("proposalStatus")->text(); }
    QString PageNumber() const { return Child<QLabel>("pageNumber")->text(); }
    bool WaitForProposals() const {
        return QTest::qWaitFor([this] { return !m_window->Reading(); }, kReadingTimeoutMs);
    }
    std::string Invoice() const { return m_dir.Child("invoice.pdf"); }

    // A PDF of numbered pages, drawn with Qt's own writer.
    std::string PagesPdf(int pages) const {
        const std::string path = m_dir.Child("pages.pdf");
        QPdfWriter writer(QString::fromStdString(path));
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                writer.newPage();
            painter.drawText(QPointF(500, 500), QStringLiteral("Page %1").arg(page));
        }
        return path;
    }

    TempDir m_dir;
    std::unique_ptr<CPreviewWnd> m_window;
};

TEST_F(CPreviewWndTest, ShowsATextPdfAtOnceAndItsProposalsOnceRead) {
    Open().ShowSource(Invoice());
    // The page is there before the text is read.
    EXPECT_FALSE(View()->Shown().isNull());
    EXPECT_EQ(PageNumber(), "1 / 1");
    ASSERT_TRUE(WaitForProposals());
    EXPECT_EQ(Caption("dateProposal"), "候補: 2023/03/31");
    EXPECT_EQ(Caption("companyProposal"), "候補: (株)国税商事");
    EXPECT_EQ(Caption("amountProposal"), "候補: 110,000");
    EXPECT_EQ(MenuOf("dateProposal"), (QStringList{"2023/03/31", "2023/04/30"}));
    EXPECT_EQ(MenuOf("amountProposal"), (QStringList{"110,000", "100,000", "10,000"}));
    EXPECT_EQ(Status(), QString::fromUtf8(kTextLayerStatus));
    EXPECT_EQ(m_window->RegistrationNumbers(), std::vector<std::string>{test::kSampleRegistration});
}

TEST_F(CPreviewWndTest, OnlyAClickChoosesAProposal) {
    Open().ShowSource(Invoice());
    QSignalSpy chosen(m_window.get(), &CPreviewWnd::proposalChosen);
    ASSERT_TRUE(WaitForProposals());
    QTest::qWait(50);
    EXPECT_EQ(chosen.count(), 0);

    Child<QToolButton>("dateProposal")->click();
    Child<QToolButton>("companyProposal")->click();
    Child<QToolButton>("dateProposal")->menu()->actions().at(1)->trigger();
    Child<QToolButton>("amountProposal")->menu()->actions().at(0)->trigger();
    ASSERT_EQ(chosen.count(), 4);
    const auto at = [&](int i) {
        return std::make_pair(chosen.at(i).at(0).value<ProposalField>(),
                              chosen.at(i).at(1).toString());
    };
    EXPECT_EQ(at(0), std::make_pair(ProposalField::Date, QStringLiteral("20230331")));
    EXPECT_EQ(at(1), std::make_pair(ProposalField::Company, QStringLiteral("(株)国税商事")));
    EXPECT_EQ(at(2), std::make_pair(ProposalField::Date, QStringLiteral("20230430")));
    EXPECT_EQ(at(3), std::make_pair(ProposalField::Amount, QStringLiteral("110000")));
}

TEST_F(CPreviewWndTest, FollowsEverySourceAndTellsWhatItCannotShow) {
    test::WriteScanPng(m_dir.Path() / "receipt.png",
                       {"領収書", "2024年1月5日", "領収金額 ¥8,800-", "合同会社ミライ"});
    test::WriteBytes(m_dir.Path() / "locked.pdf", test::EncryptedPdfBytes());
    test::WriteBytes(m_dir.Path() / "broken.pdf", "%PDF-1.4 nothing more");
    test::WriteBytes(m_dir.Path() / "notes.txt", "請求日 2023年3月31日");
    const struct {
        std::string source;
        const char* note; // nullptr: the page is shown
        const char* date; // the date proposal's caption
    } steps[] = {
        {Invoice(), nullptr, "候補: 2023/03/31"},
        {m_dir.Child("receipt.png"), nullptr, "候補: 2024/01/05"},
        {m_dir.Child("missing.pdf"), "ファイルが見つかりません。", "候補なし"},
        {m_dir.Child("locked.pdf"),
         "このPDFはパスワードで保護されているため、表示も読み取りもできません。", "候補なし"},
        {m_dir.Child("broken.pdf"), "このファイルは壊れているか読み込めないため、表示できません。",
         "候補なし"},
        {m_dir.Child("notes.txt"),
         "このファイルは表示できません。\nPDF と画像（JPEG・PNG・TIFF）を表示できます。",
         "候補なし"},
        {m_dir.Child("scan"), "ファイルが見つかりません。", "候補なし"},
        {"", "元ファイルを選ぶと、ここに表示されます。", "候補なし"},
        {Invoice(), nullptr, "候補: 2023/03/31"},
    };
    std::filesystem::create_directory(m_dir.Path() / "scan");
    Open();
    for (const auto& step : steps) {
        m_window->ShowSource(step.source);
        ASSERT_TRUE(WaitForProposals()) << step.source;
        EXPECT_EQ(View()->Shown().isNull(), step.note != nullptr) << step.source;
        EXPECT_EQ(View()->Note(), step.note ? QString::fromUtf8(step.note) : QString())
            << step.source;
        EXPECT_EQ(Caption("dateProposal"), QString::fromUtf8(step.date)) << step.source;
        EXPECT_EQ(Child<QToolButton>("dateProposal")->isEnabled(), step.note == nullptr);
    }
}

TEST_F(CPreviewWndTest, AScanIsReadByOcrOnAWorkerThread) {
    test::WriteScanPng(m_dir.Path() / "receipt.png",
                       {"領収書", "2024年1月5日", "領収金額 ¥8,800-", "合同会社ミライ"});
    Open().ShowSource(m_dir.Child("receipt.png"));
    // The window answers while the page is recognised.
    EXPECT_TRUE(m_window->Reading());
    EXPECT_EQ(Status(), "書類の文字を読み取っています…");
    EXPECT_EQ(Caption("amountProposal"), "候補なし");
    ASSERT_TRUE(WaitForProposals());
    EXPECT_EQ(Caption("amountProposal"), "候補: 8,800");
    EXPECT_EQ(Status(), QString::fromUtf8(kRecognisedStatus));
}

TEST_F(CPreviewWndTest, ANewSourceStopsTheReadingOfTheLastOne) {
    test::WriteScanPng(m_dir.Path() / "receipt.png",
                       {"領収書", "2024年1月5日", "領収金額 ¥8,800-", "合同会社ミライ"});
    Open().ShowSource(m_dir.Child("receipt.png"));
    m_window->ShowSource(Invoice());
    ASSERT_TRUE(WaitForProposals());
    EXPECT_EQ(Caption("amountProposal"), "候補: 110,000");
    // However long the stopped recognition would have taken, its result never shows.
    QTest::qWait(2000);
    EXPECT_EQ(Caption("amountProposal"), "候補: 110,000");
    EXPECT_EQ(Status(), QString::fromUtf8(kTextLayerStatus));
}

TEST_F(CPreviewWndTest, TurnsPagesZoomsFitsAndRotates) {
    Open().ShowSource(PagesPdf(3));
    auto* previous = Child<QPushButton>("previousPage");
    auto* next = Child<QPushButton>("nextPage");
    EXPECT_EQ(PageNumber(), "1 / 3");
    EXPECT_FALSE(previous->isEnabled());
    next->click();
    EXPECT_EQ(PageNumber(), "2 / 3");
    QTest::keyClick(m_window.get(), Qt::Key_PageDown);
    EXPECT_EQ(PageNumber(), "3 / 3");
    EXPECT_FALSE(next->isEnabled());
    QTest::keyClick(m_window.get(), Qt::Key_PageUp);
    EXPECT_EQ(PageNumber(), "2 / 3");
    EXPECT_TRUE(previous->isEnabled());

    // Fitted to the width: the page fills the width of the pane, less its margins.
    const QImage fitted = View()->Shown();
    EXPECT_TRUE(View()->FitsWidth());
    EXPECT_LE(fitted.width(), View()->viewport()->width());
    EXPECT_GE(fitted.width(), View()->viewport()->width() - 60);
    Child<QPushButton>("zoomIn")->click();
    EXPECT_FALSE(View()->FitsWidth());
    EXPECT_NEAR(View()->Shown().width(), fitted.width() * 1.25, 2);
    Child<QPushButton>("zoomOut")->click();
    Child<QPushButton>("zoomOut")->click();
    EXPECT_NEAR(View()->Shown().width(), fitted.width() / 1.25, 2);
    Child<QPushButton>("rotate")->click();
    EXPECT_EQ(View()->Rotation(), 90);
    EXPECT_GT(View()->Shown().width(), View()->Shown().height()); // the A4 page lies on its side
    Child<QPushButton>("fitWidth")->click();
    EXPECT_TRUE(View()->FitsWidth());
    EXPECT_LE(View()->Shown().width(), View()->viewport()->width());
    EXPECT_EQ(PageNumber(), "2 / 3");

    // A new source starts upright on its first page, fitted to the width.
    m_window->ShowSource(Invoice());
    EXPECT_EQ(PageNumber(), "1 / 1");
    EXPECT_EQ(View()->Rotation(), 0);
    EXPECT_GT(View()->Shown().height(), View()->Shown().width());
}

TEST_F(CPreviewWndTest, KeepsItsPlaceAndSizeBesideTheIniFiles) {
    // The offscreen screen is 800 x 600: the window fits beside a small filing window.
    QWidget anchor;
    anchor.setGeometry(0, 30, 100, 200);
    anchor.show();
    // The first time, beside the filing window.
    m_window = std::make_unique<CPreviewWnd>(m_dir.Text(true), nullptr);
    m_window->ShowBeside(anchor);
    EXPECT_GE(m_window->geometry().left(), anchor.frameGeometry().right());
    EXPECT_EQ(m_window->geometry().top(), anchor.frameGeometry().top());

    const QRect place(120, 40, 600, 500);
    m_window->setGeometry(place);
    m_window->close(); // hides; the program goes on
    EXPECT_EQ(test::ReadBytes(m_dir.Path() / "FMB_Preview.ini"),
              "[PREVIEW]\r\nLEFT=120\r\nTOP=40\r\nWIDTH=600\r\nHEIGHT=500\r\n");

    m_window = std::make_unique<CPreviewWnd>(m_dir.Text(true), nullptr);
    m_window->ShowBeside(anchor);
    EXPECT_EQ(m_window->geometry(), place);

    // A damaged place, or one on a screen that is gone, is not used.
    for (const char* bytes : {"[PREVIEW]\r\nLEFT=120\r\nTOP=abc\r\nWIDTH=600\r\nHEIGHT=500\r\n",
                              "[PREVIEW]\r\nLEFT=90000\r\nTOP=40\r\nWIDTH=600\r\nHEIGHT=500\r\n"}) {
        m_window->hide();
        test::WriteBytes(m_dir.Path() / "FMB_Preview.ini", bytes);
        m_window = std::make_unique<CPreviewWnd>(m_dir.Text(true), nullptr);
        m_window->ShowBeside(anchor);
        EXPECT_GE(m_window->geometry().left(), anchor.frameGeometry().right()) << bytes;
    }

    // A filing window near the right edge has the preview on its left, narrower if need be.
    m_window.reset();
    std::filesystem::remove(m_dir.Path() / "FMB_Preview.ini");
    QWidget rightAnchor;
    rightAnchor.setGeometry(600, 30, 150, 200);
    rightAnchor.show();
    m_window = std::make_unique<CPreviewWnd>(m_dir.Text(true), nullptr);
    m_window->ShowBeside(rightAnchor);
    EXPECT_LT(m_window->frameGeometry().right(), rightAnchor.frameGeometry().left());
    EXPECT_GE(m_window->geometry().left(), 0);

    // A filing window in the middle of a screen with room on neither side moves to the left
    // edge, and the preview opens beside it, not over its fields.
    m_window.reset();
    std::filesystem::remove(m_dir.Path() / "FMB_Preview.ini");
    QWidget middleAnchor;
    middleAnchor.setGeometry(300, 30, 200, 200);
    middleAnchor.show();
    m_window = std::make_unique<CPreviewWnd>(m_dir.Text(true), nullptr);
    m_window->ShowBeside(middleAnchor);
    EXPECT_EQ(middleAnchor.frameGeometry().left(), 0);
    EXPECT_FALSE(m_window->frameGeometry().intersects(middleAnchor.frameGeometry()));
    EXPECT_GE(m_window->geometry().left(), middleAnchor.frameGeometry().right());

    // Destroyed while shown, as when the filing window closes: the place is kept all the same.
    m_window = std::make_unique<CPreviewWnd>(m_dir.Text(true), nullptr);
    m_window->ShowBeside(anchor);
    m_window->setGeometry(100, 60, 600, 500);
    m_window.reset();
    EXPECT_EQ(WindowPlace(m_dir.Text(true)).Read(), (WindowRect{100, 60, 600, 500}));
}

} // namespace
} // namespace fmb
