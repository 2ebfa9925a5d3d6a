#include "platform/FileHash.h"

#include "platform/FileIo.h"
#include "platform/Sha256.h"
#include "platform/WindowsSupport.h"

#include <windows.h>

#include <memory>

namespace fmb {
namespace {

// Closes the handle when it goes out of scope.
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : m_handle(handle) {}
    ~OwnedHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
        }
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

constexpr DWORD kBlock = DWORD{1} << 20;

} // namespace

std::error_code HashFile(const std::filesystem::path& file, ContentDigest& digest,
                         const CopyObserver& observer) {
    const std::wstring wide = windows::LongPath(file);
    const DWORD kind = GetFileAttributesW(wide.c_str());
    if (kind != INVALID_FILE_ATTRIBUTES && (kind & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    const OwnedHandle in(CreateFileW(wide.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.IsOpen()) {
        return windows::LastError();
    }
    if (GetFileType(in.Get()) != FILE_TYPE_DISK) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
    Sha256 hash;
    std::uint64_t size = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in.Get(), buffer.get(), kBlock, &got, nullptr)) {
            return windows::LastError();
        }
        if (got == 0) {
            break;
        }
        hash.Update(buffer.get(), got);
        size += got;
        if (observer && !observer(got)) {
            return std::make_error_code(std::errc::operation_canceled);
        }
    }
    digest.size = size;
    digest.sha256 = hash.HexDigest();
    return {};
}

std::error_code AppendDurably(const std::filesystem::path& file, std::string_view bytes) {
    // Others may read the file meanwhile; writers are kept apart by the caller's lock.
    const OwnedHandle out(CreateFileW(
        windows::LongPath(file).c_str(), FILE_APPEND_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.IsOpen()) {
        return windows::LastError();
    }
    // The end is found under the caller's lock, and written at: a share may not keep appends
    // in order for handles of several computers.
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(out.Get(), LARGE_INTEGER{}, &end, FILE_END)) {
        return windows::LastError();
    }
    std::error_code error = WriteAll(reinterpret_cast<NativeFile>(out.Get()), bytes);
    if (!error && !FlushFileBuffers(out.Get())) {
        error = windows::LastError();
    }
    if (error) {
        // Best effort: a file that cannot be cut back keeps a broken last line, which the
        // verification reports.
        if (SetFilePointerEx(out.Get(), end, nullptr, FILE_BEGIN)) {
            SetEndOfFile(out.Get());
        }
    }
    return error;
}

} // namespace fmb
