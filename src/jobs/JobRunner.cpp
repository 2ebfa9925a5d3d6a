#include "jobs/JobRunner.h"

#include "platform/MessagePort.h"

#include <QThread>

#include <utility>

namespace fmb {
namespace {

// Often enough for a bar that moves smoothly, rarely enough to cost the work nothing.
constexpr int kPollMilliseconds = 100;

} // namespace

JobRunner::JobRunner(QObject* parent) : QObject(parent) {
    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, [this] { emit progress(Snapshot()); });
}

JobRunner::~JobRunner() {
    if (!m_thread)
        return;
    m_monitor->RequestCancel();
    m_thread->wait();
    delete m_thread;
}

void JobRunner::Start(Work work) {
    if (m_thread)
        return;
    m_monitor = std::make_unique<JobMonitor>();
    m_thread =
        QThread::create([monitor = m_monitor.get(), work = std::move(work)] { work(*monitor); });
    // Queued to this object's thread, where the dialog lives.
    connect(m_thread, &QThread::finished, this, &JobRunner::OnThreadFinished, Qt::QueuedConnection);
    m_elapsed.start();
    m_thread->start();
    m_poll.start();
    emit progress(Snapshot());
}

void JobRunner::Cancel() {
    if (m_thread)
        m_monitor->RequestCancel();
}

bool JobRunner::ConfirmCancel(MessagePort& messages, const std::string& question) {
    if (!m_thread)
        return true;
    m_holdFinished = true;
    const bool stop = messages.Question(question);
    m_holdFinished = false;
    if (stop)
        Cancel();
    // Queued, so that the caller acts on the answer before it hears that the work has ended.
    if (m_finishHeld) {
        m_finishHeld = false;
        QMetaObject::invokeMethod(this, &JobRunner::OnThreadFinished, Qt::QueuedConnection);
    }
    return stop;
}

JobSnapshot JobRunner::Snapshot() const {
    return m_monitor ? m_monitor->Snapshot() : JobSnapshot{};
}

double JobRunner::ElapsedSeconds() const {
    return m_elapsed.isValid() ? static_cast<double>(m_elapsed.elapsed()) / 1000.0 : 0.0;
}

void JobRunner::OnThreadFinished() {
    if (m_holdFinished) {
        m_finishHeld = true;
        return;
    }
    if (!m_thread)
        return;
    m_poll.stop();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    emit progress(Snapshot());
    emit finished();
}

} // namespace fmb
