// The filing window, driven as a user would: drops, type buttons, the calendar and the date
// buttons, the company list, the keypad, 複数 and Execute, against real settings files and a real
// storage folder.
#include "app/CFumibakoDlg.h"

#include "filing/AmountText.h"
#include "filing/Composition.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerFolder.h"
#include "platform/ListBox.h"
#include "platform/PathText.h"
#include "res/ControlIds.h"
#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fmb {
namespace {

using namespace ids::filing;
using namespace ids::keypad;

namespace fs = std::filesystem;

// The entry fields a user fills, and the two the composition writes.
constexpr int kEntryFields[] = {kSourceField, kDateField,   kCompanyField,  kAmountField,
                                kRemarkField, kFolderField, kFileNameField, kGroupedAmount};

const char* const kType1 = "請求書(控)";
const char* const kCompanyName = "〇〇商事(株)";

std::string TypeName(int index) {
    return index == 0 ? kType1 : "種類" + std::to_string(index + 1);
}

// A settings folder with a storage root and 36 named types, the first with three companies
// stored out of order; the first-start flags (separators in amounts, underscores in dates, month
// folders) and the fiscal year ending in March.
class CFumibakoDlgTest : public ::testing::Test {
protected:
    CFumibakoDlgTest() : m_fake({2022, 12, 31}) {
        fs::create_directory(test::U8(Root()));
        CFMBData settings(m_dir.Text(true));
        settings.ReadIni();
        settings.COPY_SAKI_DIR = Root();
        EXPECT_EQ(settings.WriteIni(), SaveResult::Saved);
        WriteTypes(36);
        fs::create_directory(m_dir.Path() / "scan");
        test::WriteBytes(test::U8(Source()), "%PDF-1.4 invoice");
    }

    void WriteTypes(int count) {
        CFMBSyameiData types(m_dir.Text(true));
        for (int index = 0; index < count; ++index)
            types.SetTypeName(index, TypeName(index));
        if (count > 0)
            types.SetCompanyNames(0, {"さくら電機(株)", kCompanyName, "(株)いろは物産"});
        EXPECT_EQ(types.WriteIni(), SaveResult::Saved);
    }

    std::string Root() const { return m_dir.Child("書類"); }
    std::string Source() const { return m_dir.Child("scan/doc001.pdf"); }

    CFumibakoDlg& Open() {
        m_window = std::make_unique<CFumibakoDlg>(m_fake.Env(m_dir.Text(true)));
        EXPECT_TRUE(test::ShowActive(*m_window));
        return *m_window;
    }

    QLineEdit* Edit(int id) const { return m_window->Control<QLineEdit>(id); }
    std::string Text(int id) const { return Edit(id)->text().toStdString(); }
    void SetText(int id, const std::string& text) {
        Edit(id)->setText(QString::fromStdString(text));
    }
    // Types text at the cursor of the field (at its end, unless the test moved the cursor or
    // selected text): ASCII key by key, anything else as an input method commits it.
    void Type(int id, const std::string& text) {
        Edit(id)->setFocus();
        const QString typed = QString::fromStdString(text);
        for (qsizetype start = 0; start < typed.size();) {
            const bool ascii = typed[start].unicode() < 0x80;
            qsizetype end = start;
            while (end < typed.size() && (typed[end].unicode() < 0x80) == ascii)
                ++end;
            const QString run = typed.mid(start, end - start);
            if (ascii) {
                QTest::keyClicks(Edit(id), run);
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(run);
                QApplication::sendEvent(Edit(id), &commit);
            }
            start = end;
        }
    }
    QAbstractButton* Button(int id) const { return m_window->Control<QAbstractButton>(id); }
    void Click(int id) { Button(id)->click(); }
    ListBox* Companies() const { return m_window->Control<ListBox>(kCompanyList); }
    QCalendarWidget* Calendar() const { return m_window->Control<QCalendarWidget>(kCalendar); }

    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (int id : kTypeButtons)
            captions.push_back(Button(id)->text().toStdString());
        return captions;
    }
    std::vector<int> Checked() const {
        std::vector<int> checked;
        for (int id : kTypeButtons) {
            if (Button(id)->isChecked())
                checked.push_back(id);
        }
        return checked;
    }
    std::map<int, std::string> EntryTexts() const {
        std::map<int, std::string> texts;
        for (int id : kEntryFields)
            texts[id] = Text(id);
        return texts;
    }

    void Drop(const std::vector<std::string>& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
        data.setUrls(urls);
        const QPoint over = Edit(kRemarkField)->geometry().center();
        QDragEnterEvent enter(over, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        m_dropAccepted = enter.isAccepted();
        QDropEvent drop(QPointF(over), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &drop);
    }

    // Clicks the day of the month the calendar shows, as a user picks it with the mouse.
    void ClickDay(int day) {
        auto* view = Calendar()->findChild<QTableView*>();
        ASSERT_NE(view, nullptr);
        // The shown month runs from the cell holding 1 to the cell before the next 1; the cells
        // around it belong to the months before and after.
        bool inMonth = false;
        const QAbstractItemModel& model = *view->model();
        for (int row = 1; row < model.rowCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column) {
                const QModelIndex index = model.index(row, column);
                const int shown = index.data().toInt();
                if (shown == 1)
                    inMonth = !inMonth;
                if (inMonth && shown == day) {
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                                      view->visualRect(index).center());
                    return;
                }
            }
        }
        FAIL() << "day " << day << " is not shown";
    }

    // The entry of the examples: source, type, date, company and amount.
    void FillEntry() {
        Drop({Source()});
        Click(kTypeButton1);
        Click(kTodayButton);
        Companies()->setCurrentRow(Companies()->Texts().indexOf(QString::fromUtf8(kCompanyName)));
        SetText(kAmountField, "500000");
    }

    // Every file below the storage root, by its full path.
    // The documents in the storage; the ledger's folder holds none.
    std::vector<std::string> StoredFiles() const {
        std::vector<std::string> files;
        for (auto entry = fs::recursive_directory_iterator(test::U8(Root()));
             entry != fs::recursive_directory_iterator(); ++entry) {
            if (entry->path().filename() == test::U8(std::string(kLedgerFolderName)))
                entry.disable_recursion_pending();
            else if (entry->is_regular_file())
                files.push_back(FromFsPath(entry->path()));
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    std::string Folder(const std::string& below) const {
        std::string folder = Root() + kPathSeparator + below;
        for (char& c : folder) {
            if (c == '/')
                c = kPathSeparator;
        }
        return folder;
    }

    test::TempDir m_dir;
    test::FakePlatform m_fake;
    std::unique_ptr<CFumibakoDlg> m_window;
    bool m_dropAccepted = false;
};

// ---- Start and end ------------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, OpensWithAnEmptyEntryAndTheFirstPageOfTypes) {
    CFumibakoDlg& window = Open();
    for (int id : kEntryFields)
        EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(Text(kTypeNameField), "");
    EXPECT_TRUE(Edit(kSourceField)->hasFocus());
    std::vector<std::string> page1;
    for (int index = 0; index < 12; ++index)
        page1.push_back(TypeName(index));
    EXPECT_EQ(Captions(), page1);
    EXPECT_TRUE(Checked().empty());
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    EXPECT_EQ(Button(kMultipleAmountsButton)->text().toStdString(), "複数");

    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowTitle().toStdString(), "ふみばこ");
}

