#pragma once

#include "index/CCsvOut.h"
#include "jobs/JobPanel.h"
#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBData.h"

class QAbstractButton;
class QLineEdit;
class QPushButton;

namespace fmb {

// "索引簿出力": writes the index book of a folder (normally a fiscal-year folder) as a CSV file,
// with links relative to the CSV's folder or full paths, and opens the written book. It reads
// FMB_Setting.ini when it opens and writes no settings. Enter and Esc do not close it; the close
// box does. The export runs on a worker thread with its progress shown and a 中止 button; while it
// runs the other controls are locked, and the close box first asks whether to stop it.
//
//   CCsvOutDlg2 dlg(m_env, this);
//   m_env.modal.RunModal(dlg);
class CCsvOutDlg2 final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CCsvOutDlg2(const Environment& env, QWidget* parent = nullptr);

    // The close box; while an export runs, only once the user has agreed to stop it.
    void reject() override;

private:
    void OnInitDialog();
    void OnBrowseTarget();
    void OnBrowseOutput();
    void OnExport();
    void OnOpenCsv();
    void OnExportFinished();

    Environment m_env;
    CFMBData m_data;
    QLineEdit& m_target;
    QLineEdit& m_outputFolder;
    QLineEdit& m_fileName;
    QAbstractButton& m_relative;
    QPushButton& m_export;
    ExportResult m_result; // written by the running export, read once it has ended
    JobPanel m_panel;      // last: it ends a running export before the members it writes go
};

} // namespace fmb
