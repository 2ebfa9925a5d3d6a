#include "cli/JobProgress.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

namespace fmb::cli {
namespace {

constexpr auto kRefresh = std::chrono::milliseconds(200);

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    g_interrupted.store(true, std::memory_order_relaxed);
}

// Moves to the start of the line and clears it (a terminal's erase-to-end-of-line).
constexpr const char* kClearLine = "\r\033[K";

// A job's monitor that also takes an interrupt for a stop, so the job stops at its very next
// file boundary or block, not at the next refresh of the progress line.
class InterruptibleMonitor final : public JobMonitor {
public:
    bool CancelRequested() const override {
        return g_interrupted.load(std::memory_order_relaxed) || JobMonitor::CancelRequested();
    }
};

} // namespace

void CatchInterrupts() {
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
}

bool RunJob(const std::function<void(JobMonitor&)>& work, ProgressDisplay display,
            std::ostream& err, const std::function<std::string(const JobSnapshot&, double)>& text) {
    InterruptibleMonitor monitor;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    const auto start = std::chrono::steady_clock::now();
    std::thread worker([&] {
        work(monitor);
        std::lock_guard lock(mutex);
        done = true;
        ended.notify_one();
    });
    for (;;) {
        {
            std::unique_lock lock(mutex);
            if (ended.wait_for(lock, kRefresh, [&] { return done; }))
                break;
        }
        if (display == ProgressDisplay::Line) {
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            err << kClearLine << text(monitor.Snapshot(), elapsed.count()) << std::flush;
        }
    }
    worker.join();
    if (display == ProgressDisplay::Line)
        err << kClearLine << std::flush;
    return monitor.CancelRequested();
}

ProgressDisplay ChooseProgressDisplay(bool quiet, bool forced, bool errorIsTerminal) {
    if (quiet)
        return ProgressDisplay::None;
    return forced || errorIsTerminal ? ProgressDisplay::Line : ProgressDisplay::None;
}

} // namespace fmb::cli