TEST_F(CFumibakoDlgTest, ExitAndTheCloseBoxEndAtOnceWithoutAQuestion) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "終了");
        CFumibakoDlg& window = Open();
        FillEntry();
        if (closeBox)
            window.close();
        else
            Click(kExitButton);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Rejected);
        EXPECT_TRUE(m_fake.messages.Texts().empty());
    }
}

TEST_F(CFumibakoDlgTest, EnterAndEscapeKeepTheWindowOpenAndTheEntryUnchanged) {
    CFumibakoDlg& window = Open();
    FillEntry();
    SetText(kRemarkField, "12月分");
    const std::map<int, std::string> before = EntryTexts();
    for (int id :
         {kSourceField, kDateField, kCompanyField, kAmountField, kRemarkField, kFileNameField}) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            Edit(id)->setFocus();
            QTest::keyClick(Edit(id), key);
            ASSERT_TRUE(window.isVisible()) << id << " key " << key;
        }
    }
    // Also with the focus on a button and on the window itself.
    for (QWidget* target :
         {static_cast<QWidget*>(Button(kExecuteButton)), static_cast<QWidget*>(&window)}) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape})
            QTest::keyClick(target, key);
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(EntryTexts(), before);
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CFumibakoDlgTest, AFirstStartAsksForTheSettingsThenLoadsThem) {
    fs::remove(m_dir.Path() / "FMB_Setting.ini");
    fs::remove(m_dir.Path() / "FMB_Corp.ini");
    const std::string root = Root();
    m_fake.modal.Queue("fmb::CSettingDlg", [this, root](QDialog& dialog) {
        // The message came first, then the settings dialog.
        EXPECT_EQ(
            m_fake.messages.TakeTexts(),
            std::vector<std::string>{"保存先フォルダが設定されていないので、設定してください。"});
        test::ControlOf<QLineEdit>(dialog, ids::setting::kRootField)
            ->setText(QString::fromStdString(root));
        test::ControlOf<QPushButton>(dialog, ids::kOk)->click(); // 終了(保存)
    });
    Open();
    EXPECT_EQ(m_fake.modal.Log(), std::vector<std::string>{"fmb::CSettingDlg"});
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    // Both files were read again: the default types and the new storage root.
    EXPECT_EQ(Captions()[0], "請求書");
    EXPECT_EQ(Captions()[5], "その他");
    Click(kTypeButton2);
    EXPECT_EQ(Text(kFolderField), Folder("請求書(控)/"));
}

TEST_F(CFumibakoDlgTest, AFirstStartOpensTheWindowEvenWhenTheSettingsAreCancelled) {
    fs::remove(m_dir.Path() / "FMB_Setting.ini");
    fs::remove(m_dir.Path() / "FMB_Corp.ini");
    m_fake.modal.Queue("fmb::CSettingDlg", [](QDialog& dialog) {
        test::ControlOf<QPushButton>(dialog, ids::kCancel)->click(); // キャンセル
    });
    CFumibakoDlg& window = Open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"保存先フォルダが設定されていないので、設定してください。"});
    // The settings dialog writes the default types as it opens; the root stays unset.
    EXPECT_EQ(Captions()[0], "請求書");
    Click(kTypeButton1);
    EXPECT_EQ(Text(kFolderField), std::string("請求書") + kPathSeparator);
}

// ---- Source file --------------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, ADropTakesTheFirstFileAndComposes) {
    Open();
    const std::string second = m_dir.Child("scan/b.txt");
    Drop({Source(), second, m_dir.Child("scan/c.xlsx")});
    EXPECT_TRUE(m_dropAccepted);
    EXPECT_EQ(Text(kSourceField), Source());
    EXPECT_EQ(Text(kFileNameField), "[__][][].pdf");

    Drop({second});
    EXPECT_EQ(Text(kSourceField), second);
    EXPECT_EQ(Text(kFileNameField), "[__][][].txt");
}

TEST_F(CFumibakoDlgTest, ADropOfSomethingElseThanAFileIsRefused) {
    Open();
    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("https://example.com/a.pdf"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &drop);
    EXPECT_EQ(Text(kSourceField), "");
    EXPECT_EQ(Text(kFileNameField), "");
}

TEST_F(CFumibakoDlgTest, BrowseSetsTheSourceAndComposes) {
    Open();
    Drop({Source()});
    SetText(kFileNameField, "by hand.pdf");
    const std::string chosen = m_dir.Child("scan/b.txt");
    m_fake.pickers.QueueFile(chosen);
    Click(kBrowseButton);
    EXPECT_EQ(Text(kSourceField), chosen);
    EXPECT_EQ(Text(kFileNameField), "[__][][].txt");

    // Cancelled, it changes nothing, a name typed by hand included.
    SetText(kFileNameField, "by hand.txt");
    m_fake.pickers.QueueFile(std::nullopt);
    Click(kBrowseButton);
    EXPECT_EQ(Text(kSourceField), chosen);
    EXPECT_EQ(Text(kFileNameField), "by hand.txt");

    // The same file chosen again composes all the same.
    m_fake.pickers.QueueFile(chosen);
    Click(kBrowseButton);
    EXPECT_EQ(Text(kFileNameField), "[__][][].txt");
    EXPECT_EQ(m_fake.pickers.Log().size(), 3u);
}

TEST_F(CFumibakoDlgTest, OpenHandsTheSourceToTheDesktop) {
    Open();
    Drop({Source()});
    Click(kOpenSourceButton);
    EXPECT_EQ(m_fake.shell.Log(),
              (std::vector<test::FakeShell::Opened>{{test::FakeShell::Kind::Path, Source()}}));
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CFumibakoDlgTest, OpenTellsWhenNothingOpensTheSource) {
    Open();
    Click(kOpenSourceButton); // no source yet: the desktop is not asked
    EXPECT_TRUE(m_fake.shell.Log().empty());
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"開くファイル（フォルダ）が指定されていません。"});

    Drop({Source()});
    m_fake.shell.SetOpens(false);
    Click(kOpenSourceButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"「" + Source() +
                                       "」を開けませんでした。\n\nファイル（フォルダ）がないか、"
                                       "開くプログラムが見つかりません。"});
}

