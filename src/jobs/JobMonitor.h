#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace fmb {

// How far a long job has come, as its watcher sees it at one moment.
struct JobSnapshot {
    std::uint64_t itemsDone = 0;   // files copied, or rows written
    std::uint64_t itemsTotal = 0;  // files to copy as counted so far; 0 when the job has no total
    bool totalFinal = false;       // the count has ended: itemsTotal and bytesTotal are complete
    std::uint64_t bytesDone = 0;   // data copied
    std::uint64_t bytesTotal = 0;  // data to copy as counted so far
    std::uint64_t foldersDone = 0; // folders walked
    std::string currentItem;       // the file being worked on; empty between files
    bool cancelRequested = false;
};

// Shared between a job running on a worker thread and whoever watches it (a dialog polling on a
// timer, the command line's progress line). The job reports through cheap relaxed counters, so
// reporting costs nothing it can measure; the watcher reads a snapshot whenever it likes and may
// ask the job to stop. A job checks CancelRequested() at every file boundary and between the
// blocks of a large file, and ends without leaving a half-done file behind.
//
// A watcher that decides on its own when the job is to stop (from what the job has reported so
// far, say) overrides CancelRequested(); it is asked only where the job can stop, a few times per
// file at most.
class JobMonitor {
public:
    JobMonitor() = default;
    virtual ~JobMonitor() = default;
    JobMonitor(const JobMonitor&) = delete;
    JobMonitor& operator=(const JobMonitor&) = delete;

    // Watcher side. Safe from any thread, and RequestCancel() from a signal handler too.
    void RequestCancel() noexcept { m_cancel.store(true, std::memory_order_relaxed); }
    JobSnapshot Snapshot() const;

    // Job side.
    virtual bool CancelRequested() const { return m_cancel.load(std::memory_order_relaxed); }
    void AddToTotal(std::uint64_t items, std::uint64_t bytes) noexcept;
    void SetTotalFinal() noexcept { m_totalFinal.store(true, std::memory_order_relaxed); }
    void AddItemsDone(std::uint64_t items) noexcept { Add(m_itemsDone, items); }
    void AddBytesDone(std::uint64_t bytes) noexcept { Add(m_bytesDone, bytes); }
    void AddFolderDone() noexcept { Add(m_foldersDone, 1); }
    void SetCurrentItem(std::string item);

private:
    static void Add(std::atomic<std::uint64_t>& counter, std::uint64_t n) noexcept {
        counter.fetch_add(n, std::memory_order_relaxed);
    }

    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_totalFinal{false};
    std::atomic<std::uint64_t> m_itemsDone{0};
    std::atomic<std::uint64_t> m_itemsTotal{0};
    std::atomic<std::uint64_t> m_bytesDone{0};
    std::atomic<std::uint64_t> m_bytesTotal{0};
    std::atomic<std::uint64_t> m_foldersDone{0};
    mutable std::mutex m_itemMutex;
    std::string m_currentItem;
};

static_assert(std::atomic<bool>::is_always_lock_free,
              "RequestCancel must be callable from a signal handler");

} // namespace fmb
