#include "platform/ExeFolder.h"

#include "platform/PathText.h"
#include "platform/WindowsSupport.h"

#include <windows.h>

#include <filesystem>
#include <vector>

namespace fmb {

std::string GetExeFolder() {
    // A path longer than the buffer is cut to its size: grow it until the path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return WithTrailingSeparator(FromFsPath(std::filesystem::current_path()));
        }
        if (length < buffer.size()) {
            const std::filesystem::path exe(std::wstring(buffer.data(), length));
            return WithTrailingSeparator(FromFsPath(exe.parent_path()));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace fmb
