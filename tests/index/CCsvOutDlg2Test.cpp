// The index export dialog on a real storage tree filed with the program's own naming, real INI
// and CSV bytes in temporary folders, and the user's part played through the fakes.
#include "index/CCsvOutDlg2.h"

#include "filing/Composition.h"
#include "filing/CopyIntoStorage.h"
#include "index/CCsvOut.h"
#include "index/ExportChoices.h"
#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "res/ControlIds.h"
#include "settings/CFMBData.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

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

using namespace ids::csvOut;

using test::ClickAndWaitForJob;
using test::ClickOn;
using test::ControlOf;
using test::EditOf;
using test::SetTextOf;
using test::TextOf;
using test::U8;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::UnorderedElementsAreArray;
using Paths = std::vector<std::string>;

const std::string kSep(1, kPathSeparator);

QAbstractButton& RelativeBox(QDialog& d) {
    return *ControlOf<QAbstractButton>(d, kRelativeLinksBox);
}

// Fails the test on any message from filing the example documents.
class NoReports final : public Reporter {
public:
    void Notify(const std::string& message) override { ADD_FAILURE() << message; }
};

// The path cells (column G, between the quotes) of the rows of an index book, in file order.
Paths PathCells(const fs::path& csv) {
    const std::string text = cp932::Decode(test::ReadBytes(csv)).utf8;
    Paths cells;
    std::size_t start = text.find('\n') + 1; // after the header
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        EXPECT_NE(open, close) << line;
        cells.push_back(line.substr(open + 1, close - open - 1));
        start = end + 1;
    }
    return cells;
}

class CCsvOutDlg2Test : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(U8(m_root));
        test::WriteBytes(U8(m_source), "%PDF-1.4 example");
        WriteSettings(0);
    }

    // The storage root with dates and amounts written as 2022_12_31 and 500,000, a month folder,
    // and the given separator flag.
    void WriteSettings(int kugiri) {
        CFMBData settings(m_settings.Text(true));
        settings.COPY_SAKI_DIR = m_root;
        settings.HIDUKE_UB_FLG = 1;
        settings.KINGAKU_KANMA_FLG = 1;
        settings.DIR_MM_SEPA_FLG = 1;
        settings.KUGIRI_BER_FLG = kugiri;
        ASSERT_EQ(settings.WriteIni(), SaveResult::Saved);
    }

    // Files a copy of the example PDF as the filing window does; returns where it was stored.
    std::string File(const std::string& type, const std::string& date, const std::string& company,
                     const std::string& amount, const std::string& extraPlain = "",
                     const std::string& extraComma = "") {
        CFMBData settings(m_settings.Text(true));
        settings.ReadIni();
        const FilingEntry entry{m_source, type, date, company, amount, extraPlain, extraComma, ""};
        const Destination destination = ComposeDestination(entry, settings);
        NoReports reporter;
        EXPECT_EQ(
            CopyIntoStorage(m_source, m_root, destination.folder, destination.fileName, reporter),
            CopyResult::Filed);
        return StoredFilePath(destination.folder, destination.fileName);
    }

    // Three documents of the fiscal year 2022, one of them with two amounts (two rows).
    Paths FileYear2022() {
        return {File("請求書(控)", "20221231", "(株)〇〇商事", "500000"),
                File("領収書", "20230315", "A商店", "30000", "[120000]", "[120,000]"),
                File("請求書", "20220401", "(有)山田商店", "1200")};
    }

    int Run(std::function<void(QDialog&)> play) {
        m_fake.modal.Queue("fmb::CCsvOutDlg2", std::move(play));
        CCsvOutDlg2 dlg(m_fake.Env(m_settings.Text(true)));
        return m_fake.modal.RunModal(dlg);
    }

    // The CSV files anywhere below the storage folder.
    Paths CsvFiles() const {
        Paths found;
        for (const auto& e : fs::recursive_directory_iterator(m_storage.Path())) {
            if (e.path().extension() == ".csv")
                found.push_back(FromFsPath(e.path()));
        }
        return found;
    }

    test::TempDir m_settings;
    test::TempDir m_storage;
    std::string m_root = m_storage.Child("書類");
    std::string m_year = m_root + kSep + "2022年度";
    std::string m_source = m_storage.Child("doc001.pdf");
    test::FakePlatform m_fake{{2024, 1, 5}};
};

