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

namespace fs = std::filesystem;

// Controls of the filing window.
constexpr int kSource = 1000, kBrowse = 1055, kOpen = 3, kPageBack = 1073, kPageForward = 1074,
              kDate = 1004, kCalendar = 1001, kLastMonthEnd = 1032, kToday = 1071,
              kThisMonthEnd = 1033, kTypeName = 1053, kCompany = 1003, kCompanyList = 1002,
              kEditCompanies = 1031, kMultiple = 1057, kAmount = 1016, kGrouped = 1018,
              kRemark = 1056, kFolder = 1028, kFileName = 1017, kExecute = 1054, kExit = 2,
              kMenu = 1030, kStorageFolder = 1034;
constexpr int k0 = 1013, k1 = 1005, k2 = 1006, k3 = 1007, k5 = 1009, k00 = 1015, kClear = 1027;

// The entry fields a user fills, and the two the composition writes.
constexpr int kEntryFields[] = {kSource, kDate,   kCompany,  kAmount,
                                kRemark, kFolder, kFileName, kGrouped};

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
        EXPECT_EQ(settings.WriteIni(), 0);
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
        EXPECT_EQ(types.WriteIni(), 0);
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
        for (int id = 1041; id <= 1052; ++id)
            captions.push_back(Button(id)->text().toStdString());
        return captions;
    }
    std::vector<int> Checked() const {
        std::vector<int> checked;
        for (int id = 1041; id <= 1052; ++id) {
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
        const QPoint over = Edit(kRemark)->geometry().center();
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
        Click(1041);
        Click(kToday);
        Companies()->setCurrentRow(Companies()->Texts().indexOf(QString::fromUtf8(kCompanyName)));
        SetText(kAmount, "500000");
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
    EXPECT_EQ(Text(kTypeName), "");
    EXPECT_TRUE(Edit(kSource)->hasFocus());
    std::vector<std::string> page1;
    for (int index = 0; index < 12; ++index)
        page1.push_back(TypeName(index));
    EXPECT_EQ(Captions(), page1);
    EXPECT_TRUE(Checked().empty());
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    EXPECT_EQ(Button(kMultiple)->text().toStdString(), "複数");

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
            Click(kExit);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Rejected);
        EXPECT_TRUE(m_fake.messages.Texts().empty());
    }
}

TEST_F(CFumibakoDlgTest, EnterAndEscapeKeepTheWindowOpenAndTheEntryUnchanged) {
    CFumibakoDlg& window = Open();
    FillEntry();
    SetText(kRemark, "12月分");
    const std::map<int, std::string> before = EntryTexts();
    for (int id : {kSource, kDate, kCompany, kAmount, kRemark, kFileName}) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            Edit(id)->setFocus();
            QTest::keyClick(Edit(id), key);
            ASSERT_TRUE(window.isVisible()) << id << " key " << key;
        }
    }
    // Also with the focus on a button and on the window itself.
    for (QWidget* target :
         {static_cast<QWidget*>(Button(kExecute)), static_cast<QWidget*>(&window)}) {
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
        test::ControlOf<QLineEdit>(dialog, 1028)->setText(QString::fromStdString(root));
        test::ControlOf<QPushButton>(dialog, 1)->click(); // 終了(保存)
    });
    Open();
    EXPECT_EQ(m_fake.modal.Log(), std::vector<std::string>{"fmb::CSettingDlg"});
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    // Both files were read again: the default types and the new storage root.
    EXPECT_EQ(Captions()[0], "請求書");
    EXPECT_EQ(Captions()[5], "その他");
    Click(1042);
    EXPECT_EQ(Text(kFolder), Folder("請求書(控)/"));
}

TEST_F(CFumibakoDlgTest, AFirstStartOpensTheWindowEvenWhenTheSettingsAreCancelled) {
    fs::remove(m_dir.Path() / "FMB_Setting.ini");
    fs::remove(m_dir.Path() / "FMB_Corp.ini");
    m_fake.modal.Queue("fmb::CSettingDlg", [](QDialog& dialog) {
        test::ControlOf<QPushButton>(dialog, 2)->click(); // キャンセル
    });
    CFumibakoDlg& window = Open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"保存先フォルダが設定されていないので、設定してください。"});
    // The settings dialog writes the default types as it opens; the root stays unset.
    EXPECT_EQ(Captions()[0], "請求書");
    Click(1041);
    EXPECT_EQ(Text(kFolder), std::string("請求書") + kPathSeparator);
}

// ---- Source file --------------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, ADropTakesTheFirstFileAndComposes) {
    Open();
    const std::string second = m_dir.Child("scan/b.txt");
    Drop({Source(), second, m_dir.Child("scan/c.xlsx")});
    EXPECT_TRUE(m_dropAccepted);
    EXPECT_EQ(Text(kSource), Source());
    EXPECT_EQ(Text(kFileName), "[__][][].pdf");

    Drop({second});
    EXPECT_EQ(Text(kSource), second);
    EXPECT_EQ(Text(kFileName), "[__][][].txt");
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
    EXPECT_EQ(Text(kSource), "");
    EXPECT_EQ(Text(kFileName), "");
}

