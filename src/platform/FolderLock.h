#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace fmb {

// An exclusive lock shared by every process on every computer that reaches one folder, also over
// a network share: the lock is a file created exclusively (which network file systems do in one
// step on the server, where byte-range locks depend on a lock service that shares often lack or
// that Windows and other clients do not honour alike). The file names its holder's computer and
// process. A lock file is abandoned, and removed by the next taker, when its holder is a process
// of this computer that no longer runs, or when it is older than kStaleLockAge (a holder keeps it
// for a moment only, so such a file was left by a crash on another computer).
class FolderLock {
public:
    // Takes the lock, trying again for up to wait while another holds it. Nothing, with error
    // set, when it could not be taken: std::errc::device_or_resource_busy when it stayed held,
    // the system's reason otherwise.
    static std::unique_ptr<FolderLock> Acquire(const std::filesystem::path& lockFile,
                                               std::chrono::milliseconds wait,
                                               std::error_code& error);
    // Gives the lock up: the lock file is removed.
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    explicit FolderLock(std::filesystem::path lockFile) : m_lockFile(std::move(lockFile)) {}

    std::filesystem::path m_lockFile;
};

inline constexpr std::chrono::minutes kStaleLockAge{2};

// The name of this computer, for records and lock files; "?" when it cannot be told.
std::string ComputerName();

} // namespace fmb
