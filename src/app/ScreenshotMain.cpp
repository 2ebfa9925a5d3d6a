// fumibako-screenshot FOLDER INVOICE_PDF: draws the pictures of the README into FOLDER: the filing
// window with a filled-in entry (filing-window.png), the settings dialog (settings-dialog.png), the
// menu (menu.png), the correction dialog (correct-dialog.png), the index export dialog ready to
// write the book of a fiscal year (index-export.png), the backup dialog ready to copy
// (backup-copy.png), the backup dialog in the middle of a large backup (backup-running.png), the
// search window with the hits of a counterparty (search-window.png), and the filing window beside
// its preview of the invoice, with the proposals clicked (preview.png). It works in a temporary
// settings folder with a storage root holding a few stored names, the default document types and a
// few companies, and files, writes and copies nothing: the running backup is a job that reports a
// fixed point of a copy and waits.
#include "app/CFumibakoDlg.h"
#include "app/CMenuDlg.h"
#include "backup/BackupChoices.h"
#include "backup/CCopyDirDlg.h"
#include "index/CCsvOutDlg2.h"
#include "index/ExportChoices.h"
#include "jobs/JobPanel.h"
#include "jobs/ProgressText.h"
#include "ledger/CCorrectDlg.h"
#include "platform/ListBox.h"
#include "platform/QtPorts.h"
#include "res/ControlIds.h"
#include "search/CKensakuDlg.h"
#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"
#include "settings/CSettingDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

namespace ids = fmb::ids;
namespace filing = ids::filing;
namespace keypad = ids::keypad;
namespace csvOut = ids::csvOut;

// The date of the example in the README.
class ExampleClock final : public fmb::Clock {
public:
    fmb::LocalDate Today() const override { return {2022, 12, 31}; }
};

std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

bool PrepareSettings(const QTemporaryDir& dir) {
    const QString root = dir.filePath(QStringLiteral("書類"));
    const QString scans = dir.filePath(QStringLiteral("scan"));
    if (!QDir().mkpath(root + QStringLiteral("/2022年度")) || !QDir().mkpath(scans))
        return false;
    QFile source(scans + QStringLiteral("/doc001.pdf"));
    if (!source.open(QIODevice::WriteOnly))
        return false;
    // Documents filed earlier, for the search window.
    for (const char* stored : {
             "2022年度/請求書(控)/2022年10月/[2022_10_31][〇〇商事(株)][330,000].pdf",
             "2022年度/請求書(控)/2022年11月/[2022_11_30][〇〇商事(株)][500,000][120,000].pdf",
             "2022年度/請求書(控)/2022年11月/"
             "[2022_11_30][(株)いろは物産][88,000]＜請求書(控)＞11月分.pdf",
             "2022年度/領収書/2022年12月/[2022_12_05][ｻｸﾗ電機(株)][12,100]前払い.pdf",
             "2022年度/請求書/2023年01月/20230120_〇〇商事㈱_2,100.pdf",
             "2021年度/請求書(控)/2022年03月/[2022_03_31][〇〇商事(株)][275,000]再発行.pdf",
         }) {
        const QString path = root + QStringLiteral("/") + QString::fromUtf8(stored);
        QFile document(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !document.open(QIODevice::WriteOnly))
            return false;
    }

    const std::string folder = Native(dir.path()) + QDir::separator().toLatin1();
    fmb::CFMBData settings(folder);
    settings.ReadIni(); // the values of a first start
    settings.COPY_SAKI_DIR = Native(root);
    fmb::CFMBSyameiData types(folder);
    types.SetDefaultTypes();
    types.ExtendTypes();
    types.SetCompanyNames(1, {"〇〇商事(株)", "(株)いろは物産", "さくら電機(株)", "(有)山田商店"});
    return settings.WriteIni() == fmb::SaveResult::Saved &&
           types.WriteIni() == fmb::SaveResult::Saved;
}