TEST_F(CFumibakoDlgTest, BrowseSetsTheSourceAndComposes) {
    Open();
    Drop({Source()});
    SetText(kFileName, "by hand.pdf");
    const std::string chosen = m_dir.Child("scan/b.txt");
    m_fake.pickers.QueueFile(chosen);
    Click(kBrowse);
    EXPECT_EQ(Text(kSource), chosen);
    EXPECT_EQ(Text(kFileName), "[__][][].txt");

    // Cancelled, it changes nothing, a name typed by hand included.
    SetText(kFileName, "by hand.txt");
    m_fake.pickers.QueueFile(std::nullopt);
    Click(kBrowse);
    EXPECT_EQ(Text(kSource), chosen);
    EXPECT_EQ(Text(kFileName), "by hand.txt");

    // The same file chosen again composes all the same.
    m_fake.pickers.QueueFile(chosen);
    Click(kBrowse);
    EXPECT_EQ(Text(kFileName), "[__][][].txt");
    EXPECT_EQ(m_fake.pickers.Log().size(), 3u);
}

TEST_F(CFumibakoDlgTest, OpenHandsTheSourceToTheDesktop) {
    Open();
    Drop({Source()});
    Click(kOpen);
    EXPECT_EQ(m_fake.shell.Log(),
              (std::vector<test::FakeShell::Opened>{{test::FakeShell::Kind::Path, Source()}}));
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CFumibakoDlgTest, OpenTellsWhenNothingOpensTheSource) {
    Open();
    Click(kOpen); // no source yet: the desktop is not asked
    EXPECT_TRUE(m_fake.shell.Log().empty());
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"開くファイル（フォルダ）が指定されていません。"});

    Drop({Source()});
    m_fake.shell.SetOpens(false);
    Click(kOpen);
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
        {kRemark, "a", "[__][][]a.NNN"},
        {kCompany, "b", "[__][b][]a.NNN"},
        {kDate, "2022123", "[2022_12_3][b][]a.NNN"},
        {kDate, "1", "[2022_12_31][b][]a.NNN"},
        {kAmount, "5", "[2022_12_31][b][5]a.NNN"},
        {kSource, "x.jp", "[2022_12_31][b][5]a.jp"},
        {kSource, "g", "[2022_12_31][b][5]a.jpg"},
    };
    Open();
    for (const auto& step : steps) {
        Type(step.field, step.typed);
        EXPECT_EQ(Text(kFileName), step.fileName) << step.field << " " << step.typed;
    }
    EXPECT_EQ(Text(kFolder), Folder("2022年度/2022年12月/"));
    // Deleting counts as much as typing.
    QTest::keyClick(Edit(kDate), Qt::Key_Backspace);
    EXPECT_EQ(Text(kFileName), "[2022_12_3][b][5]a.jpg");
}

// Each order in which a user may give the inputs: after the last one, the two fields show the
// whole entry, and 実行 files the document exactly there.
TEST_F(CFumibakoDlgTest, TheFileLandsWhereTheFieldsSayInEveryInputOrder) {
    const std::string photo = m_dir.Child("scan/photo.jpg");
    test::WriteBytes(test::U8(photo), "JPEG");
    const std::string invoiceFolder = "2022年度/請求書(控)/2022年11月/";
    // The inputs besides the source and the type.
    const auto typeDate = [&] { Type(kDate, "20221105"); };
    const auto typeCompanyAndAmount = [&] {
        Type(kCompany, "ABC商事");
        Type(kAmount, "1100");
    };
    const std::vector<std::pair<std::string, std::function<void()>>> orders = {
        {"date typed last",
         [&] {
             Drop({Source()});
             Click(1041);
             typeCompanyAndAmount();
             typeDate();
         }},
        {"date typed over 本日",
         [&] {
             Drop({Source()});
             Click(1041);
             typeCompanyAndAmount();
             Click(kToday);
             Edit(kDate)->selectAll();
             typeDate();
         }},
        {"source typed last",
         [&] {
             Click(1041);
             typeDate();
             typeCompanyAndAmount();
             Type(kSource, photo);
         }},
        {"source typed over a dropped one",
         [&] {
             Drop({Source()});
             Click(1041);
             typeDate();
             typeCompanyAndAmount();
             Edit(kSource)->selectAll();
             Type(kSource, photo);
         }},
        {"source chosen with 参照 last",
         [&] {
             Drop({Source()});
             Click(1041);
             typeDate();
             typeCompanyAndAmount();
             m_fake.pickers.QueueFile(photo);
             Click(kBrowse);
         }},
        {"types paged last",
         [&] {
             Drop({photo});
             Click(1041);
             typeDate();
             typeCompanyAndAmount();
             Click(kPageForward);
             Click(kPageForward);
         }},
    };
    for (const auto& [order, give] : orders) {
        SCOPED_TRACE(order);
        fs::remove_all(test::U8(Root()));
        fs::create_directory(test::U8(Root()));
        Open();
        give();
        const std::string extension = Text(kSource) == photo ? "jpg" : "pdf";
        const std::string name = "[2022_11_05][ABC商事][1,100]." + extension;
        EXPECT_EQ(Text(kFolder), Folder(invoiceFolder));
        EXPECT_EQ(Text(kFileName), name);
        Click(kExecute);
        EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
        EXPECT_EQ(StoredFiles(), std::vector<std::string>{Folder(invoiceFolder) + name});
    }
}

