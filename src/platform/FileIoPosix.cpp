#include "platform/FileIo.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fmb {
namespace {

std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

int Descriptor(NativeFile file) {
    return static_cast<int>(file);
}

// The permissions any new file gets: 0666 less the process's umask. Linux tells the umask in
// /proc/self/status; elsewhere it is read by setting it and back at once.
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) {
            return 0666 & ~static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string ReadRegularFile(const std::filesystem::path& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return bytes;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // Read straight into a string of the file's size; a file that grows while it is read
        // is read to its end.
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        char more[16384];
        for (;;) {
            const bool inPlace = done < bytes.size();
            const ssize_t n = inPlace ? ::read(fd, bytes.data() + done, bytes.size() - done)
                                      : ::read(fd, more, sizeof more);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                bytes.resize(n == 0 ? done : 0);
                break;
            }
            if (!inPlace) {
                bytes.append(more, static_cast<std::size_t>(n));
            }
            done += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    return bytes;
}

NativeFile CreateNewFile(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
        error = LastError();
        return kNoFile;
    }
    return fd;
}

std::error_code WriteAll(NativeFile file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(Descriptor(file), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

std::error_code FlushToDisk(NativeFile file) {
    if (::fsync(Descriptor(file)) != 0) {
        return LastError();
    }
    return {};
}

std::error_code CloseFile(NativeFile file) {
    if (::close(Descriptor(file)) != 0) {
        return LastError();
    }
    return {};
}

std::error_code TakePermissionsOf(const std::filesystem::path& existing, NativeFile file) {
    struct stat status {};
    const bool replaces = ::stat(existing.c_str(), &status) == 0 && S_ISREG(status.st_mode);
    const mode_t mode = replaces ? status.st_mode & 07777 : NewFileMode();
    if (::fchmod(Descriptor(file), mode) != 0) {
        return LastError();
    }
    return {};
}

void RemoveOwnFile(const std::filesystem::path& path) {
    ::unlink(path.c_str());
}

} // namespace fmb
