#include "platform/FileCopy.h"

#include "platform/ErrorText.h"
#include "platform/WindowsSupport.h"

#include <windows.h>

#include <memory>

namespace fmb {
namespace {

HANDLE Handle(NativeFile file) {
    return reinterpret_cast<HANDLE>(file);
}

// Read and written this much at a time, so that the observer hears of a large file block by
// block and can stop it within a second even on a slow USB stick.
constexpr DWORD kBlock = DWORD{4} << 20;

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>(
        ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart);
}

bool Describe(HANDLE file, std::uint64_t& size, SourceFile::Stamp& modified, DWORD& attributes) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        return false;
    }
    size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    modified = {0, Ticks(info.ftLastWriteTime)};
    attributes = info.dwFileAttributes;
    return true;
}

constexpr std::filesystem::perms kAnyWrite = std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write;

} // namespace

SourceFile::SourceFile(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
    const std::wstring wide = windows::LongPath(path);
    const DWORD kind = GetFileAttributesW(wide.c_str());
    if (kind != INVALID_FILE_ATTRIBUTES && (kind & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = std::make_error_code(std::errc::invalid_argument);
        return;
    }
    // Others may go on reading, writing or renaming the file; a change shows in its size or time.
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = windows::LastError();
        return;
    }
    m_file = reinterpret_cast<NativeFile>(file);
    DWORD attributes = 0;
    if (!Describe(file, m_size, m_modified, attributes)) {
        error = windows::LastError();
        return;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        error = std::make_error_code(std::errc::invalid_argument);
        return;
    }
    using std::filesystem::perms;
    m_permissions = perms::owner_read | perms::group_read | perms::others_read;
    if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        m_permissions |= kAnyWrite;
    }
}

SourceFile::~SourceFile() {
    if (m_file != kNoFile) {
        CloseHandle(Handle(m_file));
    }
}

bool SourceFile::Unchanged() const {
    std::uint64_t size = 0;
    Stamp modified;
    DWORD attributes = 0;
    return Describe(Handle(m_file), size, modified, attributes) && size == m_size &&
           modified == m_modified;
}

std::error_code CopyContents(const SourceFile& source, TemporaryFile& copy,
                             std::filesystem::perms permissions, const CopyObserver& observer,
                             const CopyTap& tap) {
    const HANDLE in = Handle(source.File());
    const HANDLE out = Handle(copy.File());
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
    std::uint64_t copied = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, buffer.get(), kBlock, &got, nullptr)) {
            return windows::LastError();
        }
        if (got == 0) {
            break;
        }
        if (tap) {
            tap(buffer.get(), got);
        }
        for (DWORD done = 0; done < got;) {
            DWORD put = 0;
            if (!WriteFile(out, buffer.get() + done, got - done, &put, nullptr)) {
                return windows::LastError();
            }
            done += put;
        }
        copied += got;
        if (observer && !observer(got)) {
            return std::make_error_code(std::errc::operation_canceled);
        }
    }
    if (copied != source.Size() || !source.Unchanged()) {
        return SourceChangedError();
    }
    // The source's time, and the read-only mark when the copy is to have no write permission,
    // set through the open handle in one call.
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(out, FileBasicInfo, &basic, sizeof basic)) {
        return windows::LastError();
    }
    basic.CreationTime.QuadPart = 0; // 0: left as it is
    basic.LastAccessTime.QuadPart = 0;
    basic.ChangeTime.QuadPart = 0;
    basic.LastWriteTime.QuadPart = source.Modified().fraction;
    if ((permissions & kAnyWrite) == std::filesystem::perms::none) {
        basic.FileAttributes |= FILE_ATTRIBUTE_READONLY;
    }
    basic.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
    if (!SetFileInformationByHandle(out, FileBasicInfo, &basic, sizeof basic)) {
        return windows::LastError();
    }
    return {};
}

} // namespace fmb
