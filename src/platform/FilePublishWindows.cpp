#include "platform/FilePublish.h"
#include "platform/PublishMethods.h"

#include "platform/WindowsSupport.h"

#include <windows.h>

namespace fmb {
namespace {

// MoveFileExW without MOVEFILE_REPLACE_EXISTING: one step that fails when the name exists.
std::error_code MoveWithoutReplacing(const std::wstring& temporary, const std::wstring& final) {
    if (!MoveFileExW(temporary.c_str(), final.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return windows::LastError();
    }
    return {};
}

// CreateHardLinkW fails when the name exists; the temporary name is removed afterwards.
std::error_code LinkThenDelete(const std::wstring& temporary, const std::wstring& final) {
    if (!CreateHardLinkW(final.c_str(), temporary.c_str(), nullptr)) {
        return windows::LastError();
    }
    // The document is published. A read-only mark keeps the temporary name from being deleted;
    // it then stays as a second name of the same complete file, which every reader ignores.
    DeleteFileW(temporary.c_str());
    return {};
}

// The name is claimed by creating an empty file under it (CREATE_NEW fails when it exists), and
// the complete file then moves over that placeholder.
std::error_code ClaimThenMove(const std::wstring& temporary, const std::wstring& final) {
    const HANDLE placeholder = CreateFileW(final.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (placeholder == INVALID_HANDLE_VALUE) {
        return windows::LastError();
    }
    CloseHandle(placeholder);
    if (!MoveFileExW(temporary.c_str(), final.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::error_code error = windows::LastError();
        // Give the name back, but only while it still holds an empty file like the placeholder.
        WIN32_FILE_ATTRIBUTE_DATA now{};
        if (GetFileAttributesExW(final.c_str(), GetFileExInfoStandard, &now) &&
            now.nFileSizeHigh == 0 && now.nFileSizeLow == 0 &&
            (now.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileW(final.c_str());
        }
        return error;
    }
    return {};
}

} // namespace

namespace publish {

// Errors by which a file system says it does not offer a way of publishing at all.
bool RefusesTheMethod(const std::error_code& error) {
    return error == std::errc::not_supported || error == std::errc::invalid_argument;
}

std::error_code PublishBy(PublishMethod method, const std::filesystem::path& temporaryPath,
                          const std::filesystem::path& finalPath) {
    const std::wstring temporary = windows::LongPath(temporaryPath);
    const std::wstring final = windows::LongPath(finalPath);
    switch (method) {
    case PublishMethod::RenameNoReplace:
        return MoveWithoutReplacing(temporary, final);
    case PublishMethod::HardLink:
        return LinkThenDelete(temporary, final);
    case PublishMethod::ClaimName:
        return ClaimThenMove(temporary, final);
    }
    return std::make_error_code(std::errc::invalid_argument);
}

} // namespace publish

// MoveFileExW with MOVEFILE_REPLACE_EXISTING swaps the name over in one step on NTFS. ReplaceFileW
// is not used: it would carry the replaced file's attributes over to the new one, while a backup
// copy must take the read-only mark of its source.
std::error_code ReplaceInOneStep(const std::filesystem::path& temporary,
                                 const std::filesystem::path& final) {
    if (!MoveFileExW(windows::LongPath(temporary).c_str(), windows::LongPath(final).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return windows::LastError();
    }
    return {};
}

} // namespace fmb