TEST_F(CCsvOutDlg2Test, OpensWithTheStorageRootAsOutputAndRelativeLinksAndFillsTheNameFromThePick) {
    const std::string other = m_storage.Child("out");
    Run([&](QDialog& d) {
        EXPECT_EQ(TextOf(d, kTargetField), "");
        EXPECT_EQ(TextOf(d, kOutputFolderField), m_root);
        EXPECT_EQ(TextOf(d, kFileNameField), "");
        EXPECT_TRUE(RelativeBox(d).isChecked());

        // The target's chooser starts in the storage root, then in the chosen folder.
        m_fake.pickers.QueueFolder(m_year);
        ClickOn(d, kTargetBrowseButton);
        EXPECT_EQ(TextOf(d, kTargetField), m_year);
        EXPECT_EQ(TextOf(d, kFileNameField), "2022年度_索引簿(作成日20240105).csv");
        m_fake.pickers.QueueFolder(std::nullopt);
        ClickOn(d, kTargetBrowseButton);
        EXPECT_EQ(TextOf(d, kTargetField), m_year);
        // Typing a target leaves the name alone.
        SetTextOf(d, kTargetField, m_root + kSep + "2023年度");
        EXPECT_EQ(TextOf(d, kFileNameField), "2022年度_索引簿(作成日20240105).csv");

        // The output chooser starts in the output folder, also when it is empty.
        m_fake.pickers.QueueFolder(other);
        ClickOn(d, kOutputBrowseButton);
        EXPECT_EQ(TextOf(d, kOutputFolderField), other);
        SetTextOf(d, kOutputFolderField, "");
        m_fake.pickers.QueueFolder(std::nullopt);
        ClickOn(d, kOutputBrowseButton);
        EXPECT_EQ(TextOf(d, kOutputFolderField), "");
        d.close();
    });
    using Call = test::FakePickers::Call;
    constexpr auto kFolder = test::FakePickers::Kind::Folder;
    EXPECT_THAT(m_fake.pickers.Log(),
                ElementsAre(Call{kFolder, m_root + kSep}, Call{kFolder, m_year},
                            Call{kFolder, m_root}, Call{kFolder, ""}));
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CCsvOutDlg2Test, EnterAndEscapeNeitherExportNorClose) {
    Run([&](QDialog& d) {
        SetTextOf(d, kTargetField, m_year);
        SetTextOf(d, kFileNameField, "book.csv");
        for (int id : {kTargetField, kOutputFolderField, kFileNameField}) {
            QWidget* field = ControlOf<QLineEdit>(d, id);
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            QTest::keyClick(field, Qt::Key_Escape);
        }
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        d.close();
    });
    EXPECT_TRUE(m_fake.messages.Texts().empty());
    EXPECT_TRUE(CsvFiles().empty());
}

TEST_F(CCsvOutDlg2Test, WritesPathsRelativeToTheOutputFolderThatHoldsTheTarget) {
    const Paths stored = FileYear2022();
    const int result = Run([&](QDialog& d) {
        m_fake.pickers.QueueFolder(m_year);
        ClickOn(d, kTargetBrowseButton);
        EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone";
        EXPECT_TRUE(ControlOf<QPushButton>(d, kExportButton)->isEnabled());
        EXPECT_EQ(ControlOf<QPushButton>(d, kExportButton)->text(),
                  QStringLiteral("リスト出力（索引簿CSVファイル出力）"));
        EXPECT_TRUE(d.isVisible());
        d.close();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_THAT(m_fake.messages.Texts(), ElementsAre(std::string(kExportDoneMessage)));

    const fs::path csv = U8(m_root + kSep + "2022年度_索引簿(作成日20240105).csv");
    const Paths cells = PathCells(csv);
    Paths expected;
    for (const std::string& path : stored) {
        const std::string relative = path.substr(m_root.size() + 1);
        expected.push_back(relative);
        if (relative.find("120,000") != std::string::npos)
            expected.push_back(relative); // a row for each amount
    }
    EXPECT_THAT(cells, UnorderedElementsAreArray(expected));
    EXPECT_THAT(cells, testing::Contains("2022年度" + kSep + "請求書(控)" + kSep + "2022年12月" +
                                         kSep + "[2022_12_31][(株)〇〇商事][500,000].pdf"));
}

TEST_F(CCsvOutDlg2Test, WritesFullPathsWhenTheBoxIsClearOrTheUserAgrees) {
    Paths stored = FileYear2022();
    stored.push_back(stored[1]); // the two rows of the file with two amounts
    const std::string out = m_storage.Child("out");
    fs::create_directories(U8(out));
    Run([&](QDialog& d) {
        SetTextOf(d, kTargetField, m_year);
        SetTextOf(d, kFileNameField, "clear.csv");
        RelativeBox(d).click();
        EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton)); // no question
        RelativeBox(d).click();
        SetTextOf(d, kOutputFolderField, out);
        SetTextOf(d, kFileNameField, "agreed.csv");
        m_fake.messages.QueueAnswer(true);
        EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton));
        d.close();
    });
    const std::string done(kExportDoneMessage);
    EXPECT_THAT(m_fake.messages.Texts(), ElementsAre(done, std::string(kFullPathQuestion), done));
    EXPECT_THAT(PathCells(U8(m_root + kSep + "clear.csv")), UnorderedElementsAreArray(stored));
    EXPECT_THAT(PathCells(U8(out + kSep + "agreed.csv")), UnorderedElementsAreArray(stored));
}

