#pragma once

#include "jobs/JobMonitor.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QThread;

namespace fmb {

class MessagePort;

// Runs one long job (a backup, an index export) on a worker thread, so the dialog that started it
// keeps answering, and tells the dialog how far it has come. The dialog polls nothing itself:
// progress() arrives on the dialog's thread a few times a second, finished() once when the work
// has returned. The work reports through the JobMonitor it is given and stops early when the
// monitor asks it to.
//
//   connect(&m_job, &JobRunner::progress, this, &Dlg::ShowProgress);
//   connect(&m_job, &JobRunner::finished, this, &Dlg::OnJobFinished);
//   m_job.Start([this](JobMonitor& monitor) { m_outcome = CopyFolder(s, d, &monitor); });
//
// The runner never outlives its work: destroying it while the work runs asks the work to stop
// and waits for it.
class JobRunner final : public QObject {
    Q_OBJECT

public:
    using Work = std::function<void(JobMonitor&)>;

    explicit JobRunner(QObject* parent = nullptr);
    ~JobRunner() override;
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Starts the work on a new thread; nothing happens while another work runs.
    void Start(Work work);
    bool IsRunning() const { return m_thread != nullptr; }
    // Asks the running work to stop at its next file boundary.
    void Cancel();
    // Asks the user whether to stop the running work, and asks the work to stop when the user
    // says so. While the question is open the work goes on, and should it end meanwhile,
    // finished() waits until the question is answered, so no other message shows over it, and
    // arrives after this has returned. True when the work is stopping (or none runs).
    bool ConfirmCancel(MessagePort& messages, const std::string& question);

    // How far the work has come, and since when it runs.
    JobSnapshot Snapshot() const;
    double ElapsedSeconds() const;

signals:
    void progress(const fmb::JobSnapshot& snapshot);
    void finished();

private:
    void OnThreadFinished();

    std::unique_ptr<JobMonitor> m_monitor;
    QThread* m_thread = nullptr;
    QTimer m_poll;
    QElapsedTimer m_elapsed;
    bool m_holdFinished = false; // a question is open: finished() waits for its answer
    bool m_finishHeld = false;   // the work ended while the question was open
};

} // namespace fmb
