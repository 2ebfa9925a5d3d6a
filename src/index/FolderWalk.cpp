#include "index/FolderWalk.h"

#include "ledger/LedgerFolder.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "platform/TemporaryName.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace fmb {
namespace {

// More threads than this gain nothing: the file system's own locks and the memory bus are the
// limit by then.
constexpr std::size_t kMostWalkThreads = 4;

// A folder being listed, or whose subfolders still wait: it stays open while they do, so that
// they are opened relative to it, and it holds its parent, so that a link can be checked
// against every folder above it.
struct WalkedFolder {
    OpenFolder open;
    std::string path;       // as the caller spells it, with a trailing separator
    std::string typeFolder; // the first folder below the top on the way here; empty at the top
    std::shared_ptr<const WalkedFolder> parent; // none at the top
};

// A subfolder met in a listing, not yet opened.
struct PendingFolder {
    std::shared_ptr<const WalkedFolder> parent; // none: name is the top folder's path
    std::string name;
    bool throughLink = false;
};

// The walk's shared state: the folders still to be listed, and what went wrong. The threads take
// the folder found last, so that one thread alone walks depth first in the listing's order, and
// so that few folders stay open.
class FolderWalk {
public:
    FolderWalk(const std::string& top, KeptVersions kept)
        : m_keptLeftOut(kept == KeptVersions::LeftOut), m_pending{{nullptr, top, false}} {}

    // Lists folders until none are left or the walk is stopped; onFile gets the files of the
    // folders this thread lists.
    void Work(const ScanVisitor& onFile, const ScanProgress& progress) {
        try {
            ScanEntry entry; // reused for every file, so its texts keep their storage
            std::size_t entriesSeen = 0;
            std::size_t foldersSeen = 0;
            std::vector<PendingFolder> found;
            PendingFolder pending;
            while (Take(pending)) {
                found.clear();
                if (const auto folder = Open(pending)) {
                    ++foldersSeen;
                    List(folder, entry, found, [&](const ScanEntry* file) {
                        ++entriesSeen;
                        if (progress && !progress(entriesSeen, foldersSeen)) {
                            return false;
                        }
                        return file == nullptr || onFile(*file);
                    });
                }
                Give(found);
            }
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            if (!m_failure) {
                m_failure = std::current_exception();
            }
            Stop(lock);
        }
    }

