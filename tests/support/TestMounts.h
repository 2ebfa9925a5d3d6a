#pragma once

#include "support/TempDir.h"

#include <cstddef>
#include <filesystem>
#include <string>

// File systems mounted for the life of a test, to meet a full disk, a read-only drive or a FAT
// stick for real. Mounting needs privileges (the tests run as root) or FUSE; without them
// Mounted() is false and Why() says what was missing, for the test's skip message.
namespace fmb::test {

class TestMount {
public:
    TestMount(const TestMount&) = delete;
    TestMount& operator=(const TestMount&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string& Why() const { return m_why; }
    const std::filesystem::path& Path() const { return m_path; }
    std::string Text() const;

protected:
    TestMount();
    ~TestMount() = default;

    TempDir m_dir;
    std::filesystem::path m_path;
    bool m_mounted = false;
    std::string m_why;
};

// A tmpfs of the given size.
class TmpfsMount final : public TestMount {
public:
    explicit TmpfsMount(std::size_t bytes);
    ~TmpfsMount();
    // Makes the file system read-only; false when it cannot.
    bool RemountReadOnly();

private:
    std::size_t m_bytes;
};

// A FAT image of the given size mounted through fusefat: a file system that refuses hard links
// and RENAME_NOREPLACE, as USB sticks do. It takes ASCII names only.
class FatMount final : public TestMount {
public:
    explicit FatMount(std::size_t bytes);
    ~FatMount();
};

} // namespace fmb::test