TEST_F(CFumibakoDlgTest, ANameTypedByHandAfterTheLastInputIsFiledAsTypedUntilTheNextInput) {
    Open();
    FillEntry();
    const std::string folder = Folder("2022年度/請求書(控)/2022年12月/");
    SetText(kFileName, "");
    Type(kFileName, "手入力.pdf");
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_TRUE(fs::is_regular_file(test::U8(folder + "手入力.pdf")));

    // A name typed by hand gives way to the next change of an input.
    FillEntry();
    Type(kFileName, "x");
    Type(kRemark, "再発行");
    EXPECT_EQ(Text(kFileName), "[2022_12_31][〇〇商事(株)][500,000]再発行.pdf");
    // The same scan again: the ledger knows it, and the user files it all the same.
    m_fake.messages.QueueAnswer(true);
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts().back(), "コピーしました。");
    EXPECT_TRUE(
        fs::is_regular_file(test::U8(folder + "[2022_12_31][〇〇商事(株)][500,000]再発行.pdf")));
}

// ---- The ledger ---------------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, EveryFilingIsRecordedInTheLedgerWithThePersonOfTheSettings) {
    CFMBData settings(m_dir.Text(true));
    settings.ReadIni();
    settings.SYORI_TANTOUSYA = "山田 花子";
    ASSERT_EQ(settings.WriteIni(), 0);
    Open();
    FillEntry();
    Type(kRemark, "再発行");
    Click(kExecute);
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
    Click(kExecute);
    m_fake.messages.TakeTexts();
    const std::string first =
        Folder("2022年度/請求書(控)/2022年12月/[2022_12_31][〇〇商事(株)][500,000].pdf");

    FillEntry();
    Type(kRemark, "2");
    m_fake.messages.QueueAnswer(false);
    Click(kExecute);
    ASSERT_EQ(m_fake.messages.Log().size(), 1u);
    EXPECT_EQ(m_fake.messages.Log()[0].kind, test::FakeMessages::Kind::CautiousQuestion);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"同じ内容の書類がすでに保存されています。\n\n" + first +
                                       "\n\n二重に保存しますか？"});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{first});
    // The entry stays for another try.
    EXPECT_EQ(Text(kRemark), "2");

    m_fake.messages.QueueAnswer(true);
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts().back(), "コピーしました。");
    EXPECT_EQ(StoredFiles().size(), 2u);
    EXPECT_EQ(Ledger(Root()).Read().records.size(), 2u);
}

TEST_F(CFumibakoDlgTest, AFilingTheLedgerCannotRecordIsUndoneAndSaysSo) {
    Open();
    FillEntry();
    // Something that is not a folder stands where the ledger's folder belongs.
    test::WriteBytes(test::U8(Root() + "/" + std::string(kLedgerFolderName)), "");
    Click(kExecute);
    const std::vector<std::string> texts = m_fake.messages.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].starts_with("台帳に記録できませんでした。")) << texts[0];
    EXPECT_NE(texts[0].find("書類は保存されていません"), std::string::npos);
    EXPECT_TRUE(StoredFiles().empty());
    EXPECT_FALSE(fs::exists(test::U8(Root() + "/2022年度")));
    EXPECT_EQ(Text(kAmount), "500000"); // nothing cleared
}

// ---- Document types -----------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, ATypeButtonShowsTheTypeItsCompaniesAndComposes) {
    Open();
    SetText(kCompany, "old");
    Click(1041);
    EXPECT_EQ(Checked(), std::vector<int>{1041});
    EXPECT_EQ(Text(kTypeName), kType1);
    // The list sorts what the store keeps in another order.
    EXPECT_EQ(Companies()->Texts(),
              (QStringList{QStringLiteral("(株)いろは物産"), QString::fromUtf8(kCompanyName),
                           QStringLiteral("さくら電機(株)")}));
    EXPECT_EQ(Text(kCompany), "");
    EXPECT_EQ(Text(kFolder), Folder(std::string(kType1) + "/"));

    Click(1043);
    EXPECT_EQ(Checked(), std::vector<int>{1043});
    EXPECT_EQ(Text(kTypeName), "種類3");
    EXPECT_EQ(Companies()->count(), 0);
    EXPECT_EQ(Text(kFolder), Folder("種類3/"));
}

TEST_F(CFumibakoDlgTest, ClickingTheCheckedTypeAgainKeepsItAndEmptiesTheCompany) {
    Open();
    Click(1041);
    Companies()->setCurrentRow(0);
    EXPECT_EQ(Text(kCompany), "(株)いろは物産");
    Click(1041);
    EXPECT_EQ(Checked(), std::vector<int>{1041});
    EXPECT_EQ(Companies()->count(), 3);
    EXPECT_TRUE(Companies()->selectedItems().isEmpty());
    EXPECT_EQ(Text(kCompany), "");
    EXPECT_EQ(Text(kFileName), "[__][][].NNN");
}

TEST_F(CFumibakoDlgTest, PagesShowTwelveTypesColumnByColumnWithoutWrapping) {
    Open();
    Click(1041);
    SetText(kCompany, "c");
    const std::string folder = Text(kFolder);
    const std::string fileName = Text(kFileName);

    Click(kPageBack); // page 1 has no page before it
    EXPECT_EQ(Checked(), std::vector<int>{1041});
    EXPECT_EQ(Captions().front(), kType1);

    Click(kPageForward);
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
    EXPECT_EQ(Text(kTypeName), kType1);
    EXPECT_EQ(Companies()->count(), 3);
    EXPECT_EQ(Text(kCompany), "c");
    EXPECT_EQ(Text(kFolder), folder);
    EXPECT_EQ(Text(kFileName), fileName);
    SetText(kDate, "20230105");
    EXPECT_EQ(Text(kFolder), Folder("2022年度/請求書(控)/2023年01月/"));

    Click(kPageForward);
    EXPECT_EQ(Captions()[0], "種類25");
    Click(1042);
    EXPECT_EQ(Text(kTypeName), "種類26");
    Click(kPageForward); // page 3 has no page after it
    EXPECT_EQ(Captions()[0], "種類25");
    EXPECT_EQ(Checked(), std::vector<int>{1042});
    EXPECT_EQ(Text(kFolder), Folder("2022年度/種類26/2023年01月/"));

    Click(kPageBack);
    Click(kPageBack);
    EXPECT_EQ(Captions()[0], kType1);
    EXPECT_TRUE(Checked().empty());
    Click(kPageForward);
    Click(kPageForward);
    EXPECT_EQ(Checked(), std::vector<int>{1042}); // the chosen type's button, on its page
}

