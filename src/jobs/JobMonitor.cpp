#include "jobs/JobMonitor.h"

#include <utility>

namespace fmb {

JobSnapshot JobMonitor::Snapshot() const {
    JobSnapshot snapshot;
    snapshot.itemsDone = m_itemsDone.load(std::memory_order_relaxed);
    snapshot.bytesDone = m_bytesDone.load(std::memory_order_relaxed);
    snapshot.foldersDone = m_foldersDone.load(std::memory_order_relaxed);
    snapshot.totalFinal = m_totalFinal.load(std::memory_order_relaxed);
    snapshot.itemsTotal = m_itemsTotal.load(std::memory_order_relaxed);
    snapshot.bytesTotal = m_bytesTotal.load(std::memory_order_relaxed);
    snapshot.cancelRequested = m_cancel.load(std::memory_order_relaxed);
    std::lock_guard lock(m_itemMutex);
    snapshot.currentItem = m_currentItem;
    return snapshot;
}

void JobMonitor::AddToTotal(std::uint64_t items, std::uint64_t bytes) noexcept {
    Add(m_itemsTotal, items);
    Add(m_bytesTotal, bytes);
}

void JobMonitor::SetCurrentItem(std::string item) {
    std::lock_guard lock(m_itemMutex);
    m_currentItem = std::move(item);
}

} // namespace fmb