TEST_F(CFumibakoDlgTest, EveryTypedInputComposesAtOnce) {
    const struct {
        int field;
        const char* typed;
        const char* fileName;
    } steps[] = {
        {kRemarkField, "a", "[__][][]a.NNN"},
        {kCompanyField, "b", "[__][b][]a.NNN"},
        {kDateField, "2022123", "[2022_12_3][b][]a.NNN"},
        {kDateField, "1", "[2022_12_31][b][]a.NNN"},
        {kAmountField, "5", "[2022_12_31][b][5]a.NNN"},
        {kSourceField, "x.jp", "[2022_12_31][b][5]a.jp"},
        {kSourceField, "g", "[2022_12_31][b][5]a.jpg"},
    };
    Open();
    for (const auto& step : steps) {
        Type(step.field, step.typed);
        EXPECT_EQ(Text(kFileNameField), step.fileName) << step.field << " " << step.typed;
    }
    EXPECT_EQ(Text(kFolderField), Folder("2022年度/2022年12月/"));
    // Deleting counts as much as typing.
    QTest::keyClick(Edit(kDateField), Qt::Key_Backspace);
    EXPECT_EQ(Text(kFileNameField), "[2022_12_3][b][5]a.jpg");
}

// Each order in which a user may give the inputs: after the last one, the two fields show the
// whole entry, and 実行 files the document exactly there.
TEST_F(CFumibakoDlgTest, TheFileLandsWhereTheFieldsSayInEveryInputOrder) {
    const std::string photo = m_dir.Child("scan/photo.jpg");
    test::WriteBytes(test::U8(photo), "JPEG");
    const std::string invoiceFolder = "2022年度/請求書(控)/2022年11月/";
    // The inputs besides the source and the type.
    const auto typeDate = [&] { Type(kDateField, "20221105"); };
    const auto typeCompanyAndAmount = [&] {
        Type(kCompanyField, "ABC商事");
        Type(kAmountField, "1100");
    };
    const std::vector<std::pair<std::string, std::function<void()>>> orders = {
        {"date typed last",
         [&] {
             Drop({Source()});
             Click(kTypeButton1);
             typeCompanyAndAmount();
             typeDate();
         }},
        {"date typed over 本日",
         [&] {
             Drop({Source()});
             Click(kTypeButton1);
             typeCompanyAndAmount();
             Click(kTodayButton);
             Edit(kDateField)->selectAll();
             typeDate();
         }},
        {"source typed last",
         [&] {
             Click(kTypeButton1);
             typeDate();
             typeCompanyAndAmount();
             Type(kSourceField, photo);
         }},
        {"source typed over a dropped one",
         [&] {
             Drop({Source()});
             Click(kTypeButton1);
             typeDate();
             typeCompanyAndAmount();
             Edit(kSourceField)->selectAll();
             Type(kSourceField, photo);
         }},
        {"source chosen with 参照 last",
         [&] {
             Drop({Source()});
             Click(kTypeButton1);
             typeDate();
             typeCompanyAndAmount();
             m_fake.pickers.QueueFile(photo);
             Click(kBrowseButton);
         }},
        {"types paged last",
         [&] {
             Drop({photo});
             Click(kTypeButton1);
             typeDate();
             typeCompanyAndAmount();
             Click(kPageForwardButton);
             Click(kPageForwardButton);
         }},
    };
    for (const auto& [order, give] : orders) {
        SCOPED_TRACE(order);
        fs::remove_all(test::U8(Root()));
        fs::create_directory(test::U8(Root()));
        Open();
        give();
        const std::string extension = Text(kSourceField) == photo ? "jpg" : "pdf";
        const std::string name = "[2022_11_05][ABC商事][1,100]." + extension;
        EXPECT_EQ(Text(kFolderField), Folder(invoiceFolder));
        EXPECT_EQ(Text(kFileNameField), name);
        Click(kExecuteButton);
        EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
        EXPECT_EQ(StoredFiles(), std::vector<std::string>{Folder(invoiceFolder) + name});
    }
}

TEST_F(CFumibakoDlgTest, ANameTypedByHandAfterTheLastInputIsFiledAsTypedUntilTheNextInput) {
    Open();
    FillEntry();
    const std::string folder = Folder("2022年度/請求書(控)/2022年12月/");
    SetText(kFileNameField, "");
    Type(kFileNameField, "手入力.pdf");
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_TRUE(fs::is_regular_file(test::U8(folder + "手入力.pdf")));

    // A name typed by hand gives way to the next change of an input.
    FillEntry();
    Type(kFileNameField, "x");
    Type(kRemarkField, "再発行");
    EXPECT_EQ(Text(kFileNameField), "[2022_12_31][〇〇商事(株)][500,000]再発行.pdf");
    // The same scan again: the ledger knows it, and the user files it all the same.
    m_fake.messages.QueueAnswer(true);
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts().back(), "コピーしました。");
    EXPECT_TRUE(
        fs::is_regular_file(test::U8(folder + "[2022_12_31][〇〇商事(株)][500,000]再発行.pdf")));
}

// ---- The ledger ---------------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, EveryFilingIsRecordedInTheLedgerWithThePersonOfTheSettings) {
    CFMBData settings(m_dir.Text(true));
    settings.ReadIni();
    settings.SYORI_TANTOUSYA = "山田 花子";
    ASSERT_EQ(settings.WriteIni(), SaveResult::Saved);
    Open();
    FillEntry();
    Type(kRemarkField, "再発行");
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    const std::vector<LedgerRecord> records = Ledger(Root()).Read().records;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].operation, "登録");
    EXPECT_EQ(records[0].path,
              "2022年度/請求書(控)/2022年12月/[2022_12_31][〇〇商事(株)][500,000]再発行.pdf");
    EXPECT_EQ(records[0].type, kType1);
    EXPECT_EQ(records[0].company, kCompanyName);
    EXPECT_EQ(records[0].amount, "500000");
    EXPECT_EQ(records[0].remark, "再発行");
    EXPECT_EQ(records[0].sourceName, "doc001.pdf");
    EXPECT_EQ(records[0].person, "山田 花子");
}

TEST_F(CFumibakoDlgTest, TheSameContentAgainIsAskedWithNoAsTheDefaultAndNoFilesNothing) {
    Open();
    FillEntry();
    Click(kExecuteButton);
    m_fake.messages.TakeTexts();
    const std::string first =
        Folder("2022年度/請求書(控)/2022年12月/[2022_12_31][〇〇商事(株)][500,000].pdf");

    FillEntry();
    Type(kRemarkField, "2");
    m_fake.messages.QueueAnswer(false);
    Click(kExecuteButton);
    ASSERT_EQ(m_fake.messages.Log().size(), 1u);
    EXPECT_EQ(m_fake.messages.Log()[0].kind, test::FakeMessages::Kind::CautiousQuestion);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"同じ内容の書類がすでに保存されています。\n\n" + first +
                                       "\n\n二重に保存しますか？"});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{first});
    // The entry stays for another try.
    EXPECT_EQ(Text(kRemarkField), "2");

    m_fake.messages.QueueAnswer(true);
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts().back(), "コピーしました。");
    EXPECT_EQ(StoredFiles().size(), 2u);
    EXPECT_EQ(Ledger(Root()).Read().records.size(), 2u);
}