TEST_F(CFumibakoDlgTest, PagingKeepsTheChosenTypeForEditAndExecute) {
    Open();
    FillEntry();
    Click(kPageForward);
    EXPECT_TRUE(Checked().empty());
    EXPECT_EQ(Text(kTypeName), kType1);

    // 編集 works on the type the field shows.
    m_fake.modal.Queue("fmb::CSyainEditDlg", [this](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, 1035)->text().toStdString(), kType1);
        m_fake.messages.QueueAnswer(true); // 保存しないで終了します。よろしいですか？
        dialog.close();
    });
    Click(kEditCompanies);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"保存しないで終了します。よろしいですか？"});
    EXPECT_TRUE(Checked().empty()); // the page shown stays the page shown

    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{Folder("2022年度/請求書(控)/2022年12月/") +
                                                      "[2022_12_31][〇〇商事(株)][500,000].pdf"});
    Click(kPageBack);
    EXPECT_EQ(Checked(), std::vector<int>{1041});
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
            Click(kPageForward);
        for (int id = 1041; id <= 1052; ++id) {
            const bool shown = id - 1041 < c.enabled;
            EXPECT_EQ(Button(id)->isEnabled(), shown) << id;
            EXPECT_EQ(Button(id)->text().isEmpty(), !shown) << id;
        }
    }
}

// ---- Date ---------------------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, APickedDayIsWrittenAndComposed) {
    Open();
    Calendar()->setCurrentPage(2025, 3);
    EXPECT_EQ(Text(kDate), ""); // paging picks nothing
    ClickDay(3);
    EXPECT_EQ(Text(kDate), "20250303");
    EXPECT_EQ(Text(kFolder), Folder("2024年度/2025年03月/"));
    EXPECT_EQ(Text(kFileName), "[2025_03_03][][].NNN");

    // A day of a far year is written as it is.
    Calendar()->setCurrentPage(1900, 2);
    ClickDay(28);
    EXPECT_EQ(Text(kDate), "19000228");
}

TEST_F(CFumibakoDlgTest, PagingAndTheProgramsSelectionChangeNothing) {
    Open();
    Type(kDate, "20221231");
    SetText(kFileName, "by hand.pdf");
    auto* next = Calendar()->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"));
    ASSERT_NE(next, nullptr);
    QTest::mouseClick(next, Qt::LeftButton);
    Calendar()->setSelectedDate(QDate(2021, 5, 6));
    EXPECT_EQ(Text(kDate), "20221231");
    EXPECT_EQ(Text(kFileName), "by hand.pdf");
    EXPECT_EQ(Text(kFolder), Folder("2022年度/2022年12月/"));
}

TEST_F(CFumibakoDlgTest, TheCalendarStartsOnTodayOfTheLocalClock) {
    for (const LocalDate today : {LocalDate{2022, 12, 31}, LocalDate{2024, 7, 5}}) {
        m_fake.clock.Set(today);
        Open();
        EXPECT_EQ(Calendar()->selectedDate(), QDate(today.year, today.month, today.day));
        EXPECT_EQ(Calendar()->monthShown(), today.month);
        EXPECT_EQ(Text(kDate), ""); // shown, not picked
        EXPECT_EQ(Text(kFileName), "");
    }
}

