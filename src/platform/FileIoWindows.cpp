#include "platform/FileIo.h"

#include "platform/WindowsSupport.h"

#include <windows.h>

#include <algorithm>

namespace fmb {
namespace {

HANDLE Handle(NativeFile file) {
    return reinterpret_cast<HANDLE>(file);
}

// WriteFile takes at most this much in one call.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;

} // namespace

NativeFile CreateNewFile(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
    // CREATE_NEW fails when the name exists, a link included; other programs may read the file
    // meanwhile, but neither write nor delete it.
    const HANDLE handle =
        CreateFileW(windows::LongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = windows::LastError();
        return kNoFile;
    }
    return reinterpret_cast<NativeFile>(handle);
}

std::error_code WriteAll(NativeFile file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
        if (!WriteFile(Handle(file), bytes.data(), chunk, &written, nullptr)) {
            return windows::LastError();
        }
        bytes.remove_prefix(written);
    }
    return {};
}

std::error_code FlushToDisk(NativeFile file) {
    if (!FlushFileBuffers(Handle(file))) {
        return windows::LastError();
    }
    return {};
}

std::error_code CloseFile(NativeFile file) {
    if (!CloseHandle(Handle(file))) {
        return windows::LastError();
    }
    return {};
}

std::error_code TakePermissionsOf(const std::filesystem::path&, NativeFile) {
    return {};
}

void RemoveOwnFile(const std::filesystem::path& path) {
    const std::wstring wide = windows::LongPath(path);
    // DeleteFileW refuses a read-only file, and a finished copy carries the mark.
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
}

} // namespace fmb
