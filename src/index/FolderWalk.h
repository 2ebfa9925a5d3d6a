#pragma once

#include "index/IndexBook.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <system_error>

namespace fmb {

// Called once for every directory entry the scan meets, with the number of entries met and of
// folders listed so far; returns false to end the scan there.
using ScanProgress = std::function<bool(std::size_t entriesSeen, std::size_t foldersSeen)>;
// Called once for every file the scan finds; returns false to end the scan. The entry is valid
// during the call.
using ScanVisitor = std::function<bool(const ScanEntry& entry)>;

// Whether a walk of a storage root takes in the filing ledger's folder and the earlier versions
// of documents kept there.
enum class KeptVersions { LeftOut, Included };

// The folders a scan could not read (or could not enter, their path being longer than the
// platform allows): how many, the first of them with a trailing separator, and why.
struct ScanReport {
    std::size_t unreadableFolders = 0;
    std::string firstUnreadable;
    std::error_code firstError;
};

// Walks folder depth first on the calling thread and hands every file found, hidden ones
// included, to onFile: the files of a folder in the file system's order, then its subfolders
// one after another. Each folder is opened relative to its parent, and only the folders on the
// way down stay open. Folder links are followed unless they lead back up the walk. Temporary
// files left by an interrupted write are passed over, and so is the filing ledger's folder
// directly below folder (a storage root) unless kept asks for it: the earlier versions kept
// there carry stored names too. A folder that cannot be read contributes what was listed before
// the failure; the walk goes on and the report names it.
ScanReport ScanFolder(const std::string& folder, const ScanVisitor& onFile,
                      const ScanProgress& progress = {}, KeptVersions kept = KeptVersions::LeftOut);

// Walks folder as ScanFolder does, on as many threads as there are visitors (the calling thread
// among them), which share out the folders still to be listed: a warm tree is listed about that
// many times faster where the cores are free. Each thread hands its files to its own visitor, so
// a visitor is never called from two threads; the order of the files is not the walk's order.
// A visitor that returns false ends the walk on every thread.
ScanReport ScanFolderOnThreads(const std::string& folder, std::span<const ScanVisitor> visitors,
                               KeptVersions kept = KeptVersions::LeftOut);

// How many threads a walk of a warm tree is worth on this machine.
std::size_t WalkThreads();

} // namespace fmb
