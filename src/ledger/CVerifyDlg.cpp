#include "ledger/CVerifyDlg.h"

#include "jobs/ProgressText.h"
#include "res/ControlIds.h"

#include <QLineEdit>
#include <QPushButton>

namespace fmb {
namespace {

using namespace ids::verify;

// A message box longer than this many problems would not fit the screen.
constexpr std::size_t kProblemsShown = 15;

constexpr const char* kStopQuestion = "検証を中止しますか？";

} // namespace

std::string VerifyResultText(const VerifyReport& report) {
    std::string text;
    for (std::size_t i = 0; i < report.problems.size() && i < kProblemsShown; ++i)
        text += report.problems[i].Text() + "\n";
    if (report.problems.size() > kProblemsShown)
        text += "ほか " + std::to_string(report.problems.size() - kProblemsShown) + " 件\n";
    if (!text.empty())
        text += "\n";
    return text + report.Summary();
}

CVerifyDlg::CVerifyDlg(const Environment& env, QWidget* parent)
    : TemplateDialog(DialogId::Verify, parent), m_env(env), m_settings(env.settingsFolder),
      m_panel(*this, m_env.messages,
              {.text = kProgressLine,
               .currentItem = kCurrentFile,
               .bar = kProgressBar,
               .cancel = kStopButton,
               .locked = {kFolderField, kBrowseButton, kExecuteButton, ids::kCancel}},
              CopyProgressText, kStopQuestion) {
    m_settings.ReadIni();
    Control<QLineEdit>(kFolderField)->setText(QString::fromStdString(m_settings.COPY_SAKI_DIR));
    connect(Control<QPushButton>(kBrowseButton), &QPushButton::clicked, this,
            [this] { OnBrowse(); });
    connect(Control<QPushButton>(kExecuteButton), &QPushButton::clicked, this,
            [this] { OnExecute(); });
    connect(Control<QPushButton>(ids::kCancel), &QPushButton::clicked, this, [this] { reject(); });
}

void CVerifyDlg::OnBrowse() {
    const auto chosen =
        m_env.pickers.PickFolder(Control<QLineEdit>(kFolderField)->text().toStdString());
    if (chosen)
        Control<QLineEdit>(kFolderField)->setText(QString::fromStdString(*chosen));
}

void CVerifyDlg::OnExecute() {
    m_root = Control<QLineEdit>(kFolderField)->text().toStdString();
    if (m_root.empty()) {
        m_env.messages.Notice("検証するフォルダを指定してください。");
        return;
    }
    m_panel.Start(
        [this, root = m_root](JobMonitor& monitor) { m_report = VerifyStorage(root, &monitor); },
        [this] { OnFinished(); });
}

void CVerifyDlg::OnFinished() {
    m_env.messages.Notice(VerifyResultText(m_report));
    const std::vector<std::string> unrecorded = m_report.UnrecordedFiles();
    if (unrecorded.empty() || m_report.cancelled)
        return;
    if (!m_env.messages.Question(
            "台帳に記録のない書類が " + std::to_string(unrecorded.size()) +
            " 件あります。\n\n既存の書類（既存登録）として台帳に記録しますか？"))
        return;
    const std::size_t adopted =
        AdoptFiles(Ledger(m_root), unrecorded, m_settings.SYORI_TANTOUSYA, m_env.messages);
    m_env.messages.Notice(std::to_string(adopted) + " 件を既存登録しました。");
}

void CVerifyDlg::reject() {
    if (m_panel.MayClose())
        TemplateDialog::reject();
}

} // namespace fmb
