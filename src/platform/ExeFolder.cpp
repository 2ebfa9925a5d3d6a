#include "platform/ExeFolder.h"

#include "platform/PathText.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fmb {

std::string GetExeFolder() {
    std::filesystem::path exe;
#ifdef _WIN32
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    exe = std::filesystem::path(std::wstring(buffer, length));
#else
    std::error_code error;
    exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        exe = std::filesystem::current_path(error) / "fumibako";
    }
#endif
    return WithTrailingSeparator(FromFsPath(exe.parent_path()));
}

} // namespace fmb
