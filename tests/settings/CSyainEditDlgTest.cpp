// The company-name editor, run as its callers run it: a copy of the store in, the user's part
// played by the test, the copy taken back, and FMB_Corp.ini read from the disk.
#include "settings/CSyainEditDlg.h"

#include "platform/Cp932.h"
#include "platform/ListBox.h"
#include "res/ControlIds.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fmb {
namespace {

using namespace ids::syainEdit;

using test::ControlOf;
using testing::ElementsAre;
using testing::HasSubstr;

const char* const kSelectCompany = "リストより「社名」を選択ください。";
const char* const kSaved = "保存しました。";
const char* const kCloseQuestion = "保存しないで終了します。よろしいですか？";
const char* const kRenamed =
    "【お知らせ】種類名の変更がありました。\n\n旧種類名のフォルダ名が変更されるわけではなく、\n"
    "「旧種類名」のフォルダはそのままに、今後「新種類名」のフォルダが出来て、そこにファイルがコピー"
    "されます。";

QLineEdit& Entry(QDialog& d) {
    return *ControlOf<QLineEdit>(d, kEntryField);
}
QLineEdit& TypeName(QDialog& d) {
    return *ControlOf<QLineEdit>(d, kTypeNameField);
}
ListBox& List(QDialog& d) {
    return *ControlOf<ListBox>(d, kCompanyList);
}
void Click(QDialog& d, int id) {
    ControlOf<QPushButton>(d, id)->click();
}
void Type(QDialog& d, const char* text) {
    Entry(d).setText(QString::fromUtf8(text));
}
void Add(QDialog& d, const char* text) {
    Type(d, text);
    Click(d, kAddButton);
}
// Selects a row as a click of the user does.
void Select(QDialog& d, int row) {
    ListBox& list = List(d);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row)).center());
}
std::vector<std::string> Listed(QDialog& d) {
    std::vector<std::string> texts;
    for (const QString& text : List(d).Texts())
        texts.push_back(text.toStdString());
    return texts;
}
using Names = std::vector<std::string>;

class CSyainEditDlgTest : public ::testing::Test {
protected:
    CSyainEditDlgTest() : m_store(m_dir.Text()) {
        m_store.SetDefaultTypes();
        m_store.ExtendTypes();
        m_store.SetCompanyNames(1, {"さくら商事", "Beta", "あおば", "alpha"});
    }

    // The callers' protocol: copy in, run, copy back whatever the result.
    int RunEditor(int slot, std::function<void(QDialog&)> play) {
        m_fake.modal.Queue("fmb::CSyainEditDlg", std::move(play));
        CSyainEditDlg editor(m_fake.Env(m_dir.Text(true)), m_store, slot);
        const int result = m_fake.modal.RunModal(editor);
        m_store = editor.TypeData();
        return result;
    }

    std::vector<std::string> Companies(const CFMBSyameiData& store, int slot) const {
        std::vector<std::string> companies;
        store.GetCompanyNames(slot, companies);
        return companies;
    }
    // The close box, answered with OK.
    void CloseWithoutSaving(QDialog& d) {
        m_fake.messages.QueueAnswer(true);
        d.close();
    }
    std::filesystem::path IniPath() const { return m_dir.Path() / "FMB_Corp.ini"; }
    // The file as text (it is kept in CP932).
    std::string IniText() const { return cp932::Decode(test::ReadBytes(IniPath())).utf8; }

    test::TempDir m_dir;
    test::FakePlatform m_fake;
    CFMBSyameiData m_store;
};

TEST_F(CSyainEditDlgTest, OpensWithTheTypeNameAndItsCompaniesSorted) {
    RunEditor(1, [this](QDialog& d) {
        EXPECT_EQ(TypeName(d).text(), QString::fromUtf8("請求書(控)"));
        // Letter case does not count; kana follow the Latin letters.
        EXPECT_EQ(Listed(d), Names({"alpha", "Beta", "あおば", "さくら商事"}));
        EXPECT_TRUE(List(d).selectedItems().isEmpty());
        EXPECT_TRUE(Entry(d).text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), &TypeName(d));
        CloseWithoutSaving(d);
    });
    RunEditor(0, [this](QDialog& d) {
        EXPECT_EQ(TypeName(d).text(), QString::fromUtf8("請求書"));
        EXPECT_EQ(List(d).count(), 0);
        CloseWithoutSaving(d);
    });
    RunEditor(-1, [this](QDialog& d) {
        EXPECT_TRUE(TypeName(d).text().isEmpty());
        EXPECT_EQ(List(d).count(), 0);
        CloseWithoutSaving(d);
    });
}