    // What the walk met; rethrows what a visitor threw.
    ScanReport Report() {
        if (m_failure) {
            std::rethrow_exception(m_failure);
        }
        return m_report;
    }

private:
    bool Take(PendingFolder& pending) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopped || !m_pending.empty() || m_busy == 0; });
        if (m_stopped || m_pending.empty()) {
            return false;
        }
        pending = std::move(m_pending.back());
        m_pending.pop_back();
        ++m_busy;
        return true;
    }

    // Hands over the subfolders a listing found, the first of them to be taken first.
    void Give(std::vector<PendingFolder>& found) {
        {
            const std::lock_guard lock(m_mutex);
            std::move(found.rbegin(), found.rend(), std::back_inserter(m_pending));
            --m_busy;
        }
        m_changed.notify_all();
    }

    void Stop(const std::lock_guard<std::mutex>&) {
        m_stopped = true;
        m_changed.notify_all();
    }

    void NoteUnreadable(const std::string& path, const std::error_code& error) {
        const std::lock_guard lock(m_mutex);
        if (m_report.unreadableFolders++ == 0) {
            m_report.firstUnreadable = path;
            m_report.firstError = error;
        }
    }

    // The folder pending names, opened; none when it cannot be, or when it is a link back up the
    // walk, whose files are being listed already.
    std::shared_ptr<const WalkedFolder> Open(PendingFolder& pending) {
        auto folder = std::make_shared<WalkedFolder>();
        const WalkedFolder* parent = pending.parent.get();
        std::error_code error;
        if (parent == nullptr) {
            folder->path = WithTrailingSeparator(pending.name);
            folder->open = OpenFolder::Open(pending.name, error);
        } else {
            folder->path = parent->path + pending.name + kPathSeparator;
            // Nobody else could open what lies below; a book would link to nothing.
            if (folder->path.size() - 1 >= kMaxPathBytes) {
                NoteUnreadable(folder->path, std::make_error_code(std::errc::filename_too_long));
                return nullptr;
            }
            folder->open = parent->open.OpenSubfolder(pending.name, error);
            folder->typeFolder = parent->parent ? parent->typeFolder : pending.name;
        }
        if (!folder->open.IsOpen()) {
            NoteUnreadable(folder->path, error);
            return nullptr;
        }
        // Only a link can lead back up; a plain folder is never its own ancestor.
        if (pending.throughLink && LeadsBackUp(folder->open, parent)) {
            return nullptr;
        }
        folder->parent = std::move(pending.parent);
        return folder;
    }

    bool LeadsBackUp(const OpenFolder& folder, const WalkedFolder* above) {
        // A folder reads its identity once, when first asked: one thread at a time asks.
        const std::lock_guard lock(m_mutex);
        for (; above != nullptr; above = above->parent.get()) {
            if (above->open.IsSameFolderAs(folder)) {
                return true;
            }
        }
        return false;
    }

    // Lists folder: each entry goes to seen (nullptr for one that is not a file), which returns
    // false to stop the walk; the subfolders go to found.
    template <typename Seen>
    void List(const std::shared_ptr<const WalkedFolder>& folder, ScanEntry& entry,
              std::vector<PendingFolder>& found, Seen seen) {
        const bool atTop = folder->parent == nullptr;
        // The folder part of the path and the type folder are set once; each file puts its name
        // after them.
        entry.typeFolder = folder->typeFolder;
        entry.fullPath = folder->path;
        const std::error_code error = folder->open.List([&](std::string_view name, EntryKind kind) {
            if (m_stopped) {
                return false;
            }
            const bool isDocument = kind == EntryKind::File && !IsTemporaryName(name);
            if (isDocument) {
                entry.fileName = name;
                entry.fullPath.resize(folder->path.size());
                entry.fullPath.append(name);
            } else if (kind != EntryKind::File &&
                       !(m_keptLeftOut && atTop && name == kLedgerFolderName)) {
                found.push_back({folder, std::string(name), kind == EntryKind::FolderLink});
            }
            if (!seen(isDocument ? &entry : nullptr)) {
                const std::lock_guard lock(m_mutex);
                Stop(lock);
                return false;
            }
            return true;
        });
        if (error) {
            NoteUnreadable(folder->path, error);
        }
    }

    const bool m_keptLeftOut; // the ledger's folder below the top is passed over
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<PendingFolder> m_pending;
    std::size_t m_busy = 0; // folders being listed
    std::atomic<bool> m_stopped = false;
    std::exception_ptr m_failure;
    ScanReport m_report;
};

} // namespace

ScanReport ScanFolder(const std::string& folder, const ScanVisitor& onFile,
                      const ScanProgress& progress, KeptVersions kept) {
    if (folder.empty()) {
        return {};
    }
    FolderWalk walk(folder, kept);
    walk.Work(onFile, progress);
    return walk.Report();
}

ScanReport ScanFolderOnThreads(const std::string& folder, std::span<const ScanVisitor> visitors,
                               KeptVersions kept) {
    if (folder.empty() || visitors.empty()) {
        return {};
    }
    FolderWalk walk(folder, kept);
    {
        std::vector<std::jthread> helpers;
        for (const ScanVisitor& visitor : visitors.subspan(1)) {
            helpers.emplace_back([&walk, &visitor] { walk.Work(visitor, {}); });
        }
        walk.Work(visitors.front(), {});
    }
    return walk.Report();
}

std::size_t WalkThreads() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMostWalkThreads);
}

} // namespace fmb
