#pragma once

#include "platform/TemporaryFile.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <system_error>

namespace fmb {

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

    int Descriptor() const { return m_fd; }
    std::uint64_t Size() const { return m_size; }
    std::filesystem::perms Permissions() const { return m_permissions; }
    const struct timespec& Modified() const { return m_modified; }

    // True when the file has the size and modification time it had when it was opened.
    bool Unchanged() const;

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
    struct timespec m_modified {};
    std::filesystem::perms m_permissions = std::filesystem::perms::none;
};

// Hears of each block of a copy as it is written (its size in bytes); returns false to stop the
// copy there.
using CopyObserver = std::function<bool(std::uint64_t blockBytes)>;

// Sees the bytes of a copy as they pass, block by block and in order, so that they can be hashed
// without reading the file a second time.
using CopyTap = std::function<void(const char* data, std::size_t size)>;

// Copies the whole source into the empty temporary file through the kernel's fast paths, then
// gives the copy the source's modification time and, where the file system takes them, the given
// permissions. Fails with SourceChangedError() when the source changed while it was read (its
// size or time differ from when it was opened, or the bytes read are not its size), so a copy is
// never taken for the whole file when it is not. An observer hears of the file block by block, a
// few megabytes at a time; when it says stop, the copy fails with std::errc::operation_canceled
// and the temporary is left to its owner to remove. A tap sees every byte written; the data then
// pass through the program instead of the kernel's fast paths.
std::error_code CopyContents(const SourceFile& source, TemporaryFile& copy,
                             std::filesystem::perms permissions, const CopyObserver& observer = {},
                             const CopyTap& tap = {});

} // namespace fmb