TEST_F(CFumibakoDlgTest, AFilingTheLedgerCannotRecordIsUndoneAndSaysSo) {
    Open();
    FillEntry();
    // Something that is not a folder stands where the ledger's folder belongs.
    test::WriteBytes(test::U8(Root() + "/" + std::string(kLedgerFolderName)), "");
    Click(kExecuteButton);
    const std::vector<std::string> texts = m_fake.messages.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].starts_with("台帳に記録できませんでした。")) << texts[0];
    EXPECT_NE(texts[0].find("書類は保存されていません"), std::string::npos);
    EXPECT_TRUE(StoredFiles().empty());
    EXPECT_FALSE(fs::exists(test::U8(Root() + "/2022年度")));
    EXPECT_EQ(Text(kAmountField), "500000"); // nothing cleared
}

// ---- Document types -----------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, ATypeButtonShowsTheTypeItsCompaniesAndComposes) {
    Open();
    SetText(kCompanyField, "old");
    Click(kTypeButton1);
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton1});
    EXPECT_EQ(Text(kTypeNameField), kType1);
    // The list sorts what the store keeps in another order.
    EXPECT_EQ(Companies()->Texts(),
              (QStringList{QStringLiteral("(株)いろは物産"), QString::fromUtf8(kCompanyName),
                           QStringLiteral("さくら電機(株)")}));
    EXPECT_EQ(Text(kCompanyField), "");
    EXPECT_EQ(Text(kFolderField), Folder(std::string(kType1) + "/"));

    Click(kTypeButton3);
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton3});
    EXPECT_EQ(Text(kTypeNameField), "種類3");
    EXPECT_EQ(Companies()->count(), 0);
    EXPECT_EQ(Text(kFolderField), Folder("種類3/"));
}

TEST_F(CFumibakoDlgTest, ClickingTheCheckedTypeAgainKeepsItAndEmptiesTheCompany) {
    Open();
    Click(kTypeButton1);
    Companies()->setCurrentRow(0);
    EXPECT_EQ(Text(kCompanyField), "(株)いろは物産");
    Click(kTypeButton1);
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton1});
    EXPECT_EQ(Companies()->count(), 3);
    EXPECT_TRUE(Companies()->selectedItems().isEmpty());
    EXPECT_EQ(Text(kCompanyField), "");
    EXPECT_EQ(Text(kFileNameField), "[__][][].NNN");
}

TEST_F(CFumibakoDlgTest, PagesShowTwelveTypesColumnByColumnWithoutWrapping) {
    Open();
    Click(kTypeButton1);
    SetText(kCompanyField, "c");
    const std::string folder = Text(kFolderField);
    const std::string fileName = Text(kFileNameField);

    Click(kPageBackButton); // page 1 has no page before it
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton1});
    EXPECT_EQ(Captions().front(), kType1);

    Click(kPageForwardButton);
    std::vector<std::string> page2;
    for (int index = 12; index < 24; ++index)
        page2.push_back(TypeName(index));
    EXPECT_EQ(Captions(), page2);
    EXPECT_EQ(Captions()[0], "種類13"); // top left
    EXPECT_EQ(Captions()[1], "種類14"); // below it
    EXPECT_EQ(Captions()[2], "種類15"); // top of the second column
    // The chosen type stays chosen: no button of this page is checked, the type and its
    // companies stay shown, and the composed fields still use it.
    EXPECT_TRUE(Checked().empty());
    EXPECT_EQ(Text(kTypeNameField), kType1);
    EXPECT_EQ(Companies()->count(), 3);
    EXPECT_EQ(Text(kCompanyField), "c");
    EXPECT_EQ(Text(kFolderField), folder);
    EXPECT_EQ(Text(kFileNameField), fileName);
    SetText(kDateField, "20230105");
    EXPECT_EQ(Text(kFolderField), Folder("2022年度/請求書(控)/2023年01月/"));

    Click(kPageForwardButton);
    EXPECT_EQ(Captions()[0], "種類25");
    Click(kTypeButton2);
    EXPECT_EQ(Text(kTypeNameField), "種類26");
    Click(kPageForwardButton); // page 3 has no page after it
    EXPECT_EQ(Captions()[0], "種類25");
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton2});
    EXPECT_EQ(Text(kFolderField), Folder("2022年度/種類26/2023年01月/"));

    Click(kPageBackButton);
    Click(kPageBackButton);
    EXPECT_EQ(Captions()[0], kType1);
    EXPECT_TRUE(Checked().empty());
    Click(kPageForwardButton);
    Click(kPageForwardButton);
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton2}); // the chosen type's button, on its page
}

TEST_F(CFumibakoDlgTest, PagingKeepsTheChosenTypeForEditAndExecute) {
    Open();
    FillEntry();
    Click(kPageForwardButton);
    EXPECT_TRUE(Checked().empty());
    EXPECT_EQ(Text(kTypeNameField), kType1);

    // 編集 works on the type the field shows.
    m_fake.modal.Queue("fmb::CSyainEditDlg", [this](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, ids::syainEdit::kTypeNameField)
                      ->text()
                      .toStdString(),
                  kType1);
        m_fake.messages.QueueAnswer(true); // 保存しないで終了します。よろしいですか？
        dialog.close();
    });
    Click(kEditCompaniesButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"保存しないで終了します。よろしいですか？"});
    EXPECT_TRUE(Checked().empty()); // the page shown stays the page shown

    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{Folder("2022年度/請求書(控)/2022年12月/") +
                                                      "[2022_12_31][〇〇商事(株)][500,000].pdf"});
    Click(kPageBackButton);
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton1});
}

TEST_F(CFumibakoDlgTest, ButtonsBeyondTheStoredTypesAreBlankAndDisabled) {
    const struct {
        int types;
        int page;
        int enabled; // buttons of the page that show a type
    } cases[] = {{14, 1, 12}, {14, 2, 2}, {14, 3, 0}, {0, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.types << " types, page " << c.page);
        fs::remove(m_dir.Path() / "FMB_Corp.ini");
        WriteTypes(c.types);
        Open();
        for (int page = 1; page < c.page; ++page)
            Click(kPageForwardButton);
        for (int i = 0; i < static_cast<int>(kTypeButtons.size()); ++i) {
            const int id = kTypeButtons[i];
            const bool shown = i < c.enabled;
            EXPECT_EQ(Button(id)->isEnabled(), shown) << id;
            EXPECT_EQ(Button(id)->text().isEmpty(), !shown) << id;
        }
    }
}

