#pragma once

#include <filesystem>

namespace fmb {

// True when the status is that of a regular file without any write permission: a stored
// document, or a file the user locked. Such a file is never replaced, although the permission
// bits alone would not stop a privileged user from doing so.
bool IsReadOnlyFile(const std::filesystem::file_status& status);

} // namespace fmb
