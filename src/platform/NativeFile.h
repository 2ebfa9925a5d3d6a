#pragma once

#include <cstdint>

namespace fmb {

// An open file of the operating system, as the platform's own calls take it: a descriptor on
// POSIX, a HANDLE on Windows. Both systems use -1 for no file.
using NativeFile = std::intptr_t;
inline constexpr NativeFile kNoFile = -1;

} // namespace fmb
