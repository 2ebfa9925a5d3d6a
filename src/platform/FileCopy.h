#pragma once

#include "platform/NativeFile.h"
#include "platform/TemporaryFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <system_error>

namespace fmb {

// Hears of each block of a copy as it is written (its size in bytes); returns false to stop the
// copy there.
using CopyObserver = std::function<bool(std::uint64_t blockBytes)>;

// A regular file opened for copying, with the size and modification time it had when it was
// opened: a copy is complete only when the file still has both at its end.
class SourceFile {
public:
    // Opens the file (a link is followed); error is std::errc::invalid_argument when it is not a
    // regular file.
    SourceFile(const std::filesystem::path& path, std::error_code& error);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // The modification time in the platform's own units: seconds and nanoseconds since 1970 on
    // POSIX, 100-nanosecond ticks since 1601 (in fraction) on Windows.
    struct Stamp {
        std::int64_t seconds = 0;
        std::int64_t fraction = 0;
        bool operator==(const Stamp&) const = default;
    };

    NativeFile File() const { return m_file; }
    std::uint64_t Size() const { return m_size; }
    const Stamp& Modified() const { return m_modified; }
    // The read-only mark on Windows reads as the permissions of a file without write permission.
    std::filesystem::perms Permissions() const { return m_permissions; }

    // True when the file has the size and modification time it had when it was opened.
    bool Unchanged() const;

private:
    NativeFile m_file = kNoFile;
    std::uint64_t m_size = 0;
    Stamp m_modified;
    std::filesystem::perms m_permissions = std::filesystem::perms::none;
};

// Sees the bytes of a copy as they pass, block by block and in order, so that they can be hashed
// without reading the file a second time.
using CopyTap = std::function<void(const char* data, std::size_t size)>;

// Copies the whole source into the empty temporary file (through the kernel's copy calls on
// Linux, in large blocks on Windows), then gives the copy the source's modification time and,
// where the file system takes them, the given permissions (on Windows: the read-only mark when
// they grant no write). Fails with SourceChangedError() when the source changed while it was read
// (its size or time differ from when it was opened, or the bytes read are not its size), so a copy
// is never taken for the whole file when it is not. An observer hears of the file block by block, a
// few megabytes at a time; when it says stop, the copy fails with std::errc::operation_canceled
// and the temporary is left to its owner to remove. A tap sees every byte written; on Linux the
// data then pass through the program instead of the kernel's copy calls.
std::error_code CopyContents(const SourceFile& source, TemporaryFile& copy,
                             std::filesystem::perms permissions, const CopyObserver& observer = {},
                             const CopyTap& tap = {});

} // namespace fmb
