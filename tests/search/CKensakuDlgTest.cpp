// The search window on a real storage tree in a temporary folder, driven as a user drives it;
// the desktop's open, the folder chooser and the message boxes are the fakes'.
#include "search/CKensakuDlg.h"

#include "app/CFumibakoDlg.h"
#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "res/ControlIds.h"
#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace fmb {
namespace {

using test::U8;

const std::string kSep(1, kPathSeparator);

// Stored names in both forms below the storage root, and one kept in the ledger's folder.
const char* const kStored[] = {
    "2022年度/請求書/[2023_03_31][(株)ＡＢＣ商事][500,000].pdf",
    "2022年度/請求書/[20230401][㈱テスト][1,000][2,000]3月分.pdf",
    "2023年度/領収書/20230402_ﾃｽﾄ販売_100.pdf",
    "2023年度/領収書/[20240331][国税商事][99]前払い.pdf",
};

class CKensakuDlgTest : public ::testing::Test {
protected:
    CKensakuDlgTest() {
        for (const char* relative : kStored) {
            Touch(relative);
        }
        Touch("ふみばこ台帳/[20230401][㈱テスト][7].pdf");
        CFMBData settings(m_dir.Text(true));
        settings.ReadIni();
        settings.COPY_SAKI_DIR = Root();
        EXPECT_EQ(settings.WriteIni(), SaveResult::Saved);
        CFMBSyameiData types(m_dir.Text(true));
        types.SetTypeName(0, "請求書");
        types.SetTypeName(1, "領収書");
        EXPECT_EQ(types.WriteIni(), SaveResult::Saved);
    }

    void Touch(const std::string& relative) {
        const fs::path path = U8(Root()) / U8(relative);
        fs::create_directories(path.parent_path());
        test::WriteBytes(path, "%PDF");
    }

    std::string Root() const { return m_dir.Child("書類"); }
    std::string Stored(int index) const {
        std::string path = Root() + kSep + kStored[index];
        std::replace(path.begin(), path.end(), '/', kPathSeparator);
        return path;
    }

    CKensakuDlg& Open() {
        m_dialog = std::make_unique<CKensakuDlg>(m_fake.Env(m_dir.Text(true)));
        EXPECT_TRUE(test::ShowActive(*m_dialog));
        return *m_dialog;
    }

    template <class T> T* Find(const char* name) const {
        T* widget = m_dialog->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Field(const char* name) const { return Find<QLineEdit>(name); }
    QAbstractItemModel* Model() const { return Find<QTableView>("hitTable")->model(); }
    std::string Count() const { return Find<QLabel>("hitCount")->text().toStdString(); }
    std::string Message() const { return Find<QLabel>("fieldMessage")->text().toStdString(); }

    // Types at the end of a field: ASCII key by key, anything else as an input method commits it.
    void Type(const char* name, const std::string& text) {
        QLineEdit* field = Field(name);
        field->setFocus();
        for (const QChar c : QString::fromStdString(text)) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(field, c.toLatin1());
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QApplication::sendEvent(field, &commit);
            }
        }
    }

    // The paths of the rows once the search has ended, in the table's order.
    std::vector<std::string> RowsWhenDone() {
        [&] { QTRY_VERIFY_WITH_TIMEOUT(Count().find("検索中") == std::string::npos, 10000); }();
        std::vector<std::string> paths;
        QAbstractItemModel* model = Model();
        for (int row = 0; row < model->rowCount(); ++row) {
            paths.push_back(model->index(row, 6).data().toString().toStdString());
        }
        return paths;
    }

    std::vector<std::string> StoredPaths(const std::vector<int>& indexes) const {
        std::vector<std::string> paths;
        for (const int index : indexes) {
            paths.push_back(Stored(index));
        }
        return paths;
    }

    test::TempDir m_dir;
    test::FakePlatform m_fake{{2024, 1, 5}};
    std::unique_ptr<CKensakuDlg> m_dialog;
};

TEST_F(CKensakuDlgTest, ShowsEveryDocumentAndTypingNarrowsTheTable) {
    Open();
    EXPECT_EQ(RowsWhenDone(), StoredPaths({0, 1, 2, 3}));
    EXPECT_EQ(Count(), "4 件");
    Type("companyField", "ﾃｽﾄ");
    EXPECT_EQ(RowsWhenDone(), StoredPaths({1, 2}));
    Type("minField", "1500");
    EXPECT_EQ(RowsWhenDone(), StoredPaths({1}));
    EXPECT_EQ(Model()->index(0, 2).data().toString().toStdString(), "1,000 / 2,000");
    EXPECT_EQ(Model()->index(0, 0).data().toString().toStdString(), "2023/04/01");
    EXPECT_EQ(Count(), "1 件");
}

