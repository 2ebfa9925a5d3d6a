#include "backup/CCopyDirDlg.h"

#include "backup/BackupChoices.h"
#include "jobs/ProgressText.h"
#include "platform/PathText.h"
#include "res/ControlIds.h"

#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace fmb {

using namespace ids::copyDir;

CCopyDirDlg::CCopyDirDlg(const Environment& env, QWidget* parent)
    : TemplateDialog(DialogId::CopyDir, parent), m_env(env), m_data(env.settingsFolder),
      m_source(*Control<QLineEdit>(kSourceField)),
      m_destination(*Control<QLineEdit>(kDestinationField)),
      m_name(*Control<QLineEdit>(kNameField)),
      m_panel(*this, m_env.messages,
              {.text = kProgressLine,
               .currentItem = kCurrentFile,
               .bar = kProgressBar,
               .cancel = kStopButton,
               .locked = {kSourceField, kSourceBrowseButton, kDestinationField,
                          kDestinationBrowseButton, kNameField, kExecuteButton, ids::kOk}},
              CopyProgressText, std::string(kStopBackupQuestion)) {
    connect(Control<QPushButton>(kSourceBrowseButton), &QPushButton::clicked, this,
            [this] { OnBrowseSource(); });
    connect(Control<QPushButton>(kDestinationBrowseButton), &QPushButton::clicked, this,
            [this] { OnBrowseDestination(); });
    connect(Control<QPushButton>(kExecuteButton), &QPushButton::clicked, this,
            [this] { OnExecute(); });
    OnInitDialog();
}

void CCopyDirDlg::OnInitDialog() {
    m_data.ReadIni();
    m_source.setText(QString::fromStdString(m_data.COPY_SAKI_DIR));
    m_name.setText(QString::fromStdString(DefaultBackupName(m_data.COPY_SAKI_DIR, m_env.clock)));
}

void CCopyDirDlg::OnBrowseSource() {
    std::string initial = m_source.text().toStdString();
    if (initial.empty())
        initial = m_data.COPY_SAKI_DIR + kPathSeparator;
    const auto chosen = m_env.pickers.PickFolder(initial);
    if (!chosen)
        return;
    m_source.setText(QString::fromStdString(*chosen));
    m_name.setText(QString::fromStdString(DefaultBackupName(*chosen, m_env.clock)));
}

void CCopyDirDlg::OnBrowseDestination() {
    if (const auto chosen = m_env.pickers.PickFolder(m_destination.text().toStdString()))
        m_destination.setText(QString::fromStdString(*chosen));
}

void CCopyDirDlg::OnExecute() {
    const std::string source = WithTrailingSeparator(m_source.text().toStdString());
    const std::string destination = m_destination.text().toStdString();
    const std::string name = m_name.text().toStdString();
    if (const auto refusal = CheckBackupName(name)) {
        m_env.messages.Notice(*refusal);
        m_name.setFocus();
        return;
    }
    const std::string backupFolder = BackupFolderPath(destination, name);

    if (const auto refusal = CheckBackup(source, backupFolder)) {
        m_env.messages.Notice(*refusal);
        m_source.setFocus();
        return;
    }
    if (const auto refusal = CheckBackupDestination(destination)) {
        m_env.messages.Notice(*refusal);
        m_destination.setFocus();
        return;
    }
    if (BackupFolderExists(backupFolder) &&
        !m_env.messages.Question(ExistingBackupQuestion(backupFolder)))
        return;

    m_panel.Start(
        [this, source, backupFolder](JobMonitor& monitor) {
            m_outcome = CopyFolder(source, backupFolder, &monitor);
        },
        [this] { OnCopyFinished(); });
}

void CCopyDirDlg::OnCopyFinished() {
    m_env.messages.Notice(m_outcome.message);
    Control<QPushButton>(kExecuteButton)->setFocus();
}

void CCopyDirDlg::reject() {
    if (m_panel.MayClose())
        TemplateDialog::reject();
}

} // namespace fmb