// A caller may read or drive the controls before it runs the editor; they already hold the type.
TEST_F(CSyainEditDlgTest, TheTypeStandsInTheControlsBeforeTheEditorShows) {
    CSyainEditDlg editor(m_fake.Env(m_dir.Text(true)), m_store, 1);
    EXPECT_EQ(TypeName(editor).text(), QString::fromUtf8("請求書(控)"));
    EXPECT_EQ(Listed(editor), Names({"alpha", "Beta", "あおば", "さくら商事"}));
}

TEST_F(CSyainEditDlgTest, AddRefusesAnEmptyNameADuplicateAndAnUnsavableCharacter) {
    RunEditor(1, [this](QDialog& d) {
        Add(d, "");
        Add(d, "Beta");
        EXPECT_EQ(Entry(d).text(), QString::fromUtf8("Beta")) << "the refused text stays";
        Add(d, "寿司🍣");
        Add(d, "𠮷野家");
        Add(d, "Gamma\r\n"); // pasted from a spreadsheet cell
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("社名を入力してください。", "同じ社名が、すでにリストにあります。",
                                "社名に、保存できない文字「🍣」が含まれています。\n\nこの文字を別の"
                                "文字に替えてから、もう一度押してください。",
                                "社名に、保存できない文字「𠮷」が含まれています。\n\nこの文字を別の"
                                "文字に替えてから、もう一度押してください。",
                                "社名に、保存できない文字（改行）が含まれています。\n\nこの文字を"
                                "別の文字に替えてから、もう一度押してください。"));
        EXPECT_EQ(List(d).count(), 4);

        // Blanks and letter case make another name.
        Add(d, "Beta ");
        Add(d, "BETA");
        Add(d, "いろは");
        EXPECT_TRUE(m_fake.messages.TakeTexts().empty());
        EXPECT_EQ(Listed(d),
                  Names({"alpha", "BETA", "Beta", "Beta ", "あおば", "いろは", "さくら商事"}));
        EXPECT_TRUE(Entry(d).text().isEmpty());
        EXPECT_TRUE(List(d).selectedItems().isEmpty());
        CloseWithoutSaving(d);
    });
}

TEST_F(CSyainEditDlgTest, ReplaceAndDeleteWorkOnTheSelectedName) {
    RunEditor(1, [this](QDialog& d) {
        Type(d, "unfinished");
        Click(d, kReplaceButton);
        Click(d, kDeleteButton);
        EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSelectCompany, kSelectCompany));
        EXPECT_EQ(List(d).count(), 4);

        // Selecting puts the name into the entry field; 修正 moves it to where it sorts.
        Select(d, 0);
        EXPECT_EQ(Entry(d).text(), QString::fromUtf8("alpha"));
        Type(d, "zeta");
        Click(d, kReplaceButton);
        EXPECT_EQ(Listed(d), Names({"Beta", "zeta", "あおば", "さくら商事"}));
        EXPECT_TRUE(List(d).selectedItems().isEmpty());
        EXPECT_TRUE(Entry(d).text().isEmpty());

        // A name that cannot be saved is refused; the list stays.
        Select(d, 0);
        Type(d, "🍣");
        Click(d, kReplaceButton);
        EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(HasSubstr("「🍣」")));
        EXPECT_EQ(Listed(d), Names({"Beta", "zeta", "あおば", "さくら商事"}));

        // 削除 takes the selected name at once and leaves nothing selected behind it.
        Select(d, 2);
        Click(d, kDeleteButton);
        EXPECT_EQ(Listed(d), Names({"Beta", "zeta", "さくら商事"}));
        EXPECT_TRUE(Entry(d).text().isEmpty());
        Click(d, kDeleteButton);
        EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSelectCompany));
        EXPECT_EQ(List(d).count(), 3);

        // 修正 with an empty entry field leaves an empty name (kept as typed).
        Select(d, 1);
        Click(d, kClearButton);
        Click(d, kReplaceButton);
        EXPECT_EQ(Listed(d), Names({"", "Beta", "さくら商事"}));
        Click(d, ids::kOk);
    });
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSaved));
    EXPECT_EQ(Companies(m_store, 1), (std::vector<std::string>{"", "Beta", "さくら商事"}));
    EXPECT_THAT(IniText(), HasSubstr("[SYURUI_002]\r\nSIZE=4\r\nSYURUI_NAME=請求書(控)\r\n"
                                     "SYA_NAME_001=\r\nSYA_NAME_002=Beta\r\n"
                                     "SYA_NAME_003=さくら商事\r\n"));
}

