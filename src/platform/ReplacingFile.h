#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

namespace fmb {

// A file written under a temporary name in the folder of the file it is to replace, which takes
// that file's name in one step once every byte is on the disk. Until then the file it replaces
// stays as it was, whatever happens to the writing; a temporary never committed is removed (one
// left behind by a crash carries a temporary name, which every reader passes over).
class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    // Creates the temporary beside path (a UTF-8 path text). A file already at path lends the
    // temporary its permissions.
    std::error_code Create(const std::string& path);

    // Appends bytes to the temporary.
    std::error_code Write(std::string_view bytes);

    // Writes the temporary through to the disk, closes it and renames it to the path, replacing
    // the file there. On failure the temporary is removed and the file at the path is untouched.
    std::error_code Commit();

    // Closes and removes the temporary, if any; the file at the path stays as it was.
    void Discard();

private:
    // Writes the temporary through to the disk, closes it and renames it to m_path.
    std::error_code CloseAndRename();

    std::string m_path;
    std::string m_temporary;
#ifdef _WIN32
    std::FILE* m_file = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace fmb
