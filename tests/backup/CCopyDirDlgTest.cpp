// The backup dialog on a real storage tree in temporary folders, with the user's part played
// through the fakes.
#include "backup/CCopyDirDlg.h"

#include "backup/BackupChoices.h"
#include "backup/CopyFolder.h"
#include "filing/AmountText.h"
#include "platform/PathText.h"
#include "res/ControlIds.h"
#include "settings/CFMBData.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"
#include "support/WholeCopies.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace fmb {
namespace {

using namespace ids::copyDir;

using test::ClickAndWaitForJob;
using test::ClickOn;
using test::ControlOf;
using test::EditOf;
using test::SetTextOf;
using test::TextOf;
using test::U8;
using testing::ElementsAre;
using testing::HasSubstr;
using Paths = std::vector<std::string>;

const std::string kSep(1, kPathSeparator);
constexpr fs::perms kReadOnly =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kAnyWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

// Every file and folder below root, as sorted paths relative to it ("/" after a folder).
Paths Tree(const fs::path& root) {
    Paths items;
    if (!fs::exists(root))
        return items;
    for (const auto& e : fs::recursive_directory_iterator(root))
        items.push_back(FromFsPath(fs::relative(e.path(), root)) + (e.is_directory() ? "/" : ""));
    std::sort(items.begin(), items.end());
    return items;
}

class CCopyDirDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        CFMBData settings(m_settings.Text(true));
        settings.COPY_SAKI_DIR = m_root;
        ASSERT_EQ(settings.WriteIni(), SaveResult::Saved);
        // Two stored documents, read-only as filed, and a note in a year folder.
        Store("2022年度/請求書(控)/2022年12月/[2022_12_31][(株)〇〇商事][500,000].pdf", "pdf-1");
        Store("2023年度/領収書/[2023_04_01][A商店][1,200].pdf", "pdf-2");
        test::WriteBytes(U8(m_root + "/2023年度/メモ.txt"), "note");
        fs::create_directories(U8(m_destination));
    }

    void Store(const std::string& relative, const std::string& bytes) {
        const fs::path path = U8(m_root + "/" + relative);
        fs::create_directories(path.parent_path());
        test::WriteBytes(path, bytes);
        fs::permissions(path, kReadOnly);
    }

    int Run(std::function<void(QDialog&)> play) {
        m_fake.modal.Queue("fmb::CCopyDirDlg", std::move(play));
        CCopyDirDlg dlg(m_fake.Env(m_settings.Text(true)));
        return m_fake.modal.RunModal(dlg);
    }

    // Runs the dialog with its defaults and the destination folder, and executes the copy.
    void Backup() {
        Run([&](QDialog& d) {
            SetTextOf(d, kDestinationField, m_destination);
            EXPECT_TRUE(ClickAndWaitForJob(d, kExecuteButton));
            d.close();
        });
    }

    test::TempDir m_settings;
    test::TempDir m_storage;
    std::string m_root = m_storage.Child("書類");
    std::string m_destination = m_storage.Child("退避");
    std::string m_backup = m_destination + kSep + "書類(20240105)";
    test::FakePlatform m_fake{{2024, 1, 5}};
};

