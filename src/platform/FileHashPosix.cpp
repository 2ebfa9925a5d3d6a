#include "platform/FileHash.h"

#include "platform/Sha256.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fmb {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

std::error_code WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return {};
}

} // namespace

std::error_code HashFile(const std::filesystem::path& file, ContentDigest& digest,
                         const CopyObserver& observer) {
    const Descriptor in(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (in.Get() < 0) {
        return LastError();
    }
    struct stat status {};
    if (::fstat(in.Get(), &status) != 0) {
        return LastError();
    }
    if (!S_ISREG(status.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    ::posix_fadvise(in.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    std::vector<char> buffer(std::size_t{1} << 20);
    Sha256 hash;
    std::uint64_t size = 0;
    for (;;) {
        const ssize_t got = ::read(in.Get(), buffer.data(), buffer.size());
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        hash.Update(buffer.data(), static_cast<std::size_t>(got));
        size += static_cast<std::uint64_t>(got);
        if (observer && !observer(static_cast<std::uint64_t>(got))) {
            return std::make_error_code(std::errc::operation_canceled);
        }
    }
    digest.size = size;
    digest.sha256 = hash.HexDigest();
    return {};
}

std::error_code AppendDurably(const std::filesystem::path& file, std::string_view bytes) {
    const Descriptor out(::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (out.Get() < 0) {
        return LastError();
    }
    // The end is found under the caller's lock; O_APPEND is not kept by every network share.
    const off_t end = ::lseek(out.Get(), 0, SEEK_END);
    if (end < 0) {
        return LastError();
    }
    std::error_code error = WriteAll(out.Get(), bytes);
    if (!error && ::fdatasync(out.Get()) != 0) {
        error = LastError();
    }
    if (error) {
        // Best effort: a file that cannot be cut back keeps a broken last line, which the
        // verification reports.
        [[maybe_unused]] const int cut = ::ftruncate(out.Get(), end);
    }
    return error;
}

} // namespace fmb