// ---- Date ---------------------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, APickedDayIsWrittenAndComposed) {
    Open();
    Calendar()->setCurrentPage(2025, 3);
    EXPECT_EQ(Text(kDateField), ""); // paging picks nothing
    ClickDay(3);
    EXPECT_EQ(Text(kDateField), "20250303");
    EXPECT_EQ(Text(kFolderField), Folder("2024年度/2025年03月/"));
    EXPECT_EQ(Text(kFileNameField), "[2025_03_03][][].NNN");

    // A day of a far year is written as it is.
    Calendar()->setCurrentPage(1900, 2);
    ClickDay(28);
    EXPECT_EQ(Text(kDateField), "19000228");
}

TEST_F(CFumibakoDlgTest, PagingAndTheProgramsSelectionChangeNothing) {
    Open();
    Type(kDateField, "20221231");
    SetText(kFileNameField, "by hand.pdf");
    auto* next = Calendar()->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"));
    ASSERT_NE(next, nullptr);
    QTest::mouseClick(next, Qt::LeftButton);
    Calendar()->setSelectedDate(QDate(2021, 5, 6));
    EXPECT_EQ(Text(kDateField), "20221231");
    EXPECT_EQ(Text(kFileNameField), "by hand.pdf");
    EXPECT_EQ(Text(kFolderField), Folder("2022年度/2022年12月/"));
}

TEST_F(CFumibakoDlgTest, TheCalendarStartsOnTodayOfTheLocalClock) {
    for (const LocalDate today : {LocalDate{2022, 12, 31}, LocalDate{2024, 7, 5}}) {
        m_fake.clock.Set(today);
        Open();
        EXPECT_EQ(Calendar()->selectedDate(), QDate(today.year, today.month, today.day));
        EXPECT_EQ(Calendar()->monthShown(), today.month);
        EXPECT_EQ(Text(kDateField), ""); // shown, not picked
        EXPECT_EQ(Text(kFileNameField), "");
    }
}

TEST_F(CFumibakoDlgTest, EnterOnTheCalendarPicksTheSelectedDay) {
    Open();
    Calendar()->setSelectedDate(QDate(2024, 7, 5));
    auto* view = Calendar()->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(Text(kDateField), "20240705");
    EXPECT_EQ(Text(kFileNameField), "[2024_07_05][][].NNN");
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(CFumibakoDlgTest, DateButtonsWriteTheDayComposeAndMoveTheCalendar) {
    const struct {
        LocalDate today;
        int button;
        const char* date;
    } cases[] = {
        {{2024, 7, 5}, kTodayButton, "20240705"},
        {{2024, 2, 15}, kThisMonthEndButton, "20240229"},
        {{2023, 2, 15}, kThisMonthEndButton, "20230228"},
        {{2024, 1, 10}, kLastMonthEndButton, "20231231"},
        {{2024, 3, 31}, kLastMonthEndButton, "20240229"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        m_fake.clock.Set(c.today);
        Open();
        Click(c.button);
        EXPECT_EQ(Text(kDateField), c.date);
        const LocalDate day{std::stoi(std::string(c.date).substr(0, 4)),
                            std::stoi(std::string(c.date).substr(4, 2)),
                            std::stoi(std::string(c.date).substr(6, 2))};
        EXPECT_EQ(Calendar()->selectedDate(), QDate(day.year, day.month, day.day));
        EXPECT_EQ(Calendar()->yearShown(), day.year);
        EXPECT_EQ(Calendar()->monthShown(), day.month);
        const std::string underscored = std::string(c.date).substr(0, 4) + "_" +
                                        std::string(c.date).substr(4, 2) + "_" +
                                        std::string(c.date).substr(6, 2);
        EXPECT_EQ(Text(kFileNameField), "[" + underscored + "][][].NNN");
    }
}

// ---- Company and amount -------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, APickedCompanyFillsTheFieldAndComposes) {
    Open();
    Click(kTypeButton1);
    auto* list = Companies();
    const QRect row =
        list->visualItemRect(list->item(list->Texts().indexOf(QString::fromUtf8(kCompanyName))));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(Text(kCompanyField), kCompanyName);
    EXPECT_EQ(Text(kFileNameField), std::string("[__][") + kCompanyName + "][].NNN");

    // Clicking the chosen company again brings it back after the field was changed.
    SetText(kCompanyField, "x");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(Text(kCompanyField), kCompanyName);
}

TEST_F(CFumibakoDlgTest, TabbingThroughTheCompanyListPicksNothing) {
    Open();
    Click(kTypeButton1);
    SetText(kCompanyField, "typed");
    Edit(kCompanyField)->setFocus();
    QTest::keyClick(Edit(kCompanyField), Qt::Key_Tab);
    EXPECT_TRUE(Companies()->hasFocus());
    EXPECT_EQ(Text(kCompanyField), "typed");
}

TEST_F(CFumibakoDlgTest, TheKeypadBuildsTheAmountAndTheDisplayGroupsIt) {
    const struct {
        std::vector<int> keys;
        const char* amount;
        const char* grouped;
    } cases[] = {
        {{k1, k2, k3, k00}, "12300", "12,300"},
        {{k0}, "0", "0"},
        {{k0, k5}, "5", "5"},
        {{k1, k2, kClear}, "", ""},
        {{k5, k00, k00, k00}, "5000000", "5,000,000"},
    };
    Open();
    for (const auto& c : cases) {
        SetText(kAmountField, "");
        for (int key : c.keys)
            Click(key);
        EXPECT_EQ(Text(kAmountField), c.amount);
        EXPECT_EQ(Text(kGroupedAmount), c.grouped);
        EXPECT_EQ(Text(kFileNameField), std::string("[__][][") + c.grouped + "].NNN");
    }
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CFumibakoDlgTest, AmountsAreCleanedOfSeparatorsAndLimitedToFourteenBytes) {
    const struct {
        const char* pasted;
        const char* amount;
        bool message;
    } cases[] = {
        {"1,234,567", "1234567", false},
        {"￥12，300", "12300", false},
        {"\\500", "500", false},
        {"1,234,567,890,123", "1234567890", true}, // the first 14 bytes, then cleaned
        {"123456789012345", "12345678901234", true},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        SetText(kAmountField, "");
        QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        Edit(kAmountField)->setFocus();
        Edit(kAmountField)->paste();
        EXPECT_EQ(Text(kAmountField), c.amount);
        EXPECT_EQ(Text(kGroupedAmount), FormatThousands(c.amount));
        EXPECT_EQ(m_fake.messages.TakeTexts(), c.message
                                                   ? std::vector<std::string>{kAmountTooLongMessage}
                                                   : std::vector<std::string>{});
    }
}

TEST_F(CFumibakoDlgTest, AFifteenthDigitShowsTheMessageOnce) {
    Open();
    Type(kAmountField, "12345678901234");
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    QTest::keyClick(Edit(kAmountField), Qt::Key_5);
    EXPECT_EQ(Text(kAmountField), "12345678901234");
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kAmountTooLongMessage});
    Click(k0); // the keypad is cut by the same rule
    EXPECT_EQ(Text(kAmountField), "12345678901234");
    EXPECT_EQ(Text(kGroupedAmount), "12,345,678,901,234");
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kAmountTooLongMessage});
}