TEST_F(CSyainEditDlgTest, ANameTheFilingWindowWouldRefuseIsRefusedAtAddAndReplace) {
    const char* const forbidden =
        "社名に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | ";
    RunEditor(1, [&](QDialog& d) {
        for (const char* name : {"A/B商会", "(株)\"ABC\"", "a:b", "x|y", "[株]商店"}) {
            SCOPED_TRACE(name);
            Add(d, name);
            EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(forbidden));
            EXPECT_EQ(QApplication::focusWidget(), &Entry(d));
            EXPECT_EQ(Entry(d).text(), QString::fromUtf8(name)) << "kept to be corrected";

            Select(d, 0);
            ControlOf<QPushButton>(d, ids::kOk)->setFocus();
            Type(d, name);
            Click(d, kReplaceButton);
            EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(forbidden));
            EXPECT_EQ(QApplication::focusWidget(), &Entry(d));
            EXPECT_EQ(Listed(d), Names({"alpha", "Beta", "あおば", "さくら商事"}));
            Click(d, kClearButton);
        }
        // Full-width look-alikes stand in a file name, so they are taken.
        Add(d, "A／B商会");
        EXPECT_TRUE(m_fake.messages.TakeTexts().empty());
        Click(d, ids::kOk);
    });
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSaved));
    EXPECT_EQ(Companies(m_store, 1),
              (std::vector<std::string>{"A／B商会", "alpha", "Beta", "あおば", "さくら商事"}));
}

TEST_F(CSyainEditDlgTest, CompanyMarkButtonsAddTheMarkEveryTime) {
    RunEditor(1, [this](QDialog& d) {
        Type(d, "〇〇商事");
        Click(d, kMarkFrontButton);
        Click(d, kMarkFrontButton);
        EXPECT_EQ(Entry(d).text(), QString::fromUtf8("(株)(株)〇〇商事"));
        Click(d, kMarkBackButton);
        EXPECT_EQ(Entry(d).text(), QString::fromUtf8("(株)(株)〇〇商事(株)"));
        Click(d, kClearButton);
        EXPECT_TRUE(Entry(d).text().isEmpty());
        CloseWithoutSaving(d);
    });
}

TEST_F(CSyainEditDlgTest, SaveWritesTheWholeStoreInListOrder) {
    // Another type's companies are written too: the editor saves the whole store.
    m_store.SetCompanyNames(2, {"領収先"});
    const int result = RunEditor(1, [](QDialog& d) {
        Add(d, "かえで");
        Click(d, ids::kOk);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSaved));
    EXPECT_EQ(Companies(m_store, 1),
              (std::vector<std::string>{"alpha", "Beta", "あおば", "かえで", "さくら商事"}));

    const std::string bytes = test::ReadBytes(IniPath());
    EXPECT_THAT(bytes, HasSubstr("[SYURUI]\r\nSIZE=36\r\n"));
    EXPECT_THAT(bytes, HasSubstr(cp932::Encode("[SYURUI_002]\r\nSIZE=6\r\n"
                                               "SYURUI_NAME=請求書(控)\r\n"
                                               "SYA_NAME_001=alpha\r\nSYA_NAME_002=Beta\r\n"
                                               "SYA_NAME_003=あおば\r\nSYA_NAME_004=かえで\r\n"
                                               "SYA_NAME_005=さくら商事\r\n")
                                     .bytes));
    EXPECT_THAT(IniText(), HasSubstr("[SYURUI_003]\r\nSIZE=2\r\nSYURUI_NAME=領収書\r\n"
                                     "SYA_NAME_001=領収先\r\n"));
    EXPECT_THAT(IniText(), HasSubstr("[SYURUI_036]\r\nSIZE=1\r\nSYURUI_NAME=NoData_36\r\n"));
}

