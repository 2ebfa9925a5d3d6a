#include "preview/TextReadJob.h"

#include <QMetaObject>

namespace fmb {

TextReadJob::TextReadJob(Done done, QObject* parent) : QObject(parent), m_done(std::move(done)) {}

TextReadJob::~TextReadJob() {
    for (Worker& worker : m_workers)
        worker.thread.request_stop();
    m_workers.clear(); // joins
}

void TextReadJob::Start(const QString& path) {
    Stop();
    // Runs that have ended are joined now; the others when they end and the next run starts,
    // or with the job.
    m_workers.remove_if([](const Worker& worker) { return worker.ended->load(); });
    const unsigned run = ++m_run;
    m_running = true;
    Worker& worker = m_workers.emplace_back();
    worker.thread = std::jthread([this, run, path, ended = worker.ended](std::stop_token stop) {
        const ExtractedText text = ExtractDocumentText(path, stop);
        if (!stop.stop_requested())
            QMetaObject::invokeMethod(
                this, [this, run, path, text] { Finish(run, path, text); }, Qt::QueuedConnection);
        ended->store(true);
    });
}

void TextReadJob::Stop() {
    ++m_run;
    m_running = false;
    for (Worker& worker : m_workers)
        worker.thread.request_stop();
}

void TextReadJob::Finish(unsigned run, const QString& path, const ExtractedText& text) {
    if (run != m_run)
        return;
    m_running = false;
    m_done(path, text);
}

} // namespace fmb