// Shows the window, waits until it is drawn and writes it into folder/name.
bool Save(QWidget& window, const QString& folder, const char* name) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "fumibako-screenshot: %s did not show\n", name);
        return false;
    }
    QTest::qWait(200);
    if (!window.grab().save(QDir(folder).filePath(QString::fromLatin1(name)), "PNG")) {
        std::fprintf(stderr, "fumibako-screenshot: cannot write %s\n", name);
        return false;
    }
    return true;
}

// Holds the backup dialog in the middle of a copy of 40 GB: the dialog's progress controls,
// driven the way its own copy drives them, by a job that stands at 1,234 of 5,678 files and
// waits until it is stopped. After a few seconds the time left can be told.
bool SaveRunningBackup(fmb::CCopyDirDlg& backup, const fmb::Environment& env,
                       const std::string& currentFile, const QString& folder) {
    using namespace ids::copyDir;
    constexpr std::uint64_t kGigabyte = std::uint64_t{1} << 30;
    fmb::JobPanel panel(
        backup, env.messages,
        {.text = kProgressLine,
         .currentItem = kCurrentFile,
         .bar = kProgressBar,
         .cancel = kStopButton,
         .locked = {kSourceField, kSourceBrowseButton, kDestinationField, kDestinationBrowseButton,
                    kNameField, kExecuteButton, ids::kOk}},
        fmb::CopyProgressText, std::string(fmb::kStopBackupQuestion));
    panel.Start(
        [=](fmb::JobMonitor& monitor) {
            monitor.AddToTotal(5678, 40 * kGigabyte);
            monitor.SetTotalFinal();
            monitor.AddItemsDone(1234);
            monitor.AddBytesDone(3 * kGigabyte / 5);
            monitor.SetCurrentItem(currentFile);
            while (!monitor.CancelRequested())
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        },
        {});
    backup.show();
    QTest::qWait(2500);
    return Save(backup, folder, "backup-running.png");
}

