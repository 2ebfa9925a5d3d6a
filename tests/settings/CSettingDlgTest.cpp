// The settings dialog on real INI files in a temporary settings folder, with the user's part
// played through the fakes.
#include "settings/CSettingDlg.h"

#include "platform/Cp932.h"
#include "platform/ListBox.h"
#include "res/ControlIds.h"
#include "settings/CFMBData.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fmb {
namespace {

using namespace ids::setting;

using test::ControlOf;
using testing::ElementsAre;
using testing::HasSubstr;
using Folders = std::vector<std::string>;

const char* const kRootMissing =
    "保存先フォルダが存在しません\n存在する保存先フォルダを指定してください。";
const char* const kRootNotChosen =
    "「保存先フォルダ」が未選択です。「参照」ボタンを押して、選択してください。";
const char* const kMonthRefused = "「年度末(月)」は1～12を半角数字で入力してください。";

QLineEdit& Root(QDialog& d) {
    return *ControlOf<QLineEdit>(d, kRootField);
}
QLineEdit& Month(QDialog& d) {
    return *ControlOf<QLineEdit>(d, kEndMonthField);
}
QAbstractButton& Box(QDialog& d, int id) {
    return *ControlOf<QAbstractButton>(d, id);
}
ListBox& TypeList(QDialog& d) {
    return *ControlOf<ListBox>(d, kTypeList);
}
std::string Example(QDialog& d) {
    return ControlOf<QLabel>(d, kExampleName)->text().toStdString();
}
void Click(QDialog& d, int id) {
    ControlOf<QPushButton>(d, id)->click();
}
void SetText(QLineEdit& edit, const std::string& text) {
    edit.setText(QString::fromStdString(text));
}
// The check states, in the order of the flags in FMB_Setting.ini.
std::vector<bool> Boxes(QDialog& d) {
    std::vector<bool> states;
    for (int id : {kAmountCommasBox, kDateUnderscoresBox, kMonthFoldersBox, kCompanyFoldersBox,
                   kTypeInRemarkBox, kUnderscoreFormBox})
        states.push_back(Box(d, id).isChecked());
    return states;
}
// The example tree as a chain of folders, each the only child of the one before; every item
// must be expanded.
Folders Tree(QDialog& d) {
    QTreeWidget& tree = *ControlOf<QTreeWidget>(d, kExampleTree);
    Folders folders;
    EXPECT_LE(tree.topLevelItemCount(), 1);
    for (QTreeWidgetItem* item = tree.topLevelItem(0); item != nullptr;
         item = item->childCount() > 0 ? item->child(0) : nullptr) {
        folders.push_back(item->text(0).toStdString());
        EXPECT_LE(item->childCount(), 1);
        EXPECT_TRUE(item->isExpanded() || item->childCount() == 0) << folders.back();
    }
    return folders;
}

class CSettingDlgTest : public ::testing::Test {
protected:
    // Runs the dialog as its callers do; play is the user.
    int Run(std::function<void(QDialog&)> play) {
        m_fake.modal.Queue("fmb::CSettingDlg", std::move(play));
        CSettingDlg dlg(m_fake.Env(m_dir.Text(true)));
        return m_fake.modal.RunModal(dlg);
    }

    std::filesystem::path SettingPath() const { return m_dir.Path() / "FMB_Setting.ini"; }
    std::filesystem::path CorpPath() const { return m_dir.Path() / "FMB_Corp.ini"; }
    std::string CorpText() const { return cp932::Decode(test::ReadBytes(CorpPath())).utf8; }
    void WriteSetting(const std::string& text) const {
        test::WriteBytes(SettingPath(), cp932::Encode(text).bytes);
    }

