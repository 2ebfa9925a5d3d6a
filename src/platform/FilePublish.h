#pragma once

#include <filesystem>
#include <system_error>

// Giving a complete file, written under a temporary name, its real name in the same folder.
namespace fmb {

// The ways of publishing without replacing, from the best to the last resort.
enum class PublishMethod {
    // renameat2 with RENAME_NOREPLACE: one step that fails when the name exists.
    RenameNoReplace,
    // link() to the final name, then the temporary name removed: the final name appears in one
    // step with the complete file, and link() fails when the name exists.
    HardLink,
    // For file systems that refuse both (FAT and exFAT sticks, many network shares): the final
    // name is first claimed by creating an empty file under it exclusively (which fails when the
    // name exists), and the complete file is then renamed over that placeholder. Nothing that
    // existed before is ever replaced, and the name never shows part of the data: for the instant
    // between the two steps it shows an empty file, and a crash in that instant leaves that empty
    // file behind.
    ClaimName,
};

// Gives the complete file at temporary the name final in the same folder, never replacing
// anything that has that name. Starts with the method first and falls back to the later ones when
// the file system refuses a method as such (EPERM, EOPNOTSUPP, EINVAL, ENOSYS). Returns
// std::errc::file_exists when the name is taken; the temporary then stays as it was. On success
// the temporary name is gone.
std::error_code PublishWithoutReplacing(const std::filesystem::path& temporary,
                                        const std::filesystem::path& final,
                                        PublishMethod first = PublishMethod::RenameNoReplace);

// Gives the complete file at temporary the name final in the same folder in one step, replacing a
// file of that name: a reader sees either the old file or the new one, never a mix or nothing.
std::error_code ReplaceInOneStep(const std::filesystem::path& temporary,
                                 const std::filesystem::path& final);

} // namespace fmb
