// The multiple-amounts dialog, driven as a user would: its edits, its keypad, OK and Cancel.
#include "filing/CKingakuDig.h"

#include "filing/AmountText.h"
#include "res/ControlIds.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace fmb {
namespace {

using namespace ids::kingaku;
using namespace ids::keypad;

class CKingakuDigTest : public ::testing::Test {
protected:
    // Opens the dialog with the caller's amounts, as the filing window does.
    void Open(const CKingakuDig::AmountList& amounts = {}) {
        m_dialog.emplace(m_fake.Env(m_dir.Text(true)), amounts);
        ASSERT_TRUE(test::ShowActive(*m_dialog));
    }

    QLineEdit* Edit(int id) { return m_dialog->Control<QLineEdit>(id); }
    std::string Text(int id) { return Edit(id)->text().toStdString(); }
    void Click(int id) { m_dialog->Control<QPushButton>(id)->click(); }
    // Clicks into the edit, as a user choosing the row the keypad writes into.
    void ClickInto(int id) {
        QTest::mouseClick(Edit(id), Qt::LeftButton);
        ASSERT_TRUE(Edit(id)->hasFocus());
    }
    std::vector<std::string> Markers() {
        std::vector<std::string> texts;
        for (int id : kMarkers)
            texts.push_back(m_dialog->Control<QLabel>(id)->text().toStdString());
        return texts;
    }

    test::TempDir m_dir;
    test::FakePlatform m_fake;
    std::optional<CKingakuDig> m_dialog;
};

TEST_F(CKingakuDigTest, OpensWithTheCallersAmountsFormattedAndListed) {
    Open({"500000", "120000", "30000", "", "", ""});
    EXPECT_EQ(Text(kAmount1), "500000");
    EXPECT_EQ(Text(kViews[0]), "500,000");
    EXPECT_EQ(Text(kViews[1]), "120,000");
    EXPECT_EQ(Text(kViews[2]), "30,000");
    EXPECT_EQ(Text(kViews[3]), "");
    EXPECT_EQ(Text(kAmountList), "[500,000][120,000][30,000]");
    EXPECT_TRUE(Edit(kAmount1)->hasFocus());
    EXPECT_EQ(Markers(), (std::vector<std::string>{"←", "", "", "", "", ""}));
}

// A caller may read or drive the controls before it runs the dialog; they already hold its amounts.
TEST_F(CKingakuDigTest, TheAmountsStandInTheControlsBeforeTheDialogShows) {
    CKingakuDig dialog(m_fake.Env(m_dir.Text(true)), {"500000", "", "30000", "", "", ""});
    EXPECT_EQ(dialog.Control<QLineEdit>(kAmount1)->text(), "500000");
    EXPECT_EQ(dialog.Control<QLineEdit>(kViews[2])->text(), "30,000");
    EXPECT_EQ(dialog.Control<QLineEdit>(kAmountList)->text(), "[500,000][30,000]");
    EXPECT_EQ(dialog.Control<QLabel>(kMarkers[0])->text(), "←");
}

TEST_F(CKingakuDigTest, OkReturnsTheAmountsAndTheExtraTexts) {
    Open({"500000", "", "", "", "", ""});
    ClickInto(kAmount2);
    QTest::keyClicks(Edit(kAmount2), "120000");
    ClickInto(kAmount4);
    QTest::keyClicks(Edit(kAmount4), "30000");
    EXPECT_EQ(Text(kAmountList), "[500,000][120,000][30,000]");

    Click(ids::kOk);
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(m_dialog->isVisible());
    // The empty row 3 leaves no trace in the texts but keeps its place in the amounts.
    EXPECT_EQ(m_dialog->Amounts(),
              (std::array<std::string, 6>{"500000", "120000", "", "30000", "", ""}));
    EXPECT_EQ(m_dialog->ExtraPlain(), "[120000][30000]");
    EXPECT_EQ(m_dialog->ExtraComma(), "[120,000][30,000]");
}

TEST_F(CKingakuDigTest, OnlyTheFirstAmountGivesEmptyExtraTexts) {
    Open({"500000", "", "", "", "", ""});
    Click(ids::kOk);
    EXPECT_EQ(m_dialog->ExtraPlain(), "");
    EXPECT_EQ(m_dialog->ExtraComma(), "");
}

TEST_F(CKingakuDigTest, CancelAndTheCloseBoxTakeNothing) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "キャンセル");
        test::FakePlatform fake;
        CKingakuDig dialog(fake.Env(m_dir.Text(true)), {"500000", "120000", "", "", "", ""});
        ASSERT_TRUE(test::ShowActive(dialog));
        dialog.Control<QLineEdit>(kAmount1)->setText("1");
        dialog.Control<QLineEdit>(kAmount3)->setText("7");
        if (closeBox)
            dialog.close();
        else
            dialog.Control<QPushButton>(ids::kCancel)->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.Amounts(),
                  (std::array<std::string, 6>{"500000", "120000", "", "", "", ""}));
        EXPECT_EQ(dialog.ExtraPlain(), "");
    }
}

TEST_F(CKingakuDigTest, TheKeypadWritesIntoTheRowLastClicked) {
    Open({"500000", "", "", "", "", ""});
    ClickInto(kAmount3);
    EXPECT_EQ(Markers(), (std::vector<std::string>{"", "", "←", "", "", ""}));

    Click(k1);
    EXPECT_EQ(Text(kAmount3), "1");
    Click(k2);
    EXPECT_EQ(Text(kAmount3), "12");
    Click(k00);
    EXPECT_EQ(Text(kAmount3), "1200");
    EXPECT_EQ(Text(kViews[2]), "1,200");
    EXPECT_EQ(Text(kAmountList), "[500,000][1,200]");
    // The keypad's own focus does not move the target.
    EXPECT_EQ(Markers(), (std::vector<std::string>{"", "", "←", "", "", ""}));
    Click(kClear);
    EXPECT_EQ(Text(kAmount3), "");
    EXPECT_EQ(Text(kAmount1), "500000");
    EXPECT_EQ(Text(kAmountList), "[500,000]");
}

TEST_F(CKingakuDigTest, TheKeypadStartsOnTheFirstRow) {
    Open();
    Click(k0);
    Click(k1);
    EXPECT_EQ(Text(kAmount1), "1");
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CKingakuDigTest, AmountsAreCutToFourteenBytesWithOneMessage) {
    Open({"99999999999999", "", "", "", "", ""});
    Click(k0);
    EXPECT_EQ(Text(kAmount1), "99999999999999");
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kAmountTooLongMessage});

    ClickInto(kAmount2);
    QTest::keyClicks(Edit(kAmount2), "123456789012345");
    EXPECT_EQ(Text(kAmount2), "12345678901234");
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kAmountTooLongMessage});

    // Separators count and stay: this dialog only limits.
    Edit(kAmount3)->setText("1,234,567,890,123");
    EXPECT_EQ(Text(kAmount3), "1,234,567,890,");
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kAmountTooLongMessage});
}

TEST_F(CKingakuDigTest, EnterAndEscapeLeaveTheDialogOpenAndTheAmountsAsTheyWere) {
    Open({"500000", "120000", "", "", "", ""});
    ClickInto(kAmount2);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(Edit(kAmount2), key);
        EXPECT_TRUE(m_dialog->isVisible()) << key;
    }
    EXPECT_EQ(Text(kAmount1), "500000");
    EXPECT_EQ(Text(kAmount2), "120000");
    EXPECT_EQ(m_dialog->ExtraPlain(), "");
}

} // namespace
} // namespace fmb
