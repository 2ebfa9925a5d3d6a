#include "platform/FileIo.h"

#include "platform/WindowsSupport.h"

#include <windows.h>

#include <algorithm>

namespace fmb {
namespace {

HANDLE Handle(NativeFile file) {
    return reinterpret_cast<HANDLE>(file);
}

// ReadFile and WriteFile take at most this much in one call.
constexpr std::size_t kLargestCall = std::size_t{1} << 30;

} // namespace

std::string ReadRegularFile(const std::filesystem::path& path) {
    std::string bytes;
    const HANDLE file = CreateFileW(windows::LongPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    LARGE_INTEGER size{};
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size)) {
        // Read straight into a string of the file's size, then on to the end of a file that
        // grows while it is read.
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        for (;;) {
            if (done == bytes.size()) {
                bytes.resize(done + 16384);
            }
            DWORD got = 0;
            const auto want = static_cast<DWORD>(std::min(bytes.size() - done, kLargestCall));
            if (!ReadFile(file, bytes.data() + done, want, &got, nullptr)) {
                bytes.clear();
                break;
            }
            done += got;
            if (got == 0) {
                bytes.resize(done);
                break;
            }
        }
    }
    CloseHandle(file);
    return bytes;
}

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
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kLargestCall));
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
