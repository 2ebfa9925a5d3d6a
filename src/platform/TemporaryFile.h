#pragma once

#include "platform/FilePublish.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

namespace fmb {

// A new file under a temporary name (see TemporaryName.h) in the folder where it will take its
// real name. It is written through Descriptor() and published once complete; until then, and
// whenever publishing fails, its destructor removes it, so a failed or refused write leaves
// nothing behind. Only a crash can leave it, and readers ignore it.
class TemporaryFile {
public:
    // Creates the file, empty and open for writing by its owner only. When error is set, the
    // object holds no file.
    TemporaryFile(const std::filesystem::path& folder, std::error_code& error);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Descriptor() const { return m_fd; }
    const std::filesystem::path& Path() const { return m_path; }

    // Closes the file (a write error the system delayed shows up here), then gives it the name
    // final without replacing anything; std::errc::file_exists when the name is taken.
    std::error_code PublishAs(const std::filesystem::path& final,
                              PublishMethod first = PublishMethod::RenameNoReplace);
    // Closes the file, then gives it the name final in one step, replacing the file there.
    std::error_code ReplaceAs(const std::filesystem::path& final);

private:
    std::error_code Close();
    void RemoveUnpublished();

    std::filesystem::path m_path;
    int m_fd = -1;
    bool m_published = false;
};

// How old a temporary must be before a later write into its folder removes it: by then it is
// surely left over from a crash, not being written by another program.
inline constexpr std::chrono::hours kStaleTemporaryAge{24};

// Removes the files with temporary names in folder that were last written more than
// kStaleTemporaryAge before now. Best effort: what cannot be listed or removed stays.
void RemoveStaleTemporaries(const std::string& folder);

} // namespace fmb