TEST_F(CCopyDirDlgTest, OpensWithTheStorageRootAndADatedNameAndThePickersFillTheFields) {
    const std::string year = m_root + kSep + "2023年度";
    Run([&](QDialog& d) {
        EXPECT_EQ(TextOf(d, kSourceField), m_root);
        EXPECT_EQ(TextOf(d, kNameField), "書類(20240105)");
        EXPECT_EQ(TextOf(d, kDestinationField), "");

        // Choosing a source replaces the name, also one the user typed.
        SetTextOf(d, kNameField, "typed");
        m_fake.pickers.QueueFolder(year);
        ClickOn(d, kSourceBrowseButton);
        EXPECT_EQ(TextOf(d, kSourceField), year);
        EXPECT_EQ(TextOf(d, kNameField), "2023年度(20240105)");
        m_fake.pickers.QueueFolder(std::nullopt);
        SetTextOf(d, kSourceField, "");
        ClickOn(d, kSourceBrowseButton);
        EXPECT_EQ(TextOf(d, kSourceField), "");
        EXPECT_EQ(TextOf(d, kNameField), "2023年度(20240105)");

        m_fake.pickers.QueueFolder(m_destination);
        ClickOn(d, kDestinationBrowseButton);
        EXPECT_EQ(TextOf(d, kDestinationField), m_destination);
        m_fake.pickers.QueueFolder(std::nullopt);
        ClickOn(d, kDestinationBrowseButton);
        EXPECT_EQ(TextOf(d, kDestinationField), m_destination);
        d.close();
    });
    using Call = test::FakePickers::Call;
    constexpr auto kFolder = test::FakePickers::Kind::Folder;
    EXPECT_THAT(m_fake.pickers.Log(),
                ElementsAre(Call{kFolder, m_root}, Call{kFolder, m_root + kSep}, Call{kFolder, ""},
                            Call{kFolder, m_destination}));
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    EXPECT_TRUE(Tree(U8(m_destination)).empty());
}

TEST_F(CCopyDirDlgTest, CopiesTheWholeStorageIntoAFreshDatedFolder) {
    Run([&](QDialog& d) {
        SetTextOf(d, kDestinationField, m_destination);
        EXPECT_TRUE(ClickAndWaitForJob(d, kExecuteButton));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone";
        EXPECT_TRUE(d.isVisible());
        d.close();
    });
    EXPECT_THAT(m_fake.messages.Texts(), ElementsAre(std::string(kBackupDoneMessage)));
    EXPECT_EQ(Tree(U8(m_backup)), Tree(U8(m_root)));
    const fs::path copied =
        U8(m_backup + "/2022年度/請求書(控)/2022年12月/[2022_12_31][(株)〇〇商事][500,000].pdf");
    EXPECT_EQ(test::ReadBytes(copied), "pdf-1");
    EXPECT_EQ(fs::status(copied).permissions() & kAnyWrite, fs::perms::none) << "still read-only";
}

TEST_F(CCopyDirDlgTest, IntoAnExistingFolderOnlyAfterTheQuestionAndNeverOverAReadOnlyFile) {
    Backup();
    m_fake.messages.TakeTexts();
    test::WriteBytes(U8(m_root + "/2023年度/追加.txt"), "new");

    const std::string question =
        "すでに該当フォルダが存在します。データをそのフォルダにコピーしてよろしいですか？ \n\n"
        "※「キャンセル」して「バックアップ フォルダ名」に変更を加えて再度実行することを、"
        "お勧めします\n\n" +
        m_backup + kSep;
    m_fake.messages.QueueAnswer(false);
    Backup();
    EXPECT_THAT(m_fake.messages.TakeTexts(), ElementsAre(question));
    EXPECT_FALSE(fs::exists(U8(m_backup + "/2023年度/追加.txt"))) << "Cancel copies nothing";

    m_fake.messages.QueueAnswer(true);
    Backup();
    const std::vector<std::string> texts = m_fake.messages.TakeTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], question);
    EXPECT_NE(texts[1], kBackupDoneMessage);
    EXPECT_THAT(texts[1], HasSubstr("次のファイルをコピーできませんでした。"));
    EXPECT_THAT(texts[1], HasSubstr("読み取り専用"));
    EXPECT_THAT(texts[1], HasSubstr("[2022_12_31][(株)〇〇商事][500,000].pdf"));
}

