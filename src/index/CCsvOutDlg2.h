#pragma once

#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBData.h"

#include <QElapsedTimer>
#include <QString>

#include <cstddef>

class QAbstractButton;
class QLineEdit;
class QPushButton;

namespace fmb {

// "索引簿出力": writes the index book of a folder (normally a fiscal-year folder) as a CSV file,
// with links relative to the CSV's folder or full paths, and opens the written book. It reads
// FMB_Setting.ini when it opens and writes no settings. Enter and Esc do not close it; the close
// box does, except while an export runs.
//
//   CCsvOutDlg2 dlg(m_env, this);
//   m_env.modal.RunModal(dlg);
class CCsvOutDlg2 final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CCsvOutDlg2(const Environment& env, QWidget* parent = nullptr);

    // The close box; ignored while an export runs, which would go on unseen.
    void reject() override;

private:
    void OnInitDialog();
    void OnBrowseTarget();
    void OnBrowseOutput();
    void OnExport();
    void OnOpenCsv();
    // The run itself, under the busy cursor with the fields locked; shows its result.
    void RunExport(const std::string& outputPath, const std::string& target,
                   const std::string& linkBase);
    // Keeps the window painted and shows how far the scan has come.
    void OnScanProgress(std::size_t entriesSeen);
    // Locks or unlocks every field and button while a run goes on.
    void SetRunning(bool running);

    Environment m_env;
    CFMBData m_data;
    QLineEdit& m_target;
    QLineEdit& m_outputFolder;
    QLineEdit& m_fileName;
    QAbstractButton& m_relative;
    QPushButton& m_export;
    QString m_exportCaption;
    bool m_running = false;
    QElapsedTimer m_sinceRefresh; // since the window was last brought up to date during a run
};

} // namespace fmb