TEST_F(CKensakuDlgTest, TheTypeListAndTheKeptVersionsBox) {
    Open();
    auto* type = Find<QComboBox>("typeField");
    ASSERT_EQ(type->count(), 3);
    EXPECT_EQ(type->itemText(0).toStdString(), "すべて");
    type->setCurrentIndex(2);
    EXPECT_EQ(RowsWhenDone(), StoredPaths({2, 3}));
    type->setCurrentIndex(0);
    Find<QCheckBox>("includeKeptBox")->click();
    const std::vector<std::string> rows = RowsWhenDone();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                        Root() + kSep + "ふみばこ台帳" + kSep + "[20230401][㈱テスト][7].pdf"),
              rows.end());
}

TEST_F(CKensakuDlgTest, InputThatCannotBeSearchedIsToldAtItsFieldAndNothingIsSearched) {
    Open();
    RowsWhenDone();
    Type("fromField", "20230230");
    EXPECT_EQ(Message(), "存在しない日付です。");
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_FALSE(Field("fromField")->styleSheet().isEmpty());
    // The field corrected, the search runs again.
    QTest::keyClick(Field("fromField"), Qt::Key_Backspace);
    QTest::keyClick(Field("fromField"), Qt::Key_Backspace);
    QTest::keyClick(Field("fromField"), Qt::Key_Backspace);
    Type("fromField", "401");
    EXPECT_EQ(Message(), "");
    EXPECT_TRUE(Field("fromField")->styleSheet().isEmpty());
    EXPECT_EQ(RowsWhenDone(), StoredPaths({1, 2, 3}));
    Type("toField", "20230101");
    EXPECT_EQ(Message(), "終わりの日付が始まりの日付より前です。");
    Type("maxField", "x");
    EXPECT_EQ(Message(), "終わりの日付が始まりの日付より前です。");
}

TEST_F(CKensakuDlgTest, SortsByTheColumnClicked) {
    Open();
    RowsWhenDone();
    QHeaderView* header = Find<QTableView>("hitTable")->horizontalHeader();
    const auto clickHeader = [&](int column) {
        const QPoint centre(header->sectionViewportPosition(column) +
                                header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    };
    clickHeader(2); // amounts, the first of each as a number
    EXPECT_EQ(RowsWhenDone(), StoredPaths({3, 2, 1, 0}));
    clickHeader(2);
    EXPECT_EQ(RowsWhenDone(), StoredPaths({0, 1, 2, 3}));
    clickHeader(1); // counterparty
    EXPECT_EQ(RowsWhenDone(), StoredPaths({0, 1, 3, 2}));
}

TEST_F(CKensakuDlgTest, EscEmptiesTheFieldsFirstThenCloses) {
    Open();
    Type("companyField", "abc");
    Find<QCheckBox>("includeKeptBox")->click();
    EXPECT_EQ(RowsWhenDone(), StoredPaths({0}));
    QTest::keyClick(Field("companyField"), Qt::Key_Escape);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(Field("companyField")->text(), "");
    EXPECT_FALSE(Find<QCheckBox>("includeKeptBox")->isChecked());
    EXPECT_EQ(RowsWhenDone(), StoredPaths({0, 1, 2, 3}));
    QTest::keyClick(Field("companyField"), Qt::Key_Escape);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
}

TEST_F(CKensakuDlgTest, DoubleClickOpensTheDocumentAndTheButtonItsFolder) {
    Open();
    Type("companyField", "国税");
    ASSERT_EQ(RowsWhenDone(), StoredPaths({3}));
    Find<QPushButton>("openFolderButton")->click();
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"一覧から書類を選んでください。"});
    QTableView* table = Find<QTableView>("hitTable");
    const QModelIndex cell = table->model()->index(0, 1);
    const QPoint centre = table->visualRect(cell).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
    Find<QPushButton>("openFolderButton")->click();
    using Opened = test::FakeShell::Opened;
    using Kind = test::FakeShell::Kind;
    EXPECT_EQ(m_fake.shell.Log(),
              (std::vector<Opened>{{Kind::Path, Stored(3)},
                                   {Kind::Path, Root() + kSep + "2023年度" + kSep + "領収書"}}));
}