TEST_F(CSyainEditDlgTest, ARenameIsSavedAndTold) {
    RunEditor(1, [](QDialog& d) {
        TypeName(d).setText(QString::fromUtf8("請求書(発行)"));
        Click(d, ids::kOk);
    });
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSaved, kRenamed));
    EXPECT_EQ(m_store.TypeName(1), "請求書(発行)");
    EXPECT_EQ(Companies(m_store, 1).size(), 4u) << "the companies stay with the renamed type";
    EXPECT_THAT(IniText(), HasSubstr("[SYURUI_002]\r\nSIZE=5\r\nSYURUI_NAME=請求書(発行)\r\n"));
}

TEST_F(CSyainEditDlgTest, AnEmptyListIsSavedAsTheNameAlone) {
    RunEditor(1, [](QDialog& d) {
        for (int n = 0; n < 4; ++n) {
            Select(d, 0);
            Click(d, kDeleteButton);
        }
        Click(d, ids::kOk);
    });
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSaved));
    EXPECT_TRUE(Companies(m_store, 1).empty());
    EXPECT_THAT(IniText(), HasSubstr("[SYURUI_002]\r\nSIZE=1\r\nSYURUI_NAME=請求書(控)\r\n"));
    CFMBSyameiData read(m_dir.Text());
    read.ReadIni();
    EXPECT_TRUE(Companies(read, 1).empty());
}

TEST_F(CSyainEditDlgTest, UnfinishedEntryTextIsNotSaved) {
    RunEditor(1, [this](QDialog& d) {
        Type(d, "Beta"); // already listed, but still typed in the field
        Click(d, ids::kOk);
        EXPECT_TRUE(d.isVisible());
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("社名が入力途中のものがあります。\n\n「削除」「修正」「追加」または"
                                "「クリア」後に、\n再度、押下してください。"));
        EXPECT_FALSE(std::filesystem::exists(IniPath()));
        Click(d, kClearButton);
        Click(d, ids::kOk);
    });
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSaved));
    EXPECT_TRUE(std::filesystem::exists(IniPath()));
}

TEST_F(CSyainEditDlgTest, ClosingWithoutSavingReturnsTheStoreUnchanged) {
    const int result = RunEditor(1, [this](QDialog& d) {
        Add(d, "かえで");
        Select(d, 0);
        Click(d, kDeleteButton);
        TypeName(d).setText(QStringLiteral("renamed"));

        // Cancel keeps the dialog open with the work as it is.
        m_fake.messages.QueueAnswer(false);
        d.close();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(List(d).count(), 4);
        CloseWithoutSaving(d);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kCloseQuestion, kCloseQuestion));
    EXPECT_EQ(m_store.TypeName(1), "請求書(控)");
    EXPECT_EQ(Companies(m_store, 1),
              (std::vector<std::string>{"さくら商事", "Beta", "あおば", "alpha"}));
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

TEST_F(CSyainEditDlgTest, EnterAndEscapeNeitherSaveNorClose) {
    RunEditor(1, [this](QDialog& d) {
        Type(d, "Beta");
        Entry(d).setFocus();
        QTest::keyClick(&Entry(d), Qt::Key_Return);
        QTest::keyClick(&Entry(d), Qt::Key_Escape);
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(m_fake.messages.TakeTexts().empty());
        CloseWithoutSaving(d);
    });
}

TEST_F(CSyainEditDlgTest, AFailedWriteIsToldAndTheDialogStaysOpen) {
    // A folder stands where the file should be written.
    std::filesystem::create_directory(IniPath());
    RunEditor(1, [this](QDialog& d) {
        Add(d, "かえで");
        Click(d, ids::kOk);
        EXPECT_TRUE(d.isVisible());
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("種類・社名ファイル（FMB_Corp.ini）に保存できませんでした。\n" +
                                m_dir.Text(true) +
                                "FMB_Corp.ini\n\nこのフォルダに書き込めるか（同じ名前のフォルダが"
                                "ないか）を確かめてから、もう一度保存してください。"));
        CloseWithoutSaving(d);
    });
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kCloseQuestion));
    EXPECT_EQ(Companies(m_store, 1).size(), 4u) << "nothing unsaved comes back to the caller";

    // Once the way is free, the same work saves.
    std::filesystem::remove(IniPath());
    RunEditor(1, [](QDialog& d) {
        Add(d, "かえで");
        Click(d, ids::kOk);
    });
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(kSaved));
    EXPECT_EQ(Companies(m_store, 1).size(), 5u);
}

