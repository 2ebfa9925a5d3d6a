#include "platform/FileCopy.h"

#include "platform/ErrorText.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <span>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fmb {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Errors that only say "this way of copying does not work between these two files".
bool MeansUnsupported(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == ENOTSUP || error == EBADF || error == EPERM;
}

enum class Step { Finished, Unsupported, Failed };

// The kernel's copy calls are given this much at a time, so that the observer hears of a large
// file block by block and can stop it within a second even on a slow USB stick; a call
// per block costs nothing next to the block's data.
constexpr size_t kBlock = size_t{4} << 20;

std::error_code Cancelled() {
    return std::make_error_code(std::errc::operation_canceled);
}

// Tells the observer of a block copied; false when it asks the copy to stop.
bool GoOn(const CopyObserver& observer, ssize_t copied) {
    return !observer || observer(static_cast<std::uint64_t>(copied));
}

// Copies from the current offsets until the source's end with one of the kernel's copy calls,
// adding the bytes copied to total.
template <typename CopyCall>
Step CopyWithKernel(CopyCall copy, const CopyObserver& observer, std::uint64_t& total,
                    std::error_code& error) {
    for (;;) {
        const ssize_t copied = copy();
        if (copied > 0) {
            total += static_cast<std::uint64_t>(copied);
            if (!GoOn(observer, copied)) {
                error = Cancelled();
                return Step::Failed;
            }
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

std::error_code CopyWithBuffer(int in, int out, const CopyObserver& observer, std::uint64_t& total,
                               std::span<char> buffer, const CopyTap& tap = {}) {
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
        if (tap) {
            tap(buffer.data(), static_cast<size_t>(got));
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
        total += static_cast<std::uint64_t>(got);
        if (!GoOn(observer, got)) {
            return Cancelled();
        }
    }
}

// Copies everything from in to out; total: the bytes copied.
std::error_code CopyData(int in, int out, const CopyObserver& observer, std::uint64_t& total) {
    std::error_code error;
    Step step =
        CopyWithKernel([&] { return ::copy_file_range(in, nullptr, out, nullptr, kBlock, 0); },
                       observer, total, error);
    if (step == Step::Unsupported) {
        step = CopyWithKernel([&] { return ::sendfile(out, in, nullptr, kBlock); }, observer, total,
                              error);
    }
    if (step == Step::Failed) {
        return error;
    }
    // Reading on to the end also sees bytes the kernel's calls do not (files of pseudo file
    // systems report a size of 0, and a file may grow while it is copied); at a true end it costs
    // one read. On the stack: a backup does it once per file.
    std::array<char, 64 * 1024> buffer;
    return CopyWithBuffer(in, out, observer, total, buffer);
}

// Copies everything from in to out through a buffer of the program's, showing each block to tap.
std::error_code CopyDataThrough(int in, int out, const CopyObserver& observer, const CopyTap& tap,
                                std::uint64_t& total) {
    // Large blocks keep the calls few; the hash keeps pace with the disk.
    std::vector<char> buffer(size_t{1} << 20);
    ::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);
    return CopyWithBuffer(in, out, observer, total, buffer, tap);
}

int Descriptor(NativeFile file) {
    return static_cast<int>(file);
}

SourceFile::Stamp StampOf(const struct stat& status) {
    return {status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

mode_t ModeOf(std::filesystem::perms permissions) {
    return static_cast<mode_t>(permissions & std::filesystem::perms::mask);
}

} // namespace

SourceFile::SourceFile(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
    // O_NONBLOCK keeps a named pipe from blocking the open; a regular file ignores it.
    m_file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_file < 0) {
        error = LastError();
        return;
    }
    struct stat status {};
    if (::fstat(Descriptor(m_file), &status) != 0) {
        error = LastError();
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        error = std::make_error_code(std::errc::invalid_argument);
        return;
    }
    m_size = static_cast<std::uint64_t>(status.st_size);
    m_modified = StampOf(status);
    m_permissions = static_cast<std::filesystem::perms>(status.st_mode & 07777);
}

SourceFile::~SourceFile() {
    if (m_file >= 0) {
        ::close(Descriptor(m_file));
    }
}

bool SourceFile::Unchanged() const {
    struct stat status {};
    return ::fstat(Descriptor(m_file), &status) == 0 &&
           static_cast<std::uint64_t>(status.st_size) == m_size && StampOf(status) == m_modified;
}

std::error_code CopyContents(const SourceFile& source, TemporaryFile& copy,
                             std::filesystem::perms permissions, const CopyObserver& observer,
                             const CopyTap& tap) {
    std::uint64_t copied = 0;
    const int in = Descriptor(source.File());
    const int out = Descriptor(copy.File());
    if (std::error_code error = tap ? CopyDataThrough(in, out, observer, tap, copied)
                                    : CopyData(in, out, observer, copied)) {
        return error;
    }
    if (copied != source.Size() || !source.Unchanged()) {
        return SourceChangedError();
    }
    const struct timespec keep[2] = {{0, UTIME_OMIT},
                                     {static_cast<time_t>(source.Modified().seconds),
                                      static_cast<long>(source.Modified().fraction)}};
    if (::futimens(out, keep) != 0) {
        return LastError();
    }
    // Like the platform's attribute call, a mark the file system does not take leaves a complete
    // copy that is merely writable.
    ::fchmod(out, ModeOf(permissions));
    return {};
}

} // namespace fmb