    test::TempDir m_dir;     // the settings folder
    test::TempDir m_storage; // a storage root
    test::FakePlatform m_fake{{2024, 1, 5}};
};

TEST_F(CSettingDlgTest, AFirstStartShowsTheDefaultsAndWritesTheDefaultTypes) {
    const int result = Run([this](QDialog& d) {
        ASSERT_TRUE(std::filesystem::exists(CorpPath())) << "written while the dialog opens";
        EXPECT_EQ(Root(d).text(), QString());
        EXPECT_EQ(Month(d).text(), QStringLiteral("3"));
        EXPECT_EQ(Boxes(d), (std::vector<bool>{true, true, true, false, false, false}));
        EXPECT_EQ(Example(d), "例 : [2024_12_31][(株)〇〇商事][500,000].pdf");
        EXPECT_TRUE(Tree(d).empty());
        EXPECT_EQ(QApplication::focusWidget(), &Root(d));
        EXPECT_EQ(TypeList(d).count(), 36);
        EXPECT_FALSE(TypeList(d).isVisible());
        Click(d, ids::kCancel);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    EXPECT_FALSE(std::filesystem::exists(SettingPath())) << "キャンセル writes no settings";

    const std::string corp = test::ReadBytes(CorpPath());
    EXPECT_EQ(corp.rfind(cp932::Encode("[SYURUI]\r\nSIZE=36\r\n[SYURUI_001]\r\nSIZE=1\r\n"
                                       "SYURUI_NAME=請求書\r\n[SYURUI_002]\r\nSIZE=1\r\n"
                                       "SYURUI_NAME=請求書(控)\r\n")
                             .bytes,
                         0),
              0u);
    EXPECT_THAT(corp, HasSubstr("[SYURUI_036]\r\nSIZE=1\r\nSYURUI_NAME=NoData_36\r\n"));
}

TEST_F(CSettingDlgTest, OpensWithTheSavedSettingsAndTypes) {
    WriteSetting("[SETTING]\r\nCOPY_SAKI_DIR=" + m_storage.Text() +
                 "\r\nNEND_END_M=6\r\nKINGAKU_KANMA_FLG=0\r\nHIDUKE_UB_FLG=0\r\n"
                 "DIR_MM_SEPA_FLG=0\r\nDIR_COMPANY_SEPA_FLG=1\r\nBIKOU_SYUBETSU_FLG=1\r\n"
                 "KUGIRI_BER_FLG=0\r\n");
    const std::string corp = cp932::Encode("[SYURUI]\r\nSIZE=2\r\n[SYURUI_001]\r\nSIZE=1\r\n"
                                           "SYURUI_NAME=見積書\r\n[SYURUI_002]\r\nSIZE=1\r\n"
                                           "SYURUI_NAME=納品書\r\n")
                                 .bytes;
    test::WriteBytes(CorpPath(), corp);
    Run([this](QDialog& d) {
        EXPECT_EQ(Root(d).text().toStdString(), m_storage.Text());
        EXPECT_EQ(Month(d).text(), QStringLiteral("6"));
        EXPECT_EQ(Boxes(d), (std::vector<bool>{false, false, false, true, true, false}));
        EXPECT_EQ(Example(d), "例 : [20241231][(株)〇〇商事][500000]＜請求書(控)＞.pdf");
        EXPECT_EQ(Tree(d), (Folders{m_storage.Text(), "2024年度", "請求書(控)", "(株)〇〇商事"}));
        EXPECT_EQ(TypeList(d).Texts(),
                  (QStringList{QString::fromUtf8("見積書"), QString::fromUtf8("納品書")}));
        Click(d, ids::kCancel);
    });
    EXPECT_EQ(test::ReadBytes(CorpPath()), corp) << "a store with types is not rewritten";
}

TEST_F(CSettingDlgTest, AnEndMonthOutsideTheYearOpensAs3AndSaysSo) {
    const std::string replaced =
        "設定ファイルの「年度末(月)」が1～12の範囲にないため、3として読み込みました。\n"
        "確認して「終了(保存)」を押してください。";
    // Hand-edited months, and a file without the key.
    for (const std::string month :
         {"NEND_END_M=13\r\n", "NEND_END_M=0\r\n", "NEND_END_M=-1\r\n", "NEND_END_M=abc\r\n", ""}) {
        SCOPED_TRACE(month);
        WriteSetting("[SETTING]\r\nCOPY_SAKI_DIR=" + m_storage.Text() + "\r\n" + month);
        const int result = Run([&](QDialog& d) {
            EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{replaced});
            EXPECT_EQ(Month(d).text(), QStringLiteral("3"));
            // December belongs to the fiscal year that began in April.
            EXPECT_EQ(Tree(d), (Folders{m_storage.Text(), "2024年度", "請求書(控)"}));
            Click(d, ids::kOk);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_THAT(test::ReadBytes(SettingPath()), HasSubstr("\r\nNEND_END_M=3\r\n"));
    }
    // A month within the year opens without a word.
    Run([&](QDialog& d) {
        EXPECT_TRUE(m_fake.messages.TakeTexts().empty());
        Click(d, ids::kCancel);
    });
}

TEST_F(CSettingDlgTest, ChecksRunInOrderAndMoveTheFocus) {
    const std::string file = m_storage.Child("a file.pdf");
    test::WriteBytes(test::U8(file), "%PDF");
    const int result = Run([&](QDialog& d) {
        // An empty root, even with a bad month.
        SetText(Month(d), "13");
        Month(d).setFocus();
        Click(d, ids::kOk);
        EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kRootNotChosen));
        EXPECT_EQ(QApplication::focusWidget(), &Root(d));

        // A root that does not exist comes first; the focus stays.
        for (const std::string& root : {m_storage.Child("missing"), file}) {
            SetText(Root(d), root);
            Month(d).setFocus();
            Click(d, ids::kOk);
            EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kRootMissing)) << root;
            EXPECT_EQ(QApplication::focusWidget(), &Month(d));
        }

        SetText(Root(d), m_storage.Text());
        for (const char* month : {"０３", "0", "13", "", "三月"}) {
            SetText(Month(d), month);
            Root(d).setFocus();
            Click(d, ids::kOk);
            EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kMonthRefused)) << month;
            EXPECT_EQ(QApplication::focusWidget(), &Month(d)) << month;
            EXPECT_TRUE(d.isVisible());
        }
        EXPECT_FALSE(std::filesystem::exists(SettingPath()));

