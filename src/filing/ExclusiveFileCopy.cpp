#include "filing/ExclusiveFileCopy.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fmb {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// A file descriptor closed at the end of its scope.
class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    // Closes now and reports what the close says (a delayed write error shows up here).
    std::error_code Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? std::error_code() : LastError();
    }

private:
    int m_fd;
};

// Errors that only say "this way of copying does not work between these two files".
bool MeansUnsupported(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == ENOTSUP || error == EBADF || error == EPERM;
}

enum class Step { Finished, Unsupported, Failed };

// Copies from the current offsets until the source's end with one of the kernel's copy calls.
template <typename CopyCall> Step CopyWithKernel(CopyCall copy, std::error_code& error) {
    for (;;) {
        const ssize_t copied = copy();
        if (copied > 0) {
            continue;
        }
        if (copied == 0) {
            return Step::Finished;
        }
        if (errno == EINTR) {
            continue;
        }
        if (MeansUnsupported(errno)) {
            return Step::Unsupported;
        }
        error = LastError();
        return Step::Failed;
    }
}

std::error_code CopyWithBuffer(int in, int out) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got == 0) {
            return {};
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return LastError();
            }
            done += put;
        }
    }
}

std::error_code CopyData(int in, int out) {
    constexpr size_t kChunk = size_t{1} << 30;
    std::error_code error;
    Step step = CopyWithKernel(
        [&] { return ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0); }, error);
    if (step == Step::Unsupported) {
        step = CopyWithKernel([&] { return ::sendfile(out, in, nullptr, kChunk); }, error);
    }
    if (step == Step::Failed) {
        return error;
    }
    // Reading on to the end also catches files whose size the kernel's calls do not see (files
    // of pseudo file systems report a size of 0); at a true end it costs one read.
    return CopyWithBuffer(in, out);
}

// Copies into the freshly created, empty destination and finishes it.
std::error_code FillDestination(int in, const struct stat& sourceStatus, FileHandle& out) {
    if (std::error_code error = CopyData(in, out.Get())) {
        return error;
    }
    const struct timespec times[2] = {{0, UTIME_OMIT}, sourceStatus.st_mtim};
    if (::futimens(out.Get(), times) != 0) {
        return LastError();
    }
    // Read-only for everyone. Like the platform's attribute call, a failure here would leave a
    // complete but writable copy, which is still a filed document.
    ::fchmod(out.Get(), S_IRUSR | S_IRGRP | S_IROTH);
    return out.Close();
}

} // namespace

std::error_code CopyFileExclusive(const std::filesystem::path& source,
                                  const std::filesystem::path& destination) {
    // O_NONBLOCK keeps a named pipe from blocking the open; a regular file ignores it.
    FileHandle in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in.Valid()) {
        return LastError();
    }
    struct stat sourceStatus {};
    if (::fstat(in.Get(), &sourceStatus) != 0) {
        return LastError();
    }
    if (!S_ISREG(sourceStatus.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }

    FileHandle out(
        ::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
    if (!out.Valid()) {
        return LastError();
    }
    struct stat created {};
    const bool knowCreated = ::fstat(out.Get(), &created) == 0;

    const std::error_code error = FillDestination(in.Get(), sourceStatus, out);
    if (error) {
        // Remove the partial copy, but only while the name still refers to the file made here.
        struct stat now {};
        if (knowCreated && ::lstat(destination.c_str(), &now) == 0 &&
            now.st_dev == created.st_dev && now.st_ino == created.st_ino) {
            ::unlink(destination.c_str());
        }
    }
    return error;
}

} // namespace fmb
