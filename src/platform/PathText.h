#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Folder and path texts. The separator is the platform's own ('/' here, '\' on Windows); a search
// for it in UTF-8 never matches inside a multi-byte character.
namespace fmb {

inline constexpr char kPathSeparator =
    static_cast<char>(std::filesystem::path::preferred_separator);

bool EndsWithSeparator(std::string_view text);

// The text with one separator appended unless it already ends with one; an empty text stays empty.
// The whole text is kept, however long.
std::string WithTrailingSeparator(std::string_view folder);

// The text after the last separator; the whole text when it has none.
std::string LastComponent(std::string_view path);

// A UTF-8 path text as a file-system path, and back.
std::filesystem::path ToFsPath(std::string_view utf8);
std::string FromFsPath(const std::filesystem::path& path);

} // namespace fmb
