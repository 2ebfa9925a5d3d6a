#pragma once

#include "backup/CopyFolder.h"
#include "jobs/JobPanel.h"
#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBData.h"

class QLineEdit;

namespace fmb {

// "保存データコピー": copies the contents of the storage root, or of one fiscal-year folder, into
// a new backup folder (destination folder / backup folder name), with their folder structure.
// It reads FMB_Setting.ini when it opens and writes no settings. It keeps the standard keys:
// Esc closes it, and Enter closes it through the hidden OK unless a push button has the focus.
// The copy runs on a worker thread with its progress shown and a 中止 button; while it runs the
// other controls are locked, and Esc or the close box first asks whether to stop it.
//
//   CCopyDirDlg dlg(m_env, this);
//   m_env.modal.RunModal(dlg);
class CCopyDirDlg final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CCopyDirDlg(const Environment& env, QWidget* parent = nullptr);

    // Esc and the close box; while a copy runs, only once the user has agreed to stop it.
    void reject() override;

private:
    void OnInitDialog();
    void OnBrowseSource();
    void OnBrowseDestination();
    void OnExecute();
    void OnCopyFinished();

    Environment m_env;
    CFMBData m_data;
    QLineEdit& m_source;
    QLineEdit& m_destination;
    QLineEdit& m_name;
    CopyOutcome m_outcome; // written by the running copy, read once it has ended
    JobPanel m_panel;      // last: it ends a running copy before the members it writes go
};

} // namespace fmb
