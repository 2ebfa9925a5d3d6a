#pragma once

#include <filesystem>
#include <system_error>

namespace fmb {

// Copies a regular file to a path that must not exist yet, the way a document is filed:
// - the destination is created exclusively, so nothing is ever overwritten, not even a file that
//   another program creates between a caller's own check and the copy;
// - the data go through the kernel's copy where it can (falling back to reading and writing);
// - the copy keeps the source's modification time and ends with mode 0444 (read-only);
// - when the copy fails after the destination was created, that file (and only that file) is
//   removed again.
// Returns no error on success, std::errc::file_exists when the destination name is taken, and
// the system's reason otherwise (std::errc::invalid_argument when the source is not a file).
std::error_code CopyFileExclusive(const std::filesystem::path& source,
                                  const std::filesystem::path& destination);

} // namespace fmb