TEST_F(CFumibakoDlgTest, EnterOnTheCalendarPicksTheSelectedDay) {
    Open();
    Calendar()->setSelectedDate(QDate(2024, 7, 5));
    auto* view = Calendar()->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(Text(kDate), "20240705");
    EXPECT_EQ(Text(kFileName), "[2024_07_05][][].NNN");
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(CFumibakoDlgTest, DateButtonsWriteTheDayComposeAndMoveTheCalendar) {
    const struct {
        LocalDate today;
        int button;
        const char* date;
    } cases[] = {
        {{2024, 7, 5}, kToday, "20240705"},         {{2024, 2, 15}, kThisMonthEnd, "20240229"},
        {{2023, 2, 15}, kThisMonthEnd, "20230228"}, {{2024, 1, 10}, kLastMonthEnd, "20231231"},
        {{2024, 3, 31}, kLastMonthEnd, "20240229"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        m_fake.clock.Set(c.today);
        Open();
        Click(c.button);
        EXPECT_EQ(Text(kDate), c.date);
        const LocalDate day{std::stoi(std::string(c.date).substr(0, 4)),
                            std::stoi(std::string(c.date).substr(4, 2)),
                            std::stoi(std::string(c.date).substr(6, 2))};
        EXPECT_EQ(Calendar()->selectedDate(), QDate(day.year, day.month, day.day));
        EXPECT_EQ(Calendar()->yearShown(), day.year);
        EXPECT_EQ(Calendar()->monthShown(), day.month);
        const std::string underscored = std::string(c.date).substr(0, 4) + "_" +
                                        std::string(c.date).substr(4, 2) + "_" +
                                        std::string(c.date).substr(6, 2);
        EXPECT_EQ(Text(kFileName), "[" + underscored + "][][].NNN");
    }
}

// ---- Company and amount -------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, APickedCompanyFillsTheFieldAndComposes) {
    Open();
    Click(1041);
    auto* list = Companies();
    const QRect row =
        list->visualItemRect(list->item(list->Texts().indexOf(QString::fromUtf8(kCompanyName))));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(Text(kCompany), kCompanyName);
    EXPECT_EQ(Text(kFileName), std::string("[__][") + kCompanyName + "][].NNN");

    // Clicking the chosen company again brings it back after the field was changed.
    SetText(kCompany, "x");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(Text(kCompany), kCompanyName);
}

TEST_F(CFumibakoDlgTest, TabbingThroughTheCompanyListPicksNothing) {
    Open();
    Click(1041);
    SetText(kCompany, "typed");
    Edit(kCompany)->setFocus();
    QTest::keyClick(Edit(kCompany), Qt::Key_Tab);
    EXPECT_TRUE(Companies()->hasFocus());
    EXPECT_EQ(Text(kCompany), "typed");
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
        SetText(kAmount, "");
        for (int key : c.keys)
            Click(key);
        EXPECT_EQ(Text(kAmount), c.amount);
        EXPECT_EQ(Text(kGrouped), c.grouped);
        EXPECT_EQ(Text(kFileName), std::string("[__][][") + c.grouped + "].NNN");
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
        SetText(kAmount, "");
        QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        Edit(kAmount)->setFocus();
        Edit(kAmount)->paste();
        EXPECT_EQ(Text(kAmount), c.amount);
        EXPECT_EQ(Text(kGrouped), FormatThousands(c.amount));
        EXPECT_EQ(m_fake.messages.TakeTexts(), c.message
                                                   ? std::vector<std::string>{kAmountTooLongMessage}
                                                   : std::vector<std::string>{});
    }
}

TEST_F(CFumibakoDlgTest, AFifteenthDigitShowsTheMessageOnce) {
    Open();
    Type(kAmount, "12345678901234");
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    QTest::keyClick(Edit(kAmount), Qt::Key_5);
    EXPECT_EQ(Text(kAmount), "12345678901234");
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kAmountTooLongMessage});
    Click(k0); // the keypad is cut by the same rule
    EXPECT_EQ(Text(kAmount), "12345678901234");
    EXPECT_EQ(Text(kGrouped), "12,345,678,901,234");
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{kAmountTooLongMessage});
}

TEST_F(CFumibakoDlgTest, EditCompaniesAsksForATypeFirst) {
    Open();
    Click(kEditCompanies);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"種類ボタンを押下して、種類を選択してください"});
    Click(kPageForward);
    Click(kEditCompanies);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"種類ボタンを押下して、種類を選択してください"});
    EXPECT_TRUE(m_fake.modal.Log().empty());
}

TEST_F(CFumibakoDlgTest, EditCompaniesHandsTheTypeToTheEditorAndShowsWhatItSaved) {
    Open();
    Click(kPageForward);
    Click(kPageBack);
    Click(1041);
    SetText(kCompany, "typed");
    m_fake.modal.Queue("fmb::CSyainEditDlg", [](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, 1035)->text().toStdString(), kType1);
        EXPECT_EQ(test::ControlOf<ListBox>(dialog, 1034)->count(), 3);
        test::ControlOf<QLineEdit>(dialog, 1035)->setText(QStringLiteral("請求書(新)"));
        test::ControlOf<QLineEdit>(dialog, 1028)->setText(QStringLiteral("あおば(株)"));
        test::ControlOf<QPushButton>(dialog, 1029)->click(); // 追加
        test::ControlOf<QPushButton>(dialog, 1)->click();    // 終了(保存)
    });
    Click(kEditCompanies);
    const std::vector<std::string> shown = m_fake.messages.TakeTexts();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), "保存しました。");

    EXPECT_EQ(Captions()[0], "請求書(新)");
    EXPECT_EQ(Checked(), std::vector<int>{1041});
    EXPECT_EQ(Text(kTypeName), "請求書(新)");
    EXPECT_EQ(Companies()->count(), 4);
    EXPECT_TRUE(Companies()->Texts().contains(QStringLiteral("あおば(株)")));
    EXPECT_EQ(Text(kCompany), "typed");
    EXPECT_EQ(Text(kFolder), Folder("請求書(新)/")); // composed again
    // The editor saved the file; a new window reads the same.
    CFMBSyameiData stored(m_dir.Text(true));
    stored.ReadIni();
    EXPECT_EQ(stored.TypeName(0), "請求書(新)");
}

TEST_F(CFumibakoDlgTest, EditCompaniesClosedWithoutSavingKeepsTheTypes) {
    Open();
    Click(1041);
    SetText(kDate, "20221231");
    m_fake.modal.Queue("fmb::CSyainEditDlg", [this](QDialog& dialog) {
        test::ControlOf<QLineEdit>(dialog, 1035)->setText(QStringLiteral("別名"));
        m_fake.messages.QueueAnswer(true); // 保存しないで終了します。よろしいですか？
        dialog.close();
    });
    Click(kEditCompanies);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"保存しないで終了します。よろしいですか？"});
    EXPECT_EQ(Captions()[0], kType1);
    EXPECT_EQ(Text(kTypeName), kType1);
    EXPECT_EQ(Checked(), std::vector<int>{1041});
    EXPECT_EQ(Companies()->count(), 3);
    EXPECT_EQ(Text(kFolder), Folder("2022年度/請求書(控)/2022年12月/"));
}