// 訂正・削除 opens on the hit chosen, its fields read back from its name; afterwards the hits are
// read again, since a corrected or deleted document has left its place.
TEST_F(CKensakuDlgTest, CorrectionOpensOnTheChosenHit) {
    Open();
    Type("companyField", "国税");
    ASSERT_EQ(RowsWhenDone(), StoredPaths({3}));
    Find<QPushButton>("correctButton")->click();
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"一覧から書類を選んでください。"});
    QTableView* table = Find<QTableView>("hitTable");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(0, 1)).center());
    std::string shownPath;
    std::string shownDate;
    std::string shownCompany;
    m_fake.modal.Queue("fmb::CCorrectDlg", [&](QDialog& dialog) {
        shownPath = test::TextOf(dialog, ids::correct::kStoredField);
        shownDate = test::TextOf(dialog, ids::correct::kDateField);
        shownCompany = test::TextOf(dialog, ids::correct::kCompanyField);
        test::ClickOn(dialog, ids::kCancel);
    });
    Find<QPushButton>("correctButton")->click();
    EXPECT_NE(shownPath.find("[20240331][国税商事][99]前払い.pdf"), std::string::npos) << shownPath;
    EXPECT_EQ(shownDate, "20240331");
    EXPECT_EQ(shownCompany, "国税商事");
    EXPECT_EQ(RowsWhenDone(), StoredPaths({3}));
}

TEST_F(CKensakuDlgTest, WritesTheHitsAsAnIndexBookInTheFolderChosen) {
    Open();
    Type("fromField", "20230401");
    ASSERT_EQ(RowsWhenDone(), StoredPaths({1, 2, 3}));
    const std::string folder = Root() + kSep + "2023年度";
    const std::string book = folder + kSep + "検索結果_索引簿(作成日20240105).csv";
    m_fake.pickers.QueueFolder(folder);
    Find<QPushButton>("writeBookButton")->click();
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"出力処理を終了しました。\n\n" + book});
    const std::string text = cp932::Decode(test::ReadBytes(U8(book))).utf8;
    EXPECT_EQ(text, "種類,年月日,取引先名,金額,備考(種別),備考,ファイルパス,リンク先を開く\n"
                    "請求書,20230401,㈱テスト,1000,,3月分,\".." +
                        kSep + "2022年度" + kSep + "請求書" + kSep +
                        "[20230401][㈱テスト][1,000][2,000]3月分.pdf\",=HYPERLINK(G2)\n"
                        "請求書,20230401,㈱テスト,2000,,3月分,\".." +
                        kSep + "2022年度" + kSep + "請求書" + kSep +
                        "[20230401][㈱テスト][1,000][2,000]3月分.pdf\",=HYPERLINK(G3)\n"
                        "領収書,20230402,ﾃｽﾄ販売,100,,,\"領収書" +
                        kSep +
                        "20230402_ﾃｽﾄ販売_100.pdf\",=HYPERLINK(G4)\n"
                        "領収書,20240331,国税商事,99,,前払い,\"領収書" +
                        kSep + "[20240331][国税商事][99]前払い.pdf\",=HYPERLINK(G5)\n");

    // Written again the same day: the user is asked, and Cancel keeps the book as it was.
    test::WriteBytes(U8(book), "kept");
    m_fake.pickers.QueueFolder(folder);
    m_fake.messages.QueueAnswer(false);
    Find<QPushButton>("writeBookButton")->click();
    EXPECT_EQ(
        m_fake.messages.TakeTexts(),
        std::vector<std::string>{"同じ名前のファイルがあります。置き換えますか？\n\n" + book});
    EXPECT_EQ(test::ReadBytes(U8(book)), "kept");

    // No hits: nothing to write, and no chooser.
    Type("companyField", "存在しない");
    EXPECT_EQ(RowsWhenDone().size(), 0u);
    Find<QPushButton>("writeBookButton")->click();
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"出力する書類がありません。"});
}

// One click on the filing window reaches the search.
TEST_F(CKensakuDlgTest, TheFilingWindowOpensItWithOneClick) {
    CFumibakoDlg window(m_fake.Env(m_dir.Text(true)));
    ASSERT_TRUE(test::ShowActive(window));
    bool shown = false;
    m_fake.modal.Queue("fmb::CKensakuDlg", [&](QDialog& dialog) {
        shown = dialog.windowTitle() == "検索";
        dialog.reject();
    });
    test::ClickOn(window, ids::filing::kSearchButton);
    EXPECT_TRUE(shown);
}

} // namespace
} // namespace fmb
