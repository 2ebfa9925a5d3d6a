#pragma once

#include <filesystem>
#include <string>

namespace fmb::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The folder as a UTF-8 text, with a trailing separator when asked.
    std::string Text(bool trailingSeparator = false) const;
    // A UTF-8 text of the path of name inside the folder.
    std::string Child(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
// Path from a UTF-8 text (names in tests are mostly Japanese).
std::filesystem::path U8(const std::string& utf8);

} // namespace fmb::test
