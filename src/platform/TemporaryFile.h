#pragma once

#include "platform/FilePublish.h"
#include "platform/NativeFile.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace fmb {

// A new file under a temporary name (see TemporaryName.h) in the folder where it will take its
// real name: a new document, or a file that replaces one (the index book, a backup copy, an INI
// file). It is written through Write() or File() and published once complete, without
// replacing or replacing in one step; until then, and whenever publishing fails, it is removed,
// so a failed or refused write leaves nothing behind and the file it was to replace stays as it
// was. Only a crash can leave it, and readers ignore it.
class TemporaryFile {
public:
    // Creates the file, empty and open for writing by its owner only. When error is set, the
    // object holds no file.
    TemporaryFile(const std::filesystem::path& folder, std::error_code& error);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    NativeFile File() const { return m_file; }
    const std::filesystem::path& Path() const { return m_path; }

    // Appends bytes to the file.
    std::error_code Write(std::string_view bytes);

    // Gives the file the permissions of the file at existing, so that a file that replaces
    // another is shared as the one before, or those any new file gets when there is none.
    std::error_code TakePermissionsOf(const std::filesystem::path& existing);

    // Closes the file (a write error the system delayed shows up here), then gives it the name
    // final without replacing anything; std::errc::file_exists when the name is taken.
    std::error_code PublishAs(const std::filesystem::path& final,
                              PublishMethod first = PublishMethod::RenameNoReplace);
    // Waits until every byte written is on the disk. Before replacing a file that matters on its
    // own (the index book, an INI file): otherwise a crash soon after could leave its name on an
    // empty file, and the file before gone.
    std::error_code WriteThrough();

    // Closes the file, then gives it the name final in one step, replacing the file there.
    std::error_code ReplaceAs(const std::filesystem::path& final);

private:
    std::error_code Close();
    // Closes and removes the file unless it was published.
    void RemoveUnpublished();

    std::filesystem::path m_path;
    NativeFile m_file = kNoFile;
    bool m_published = false;
};

// How old a temporary must be before a later write into its folder removes it: by then it is
// surely left over from a crash, not being written by another program.
inline constexpr std::chrono::hours kStaleTemporaryAge{24};

// Removes the files with temporary names in folder that were last written more than
// kStaleTemporaryAge before now. Best effort: what cannot be listed or removed stays.
void RemoveStaleTemporaries(const std::string& folder);

} // namespace fmb
