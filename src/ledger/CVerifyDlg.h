#pragma once

#include "jobs/JobPanel.h"
#include "ledger/Verification.h"
#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBData.h"

namespace fmb {

// "検証": checks the storage root (or a backup of it) against its ledger on a worker thread, with
// a progress bar and 中止, and shows what it found. When it finds files no record claims, it
// offers to record them as 既存登録.
//
//   CVerifyDlg dlg(m_env, this);
//   m_env.modal.RunModal(dlg);
class CVerifyDlg final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CVerifyDlg(const Environment& env, QWidget* parent = nullptr);

    // Esc and the close box; while a verification runs, only once the user has agreed to stop.
    void reject() override;

private:
    void OnBrowse();
    void OnExecute();
    void OnFinished();

    Environment m_env;
    CFMBData m_settings;
    std::string m_root;    // the folder being verified
    VerifyReport m_report; // written by the running job, read once it has ended
    JobPanel m_panel;      // last: it ends a running job before the members it writes go
};

// The end message of a verification: the problems (at most a screenful) and the summary.
std::string VerifyResultText(const VerifyReport& report);

} // namespace fmb
