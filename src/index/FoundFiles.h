#pragma once

#include "index/IndexBook.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace fmb {

// A run of files found by the storage scan, in scan order, kept compact: each folder once, the
// names one after another in one text.
class FoundFiles {
public:
    void Add(const ScanEntry& entry);
    std::size_t Size() const { return m_nameEnds.size(); }
    // Empties the run, keeping its storage for the next.
    void Clear();

    // Calls visit(entry) for every file in the order they were added, until it returns false.
    template <typename Visit> void ForEach(Visit visit) const {
        ScanEntry entry;
        std::size_t folder = 0;
        std::size_t nameStart = 0;
        for (std::size_t i = 0; i < m_nameEnds.size(); ++i) {
            while (folder + 1 < m_folders.size() && m_folders[folder + 1].firstFile <= i) {
                ++folder;
            }
            entry.typeFolder = m_folders[folder].typeFolder;
            entry.fileName.assign(m_names, nameStart, m_nameEnds[i] - nameStart);
            entry.fullPath.assign(m_folders[folder].path).append(entry.fileName);
            nameStart = m_nameEnds[i];
            if (!visit(entry)) {
                return;
            }
        }
    }

private:
    struct Folder {
        std::string path; // as the scan spells it, with a trailing separator
        std::string typeFolder;
        std::size_t firstFile; // the index of its first file in the run
    };
    std::vector<Folder> m_folders;
    std::string m_names;
    std::vector<std::size_t> m_nameEnds;
};

// Carries runs of found files from the scan to the thread that writes their rows. At most
// `capacity` runs wait at a time, so memory stays small however large the tree: the scan waits
// when the writing falls behind. Runs are handed back and forth, so their storage is reused.
class FoundFilesQueue {
public:
    explicit FoundFilesQueue(std::size_t capacity) : m_capacity(capacity) {}

    // The scan's side: hands over the filled run and gets an empty one in its place.
    void Put(FoundFiles& run);
    // No more runs will come.
    void Close();

    // The writer's side: replaces the run it has written with the next one. False once the
    // queue is closed and every run has been taken.
    bool Take(FoundFiles& run);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<FoundFiles> m_waiting;
    std::vector<FoundFiles> m_empty;
    std::size_t m_capacity;
    bool m_closed = false;
};

} // namespace fmb