// ---- Multiple amounts ---------------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, MultipleAmountsOkPutsTheExtraAmountsIntoTheName) {
    Open();
    FillEntry();
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, 1034)->text().toStdString(), "500000");
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, 1035)->text().toStdString(), "");
        test::ControlOf<QLineEdit>(dialog, 1035)->setText("120000");
        test::ControlOf<QLineEdit>(dialog, 1037)->setText("30000");
        test::ControlOf<QPushButton>(dialog, 1)->click();
    });
    Click(kMultiple);
    EXPECT_EQ(Text(kAmount), "500000");
    EXPECT_EQ(Text(kFileName), "[2022_12_31][〇〇商事(株)][500,000][120,000][30,000].pdf");
    EXPECT_EQ(Button(kMultiple)->text().toStdString(), "*複数 ");

    // Reopened, the dialog shows the rows as they were; clearing them all restores the caption.
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, 1035)->text().toStdString(), "120000");
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, 1036)->text().toStdString(), "");
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, 1037)->text().toStdString(), "30000");
        test::ControlOf<QLineEdit>(dialog, 1034)->setText("1,000");
        test::ControlOf<QLineEdit>(dialog, 1035)->clear();
        test::ControlOf<QLineEdit>(dialog, 1037)->clear();
        test::ControlOf<QPushButton>(dialog, 1)->click();
    });
    Click(kMultiple);
    EXPECT_EQ(Text(kAmount), "1000"); // cleaned by the amount field
    EXPECT_EQ(Text(kFileName), "[2022_12_31][〇〇商事(株)][1,000].pdf");
    EXPECT_EQ(Button(kMultiple)->text().toStdString(), "複数");
}

TEST_F(CFumibakoDlgTest, MultipleAmountsCancelKeepsTheAmountsButComposes) {
    Open();
    FillEntry();
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        test::ControlOf<QLineEdit>(dialog, 1035)->setText("120000");
        test::ControlOf<QPushButton>(dialog, 1)->click();
    });
    Click(kMultiple);
    SetText(kDate, "");
    Type(kDate, "20230105");
    SetText(kFileName, "by hand.pdf");

    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        test::ControlOf<QLineEdit>(dialog, 1034)->setText("9");
        test::ControlOf<QLineEdit>(dialog, 1035)->setText("9");
        test::ControlOf<QPushButton>(dialog, 2)->click();
    });
    Click(kMultiple);
    EXPECT_EQ(Text(kAmount), "500000");
    EXPECT_EQ(Text(kFileName), "[2023_01_05][〇〇商事(株)][500,000][120,000].pdf");
    EXPECT_EQ(Button(kMultiple)->text().toStdString(), "*複数 ");
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
        {"2022123", "c", "1", "", kDate,
         "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 "},
        {"2022/12/31", "c", "1", "", kDate,
         "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 "},
        {"2022a231", "c", "1", "", kDate,
         "日付は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 "},
        {"00001231", "c", "1", "", kDate,
         "日付の年は1以上の数値を入れてください。\n\n 例：2022年xx月xx日　→　2022xxxx "},
        {"20221331", "c", "1", "", kDate,
         "日付の月は01～12の数値を入れてください。\n\n 例：xxxx年12月xx日　→　xxxx12xx "},
        {"20221232", "c", "1", "", kDate,
         "日付の日は01～31の数値を入れてください。\n\n 例：xxxx年xx月31日　→　xxxxxx31 "},
        {"20221231", "", "1", "", kCompany, "社名を入力してください。 "},
        {"20221231", "a\"b", "1", "", kCompany,
         "社名に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | "},
        {"20221231", "c", "", "", kAmount, "金額を入力してください。 "},
        {"20221231", "c", "1a", "", kAmount,
         "金額は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 + "
         "- "},
        {"20221231", "c", "1", "a/b", kRemark,
         "備考に使用禁止文字があります。修正してください。\n\n 入力不可→　[ ] \\ / : * ?  < > | "},
    };
    Open();
    Drop({Source()});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date + std::string(" / ") + c.company + " / " + c.amount + " / " + c.remark);
        SetText(kDate, c.date);
        SetText(kCompany, c.company);
        SetText(kAmount, c.amount);
        SetText(kRemark, c.remark);
        Edit(kSource)->setFocus();
        const std::map<int, std::string> before = EntryTexts();
        Click(kExecute);
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
        Click(kToday);
        Edit(kDate)->selectAll();
        Type(kDate, c.date);
        Edit(kRemark)->setFocus();
        Click(kExecute);
        EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(QApplication::focusWidget(), Edit(kDate));
    }
    EXPECT_TRUE(StoredFiles().empty());

    // Corrected, it is filed under the day typed, not under today.
    Edit(kDate)->selectAll();
    Type(kDate, "20220228");
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{Folder("2021年度/請求書(控)/2022年02月/") +
                                                      "[2022_02_28][〇〇商事(株)][500,000].pdf"});
}

