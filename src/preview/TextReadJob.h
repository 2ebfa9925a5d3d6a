#pragma once

#include "extract/DocumentText.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <thread>

namespace fmb {

// Reads a document's text (text layer, OCR) on a worker thread and hands it to the UI thread.
// A new Start stops the run before it; only the latest run's text is handed over, so a slow OCR
// of an earlier source never shows for the current one.
class TextReadJob final : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(const QString& path, const ExtractedText& text)>;

    // done runs on the thread of the job object (the UI thread).
    explicit TextReadJob(Done done, QObject* parent = nullptr);
    // Stops every run and waits for it: OCR ends at its next word.
    ~TextReadJob() override;
    TextReadJob(const TextReadJob&) = delete;
    TextReadJob& operator=(const TextReadJob&) = delete;

    void Start(const QString& path);
    // Stops the current run; its text is never handed over.
    void Stop();
    bool Running() const { return m_running; }

private:
    void Finish(unsigned run, const QString& path, const ExtractedText& text);

    Done m_done;
    unsigned m_run = 0; // number of the latest run
    bool m_running = false;
    struct Worker {
        std::shared_ptr<std::atomic<bool>> ended = std::make_shared<std::atomic<bool>>(false);
        std::jthread thread; // joins when destroyed
    };
    std::list<Worker> m_workers; // the latest run last; earlier ones are stopping
};

} // namespace fmb