TEST_F(CCsvOutDlg2Test, CancelToTheFullPathQuestionWritesNothing) {
    FileYear2022();
    Run([&](QDialog& d) {
        SetTextOf(d, kTargetField, m_year);
        SetTextOf(d, kOutputFolderField,
                  m_year); // the target is not inside its own folder text plus separator
        SetTextOf(d, kFileNameField, "book.csv");
        m_fake.messages.QueueAnswer(false);
        EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton));
        d.close();
    });
    EXPECT_THAT(m_fake.messages.Texts(), ElementsAre(std::string(kFullPathQuestion)));
    EXPECT_TRUE(CsvFiles().empty());
}

TEST_F(CCsvOutDlg2Test, RefusesAnEmptyTargetOutputFolderOrNameAndPutsTheFocusThere) {
    FileYear2022();
    Run([&](QDialog& d) {
        struct Step {
            std::string target, output, name;
            int focus;
        };
        const Step steps[] = {
            {"", m_root, "book.csv", kTargetField},
            {m_year, "", "book.csv", kOutputFolderField},
            {m_year, "書類", "book.csv", kOutputFolderField},
            {m_year, m_root, "", kFileNameField},
        };
        for (const Step& step : steps) {
            SetTextOf(d, kTargetField, step.target);
            SetTextOf(d, kOutputFolderField, step.output);
            SetTextOf(d, kFileNameField, step.name);
            ControlOf<QPushButton>(d, kExportButton)->setFocus();
            EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton));
            EXPECT_EQ(QApplication::focusWidget(), &EditOf(d, step.focus)) << step.focus;
        }
        d.close();
    });
    const std::vector<std::string> texts = m_fake.messages.Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], kNoTargetFolderMessage);
    EXPECT_THAT(texts[1], HasSubstr("出力フォルダ名が指定されていません。"));
    EXPECT_THAT(texts[2], HasSubstr("フルパスで指定してください。"));
    EXPECT_THAT(texts[3], HasSubstr("出力ファイル名(CSV)が指定されていません。"));
    EXPECT_TRUE(CsvFiles().empty());
}

TEST_F(CCsvOutDlg2Test, AFileThatCannotBeWrittenIsReportedNotAnnouncedAsDone) {
    FileYear2022();
    Run([&](QDialog& d) {
        SetTextOf(d, kTargetField, m_year);
        SetTextOf(d, kOutputFolderField, m_storage.Child("missing"));
        SetTextOf(d, kFileNameField, "book.csv");
        RelativeBox(d).click();
        EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton));
        d.close();
    });
    const std::vector<std::string> texts = m_fake.messages.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_THAT(texts[0], HasSubstr("索引簿ファイルを作成できませんでした。"));
    EXPECT_THAT(texts[0], HasSubstr(m_storage.Child("missing") + kSep + "book.csv"));
}