        // Read as the INI value is read: the leading digits count.
        SetText(Month(d), "3月");
        Click(d, ids::kOk);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    CFMBData saved(m_dir.Text());
    ASSERT_EQ(saved.ReadIni(), 0);
    EXPECT_EQ(saved.NEND_END_M, 3);
    EXPECT_EQ(saved.COPY_SAKI_DIR, m_storage.Text());
}

TEST_F(CSettingDlgTest, SaveWritesBothFiles) {
    const std::string root = m_storage.Child("書類");
    std::filesystem::create_directory(test::U8(root));
    // A file of 12 types is read as 36 and not rewritten at opening; saving writes all 36.
    std::string twelve = "[SYURUI]\r\nSIZE=12\r\n";
    for (int n = 1; n <= 12; ++n)
        twelve += "[SYURUI_0" + std::string(n < 10 ? "0" : "") + std::to_string(n) +
                  "]\r\nSIZE=1\r\nSYURUI_NAME=T" + std::to_string(n) + "\r\n";
    test::WriteBytes(CorpPath(), twelve);

    const int result = Run([&](QDialog& d) {
        EXPECT_EQ(test::ReadBytes(CorpPath()), twelve);
        SetText(Root(d), root);
        SetText(Month(d), "9");
        Box(d, kAmountCommasBox).click();
        Box(d, kCompanyFoldersBox).click();
        Box(d, kUnderscoreFormBox).click();
        Click(d, ids::kOk);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(test::ReadBytes(SettingPath()),
              cp932::Encode("[SETTING]\r\nCOPY_SAKI_DIR=" + root +
                            "\r\nNEND_END_M=9\r\nKINGAKU_KANMA_FLG=0\r\nHIDUKE_UB_FLG=1\r\n"
                            "DIR_MM_SEPA_FLG=1\r\nDIR_COMPANY_SEPA_FLG=1\r\n"
                            "BIKOU_SYUBETSU_FLG=0\r\nKUGIRI_BER_FLG=1\r\n")
                  .bytes);
    EXPECT_THAT(CorpText(), HasSubstr("[SYURUI]\r\nSIZE=36\r\n"));
    EXPECT_THAT(CorpText(), HasSubstr("[SYURUI_012]\r\nSIZE=1\r\nSYURUI_NAME=T12\r\n"));
    EXPECT_THAT(CorpText(), HasSubstr("[SYURUI_013]\r\nSIZE=1\r\nSYURUI_NAME=NoData_13\r\n"));
}

TEST_F(CSettingDlgTest, CancelAndTheCloseBoxWriteNothing) {
    WriteSetting("[SETTING]\r\nCOPY_SAKI_DIR=" + m_storage.Text() + "\r\nNEND_END_M=3\r\n");
    Run([](QDialog& d) { Click(d, ids::kCancel); }); // writes the default types
    const std::string setting = test::ReadBytes(SettingPath());
    const std::string corp = test::ReadBytes(CorpPath());

    const std::function<void(QDialog&)> closers[] = {[](QDialog& d) { Click(d, ids::kCancel); },
                                                     [](QDialog& d) { d.close(); }};
    for (const auto& close : closers) {
        const int result = Run([&](QDialog& d) {
            SetText(Root(d), m_dir.Text());
            SetText(Month(d), "12");
            Box(d, kUnderscoreFormBox).click();
            close(d);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(test::ReadBytes(SettingPath()), setting);
        EXPECT_EQ(test::ReadBytes(CorpPath()), corp);
    }
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CSettingDlgTest, TheExampleFollowsEveryCheckBoxAndTheChosenFolder) {
    Run([this](QDialog& d) {
        Box(d, kUnderscoreFormBox).click();
        EXPECT_EQ(Example(d), "例 : 20241231_(株)〇〇商事_500,000.pdf");
        Box(d, kDateUnderscoresBox).click(); // no effect while the fields are joined with "_"
        EXPECT_EQ(Example(d), "例 : 20241231_(株)〇〇商事_500,000.pdf");
        Box(d, kUnderscoreFormBox).click();
        EXPECT_EQ(Example(d), "例 : [20241231][(株)〇〇商事][500,000].pdf");
        Box(d, kAmountCommasBox).click();
        EXPECT_EQ(Example(d), "例 : [20241231][(株)〇〇商事][500000].pdf");
        Box(d, kTypeInRemarkBox).click();
        EXPECT_EQ(Example(d), "例 : [20241231][(株)〇〇商事][500000]＜請求書(控)＞.pdf");
        EXPECT_TRUE(Tree(d).empty());

        // The folder chooser starts nowhere in particular; cancelling changes nothing.
        m_fake.pickers.QueueFolder(std::nullopt);
        Click(d, kBrowseButton);
        EXPECT_TRUE(Root(d).text().isEmpty());
        m_fake.pickers.QueueFolder(m_storage.Text());
        Click(d, kBrowseButton);
        EXPECT_EQ(Root(d).text().toStdString(), m_storage.Text());
        EXPECT_EQ(Tree(d), (Folders{m_storage.Text(), "2024年度", "請求書(控)", "2024年12月"}));
        Box(d, kCompanyFoldersBox).click();
        EXPECT_EQ(Tree(d), (Folders{m_storage.Text(), "2024年度", "請求書(控)", "(株)〇〇商事",
                                    "2024年12月"}));
        Box(d, kMonthFoldersBox).click();
        EXPECT_EQ(Tree(d), (Folders{m_storage.Text(), "2024年度", "請求書(控)", "(株)〇〇商事"}));
        Box(d, kCompanyFoldersBox).click();
        EXPECT_EQ(Tree(d), (Folders{m_storage.Text(), "2024年度", "請求書(控)"}));
        Click(d, ids::kCancel);
    });
    using Call = test::FakePickers::Call;
    EXPECT_THAT(m_fake.pickers.Log(), ElementsAre(Call{test::FakePickers::Kind::Folder, ""},
                                                  Call{test::FakePickers::Kind::Folder, ""}));
}

TEST_F(CSettingDlgTest, TheTreeFollowsATypedRootWhenTheFieldIsLeft) {
    Run([this](QDialog& d) {
        Root(d).setFocus();
        QTest::keyClicks(&Root(d), QString::fromStdString(m_storage.Text()));
        EXPECT_TRUE(Tree(d).empty()) << "not while typing";
        Month(d).setFocus();
        EXPECT_EQ(Tree(d), (Folders{m_storage.Text(), "2024年度", "請求書(控)", "2024年12月"}));

        // A new month shows only at the next refresh.
        Month(d).selectAll();
        QTest::keyClicks(&Month(d), QStringLiteral("13"));
        EXPECT_EQ(Tree(d).at(1), "2024年度");
        Root(d).setFocus();
        Month(d).setFocus();
        EXPECT_EQ(Tree(d).at(1), "2023年度");

        // Emptied, the root leaves no tree once the field is left; the file name stays.
        Root(d).setFocus();
        Root(d).clear();
        Month(d).setFocus();
        EXPECT_TRUE(Tree(d).empty());
        EXPECT_EQ(Example(d), "例 : [2024_12_31][(株)〇〇商事][500,000].pdf");
        Click(d, ids::kCancel);
    });
}

TEST_F(CSettingDlgTest, EnterAndEscapeNeitherSaveNorClose) {
    Run([this](QDialog& d) {
        SetText(Root(d), m_storage.Text());
        Root(d).setFocus();
        QTest::keyClick(&Root(d), Qt::Key_Return);
        QTest::keyClick(&Root(d), Qt::Key_Escape);
        QTest::keyClick(&d, Qt::Key_Return);
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        Click(d, ids::kCancel);
    });
    EXPECT_FALSE(std::filesystem::exists(SettingPath()));
}

TEST_F(CSettingDlgTest, FailedWritesAreToldAndTheDialogStaysOpen) {
    // A settings folder that is not there: neither file can be written.
    const std::string missing = m_dir.Child("missing") + "/";
    const std::string corpFailed = "種類・社名ファイル（FMB_Corp.ini）に保存できませんでした。\n" +
                                   missing +
                                   "FMB_Corp.ini\n\nこのフォルダに書き込めるか（同じ名前のフォルダ"
                                   "がないか）を確かめてから、もう一度保存してください。";
    m_fake.modal.Queue("fmb::CSettingDlg", [&](QDialog& d) {
        EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(corpFailed)) << "told at opening";
        EXPECT_EQ(TypeList(d).count(), 36) << "the defaults are offered all the same";
        SetText(Root(d), m_storage.Text());
        Click(d, ids::kOk);
        EXPECT_TRUE(d.isVisible());
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("設定ファイル（FMB_Setting.ini）に保存できませんでした。\n" +
                                missing +
                                "FMB_Setting.ini\n\nこのフォルダに書き込めるか（同じ名前のフォル"
                                "ダがないか）を確かめてから、もう一度保存してください。"));
        Click(d, ids::kCancel);
    });
    {
        CSettingDlg dlg(m_fake.Env(missing));
        EXPECT_EQ(m_fake.modal.RunModal(dlg), QDialog::Rejected);
    }

    // A folder where FMB_Corp.ini should be: the settings are written, the types are not.
    std::filesystem::create_directory(CorpPath());
    const int result = Run([this](QDialog& d) {
        EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(HasSubstr("FMB_Corp.ini")));
        SetText(Root(d), m_storage.Text());
        Click(d, ids::kOk);
        EXPECT_TRUE(d.isVisible());
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre(HasSubstr("種類・社名ファイル（FMB_Corp.ini）に保存できません")));
        // Once the way is free, 終了(保存) succeeds.
        std::filesystem::remove(CorpPath());
        Click(d, ids::kOk);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_THAT(CorpText(), HasSubstr("[SYURUI]\r\nSIZE=36\r\n"));
    EXPECT_TRUE(std::filesystem::exists(SettingPath()));
}

TEST_F(CSettingDlgTest, ARootTheSettingsFileCannotHoldIsRefused) {
    const std::string root = m_storage.Child("書類🍣");
    std::filesystem::create_directory(test::U8(root));
    Run([&](QDialog& d) {
        SetText(Root(d), root);
        Month(d).setFocus();
        Click(d, ids::kOk);
        EXPECT_TRUE(d.isVisible());
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("保存先フォルダの名前に、設定ファイル（FMB_Setting.ini）に保存でき"
                                "ない文字「🍣」が含まれています。\n\nこの文字を含まない名前のフォ"
                                "ルダを指定してください。"));
        EXPECT_EQ(QApplication::focusWidget(), &Root(d));
        Click(d, ids::kCancel);
    });
    EXPECT_FALSE(std::filesystem::exists(SettingPath()));
}

// 処理担当者 is read, saved as its own key after the others, and keeps the lines the program
// does not own; a name the file cannot hold is refused with the focus on it.
TEST_F(CSettingDlgTest, ThePersonIsShownSavedAndCheckedWithoutTouchingOtherKeys) {
    WriteSetting("; kept comment\r\n[SETTING]\r\nCOPY_SAKI_DIR=" + m_storage.Text() +
                 "\r\nNEND_END_M=3\r\nOTHER_KEY=kept\r\nSYORI_TANTOUSYA=山田\r\n");
    Run([&](QDialog& d) {
        QLineEdit& person = *test::ControlOf<QLineEdit>(d, kPersonField);
        EXPECT_EQ(person.text().toStdString(), "山田");
        SetText(person, "髙橋🍣");
        Click(d, ids::kOk);
        EXPECT_TRUE(d.isVisible());
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("処理担当者に、設定ファイル（FMB_Setting.ini）に保存できない文字"
                                "「🍣」が含まれています。\n\nこの文字を別の文字に替えてから、もう一"
                                "度保存してください。"));
        EXPECT_EQ(QApplication::focusWidget(), &person);
        SetText(person, "髙橋 一郎");
        Click(d, ids::kOk);
    });
    const std::string written = cp932::Decode(test::ReadBytes(SettingPath())).utf8;
    EXPECT_TRUE(written.starts_with("; kept comment\r\n[SETTING]\r\n")) << written;
    EXPECT_THAT(written, HasSubstr("\r\nOTHER_KEY=kept\r\nSYORI_TANTOUSYA=髙橋 一郎\r\n"));
    CFMBData read(m_dir.Text(true));
    ASSERT_EQ(read.ReadIni(), 0);
    EXPECT_EQ(read.SYORI_TANTOUSYA, "髙橋 一郎");
}

