#pragma once

#include "jobs/JobRunner.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace fmb {

class MessagePort;
class TemplateDialog;

// The part of a dialog that runs its long job: it starts the job on a worker thread, shows how
// far it has come in the dialog's progress controls, locks the dialog's other controls while it
// runs and unlocks them however it ends, stops it on 中止 once the user has confirmed, and keeps
// the dialog open until the job has ended. The dialog gathers the inputs and shows the result.
//
//   m_panel.Start([=, this](JobMonitor& monitor) { m_outcome = CopyFolder(s, d, &monitor); },
//                 [this] { m_env.messages.Notice(m_outcome.message); });
//   void Dlg::reject() { if (m_panel.MayClose()) TemplateDialog::reject(); }
class JobPanel final : public QObject {
    Q_OBJECT

public:
    // The dialog's controls the panel works with, by id.
    struct Controls {
        int text = 0;        // label: the progress line
        int currentItem = 0; // label: the item being worked on, elided in the middle; 0 for none
        int bar = 0;         // progress bar
        int cancel = 0;      // the 中止 button
        std::vector<int> locked; // what may not be used while the job runs
    };
    // The progress line for a snapshot, given the seconds since the start.
    using TextOf = std::function<std::string(const JobSnapshot&, double)>;

    // cancelQuestion: asked before the job is stopped (by 中止 or by closing the dialog).
    JobPanel(TemplateDialog& dialog, MessagePort& messages, Controls controls, TextOf textOf,
             std::string cancelQuestion);

    // Starts the work; finished() is called on the dialog's thread once it has returned and the
    // controls are unlocked. Nothing happens while a job runs.
    void Start(JobRunner::Work work, std::function<void()> finished);
    bool IsRunning() const { return m_runner.IsRunning(); }

    // The dialog is about to close. True when it may close now (no job runs). Otherwise the user
    // is asked whether to stop the job; on yes the job stops and the dialog is closed (rejected)
    // once it has ended and its result was shown; on no the job goes on.
    bool MayClose();

private:
    void OnCancelClicked();
    void ShowProgress(const JobSnapshot& snapshot);
    void OnFinished();
    void SetLocked(bool locked);

    TemplateDialog& m_dialog;
    MessagePort& m_messages;
    Controls m_controls;
    TextOf m_textOf;
    std::string m_cancelQuestion;
    QLabel& m_text;
    QLabel* m_currentItem;
    QProgressBar& m_bar;
    QPushButton& m_cancel;
    JobRunner m_runner;
    std::function<void()> m_finished;
    bool m_closeWhenDone = false;
};

} // namespace fmb
