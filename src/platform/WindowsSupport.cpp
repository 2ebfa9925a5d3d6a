#include "platform/WindowsSupport.h"

#include <windows.h>

namespace fmb::windows {

namespace {

// A folder text may end in a separator; the prefixed form takes none, except at a drive's root
// ("C:\\").
std::wstring WithoutTrailingSeparator(std::wstring text, std::size_t keep) {
    while (text.size() > keep && text.back() == L'\\') {
        text.pop_back();
    }
    return text;
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

std::wstring LongPath(const std::filesystem::path& path) {
    const std::wstring& given = path.native();
    if (given.starts_with(L"\\\\?\\")) {
        return given;
    }
    // A network path (\\server\share\...) is absolute already, and the standard library would
    // take its leading separators for the current drive's root.
    if (given.size() > 2 && IsSeparator(given[0]) && IsSeparator(given[1])) {
        std::filesystem::path rest = std::filesystem::path(given.substr(2)).lexically_normal();
        return L"\\\\?\\UNC\\" + WithoutTrailingSeparator(rest.make_preferred().native(), 0);
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        absolute = path;
    }
    return L"\\\\?\\" +
           WithoutTrailingSeparator(absolute.lexically_normal().make_preferred().native(), 3);
}

std::string ToUtf8(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

std::wstring ToWide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::error_code ErrorFromCode(unsigned long code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return std::make_error_code(std::errc::permission_denied);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::make_error_code(std::errc::file_exists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return std::make_error_code(std::errc::device_or_resource_busy);
    case ERROR_FILENAME_EXCED_RANGE:
        return std::make_error_code(std::errc::filename_too_long);
    case ERROR_WRITE_PROTECT:
        return std::make_error_code(std::errc::read_only_file_system);
    case ERROR_DIRECTORY:
        return std::make_error_code(std::errc::not_a_directory);
    case ERROR_DIR_NOT_EMPTY:
        return std::make_error_code(std::errc::directory_not_empty);
    case ERROR_NOT_SAME_DEVICE:
        return std::make_error_code(std::errc::cross_device_link);
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
        return std::make_error_code(std::errc::not_supported);
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_NAME:
        return std::make_error_code(std::errc::invalid_argument);
    case ERROR_OPERATION_ABORTED:
        return std::make_error_code(std::errc::operation_canceled);
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return std::make_error_code(std::errc::io_error);
    default:
        return {static_cast<int>(code), std::system_category()};
    }
}

std::error_code LastError() {
    return ErrorFromCode(GetLastError());
}

} // namespace fmb::windows
