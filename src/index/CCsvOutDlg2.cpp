#include "index/CCsvOutDlg2.h"

#include "filing/Composition.h"
#include "index/CCsvOut.h"
#include "index/ExportChoices.h"
#include "platform/BusyCursor.h"
#include "platform/DesktopOpen.h"
#include "platform/KeyFilter.h"
#include "platform/PathText.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace fmb {
namespace {

// How often a running scan brings the window up to date: often enough to feel alive, rarely
// enough to cost the scan nothing.
constexpr qint64 kRefreshMilliseconds = 50;

// The controls a run locks: a second export, or a change of the fields it read, must wait.
constexpr int kLockedControls[] = {1066, 1064, 1067, 1069, 1068, 1065, 1085, 1063};

} // namespace

CCsvOutDlg2::CCsvOutDlg2(const Environment& env, QWidget* parent)
    : TemplateDialog(DialogId::CsvOut, parent), m_env(env), m_data(env.settingsFolder),
      m_target(*Control<QLineEdit>(1066)), m_outputFolder(*Control<QLineEdit>(1067)),
      m_fileName(*Control<QLineEdit>(1068)), m_relative(*Control<QAbstractButton>(1085)),
      m_export(*Control<QPushButton>(1063)), m_exportCaption(m_export.text()) {
    connect(Control<QPushButton>(1064), &QPushButton::clicked, this, [this] { OnBrowseTarget(); });
    connect(Control<QPushButton>(1069), &QPushButton::clicked, this, [this] { OnBrowseOutput(); });
    connect(&m_export, &QPushButton::clicked, this, [this] { OnExport(); });
    connect(Control<QPushButton>(1065), &QPushButton::clicked, this, [this] { OnOpenCsv(); });
    InstallCommonKeyFilter(*this);
    OnInitDialog();
}

void CCsvOutDlg2::OnInitDialog() {
    m_data.ReadIni();
    m_outputFolder.setText(QString::fromStdString(m_data.COPY_SAKI_DIR));
    m_relative.setChecked(true);
    if (m_data.KUGIRI_BER_FLG == 1)
        m_env.messages.Notice(std::string(kUnderscoreNamesWarning));
}

void CCsvOutDlg2::OnBrowseTarget() {
    std::string initial = m_target.text().toStdString();
    if (initial.empty())
        initial = m_data.COPY_SAKI_DIR + kPathSeparator;
    const auto chosen = m_env.pickers.PickFolder(initial);
    if (!chosen)
        return;
    m_target.setText(QString::fromStdString(*chosen));
    m_fileName.setText(QString::fromStdString(DefaultIndexBookName(*chosen, m_env.clock)));
}

void CCsvOutDlg2::OnBrowseOutput() {
    if (const auto chosen = m_env.pickers.PickFolder(m_outputFolder.text().toStdString()))
        m_outputFolder.setText(QString::fromStdString(*chosen));
}

void CCsvOutDlg2::OnExport() {
    if (m_running)
        return;
    const std::string target = m_target.text().toStdString();
    const std::string outputFolder = m_outputFolder.text().toStdString();
    const std::string fileName = m_fileName.text().toStdString();
    if (const auto refusal = CheckExportFields(target, outputFolder, fileName)) {
        m_env.messages.Notice(refusal->message);
        switch (refusal->focus) {
        case ExportField::Target:
            m_target.setFocus();
            break;
        case ExportField::OutputFolder:
            m_outputFolder.setFocus();
            break;
        case ExportField::FileName:
            m_fileName.setFocus();
            break;
        }
        return;
    }
    const LinkChoice links = ChooseLinks(target, outputFolder, m_relative.isChecked());
    if (links.askFullPaths && !m_env.messages.Question(std::string(kFullPathQuestion)))
        return;
    RunExport(IndexBookPath(outputFolder, fileName), target, links.linkBase);
}

void CCsvOutDlg2::RunExport(const std::string& outputPath, const std::string& target,
                            const std::string& linkBase) {
    ExportResult result;
    {
        // Unlocked and the cursor back before any message, however the run ended.
        struct RunLock {
            CCsvOutDlg2& dialog;
            explicit RunLock(CCsvOutDlg2& d) : dialog(d) { dialog.SetRunning(true); }
            ~RunLock() { dialog.SetRunning(false); }
        };
        BusyCursor busy;
        RunLock lock(*this);
        CCsvOut worker;
        result = worker.Output(outputPath, target, linkBase,
                               [this](std::size_t entriesSeen) { OnScanProgress(entriesSeen); });
    }
    m_env.messages.Notice(result.message);
    if (!result.warning.empty())
        m_env.messages.Notice(result.warning);
}

void CCsvOutDlg2::OnScanProgress(std::size_t entriesSeen) {
    if (m_sinceRefresh.isValid() && m_sinceRefresh.elapsed() < kRefreshMilliseconds)
        return;
    m_export.setText(
        QStringLiteral("索引簿を作成しています…（%1 件を確認）")
            .arg(QString::fromStdString(FormatThousands(std::to_string(entriesSeen)))));
    QCoreApplication::processEvents();
    m_sinceRefresh.start();
}

void CCsvOutDlg2::SetRunning(bool running) {
    m_running = running;
    for (int id : kLockedControls)
        Control<QWidget>(id)->setEnabled(!running);
    if (running) {
        m_sinceRefresh.invalidate(); // the first entry shows the locked window at once
        return;
    }
    m_export.setText(m_exportCaption);
    m_export.setFocus();
}

void CCsvOutDlg2::OnOpenCsv() {
    OpenPathOrTell(
        m_env, IndexBookPath(m_outputFolder.text().toStdString(), m_fileName.text().toStdString()));
}

void CCsvOutDlg2::reject() {
    if (m_running)
        return;
    TemplateDialog::reject();
}

} // namespace fmb
