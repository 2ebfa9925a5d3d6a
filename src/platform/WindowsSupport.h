#pragma once

// Helpers of the Windows implementations only: path and text conversion and error codes.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace fmb::windows {

// The path as the wide calls take it: absolute, with native separators and the \\?\ prefix
// that lifts the limit of 260 characters (\\?\UNC\ for a network path).
std::wstring LongPath(const std::filesystem::path& path);

// UTF-16 text from the system as UTF-8, and back.
std::string ToUtf8(std::wstring_view wide);
std::wstring ToWide(std::string_view utf8);

// A Windows error code as an error code of the standard conditions the program tests for and
// describes (std::errc::file_exists for ERROR_FILE_EXISTS, ...); others stay system errors.
std::error_code ErrorFromCode(unsigned long code);

// ErrorFromCode of GetLastError().
std::error_code LastError();

} // namespace fmb::windows