TEST_F(CCopyDirDlgTest, RefusesWhatWouldCopyTheWrongThingOrToAnUnknownPlace) {
    const Paths before = Tree(m_storage.Path());
    Run([&](QDialog& d) {
        struct Step {
            std::string source, destination, name;
            int focus;
            std::string message;
        };
        const Step steps[] = {
            {m_root, "", "書類(20240105)", kDestinationField,
             "コピー先フォルダが指定されていません。"},
            {m_root, "退避", "書類(20240105)", kDestinationField, "フルパスで指定してください。"},
            {m_root, m_storage.Child("無い"), "書類(20240105)", kDestinationField,
             "コピー先フォルダが見つかりません。"},
            {"", m_destination, "書類(20240105)", kSourceField,
             "コピー対象フォルダが指定されていません。"},
            {m_storage.Child("無い"), m_destination, "x", kSourceField,
             "コピー対象フォルダが見つかりません。"},
            // The backup folder would be the source itself.
            {m_root, m_storage.Text(), "書類", kSourceField, "バックアップ先のフォルダと同じか"},
            // The name must be one folder inside the destination.
            {m_root, m_destination, "..", kNameField, "フォルダ名を一つだけ指定してください。"},
            {m_root, m_destination, ".", kNameField, "フォルダ名を一つだけ指定してください。"},
            {m_root, m_destination, "", kNameField, "フォルダ名を一つだけ指定してください。"},
            {m_root, m_destination, "../外", kNameField, "フォルダ名を一つだけ指定してください。"},
            {m_root, m_destination, "年度\\2024", kNameField,
             "フォルダ名を一つだけ指定してください。"},
        };
        for (const Step& step : steps) {
            SetTextOf(d, kSourceField, step.source);
            SetTextOf(d, kDestinationField, step.destination);
            SetTextOf(d, kNameField, step.name);
            EXPECT_TRUE(ClickAndWaitForJob(d, kExecuteButton));
            const std::vector<std::string> texts = m_fake.messages.TakeTexts();
            ASSERT_EQ(texts.size(), 1u) << step.message;
            EXPECT_THAT(texts[0], HasSubstr(step.message));
            EXPECT_EQ(QApplication::focusWidget(), &EditOf(d, step.focus)) << step.message;
        }
        d.close();
    });
    EXPECT_EQ(Tree(m_storage.Path()), before) << "nothing created or copied";
}

TEST_F(CCopyDirDlgTest, EscAndEnterCloseItUnlessAButtonHasTheFocus) {
    EXPECT_EQ(Run([&](QDialog& d) {
                  SetTextOf(d, kDestinationField, m_destination);
                  QTest::keyClick(&EditOf(d, kNameField), Qt::Key_Escape);
              }),
              QDialog::Rejected);
    EXPECT_EQ(Run([&](QDialog& d) {
                  SetTextOf(d, kDestinationField, m_destination);
                  EditOf(d, kNameField).setFocus();
                  QTest::keyClick(&EditOf(d, kNameField), Qt::Key_Return);
              }),
              QDialog::Accepted);
    EXPECT_TRUE(Tree(U8(m_destination)).empty()) << "closing copies nothing";

    // Enter on the focused 実行 button presses it; the dialog stays open.
    Run([&](QDialog& d) {
        SetTextOf(d, kDestinationField, m_destination);
        QPushButton& execute = *ControlOf<QPushButton>(d, kExecuteButton);
        execute.setFocus();
        QTest::keyClick(&execute, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return execute.isEnabled(); }));
        EXPECT_TRUE(d.isVisible());
        d.close();
    });
    EXPECT_THAT(m_fake.messages.Texts(), ElementsAre(std::string(kBackupDoneMessage)));
    EXPECT_EQ(Tree(U8(m_backup)), Tree(U8(m_root)));
}

// The controls a running copy locks: the fields, the browse and execute buttons, and the hidden
// OK that Enter would press.
constexpr int kLockedDuringCopy[] = {
    kSourceField, kSourceBrowseButton, kDestinationField, kDestinationBrowseButton,
    kNameField,   kExecuteButton,      ids::kOk};

// Every locked control is enabled (or none is), and 中止 the other way round.
void ExpectLocked(QDialog& d, bool locked) {
    for (int id : kLockedDuringCopy)
        EXPECT_EQ(ControlOf<QWidget>(d, id)->isEnabled(), !locked) << id;
    EXPECT_EQ(ControlOf<QPushButton>(d, kStopButton)->isEnabled(), locked);
}

