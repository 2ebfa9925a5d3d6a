#include "index/CCsvOutDlg2.h"

#include "index/ExportChoices.h"
#include "jobs/ProgressText.h"
#include "platform/DesktopOpen.h"
#include "platform/KeyFilter.h"
#include "platform/PathText.h"
#include "res/ControlIds.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace fmb {

using namespace ids::csvOut;

CCsvOutDlg2::CCsvOutDlg2(const Environment& env, QWidget* parent)
    : TemplateDialog(DialogId::CsvOut, parent), m_env(env), m_data(env.settingsFolder),
      m_target(*Control<QLineEdit>(kTargetField)),
      m_outputFolder(*Control<QLineEdit>(kOutputFolderField)),
      m_fileName(*Control<QLineEdit>(kFileNameField)),
      m_relative(*Control<QAbstractButton>(kRelativeLinksBox)),
      m_export(*Control<QPushButton>(kExportButton)),
      // A run locks a second export, and any change of the fields it read.
      m_panel(
          *this, m_env.messages,
          {.text = kProgressLine,
           .bar = kProgressBar,
           .cancel = kStopButton,
           .locked = {kTargetField, kTargetBrowseButton, kOutputFolderField, kOutputBrowseButton,
                      kFileNameField, kOpenCsvButton, kRelativeLinksBox, kExportButton}},
          [](const JobSnapshot& snapshot, double) { return ExportProgressText(snapshot); },
          std::string(kStopExportQuestion)) {
    connect(Control<QPushButton>(kTargetBrowseButton), &QPushButton::clicked, this,
            [this] { OnBrowseTarget(); });
    connect(Control<QPushButton>(kOutputBrowseButton), &QPushButton::clicked, this,
            [this] { OnBrowseOutput(); });
    connect(&m_export, &QPushButton::clicked, this, [this] { OnExport(); });
    connect(Control<QPushButton>(kOpenCsvButton), &QPushButton::clicked, this,
            [this] { OnOpenCsv(); });
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
    m_panel.Start(
        [this, outputPath = IndexBookPath(outputFolder, fileName), target,
         linkBase = links.linkBase](JobMonitor& monitor) {
            CCsvOut worker;
            m_result = worker.Output(outputPath, target, linkBase, &monitor);
        },
        [this] { OnExportFinished(); });
}

void CCsvOutDlg2::OnExportFinished() {
    m_env.messages.Notice(m_result.message);
    if (!m_result.warning.empty())
        m_env.messages.Notice(m_result.warning);
    m_export.setFocus();
}

void CCsvOutDlg2::OnOpenCsv() {
    OpenPathOrTell(
        m_env, IndexBookPath(m_outputFolder.text().toStdString(), m_fileName.text().toStdString()));
}

void CCsvOutDlg2::reject() {
    if (m_panel.MayClose())
        TemplateDialog::reject();
}

} // namespace fmb