TEST_F(CSettingDlgTest, TheHiddenEditButtonRunsTheCompanyEditorForTheChosenType) {
    const int result = Run([this](QDialog& d) {
        Click(d, kEditTypeButton);
        EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre("リストより「種類」を選択ください。"));

        TypeList(d).setCurrentRow(1);
        m_fake.modal.Queue("fmb::CSyainEditDlg", [](QDialog& editor) {
            EXPECT_EQ(ControlOf<QLineEdit>(editor, ids::syainEdit::kTypeNameField)->text(),
                      QString::fromUtf8("請求書(控)"));
            ControlOf<QLineEdit>(editor, ids::syainEdit::kTypeNameField)
                ->setText(QString::fromUtf8("請求書(発行)"));
            ControlOf<QLineEdit>(editor, ids::syainEdit::kEntryField)
                ->setText(QString::fromUtf8("かえで"));
            ControlOf<QPushButton>(editor, ids::syainEdit::kAddButton)->click();
            ControlOf<QPushButton>(editor, ids::kOk)->click();
        });
        Click(d, kEditTypeButton);
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("保存しました。", HasSubstr("種類名の変更がありました")));
        EXPECT_EQ(TypeList(d).count(), 36);
        EXPECT_EQ(TypeList(d).item(1)->text(), QString::fromUtf8("請求書(発行)"));
        EXPECT_THAT(CorpText(), HasSubstr("SYURUI_NAME=請求書(発行)\r\nSYA_NAME_001=かえで\r\n"));

        // Saving the settings writes the dialog's store, which holds the editor's work.
        SetText(Root(d), m_storage.Text());
        Click(d, ids::kOk);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_THAT(m_fake.modal.Log(), ElementsAre("fmb::CSettingDlg", "fmb::CSyainEditDlg"));
    CFMBSyameiData saved(m_dir.Text());
    saved.ReadIni();
    EXPECT_EQ(saved.TypeName(1), "請求書(発行)");
    std::vector<std::string> companies;
    saved.GetCompanyNames(1, companies);
    EXPECT_EQ(companies, std::vector<std::string>{"かえで"});
}

} // namespace
} // namespace fmb