TEST_F(CCsvOutDlg2Test, AMistypedTargetIsRefusedByNameAndTheBookStaysAsItWas) {
    FileYear2022();
    const std::string book = m_root + kSep + "book.csv";
    test::WriteBytes(U8(book), "the book of last week\n");
    const std::string mistyped = m_root + kSep + "2O22年度";
    Run([&](QDialog& d) {
        SetTextOf(d, kTargetField, mistyped);
        SetTextOf(d, kFileNameField, "book.csv");
        EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton));
        d.close();
    });
    EXPECT_THAT(m_fake.messages.Texts(),
                ElementsAre("リスト化対象フォルダが見つかりません。\n\n" + mistyped +
                            "\n\nファイルまたはフォルダが見つかりません。\n\n"
                            "索引簿ファイルは作成していません。"));
    EXPECT_EQ(test::ReadBytes(U8(book)), "the book of last week\n");
    EXPECT_THAT(CsvFiles(), ElementsAre(book));
}

TEST_F(CCsvOutDlg2Test, WarnsOfUnderscoreNamesOnOpeningYetStillExports) {
    WriteSettings(1);
    File("請求書(控)", "20221231", "(株)〇〇商事", "500000"); // fields joined with "_"
    Run([&](QDialog& d) {
        SetTextOf(d, kTargetField, m_year);
        SetTextOf(d, kFileNameField, "book.csv");
        EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton));
        d.close();
    });
    EXPECT_THAT(m_fake.messages.Texts(),
                ElementsAre("※設定ダイアログの ファイル名区切り文字「_」がON　になっています。\n\n"
                            "　索引簿CSV出力には対応していません！！",
                            std::string(kExportDoneMessage)));
    EXPECT_TRUE(PathCells(U8(m_root + kSep + "book.csv")).empty()) << "such names give no row";
}

TEST_F(CCsvOutDlg2Test, TellsOfTextsTheBookCannotHoldAfterTheEndMessage) {
    fs::create_directories(U8(m_year));
    test::WriteBytes(U8(m_year + kSep + "[20230315][A🙂商店][100].pdf"), "x");
    Run([&](QDialog& d) {
        SetTextOf(d, kTargetField, m_year);
        SetTextOf(d, kFileNameField, "book.csv");
        EXPECT_TRUE(ClickAndWaitForJob(d, kExportButton));
        d.close();
    });
    const std::vector<std::string> texts = m_fake.messages.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], kExportDoneMessage);
    EXPECT_THAT(texts[1], HasSubstr("[20230315][A🙂商店][100].pdf"));
}

// The controls a running export locks: a second export, or a change of the fields it read.
constexpr int kLockedDuringExport[] = {kTargetField,        kTargetBrowseButton, kOutputFolderField,
                                       kOutputBrowseButton, kFileNameField,      kOpenCsvButton,
                                       kRelativeLinksBox,   kExportButton};

// Every locked control is enabled (or none is), and 中止 the other way round.
void ExpectLocked(QDialog& d, bool locked) {
    for (int id : kLockedDuringExport)
        EXPECT_EQ(ControlOf<QWidget>(d, id)->isEnabled(), !locked) << id;
    EXPECT_EQ(ControlOf<QPushButton>(d, kStopButton)->isEnabled(), locked);
}

std::string ProgressLine(QDialog& d) {
    return ControlOf<QLabel>(d, kProgressLine)->text().toStdString();
}

QProgressBar& Bar(QDialog& d) {
    return *ControlOf<QProgressBar>(d, kProgressBar);
}

TEST_F(CCsvOutDlg2Test, WhileAnExportRunsTheWindowAnswersShowsTheCountAndLocksItsControls) {
    FileYear2022();
    Run([&](QDialog& d) {
        SetTextOf(d, kTargetField, m_year);
        SetTextOf(d, kFileNameField, "book.csv");
        ExpectLocked(d, false);
        ClickOn(d, kExportButton);
        ExpectLocked(d, true);
        // Enter and Esc close nothing and ask nothing, even while an export runs.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(m_fake.messages.Texts().empty());
        // 中止 asks; while the question is open the window goes on showing the export, which
        // ends meanwhile, and keeps its controls locked until the answer.
        m_fake.messages.QueueAnswer(false, [&] {
            EXPECT_TRUE(QTest::qWaitFor([&] {
                return ProgressLine(d) == "フォルダ 7 件、行 4 件";
            })) << ProgressLine(d);
            EXPECT_EQ(Bar(d).maximum(), 0) << "no total: the bar moves to and fro";
            ExpectLocked(d, true);
        });
        ClickOn(d, kStopButton);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return ControlOf<QPushButton>(d, kExportButton)->isEnabled(); }));
        ExpectLocked(d, false);
        EXPECT_EQ(Bar(d).maximum(), 1000);
        EXPECT_EQ(Bar(d).value(), 1000) << "full once done";
        EXPECT_TRUE(d.isVisible());
        d.close();
        EXPECT_FALSE(d.isVisible()) << "no export runs: the close box closes at once";
    });
    EXPECT_THAT(m_fake.messages.Texts(),
                ElementsAre(std::string(kStopExportQuestion), std::string(kExportDoneMessage)));
    EXPECT_TRUE(m_fake.shell.Log().empty());
    EXPECT_EQ(PathCells(U8(m_root + kSep + "book.csv")).size(), 4u);
}

