#include "support/TempDir.h"

#include "platform/PathText.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace fmb::test {

TempDir::TempDir() {
    // A fresh name each time, made by this process alone: create_directory reports a name taken.
    std::random_device random;
    std::uniform_int_distribution<int> letter('a', 'z');
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = "fumibako-test-";
        for (int i = 0; i < 8; ++i) {
            name.push_back(static_cast<char>(letter(random)));
        }
        const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
        std::error_code error;
        if (std::filesystem::create_directory(path, error)) {
            m_path = path;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code error;
    // Filed copies are read-only: make everything writable so the folder can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
    }
    std::filesystem::remove_all(m_path, error);
}

std::string TempDir::Text(bool trailingSeparator) const {
    std::string text = FromFsPath(m_path);
    if (trailingSeparator) {
        text = WithTrailingSeparator(text);
    }
    return text;
}

std::string TempDir::Child(const std::string& name) const {
    return Text(true) + name;
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::filesystem::path U8(const std::string& utf8) {
    return ToFsPath(utf8);
}

} // namespace fmb::test