// The filing window and its preview side by side, the invoice's proposals clicked into a
// received invoice's entry.
bool SavePreview(fmb::CFumibakoDlg& window, const QString& invoice, const QString& folder) {
    window.show();
    fmb::CPreviewWnd& preview = window.Preview();
    preview.show();
    window.Control<QAbstractButton>(filing::kTypeButton1)->click(); // 請求書
    window.Control<QLineEdit>(filing::kSourceField)->setText(invoice);
    if (!QTest::qWaitFor([&] { return !preview.Reading(); }, 30000)) {
        std::fprintf(stderr, "fumibako-screenshot: the invoice was not read\n");
        return false;
    }
    for (const char* proposal : {"dateProposal", "companyProposal", "amountProposal"})
        preview.findChild<QToolButton*>(QString::fromLatin1(proposal))->click();
    preview.resize(560, window.height());
    QTest::qWait(300);
    const QPixmap left = window.grab();
    const QPixmap right = preview.grab();
    QPixmap both(left.width() + 8 + right.width(), std::max(left.height(), right.height()));
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(left.width() + 8, 0, right);
    painter.end();
    if (!both.save(QDir(folder).filePath(QStringLiteral("preview.png")), "PNG")) {
        std::fprintf(stderr, "fumibako-screenshot: cannot write preview.png\n");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fumibako-screenshot FOLDER INVOICE_PDF\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    if (!QDir().mkpath(target) || !dir.isValid() || !PrepareSettings(dir)) {
        std::fprintf(stderr, "fumibako-screenshot: cannot prepare the folders\n");
        return 1;
    }

    fmb::QtMessages messages;
    fmb::QtShell shell;
    fmb::QtPickers pickers;
    fmb::QtModalRunner modal;
    ExampleClock clock;
    const std::string folder = Native(dir.path()) + QDir::separator().toLatin1();
    const fmb::Environment env{messages, shell, pickers, modal, clock, folder};

    fmb::CFumibakoDlg window(env);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "fumibako-screenshot: the window did not show\n");
        return 1;
    }
    // The entry of the README's example, made with the window's own controls.
    window.Control<QLineEdit>(filing::kSourceField)
        ->setText(QString::fromStdString(Native(dir.filePath(QStringLiteral("scan/doc001.pdf")))));
    window.Control<QAbstractButton>(filing::kTypeButton2)->click(); // 請求書(控)
    window.Control<QAbstractButton>(filing::kTodayButton)->click(); // 本日
    fmb::ListBox* companies = window.Control<fmb::ListBox>(filing::kCompanyList);
    const QList<QListWidgetItem*> example =
        companies->findItems(QStringLiteral("〇〇商事(株)"), Qt::MatchExactly);
    if (!example.isEmpty())
        companies->setCurrentItem(example.first());
    for (int key : {keypad::k5, keypad::k0, keypad::k00, keypad::k00})
        window.Control<QAbstractButton>(key)->click();
    window.Control<QLineEdit>(filing::kRemarkField)->setFocus();
    if (!Save(window, target, "filing-window.png"))
        return 1;
    window.Control<QLineEdit>(filing::kRemarkField)->setText(QString());
    if (!SavePreview(window, QString::fromLocal8Bit(argv[2]), target))
        return 1;
    window.hide();

    fmb::CSettingDlg settings(env);
    if (!Save(settings, target, "settings-dialog.png"))
        return 1;
    settings.hide();

    // The index book of the fiscal year 2022, as 参照 fills the fields.
    fmb::CCsvOutDlg2 index(env);
    const std::string year = Native(dir.filePath(QStringLiteral("書類/2022年度")));
    index.Control<QLineEdit>(csvOut::kTargetField)->setText(QString::fromStdString(year));
    index.Control<QLineEdit>(csvOut::kFileNameField)
        ->setText(QString::fromStdString(fmb::DefaultIndexBookName(year, clock)));
    if (!Save(index, target, "index-export.png"))
        return 1;
    index.hide();

    fmb::CMenuDlg menu(env);
    if (!Save(menu, target, "menu.png"))
        return 1;
    menu.hide();

    // A correction of an amount typed wrongly, as the user is about to press 訂正.
    fmb::CCorrectDlg correct(env);
    const std::vector<std::pair<int, std::string>> fields = {
        {ids::correct::kStoredField,
         Native(dir.filePath(QStringLiteral(
             "書類/2022年度/請求書(控)/2022年12月/[2022_12_31][〇〇商事(株)][50,000].pdf")))},
        {ids::correct::kTypeField, "請求書(控)"},
        {ids::correct::kDateField, "20221231"},
        {ids::correct::kCompanyField, "〇〇商事(株)"},
        {ids::correct::kAmountField, "500000"},
        {ids::correct::kReasonField, "金額の入力誤り（請求書の金額は500,000円）"},
        {ids::correct::kPersonField, "山田 花子"},
    };
    for (const auto& [id, text] : fields)
        correct.Control<QLineEdit>(id)->setText(QString::fromStdString(text));
    correct.Control<QLineEdit>(ids::correct::kReasonField)->setFocus();
    if (!Save(correct, target, "correct-dialog.png"))
        return 1;
    correct.hide();
    // The documents of one counterparty, whichever way their names spell its company form.
    fmb::CKensakuDlg search(env);
    search.findChild<QLineEdit*>(QStringLiteral("companyField"))
        ->setText(QStringLiteral("〇〇商事(株)"));
    search.findChild<QLineEdit*>(QStringLiteral("fromField"))->setText(QStringLiteral("20220401"));
    search.resize(980, 330);
    if (!Save(search, target, "search-window.png"))
        return 1;
    search.hide();

    // A backup of the whole storage into a folder on another disk.
    fmb::CCopyDirDlg backup(env);
    backup.Control<QLineEdit>(ids::copyDir::kDestinationField)
        ->setText(QString::fromStdString(Native(dir.filePath(QStringLiteral("USB/退避")))));
    if (!Save(backup, target, "backup-copy.png"))
        return 1;
    const std::string stored = Native(dir.filePath(QStringLiteral(
        "書類/2022年度/請求書(控)/2022年12月/[2022_12_31][〇〇商事(株)][500,000].pdf")));
    return SaveRunningBackup(backup, env, stored, target) ? 0 : 1;
}
