#include "platform/ExeFolder.h"

#include "platform/PathText.h"

#include <filesystem>
#include <system_error>

#ifdef __APPLE__
#include <cstdint>
#include <mach-o/dyld.h>
#include <vector>
#endif

namespace fmb {
namespace {

std::filesystem::path ExecutablePath(std::error_code& error) {
#ifdef __APPLE__
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size);
    if (_NSGetExecutablePath(buffer.data(), &size) != 0) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
        return {};
    }
    return std::filesystem::canonical(buffer.data(), error);
#else
    return std::filesystem::read_symlink("/proc/self/exe", error);
#endif
}

} // namespace

std::string GetExeFolder() {
    std::error_code error;
    std::filesystem::path exe = ExecutablePath(error);
    if (error) {
        exe = std::filesystem::current_path(error) / "fumibako";
    }
    return WithTrailingSeparator(FromFsPath(exe.parent_path()));
}

} // namespace fmb