TEST_F(CFumibakoDlgTest, EditCompaniesAsksForATypeFirst) {
    Open();
    Click(kEditCompaniesButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"種類ボタンを押下して、種類を選択してください"});
    Click(kPageForwardButton);
    Click(kEditCompaniesButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"種類ボタンを押下して、種類を選択してください"});
    EXPECT_TRUE(m_fake.modal.Log().empty());
}

TEST_F(CFumibakoDlgTest, EditCompaniesHandsTheTypeToTheEditorAndShowsWhatItSaved) {
    Open();
    Click(kPageForwardButton);
    Click(kPageBackButton);
    Click(kTypeButton1);
    SetText(kCompanyField, "typed");
    m_fake.modal.Queue("fmb::CSyainEditDlg", [](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, ids::syainEdit::kTypeNameField)
                      ->text()
                      .toStdString(),
                  kType1);
        EXPECT_EQ(test::ControlOf<ListBox>(dialog, ids::syainEdit::kCompanyList)->count(), 3);
        test::ControlOf<QLineEdit>(dialog, ids::syainEdit::kTypeNameField)
            ->setText(QStringLiteral("請求書(新)"));
        test::ControlOf<QLineEdit>(dialog, ids::syainEdit::kEntryField)
            ->setText(QStringLiteral("あおば(株)"));
        test::ControlOf<QPushButton>(dialog, ids::syainEdit::kAddButton)->click(); // 追加
        test::ControlOf<QPushButton>(dialog, ids::kOk)->click();                   // 終了(保存)
    });
    Click(kEditCompaniesButton);
    const std::vector<std::string> shown = m_fake.messages.TakeTexts();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), "保存しました。");

    EXPECT_EQ(Captions()[0], "請求書(新)");
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton1});
    EXPECT_EQ(Text(kTypeNameField), "請求書(新)");
    EXPECT_EQ(Companies()->count(), 4);
    EXPECT_TRUE(Companies()->Texts().contains(QStringLiteral("あおば(株)")));
    EXPECT_EQ(Text(kCompanyField), "typed");
    EXPECT_EQ(Text(kFolderField), Folder("請求書(新)/")); // composed again
    // The editor saved the file; a new window reads the same.
    CFMBSyameiData stored(m_dir.Text(true));
    stored.ReadIni();
    EXPECT_EQ(stored.TypeName(0), "請求書(新)");
}

TEST_F(CFumibakoDlgTest, EditCompaniesClosedWithoutSavingKeepsTheTypes) {
    Open();
    Click(kTypeButton1);
    SetText(kDateField, "20221231");
    m_fake.modal.Queue("fmb::CSyainEditDlg", [this](QDialog& dialog) {
        test::ControlOf<QLineEdit>(dialog, ids::syainEdit::kTypeNameField)
            ->setText(QStringLiteral("別名"));
        m_fake.messages.QueueAnswer(true); // 保存しないで終了します。よろしいですか？
        dialog.close();
    });
    Click(kEditCompaniesButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"保存しないで終了します。よろしいですか？"});
    EXPECT_EQ(Captions()[0], kType1);
    EXPECT_EQ(Text(kTypeNameField), kType1);
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton1});
    EXPECT_EQ(Companies()->count(), 3);
    EXPECT_EQ(Text(kFolderField), Folder("2022年度/請求書(控)/2022年12月/"));
}

// ---- Multiple amounts ---------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, MultipleAmountsOkPutsTheExtraAmountsIntoTheName) {
    Open();
    FillEntry();
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount1)->text().toStdString(),
                  "500000");
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount2)->text().toStdString(),
                  "");
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount2)->setText("120000");
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount4)->setText("30000");
        test::ControlOf<QPushButton>(dialog, ids::kOk)->click();
    });
    Click(kMultipleAmountsButton);
    EXPECT_EQ(Text(kAmountField), "500000");
    EXPECT_EQ(Text(kFileNameField), "[2022_12_31][〇〇商事(株)][500,000][120,000][30,000].pdf");
    EXPECT_EQ(Button(kMultipleAmountsButton)->text().toStdString(), "*複数 ");

    // Reopened, the dialog shows the rows as they were; clearing them all restores the caption.
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount2)->text().toStdString(),
                  "120000");
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount3)->text().toStdString(),
                  "");
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount4)->text().toStdString(),
                  "30000");
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount1)->setText("1,000");
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount2)->clear();
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount4)->clear();
        test::ControlOf<QPushButton>(dialog, ids::kOk)->click();
    });
    Click(kMultipleAmountsButton);
    EXPECT_EQ(Text(kAmountField), "1000"); // cleaned by the amount field
    EXPECT_EQ(Text(kFileNameField), "[2022_12_31][〇〇商事(株)][1,000].pdf");
    EXPECT_EQ(Button(kMultipleAmountsButton)->text().toStdString(), "複数");
}

TEST_F(CFumibakoDlgTest, MultipleAmountsCancelKeepsTheAmountsButComposes) {
    Open();
    FillEntry();
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount2)->setText("120000");
        test::ControlOf<QPushButton>(dialog, ids::kOk)->click();
    });
    Click(kMultipleAmountsButton);
    SetText(kDateField, "");
    Type(kDateField, "20230105");
    SetText(kFileNameField, "by hand.pdf");

    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount1)->setText("9");
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount2)->setText("9");
        test::ControlOf<QPushButton>(dialog, ids::kCancel)->click();
    });
    Click(kMultipleAmountsButton);
    EXPECT_EQ(Text(kAmountField), "500000");
    EXPECT_EQ(Text(kFileNameField), "[2023_01_05][〇〇商事(株)][500,000][120,000].pdf");
    EXPECT_EQ(Button(kMultipleAmountsButton)->text().toStdString(), "*複数 ");
}

