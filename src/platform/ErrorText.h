#pragma once

#include <string>
#include <system_error>

namespace fmb {

// A short Japanese description of why a file operation failed, for the messages users read.
// Uncommon errors fall back to the system's own wording.
std::string DescribeError(const std::error_code& error);

// The error of a copy whose source changed (shrank, grew or was rewritten) while it was read.
std::error_code SourceChangedError();

} // namespace fmb
