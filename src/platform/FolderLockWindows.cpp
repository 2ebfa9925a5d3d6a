#include "platform/FolderLock.h"

#include "platform/FileIo.h"
#include "platform/WindowsSupport.h"

#include <windows.h>

#include <algorithm>
#include <sstream>
#include <thread>

namespace fmb {
namespace {

std::string Holder() {
    return ComputerName() + "\n" + std::to_string(GetCurrentProcessId()) + "\n";
}

// True when no process with this id runs on this computer.
bool ProcessIsGone(DWORD pid) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        // Access denied means it runs (under another user); an unknown id, that it is gone.
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD exitCode = 0;
    const bool ended = GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

// 100-nanosecond ticks since 1601, as the file system keeps times.
std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>(
        ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart);
}

// True when the lock file was left by a crash: its holder is a process of this computer that is
// gone, or it is older than any holder keeps it.
bool IsAbandoned(const std::filesystem::path& lockFile) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(windows::LongPath(lockFile).c_str(), GetFileExInfoStandard,
                              &attributes)) {
        return false; // gone meanwhile: the next try takes it
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    constexpr std::int64_t kTicksPerSecond = 10'000'000;
    const auto staleTicks =
        std::chrono::duration_cast<std::chrono::seconds>(kStaleLockAge).count() * kTicksPerSecond;
    if (Ticks(now) - Ticks(attributes.ftLastWriteTime) > staleTicks) {
        return true;
    }
    std::istringstream in(ReadRegularFile(lockFile));
    std::string host;
    unsigned long pid = 0;
    // A holder that has created the file but not yet written it is alive, as far as anyone
    // can tell.
    if (!std::getline(in, host) || !(in >> pid) || pid == 0) {
        return false;
    }
    return host == ComputerName() && ProcessIsGone(static_cast<DWORD>(pid));
}

// Removes an abandoned lock file. It is renamed to a name of this process first, so that of two
// takers that both judged it abandoned only one removes it.
void RemoveAbandoned(const std::filesystem::path& lockFile) {
    std::filesystem::path aside = lockFile;
    aside += "." + std::to_string(GetCurrentProcessId()) + ".abandoned";
    const std::wstring asideWide = windows::LongPath(aside);
    if (MoveFileExW(windows::LongPath(lockFile).c_str(), asideWide.c_str(), 0)) {
        DeleteFileW(asideWide.c_str());
    }
}

} // namespace

std::string ComputerName() {
    wchar_t name[256] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size) || size == 0) {
        return "?";
    }
    return windows::ToUtf8(std::wstring_view(name, size));
}

std::unique_ptr<FolderLock> FolderLock::Acquire(const std::filesystem::path& lockFile,
                                                std::chrono::milliseconds wait,
                                                std::error_code& error) {
    error.clear();
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        // CREATE_NEW: created in one step on the server, also on a network share.
        const NativeFile file = CreateNewFile(lockFile, error);
        if (!error) {
            // Who holds it only helps to tell an abandoned lock; the lock is the file itself.
            [[maybe_unused]] const std::error_code written = WriteAll(file, Holder());
            CloseFile(file);
            return std::unique_ptr<FolderLock>(new FolderLock(lockFile));
        }
        if (error != std::errc::file_exists) {
            return nullptr;
        }
        error.clear();
        if (IsAbandoned(lockFile)) {
            RemoveAbandoned(lockFile);
            continue;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            error = std::make_error_code(std::errc::device_or_resource_busy);
            return nullptr;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(100));
    }
}

FolderLock::~FolderLock() {
    DeleteFileW(windows::LongPath(m_lockFile).c_str());
}

} // namespace fmb
