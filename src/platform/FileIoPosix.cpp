#include "platform/FileIo.h"

#include <cerrno>
#include <fcntl.h>
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

} // namespace

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
    if (::stat(existing.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    if (::fchmod(Descriptor(file), status.st_mode & 07777) != 0) {
        return LastError();
    }
    return {};
}

void RemoveOwnFile(const std::filesystem::path& path) {
    ::unlink(path.c_str());
}

} // namespace fmb