TEST_F(CCsvOutDlg2Test, StopOrTheCloseBoxStopsTheExportAndTheOldBookStaysWithoutATemporary) {
    // Enough files that the export is still at its start when the user stops it.
    for (int i = 0; i < 10; ++i)
        fs::create_directories(U8(m_year + kSep + std::to_string(i)));
    for (int i = 0; i < 3000; ++i)
        test::WriteBytes(U8(m_year + kSep + std::to_string(i % 10) + kSep + "[20230315][A][" +
                            std::to_string(i) + "].pdf"),
                         "");
    const std::string book = m_root + kSep + "book.csv";
    test::WriteBytes(U8(book), "the book of last week\n");
    for (const bool viaCloseBox : {false, true}) {
        SCOPED_TRACE(viaCloseBox);
        const int result = Run([&](QDialog& d) {
            SetTextOf(d, kTargetField, m_year);
            SetTextOf(d, kFileNameField, "book.csv");
            ClickOn(d, kExportButton);
            m_fake.messages.QueueAnswer(true);
            if (viaCloseBox) {
                d.close();
                EXPECT_TRUE(d.isVisible()) << "open until the export has stopped";
                EXPECT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }));
                return;
            }
            ClickOn(d, kStopButton);
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return ControlOf<QPushButton>(d, kExportButton)->isEnabled(); }));
            ExpectLocked(d, false);
            EXPECT_EQ(Bar(d).maximum(), 1000);
            EXPECT_EQ(Bar(d).value(), 0) << "empty once stopped";
            d.close();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_THAT(m_fake.messages.TakeTexts(),
                    ElementsAre(std::string(kStopExportQuestion),
                                "索引簿の出力を中止しました。\n\n" + book +
                                    "\n\n索引簿ファイルは書き込んでいません。以前の索引簿ファイル"
                                    "があれば、そのまま残っています。"));
        EXPECT_EQ(test::ReadBytes(U8(book)), "the book of last week\n");
        Paths beside;
        for (const auto& e : fs::directory_iterator(U8(m_root)))
            beside.push_back(FromFsPath(e.path().filename()));
        EXPECT_THAT(beside, UnorderedElementsAreArray(Paths{"book.csv", "2022年度"}))
            << "no temporary left";
    }
}

TEST_F(CCsvOutDlg2Test, ConfirmOpensTheFileTheFieldsNameNow) {
    Run([&](QDialog& d) {
        SetTextOf(d, kFileNameField, "2022年度_索引簿(作成日20240105).csv");
        ClickOn(d, kOpenCsvButton);
        SetTextOf(d, kOutputFolderField, m_root + kSep);
        SetTextOf(d, kFileNameField, "other.csv");
        ClickOn(d, kOpenCsvButton);
        d.close();
    });
    using Opened = test::FakeShell::Opened;
    constexpr auto kPath = test::FakeShell::Kind::Path;
    EXPECT_THAT(m_fake.shell.Log(),
                ElementsAre(Opened{kPath, m_root + kSep + "2022年度_索引簿(作成日20240105).csv"},
                            Opened{kPath, m_root + kSep + "other.csv"}));
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CCsvOutDlg2Test, ConfirmTellsWhenNothingOpensTheFile) {
    m_fake.shell.SetOpens(false);
    Run([&](QDialog& d) {
        SetTextOf(d, kOutputFolderField, m_root + kSep);
        SetTextOf(d, kFileNameField, "book.csv");
        ClickOn(d, kOpenCsvButton);
        EXPECT_TRUE(d.isVisible());
        d.close();
    });
    EXPECT_THAT(m_fake.messages.Texts(),
                ElementsAre("「" + m_root + kSep +
                            "book.csv」を開けませんでした。\n\nファイル（"
                            "フォルダ）がないか、開くプログラムが見つかりません。"));
}

} // namespace
} // namespace fmb