TEST_F(CFumibakoDlgTest, FullWidthDigitsAreTakenAsDigits) {
    Open();
    Drop({Source()});
    Click(1041);
    Type(kCompany, "ABC商事");
    // As an input method in full-width mode commits them.
    Type(kDate, "２０２２");
    Type(kDate, "１１０５");
    EXPECT_EQ(Text(kDate), "20221105");
    Type(kAmount, "１，１００");
    EXPECT_EQ(Text(kAmount), "1100");
    EXPECT_EQ(Text(kGrouped), "1,100");
    EXPECT_EQ(Text(kFileName), "[2022_11_05][ABC商事][1,100].pdf");
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{Folder("2022年度/請求書(控)/2022年11月/") +
                                                      "[2022_11_05][ABC商事][1,100].pdf"});

    // A digit typed in the middle keeps the cursor where the user types.
    Type(kDate, "20221105");
    Edit(kDate)->setCursorPosition(4);
    Type(kDate, "１");
    EXPECT_EQ(Text(kDate), "202211105");
    EXPECT_EQ(Edit(kDate)->cursorPosition(), 5);

    // What still is no digit gets the messages it always got.
    const struct {
        const char* date;
        const char* amount;
        int focus;
        const char* message;
    } refused[] = {
        {"２０２２年１１月５日", "1", kDate,
         "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 "},
        {"20221105", "５万", kAmount,
         "金額は数字以外、入力できません。修正してください。\n\n 入力可能→ 1 2 3 4 5 6 7 8 9 0 + "
         "- "},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.date);
        Drop({Source()});
        SetText(kCompany, "ABC商事");
        SetText(kDate, c.date);
        SetText(kAmount, c.amount);
        Click(kExecute);
        EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(QApplication::focusWidget(), Edit(c.focus));
    }
    EXPECT_EQ(StoredFiles().size(), 1u);
}

TEST_F(CFumibakoDlgTest, ExecuteFilesTheDocumentReadOnlyAndClearsTheEntryKeepingTheType) {
    Open();
    FillEntry();
    SetText(kRemark, "12月分");
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        test::ControlOf<QLineEdit>(dialog, 1035)->setText("120000");
        test::ControlOf<QPushButton>(dialog, 1)->click();
    });
    Click(kMultiple);
    const std::string folder = Folder("2022年度/請求書(控)/2022年12月/");
    ASSERT_EQ(Text(kFolder), folder);
    ASSERT_EQ(Text(kFileName), "[2022_12_31][〇〇商事(株)][500,000][120,000]12月分.pdf");

    // The order in which the fields are first emptied. (The grouped display empties with the
    // amount, through its change handler.)
    std::vector<int> emptied;
    for (int id : {kSource, kFolder, kFileName, kDate, kCompany, kAmount, kRemark}) {
        QObject::connect(Edit(id), &QLineEdit::textChanged, [&emptied, id](const QString& text) {
            if (text.isEmpty() && std::find(emptied.begin(), emptied.end(), id) == emptied.end())
                emptied.push_back(id);
        });
    }
    Click(kExecute);

    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    const fs::path stored =
        test::U8(folder + "[2022_12_31][〇〇商事(株)][500,000][120,000]12月分.pdf");
    ASSERT_TRUE(fs::is_regular_file(stored));
    EXPECT_EQ(test::ReadBytes(stored), "%PDF-1.4 invoice");
    EXPECT_EQ(fs::status(stored).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(fs::exists(test::U8(Source()))); // the source stays

    EXPECT_EQ(emptied,
              (std::vector<int>{kSource, kFolder, kFileName, kDate, kCompany, kAmount, kRemark}));
    for (int id : {kSource, kDate, kCompany, kAmount, kGrouped, kRemark})
        EXPECT_EQ(Text(id), "") << id;
    // Emptying the company, amount and remark composed the empty entry under the kept type,
    // without the cleared extra amounts.
    EXPECT_EQ(Text(kFolder), Folder("請求書(控)/"));
    EXPECT_EQ(Text(kFileName), "[__][][].NNN");
    EXPECT_EQ(Text(kTypeName), kType1);
    EXPECT_EQ(Checked(), std::vector<int>{1041});
    // The company list stays, with no company picked; 複数 no longer says the entry has more.
    EXPECT_EQ(Companies()->count(), 3);
    EXPECT_TRUE(Companies()->selectedItems().isEmpty());
    EXPECT_EQ(Button(kMultiple)->text().toStdString(), "複数");

    // The extra amounts went with the entry: the dialog opens empty.
    m_fake.modal.Queue("fmb::CKingakuDig", [](QDialog& dialog) {
        EXPECT_EQ(test::ControlOf<QLineEdit>(dialog, 1035)->text().toStdString(), "");
        test::ControlOf<QPushButton>(dialog, 2)->click();
    });
    Click(kMultiple);
    EXPECT_EQ(Button(kMultiple)->text().toStdString(), "複数");

    // Picking the same company again for the next document fills the field.
    Companies()->setCurrentRow(Companies()->Texts().indexOf(QString::fromUtf8(kCompanyName)));
    EXPECT_EQ(Text(kCompany), kCompanyName);
}

TEST_F(CFumibakoDlgTest, ExecuteFilesUnderANameTypedByHand) {
    Open();
    FillEntry();
    SetText(kFileName, "手入力.pdf");
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_TRUE(fs::is_regular_file(test::U8(Folder("2022年度/請求書(控)/2022年12月/手入力.pdf"))));
}

