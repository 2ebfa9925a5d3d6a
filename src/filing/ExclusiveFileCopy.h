#pragma once

#include "platform/FileHash.h"

#include <filesystem>
#include <functional>
#include <system_error>

namespace fmb {

// Copies a regular file to a path that must not exist yet, the way a document is filed:
// - the data go into a temporary file in the destination's folder, which gets the source's
//   modification time and mode 0444 (read-only); the copy counts only when the source kept its
//   size and time while it was read and every byte of it arrived;
// - only the complete copy is given the destination name, in one step that never replaces
//   anything, not even a file that another program creates meanwhile;
// - a copy that fails, and the temporary file with it, is removed; a crash leaves at most a
//   temporary file, never part of a document under its name.
// Returns no error on success, std::errc::file_exists when the destination name is taken,
// SourceChangedError() when the source changed while it was copied, and the system's reason
// otherwise (std::errc::invalid_argument when the source is not a regular file).
//
// With a check, the content is digested as it is copied, and the complete copy gets its name
// only when check(digest) says so; otherwise it is removed and the result is
// std::errc::operation_canceled. digest, when given, receives the content's digest.
using PublishCheck = std::function<bool(const ContentDigest& content)>;
std::error_code CopyFileExclusive(const std::filesystem::path& source,
                                  const std::filesystem::path& destination,
                                  const PublishCheck& check = {});

} // namespace fmb
