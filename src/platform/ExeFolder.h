#pragma once

#include <string>

namespace fmb {

// The folder of the running executable, ending in the path separator. Both INI files live there,
// so a build folder or an unpacked folder is a self-contained installation.
std::string GetExeFolder();

} // namespace fmb