TEST_F(CFumibakoDlgTest, AFailedCopyKeepsTheWholeEntry) {
    Open();
    FillEntry();
    const std::string folder = Folder("2022年度/請求書(控)/2022年12月/");
    fs::create_directories(test::U8(folder));
    const fs::path taken = test::U8(folder + Text(kFileName));
    test::WriteBytes(taken, "filed earlier");
    const std::map<int, std::string> before = EntryTexts();

    Edit(kAmount)->setFocus();
    Click(kExecute);
    EXPECT_EQ(
        m_fake.messages.TakeTexts(),
        std::vector<std::string>{"コピー先に同じファイル名のファイルがあります。\n\n「備考」の"
                                 "文字列を変更することにより、ファイル名を変更できます。"});
    EXPECT_EQ(EntryTexts(), before);
    EXPECT_EQ(test::ReadBytes(taken), "filed earlier");
    // The remark the message names has the focus.
    EXPECT_EQ(QApplication::focusWidget(), Edit(kRemark));

    // A failure of another kind leaves the focus where it was.
    fs::remove(test::U8(Source()));
    Edit(kAmount)->setFocus();
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{
                  "コピー元ファイルがありません。\n再度コピー元ファイルを指定してください"});
    EXPECT_EQ(QApplication::focusWidget(), Edit(kAmount));
    test::WriteBytes(test::U8(Source()), "%PDF-1.4 invoice");

    // Changed as the message says, the entry is filed.
    Type(kRemark, "2");
    Click(kExecute);
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    EXPECT_TRUE(fs::is_regular_file(test::U8(folder + "[2022_12_31][〇〇商事(株)][500,000]2.pdf")));
}

// ---- Menu and storage folder -------------------------------------------------------------------

TEST_F(CFumibakoDlgTest, ClosingTheMenuAnyWayReloadsTheSettingsAndComposesAtOnce) {
    Open();
    FillEntry();
    ASSERT_EQ(Text(kFolder), Folder("2022年度/請求書(控)/2022年12月/"));
    const std::vector<std::pair<std::string, std::function<void(QDialog&)>>> closings = {
        {"戻る", [](QDialog& menu) { test::ControlOf<QPushButton>(menu, 1019)->click(); }},
        {"Esc", [](QDialog& menu) { QTest::keyClick(&menu, Qt::Key_Escape); }},
        {"close box", [](QDialog& menu) { menu.close(); }},
    };
    for (const auto& [how, close] : closings) {
        SCOPED_TRACE(how);
        const std::string root = m_dir.Child("保存先 " + how);
        fs::create_directory(test::U8(root));
        m_fake.modal.Queue("fmb::CMenuDlg", [&, close = close](QDialog& menu) {
            m_fake.modal.Queue("fmb::CSettingDlg", [&](QDialog& settings) {
                test::ControlOf<QLineEdit>(settings, 1028)->setText(QString::fromStdString(root));
                test::ControlOf<QPushButton>(settings, 1)->click();
            });
            test::ControlOf<QPushButton>(menu, 1029)->click();
            // Nothing changes in the window while the menu is open.
            EXPECT_EQ(Text(kFolder).rfind(root, 0), std::string::npos);
            close(menu);
        });
        Click(kMenu);
        const std::string sep(1, kPathSeparator);
        EXPECT_EQ(Text(kFolder),
                  root + sep + "2022年度" + sep + "請求書(控)" + sep + "2022年12月" + sep);
        EXPECT_EQ(Text(kFileName), "[2022_12_31][〇〇商事(株)][500,000].pdf");
    }
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CFumibakoDlgTest, StorageFolderOpensTheLatestComposedYearFolderOrTheRoot) {
    Open();
    Click(kStorageFolder); // before any composition
    FillEntry();
    Click(kStorageFolder);
    SetText(kDate, "");
    Click(1041); // composes without a fiscal year
    ASSERT_EQ(Text(kFolder), Folder("請求書(控)/"));
    Click(kStorageFolder);
    FillEntry();
    Click(kExecute); // filed and cleared
    EXPECT_EQ(m_fake.messages.TakeTexts(), std::vector<std::string>{"コピーしました。"});
    Click(kStorageFolder);

    using Opened = test::FakeShell::Opened;
    constexpr auto kPath = test::FakeShell::Kind::Path;
    const std::string year = Folder("2022年度/請求書(控)/2022年12月/");
    EXPECT_EQ(m_fake.shell.Log(),
              (std::vector<Opened>{{kPath, Root()}, {kPath, year}, {kPath, year}, {kPath, year}}));
}

TEST_F(CFumibakoDlgTest, StorageFolderTellsWhenThereIsNoFolderToOpen) {
    fs::remove(m_dir.Path() / "FMB_Setting.ini");
    m_fake.modal.Queue("fmb::CSettingDlg",
                       [](QDialog& dialog) { test::ControlOf<QPushButton>(dialog, 2)->click(); });
    Open();
    m_fake.messages.TakeTexts(); // the first start's
    Click(kStorageFolder);
    EXPECT_TRUE(m_fake.shell.Log().empty());
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"開くファイル（フォルダ）が指定されていません。"});
}

TEST_F(CFumibakoDlgTest, StorageFolderTellsWhenNothingOpensTheFolder) {
    Open();
    FillEntry();
    m_fake.shell.SetOpens(false);
    Click(kStorageFolder);
    EXPECT_EQ(m_fake.messages.TakeTexts(),
              std::vector<std::string>{"「" + Folder("2022年度/請求書(控)/2022年12月/") +
                                       "」を開けませんでした。\n\nファイル（フォルダ）がないか、"
                                       "開くプログラムが見つかりません。"});
}

} // namespace
} // namespace fmb