std::string ProgressLine(QDialog& d) {
    return ControlOf<QLabel>(d, kProgressLine)->text().toStdString();
}

TEST_F(CCopyDirDlgTest, WhileACopyRunsTheWindowAnswersShowsHowFarItIsAndLocksItsControls) {
    Run([&](QDialog& d) {
        SetTextOf(d, kDestinationField, m_destination);
        ExpectLocked(d, false);
        ClickOn(d, kExecuteButton);
        ExpectLocked(d, true);
        // The close box asks; while the question is open the window goes on showing the copy,
        // which ends meanwhile, and keeps its controls locked until the answer.
        m_fake.messages.QueueAnswer(false, [&] {
            EXPECT_TRUE(QTest::qWaitFor([&] {
                return ProgressLine(d) == "3 / 3 ファイル　14 バイト / 14 バイト";
            })) << ProgressLine(d);
            EXPECT_EQ(ControlOf<QProgressBar>(d, kProgressBar)->value(), 1000);
            ExpectLocked(d, true);
        });
        d.close();
        EXPECT_TRUE(d.isVisible()) << "No: the copy goes on";
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return ControlOf<QPushButton>(d, kExecuteButton)->isEnabled(); }));
        ExpectLocked(d, false);
        EXPECT_EQ(ControlOf<QLabel>(d, kCurrentFile)->text(), QString()) << "no file being copied";
        d.close();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_THAT(m_fake.messages.Texts(),
                ElementsAre(std::string(kStopBackupQuestion), std::string(kBackupDoneMessage)));
    EXPECT_EQ(Tree(U8(m_backup)), Tree(U8(m_root)));
}

TEST_F(CCopyDirDlgTest, StopCloseAndEscStopTheCopyLeavingOnlyWholeFilesAndSayHowFar) {
    // Enough files that the copy is still at its start when the user stops it.
    for (int i = 0; i < 10; ++i)
        fs::create_directories(U8(m_root + "/2024年度/" + std::to_string(i)));
    for (int i = 0; i < 1500; ++i)
        test::WriteBytes(
            U8(m_root + "/2024年度/" + std::to_string(i % 10) + "/" + std::to_string(i) + ".pdf"),
            std::string(4096, static_cast<char>(i)));
    enum class Way { Stop, CloseBox, Esc };
    for (const Way way : {Way::Stop, Way::CloseBox, Way::Esc}) {
        SCOPED_TRACE(static_cast<int>(way));
        fs::remove_all(U8(m_backup));
        const int result = Run([&](QDialog& d) {
            SetTextOf(d, kDestinationField, m_destination);
            ClickOn(d, kExecuteButton);
            m_fake.messages.QueueAnswer(true);
            switch (way) {
            case Way::Stop:
                ClickOn(d, kStopButton);
                EXPECT_FALSE(ControlOf<QPushButton>(d, kStopButton)->isEnabled()) << "stopping";
                EXPECT_TRUE(QTest::qWaitFor(
                    [&] { return ControlOf<QPushButton>(d, kExecuteButton)->isEnabled(); }));
                ExpectLocked(d, false);
                d.close();
                return;
            case Way::CloseBox:
                d.close();
                break;
            case Way::Esc:
                ASSERT_EQ(QApplication::focusWidget(), ControlOf<QPushButton>(d, kStopButton));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                break;
            }
            EXPECT_TRUE(d.isVisible()) << "open until the copy has stopped";
            EXPECT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }));
        });
        EXPECT_EQ(result, QDialog::Rejected);
        const std::vector<std::string> texts = m_fake.messages.TakeTexts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0], kStopBackupQuestion);
        const auto counts = test::StoppedCopyCounts(texts[1]);
        ASSERT_TRUE(counts) << texts[1];
        const std::size_t copied = test::WholeCopies(m_backup, m_root).size();
        EXPECT_EQ(counts->copied, FormatThousands(std::to_string(copied)));
        EXPECT_LT(copied, 1503u);
    }
}

} // namespace
} // namespace fmb