TEST_F(CSyainEditDlgTest, ATypeNameThatCannotBeSavedIsToldAndNothingIsWritten) {
    RunEditor(1, [this](QDialog& d) {
        TypeName(d).setText(QString::fromUtf8("請求書🍣"));
        Click(d, ids::kOk);
        EXPECT_TRUE(d.isVisible());
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("種類名「請求書🍣」に、種類・社名ファイル（FMB_Corp.ini）に保存で"
                                "きない文字「🍣」が含まれています。\n\nこの文字を別の文字に替えて"
                                "から、もう一度保存してください。"));
        EXPECT_FALSE(std::filesystem::exists(IniPath()));
        CloseWithoutSaving(d);
    });
}

TEST_F(CSyainEditDlgTest, ATypeNameAFolderCannotCarryIsRefused) {
    // A "/" would file the type's documents one folder deeper, a "[" would break the name the
    // index book reads back.
    for (const char* name : {"請求書/2022", "請求書[控]", "a:b"}) {
        RunEditor(1, [this, name](QDialog& d) {
            TypeName(d).setText(QString::fromUtf8(name));
            Click(d, ids::kOk);
            EXPECT_TRUE(d.isVisible());
            EXPECT_THAT(m_fake.messages.TakeTexts(),
                        ElementsAre("種類名に使用禁止文字があります。修正してください。\n\n "
                                    "入力不可→　[ ] \\ / : * ?  < > | "));
            EXPECT_TRUE(TypeName(d).hasFocus());
            EXPECT_FALSE(std::filesystem::exists(IniPath()));
            CloseWithoutSaving(d);
        });
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("保存しないで終了します。よろしいですか？"));
    }
    EXPECT_EQ(m_store.TypeName(1), "請求書(控)");
}

TEST_F(CSyainEditDlgTest, ATypeNameOfDotsAloneIsRefused) {
    // As the type folder, "." would be the fiscal-year folder itself and ".." the storage root.
    for (const char* name : {".", ".."}) {
        RunEditor(1, [this, name](QDialog& d) {
            TypeName(d).setText(QString::fromUtf8(name));
            Click(d, ids::kOk);
            EXPECT_TRUE(d.isVisible());
            EXPECT_THAT(m_fake.messages.TakeTexts(),
                        ElementsAre("種類名に「.」や「..」は使えません。修正してください。"));
            EXPECT_TRUE(TypeName(d).hasFocus());
            EXPECT_FALSE(std::filesystem::exists(IniPath()));
            CloseWithoutSaving(d);
        });
        m_fake.messages.TakeTexts();
    }
    EXPECT_EQ(m_store.TypeName(1), "請求書(控)");
}

TEST_F(CSyainEditDlgTest, ADamagedNameElsewhereInTheFileIsNamed) {
    // A byte pair that is no character of the code page, in a company of another type: it reads
    // as a replacement character, which cannot be written back.
    test::WriteBytes(IniPath(),
                     "[SYURUI]\r\nSIZE=2\r\n[SYURUI_001]\r\nSIZE=1\r\nSYURUI_NAME=A\r\n"
                     "[SYURUI_002]\r\nSIZE=2\r\nSYURUI_NAME=B\r\nSYA_NAME_001=x\x85\x40\r\n");
    const std::string before = test::ReadBytes(IniPath());
    m_store.ReadIni();
    RunEditor(0, [this](QDialog& d) {
        Add(d, "new");
        Click(d, ids::kOk);
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre("種類「B」の社名「x\uFFFD」に、種類・社名ファイル（FMB_Corp.ini）に"
                                "保存できない文字「\uFFFD」が含まれています。\n\nこの文字を別の文字"
                                "に替えてから、もう一度保存してください。"));
        CloseWithoutSaving(d);
    });
    EXPECT_EQ(test::ReadBytes(IniPath()), before);
}

} // namespace
} // namespace fmb