// ---- Execute ------------------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, ExecuteStopsAtTheFirstFailedCheckWithItsMessageAndFocus) {
    const struct {
        const char* date;
        const char* company;
        const char* amount;
        const char* remark;
        int focus;
        const char* message;
    } cases[] = {
        {"2022123", "c", "1", "", kDateField,
         "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 "},
        {"2022/12/31", "c", "1", "", kDateField,
         "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 "},
        {"2022a231", "c", "1", "", kDateField,
         "日付は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 "},
        {"00001231", "c", "1", "", kDateField,
         "日付の年は1以上の数値を入れてください。\n\n 例：2022年xx月xx日　→　2022xxxx "},
        {"20221331", "c", "1", "", kDateField,
         "日付の月は01～12の数値を入れてください。\n\n 例：xxxx年12月xx日　→　xxxx12xx "},
        {"20221232", "c", "1", "", kDateField,
         "日付の日は01～31の数値を入れてください。\n\n 例：xxxx年xx月31日　→　xxxxxx31 "},
        {"20221231", "", "1", "", kCompanyField, "社名を入力してください。 "},
        {"20221231", "a\"b", "1", "", kCompanyField,
         "社名に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | "},
        {"20221231", "c", "", "", kAmountField, "金額を入力してください。 "},
        {"20221231", "c", "1a", "", kAmountField,
         "金額は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 + "
         "- "},
        {"20221231", "c", "1", "a/b", kRemarkField,
         "備考に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | "},
    };
    Open();
    Drop({Source()});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date + std::string(" / ") + c.company + " / " + c.amount + " / " + c.remark);
        SetText(kDateField, c.date);
        SetText(kCompanyField, c.company);
        SetText(kAmountField, c.amount);
        SetText(kRemarkField, c.remark);
        Edit(kSourceField)->setFocus();
        const std::map<int, std::string> before = EntryTexts();
        Click(kExecuteButton);
        EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(QApplication::focusWidget(), Edit(c.focus));
        EXPECT_EQ(EntryTexts(), before);
    }
    EXPECT_FALSE(fs::exists(test::U8(Folder("2022年度"))));
}

TEST_F(CFumibakoDlgTest, ADayTheCalendarDoesNotHaveIsRefusedAndNothingIsFiled) {
    const struct {
        const char* date;
        const char* message;
    } cases[] = {
        {"20230229", "日付の日は、2023年2月には28日までです。修正してください。\n\n 例：2023年2月28"
                     "日　→　20230228 "},
        {"20220431", "日付の日は、2022年4月には30日までです。修正してください。\n\n 例：2022年4月30"
                     "日　→　20220430 "},
        {"20220230", "日付の日は、2022年2月には28日までです。修正してください。\n\n 例：2022年2月28"
                     "日　→　20220228 "},
    };
    Open();
    FillEntry();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        // Typed over the date 本日 wrote, as a user corrects it.
        Click(kTodayButton);
        Edit(kDateField)->selectAll();
        Type(kDateField, c.date);
        Edit(kRemarkField)->setFocus();
        Click(kExecuteButton);
        EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(QApplication::focusWidget(), Edit(kDateField));
    }
    EXPECT_TRUE(StoredFiles().empty());

    // Corrected, it is filed under the day typed, not under today.
    Edit(kDateField)->selectAll();
    Type(kDateField, "20220228");
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{Folder("2021年度/請求書(控)/2022年02月/") +
                                                      "[2022_02_28][〇〇商事(株)][500,000].pdf"});
}

TEST_F(CFumibakoDlgTest, FullWidthDigitsAreTakenAsDigits) {
    Open();
    Drop({Source()});
    Click(kTypeButton1);
    Type(kCompanyField, "ABC商事");
    // As an input method in full-width mode commits them.
    Type(kDateField, "２０２２");
    Type(kDateField, "１１０５");
    EXPECT_EQ(Text(kDateField), "20221105");
    Type(kAmountField, "１，１００");
    EXPECT_EQ(Text(kAmountField), "1100");
    EXPECT_EQ(Text(kGroupedAmount), "1,100");
    EXPECT_EQ(Text(kFileNameField), "[2022_11_05][ABC商事][1,100].pdf");
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{Folder("2022年度/請求書(控)/2022年11月/") +
                                                      "[2022_11_05][ABC商事][1,100].pdf"});

    // A digit typed in the middle keeps the cursor where the user types.
    Type(kDateField, "20221105");
    Edit(kDateField)->setCursorPosition(4);
    Type(kDateField, "１");
    EXPECT_EQ(Text(kDateField), "202211105");
    EXPECT_EQ(Edit(kDateField)->cursorPosition(), 5);

    // What still is no digit gets the messages it always got.
    const struct {
        const char* date;
        const char* amount;
        int focus;
        const char* message;
    } refused[] = {
        {"２０２２年１１月５日", "1", kDateField,
         "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 "},
        {"20221105", "５万", kAmountField,
         "金額は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 + "
         "- "},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.date);
        Drop({Source()});
        SetText(kCompanyField, "ABC商事");
        SetText(kDateField, c.date);
        SetText(kAmountField, c.amount);
        Click(kExecuteButton);
        EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(QApplication::focusWidget(), Edit(c.focus));
    }
    EXPECT_EQ(StoredFiles().size(), 1u);
}

TEST_F(CFumibakoDlgTest, ExecuteFilesTheDocumentReadOnlyAndClearsTheEntryKeepingTheType) {
    Open();
    FillEntry();
    SetText(kRemarkField, "12月分");
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount2)->setText("120000");
        test::ControlOf<QPushButton>(dialog, ids::kOk)->click();
    });
    Click(kMultipleAmountsButton);
    const std::string folder = Folder("2022年度/請求書(控)/2022年12月/");
    ASSERT_EQ(Text(kFolderField), folder);
    ASSERT_EQ(Text(kFileNameField), "[2022_12_31][〇〇商事(株)][500,000][120,000]12月分.pdf");

    // The order in which the fields are first emptied. (The grouped display empties with the
    // amount, through its change handler.)
    std::vector<int> emptied;
    for (int id : {kSourceField, kFolderField, kFileNameField, kDateField, kCompanyField,
                   kAmountField, kRemarkField}) {
        QObject::connect(Edit(id), &QLineEdit::textChanged, [&emptied, id](const QString& text) {
            if (text.isEmpty() && std::find(emptied.begin(), emptied.end(), id) == emptied.end())
                emptied.push_back(id);
        });
    }
    Click(kExecuteButton);

    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    const fs::path stored =
        test::U8(folder + "[2022_12_31][〇〇商事(株)][500,000][120,000]12月分.pdf");
    ASSERT_TRUE(fs::is_regular_file(stored));
    EXPECT_EQ(test::ReadBytes(stored), "%PDF-1.4 invoice");
    EXPECT_EQ(fs::status(stored).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(fs::exists(test::U8(Source()))); // the source stays

    EXPECT_EQ(emptied, (std::vector<int>{kSourceField, kFolderField, kFileNameField, kDateField,
                                         kCompanyField, kAmountField, kRemarkField}));
    for (int id :
         {kSourceField, kDateField, kCompanyField, kAmountField, kGroupedAmount, kRemarkField})
        EXPECT_EQ(Text(id), "") << id;
    // Emptying the company, amount and remark composed the empty entry under the kept type,
    // without the cleared extra amounts.
    EXPECT_EQ(Text(kFolderField), Folder("請求書(控)/"));
    EXPECT_EQ(Text(kFileNameField), "[__][][].NNN");
    EXPECT_EQ(Text(kTypeNameField), kType1);
    EXPECT_EQ(Checked(), std::vector<int>{kTypeButton1});
    // The company list stays, with no company picked; 複数 no longer says the entry has more.
    EXPECT_EQ(Companies()->count(), 3);
    EXPECT_TRUE(Companies()->selectedItems().isEmpty());
    EXPECT_EQ(Button(kMultipleAmountsButton)->text().toStdString(), "複数");

    // The extra amounts went with the entry: the dialog opens empty.
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, ids::kingaku::kAmount2)->text().toStdString(),
                  "");
        test::ControlOf<QPushButton>(dialog, ids::kCancel)->click();
    });
    Click(kMultipleAmountsButton);
    EXPECT_EQ(Button(kMultipleAmountsButton)->text().toStdString(), "複数");

    // Picking the same company again for the next document fills the field.
    Companies()->setCurrentRow(Companies()->Texts().indexOf(QString::fromUtf8(kCompanyName)));
    EXPECT_EQ(Text(kCompanyField), kCompanyName);
}

