#include "index/FoundFiles.h"

#include <utility>

namespace fmb {

void FoundFiles::Add(const ScanEntry& entry) {
    const std::string_view folder =
        std::string_view(entry.fullPath).substr(0, entry.fullPath.size() - entry.fileName.size());
    if (m_folders.empty() || m_folders.back().path != folder ||
        m_folders.back().typeFolder != entry.typeFolder) {
        m_folders.push_back({std::string(folder), entry.typeFolder, m_nameEnds.size()});
    }
    m_names.append(entry.fileName);
    m_nameEnds.push_back(m_names.size());
}

void FoundFiles::Clear() {
    m_folders.clear();
    m_names.clear();
    m_nameEnds.clear();
}

void FoundFilesQueue::Put(FoundFiles& run) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_waiting.size() < m_capacity; });
    m_waiting.push_back(std::move(run));
    if (m_empty.empty()) {
        run = FoundFiles();
    } else {
        run = std::move(m_empty.back());
        m_empty.pop_back();
    }
    m_changed.notify_all();
}

void FoundFilesQueue::Close() {
    const std::lock_guard lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

bool FoundFilesQueue::Take(FoundFiles& run) {
    std::unique_lock lock(m_mutex);
    run.Clear();
    m_empty.push_back(std::move(run));
    m_changed.wait(lock, [&] { return !m_waiting.empty() || m_closed; });
    if (m_waiting.empty()) {
        return false;
    }
    run = std::move(m_waiting.front());
    m_waiting.pop_front();
    m_changed.notify_all();
    return true;
}

} // namespace fmb
