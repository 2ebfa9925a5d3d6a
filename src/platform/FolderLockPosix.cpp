#include "platform/FolderLock.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fmb {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::string Holder() {
    return ComputerName() + "\n" + std::to_string(::getpid()) + "\n";
}

// True when the lock file was left by a crash: its holder is a process of this computer that is
// gone, or it is older than any holder keeps it.
bool IsAbandoned(const std::filesystem::path& lockFile) {
    struct stat status {};
    if (::stat(lockFile.c_str(), &status) != 0) {
        return false; // gone meanwhile: the next try takes it
    }
    const auto written = std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec);
    if (std::chrono::system_clock::now() - written > kStaleLockAge) {
        return true;
    }
    std::ifstream in(lockFile);
    std::string host;
    long pid = 0;
    // A holder that has created the file but not yet written it is alive, as far as anyone
    // can tell.
    if (!std::getline(in, host) || !(in >> pid) || pid <= 0) {
        return false;
    }
    return host == ComputerName() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes an abandoned lock file. It is renamed to a name of this process first, so that of two
// takers that both judged it abandoned only one removes it.
void RemoveAbandoned(const std::filesystem::path& lockFile) {
    std::filesystem::path aside = lockFile;
    aside += "." + std::to_string(::getpid()) + ".abandoned";
    if (::rename(lockFile.c_str(), aside.c_str()) == 0) {
        ::unlink(aside.c_str());
    }
}

} // namespace

std::string ComputerName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "?";
    }
    return name;
}

std::unique_ptr<FolderLock> FolderLock::Acquire(const std::filesystem::path& lockFile,
                                                std::chrono::milliseconds wait,
                                                std::error_code& error) {
    error.clear();
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        const int fd = ::open(lockFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            const std::string holder = Holder();
            // Who holds it only helps to tell an abandoned lock; the lock is the file itself.
            [[maybe_unused]] const ssize_t written = ::write(fd, holder.data(), holder.size());
            ::close(fd);
            return std::unique_ptr<FolderLock>(new FolderLock(lockFile));
        }
        if (errno != EEXIST) {
            error = LastError();
            return nullptr;
        }
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
    ::unlink(m_lockFile.c_str());
}

} // namespace fmb