TEST_F(CFumibakoDlgTest, ExecuteFilesUnderANameTypedByHand) {
    Open();
    FillEntry();
    SetText(kFileNameField, "手入力.pdf");
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_TRUE(fs::is_regular_file(test::U8(Folder("2022年度/請求書(控)/2022年12月/手入力.pdf"))));
}

TEST_F(CFumibakoDlgTest, AFailedCopyKeepsTheWholeEntry) {
    Open();
    FillEntry();
    const std::string folder = Folder("2022年度/請求書(控)/2022年12月/");
    fs::create_directories(test::U8(folder));
    const fs::path taken = test::U8(folder + Text(kFileNameField));
    test::WriteBytes(taken, "filed earlier");
    const std::map<int, std::string> before = EntryTexts();

    Edit(kAmountField)->setFocus();
    Click(kExecuteButton);
    EXPECT_EQ(
        m_fake.messages.TakeTexts(),
        std::vector<std::string>{"コピー先に同じファイル名のファイルがあります。\n\n「備考」の"
                                 "文字列を変更することにより、ファイル名を変更できます。"});
    EXPECT_EQ(EntryTexts(), before);
    EXPECT_EQ(test::ReadBytes(taken), "filed earlier");
    // The remark the message names has the focus.
    EXPECT_EQ(QApplication::focusWidget(), Edit(kRemarkField));

    // A failure of another kind leaves the focus where it was.
    fs::remove(test::U8(Source()));
    Edit(kAmountField)->setFocus();
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{
                  "コピー元ファイルがありません。\n再度コピー元ファイルを指定してください"});
    EXPECT_EQ(QApplication::focusWidget(), Edit(kAmountField));
    test::WriteBytes(test::U8(Source()), "%PDF-1.4 invoice");

    // Changed as the message says, the entry is filed.
    Type(kRemarkField, "2");
    Click(kExecuteButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_TRUE(fs::is_regular_file(test::U8(folder + "[2022_12_31][〇〇商事(株)][500,000]2.pdf")));
}

// ---- Menu and storage folder -------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, ClosingTheMenuAnyWayReloadsTheSettingsAndComposesAtOnce) {
    Open();
    FillEntry();
    ASSERT_EQ(Text(kFolderField), Folder("2022年度/請求書(控)/2022年12月/"));
    const std::vector<std::pair<std::string, std::function<void(QDialog&)>>> closings = {
        {"戻る",
         [](QDialog& menu) {
             test::ControlOf<QPushButton>(menu, ids::menu::kBackButton)->click();
         }},
        {"Esc", [](QDialog& menu) { QTest::keyClick(&menu, Qt::Key_Escape); }},
        {"close box", [](QDialog& menu) { menu.close(); }},
    };
    for (const auto& [how, close] : closings) {
        SCOPED_TRACE(how);
        const std::string root = m_dir.Child("保存先 " + how);
        fs::create_directory(test::U8(root));
        m_fake.modal.Queue("fmb::CMenuDlg", [&, close = close](QDialog& menu) {
            m_fake.modal.Queue("fmb::CSettingDlg", [&](QDialog& settings) {
                test::ControlOf<QLineEdit>(settings, ids::setting::kRootField)
                    ->setText(QString::fromStdString(root));
                test::ControlOf<QPushButton>(settings, ids::kOk)->click();
            });
            test::ControlOf<QPushButton>(menu, ids::menu::kSettingsButton)->click();
            // Nothing changes in the window while the menu is open.
            EXPECT_EQ(Text(kFolderField).rfind(root, 0), std::string::npos);
            close(menu);
        });
        Click(kMenuButton);
        const std::string sep(1, kPathSeparator);
        EXPECT_EQ(Text(kFolderField),
                  root + sep + "2022年度" + sep + "請求書(控)" + sep + "2022年12月" + sep);
        EXPECT_EQ(Text(kFileNameField), "[2022_12_31][〇〇商事(株)][500,000].pdf");
    }
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CFumibakoDlgTest, StorageFolderOpensTheLatestComposedYearFolderOrTheRoot) {
    Open();
    Click(kStorageFolderButton); // before any composition
    FillEntry();
    Click(kStorageFolderButton);
    SetText(kDateField, "");
    Click(kTypeButton1); // composes without a fiscal year
    ASSERT_EQ(Text(kFolderField), Folder("請求書(控)/"));
    Click(kStorageFolderButton);
    FillEntry();
    Click(kExecuteButton); // filed and cleared
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    Click(kStorageFolderButton);

    using Opened = test::FakeShell::Opened;
    constexpr auto kPath = test::FakeShell::Kind::Path;
    const std::string year = Folder("2022年度/請求書(控)/2022年12月/");
    EXPECT_EQ(m_fake.shell.Log(),
              (std::vector<Opened>{{kPath, Root()}, {kPath, year}, {kPath, year}, {kPath, year}}));
}

TEST_F(CFumibakoDlgTest, StorageFolderTellsWhenThereIsNoFolderToOpen) {
    fs::remove(m_dir.Path() / "FMB_Setting.ini");
    m_fake.modal.Queue("fmb::CSettingDlg", [](QDialog& dialog) {
        test::ControlOf<QPushButton>(dialog, ids::kCancel)->click();
    });
    Open();
    m_fake.messages.TakeTexts(); // the first start's
    Click(kStorageFolderButton);
    EXPECT_TRUE(m_fake.shell.Log().empty());
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"開くファイル（フォルダ）が指定されていません。"});
}

TEST_F(CFumibakoDlgTest, StorageFolderTellsWhenNothingOpensTheFolder) {
    Open();
    FillEntry();
    m_fake.shell.SetOpens(false);
    Click(kStorageFolderButton);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"「" + Folder("2022年度/請求書(控)/2022年12月/") +
                                       "」を開けませんでした。\n\nファイル（フォルダ）がないか、"
                                       "開くプログラムが見つかりません。"});
}

} // namespace
} // namespace fmb
