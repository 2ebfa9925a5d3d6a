#include "platform/FilePublish.h"
#include "platform/PublishMethods.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fmb {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::error_code RenameNoReplace(const std::filesystem::path& temporary,
                                const std::filesystem::path& final) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, final.c_str(), RENAME_NOREPLACE) != 0) {
        return LastError();
    }
    return {};
}

std::error_code LinkThenUnlink(const std::filesystem::path& temporary,
                               const std::filesystem::path& final) {
    if (::link(temporary.c_str(), final.c_str()) != 0) {
        return LastError();
    }
    // The document is published; a temporary name that cannot be removed is a second name of the
    // same complete file, which every reader ignores and the next filing clears.
    ::unlink(temporary.c_str());
    return {};
}

std::error_code ClaimThenRename(const std::filesystem::path& temporary,
                                const std::filesystem::path& final) {
    const int placeholder =
        ::open(final.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (placeholder < 0) {
        return LastError();
    }
    struct stat claimed {};
    const bool knowClaimed = ::fstat(placeholder, &claimed) == 0;
    ::close(placeholder);
    if (::rename(temporary.c_str(), final.c_str()) == 0) {
        return {};
    }
    const std::error_code error = LastError();
    // Give the name back, but only while it still holds the placeholder made here.
    struct stat now {};
    if (knowClaimed && ::lstat(final.c_str(), &now) == 0 && now.st_dev == claimed.st_dev &&
        now.st_ino == claimed.st_ino && now.st_size == 0) {
        ::unlink(final.c_str());
    }
    return error;
}

} // namespace

namespace publish {

// Errors by which a file system says it does not offer a way of publishing at all.
bool RefusesTheMethod(const std::error_code& error) {
    return error == std::errc::operation_not_permitted || error == std::errc::not_supported ||
           error == std::errc::operation_not_supported || error == std::errc::invalid_argument ||
           error == std::errc::function_not_supported;
}

std::error_code PublishBy(PublishMethod method, const std::filesystem::path& temporary,
                          const std::filesystem::path& final) {
    switch (method) {
    case PublishMethod::RenameNoReplace:
        return RenameNoReplace(temporary, final);
    case PublishMethod::HardLink:
        return LinkThenUnlink(temporary, final);
    case PublishMethod::ClaimName:
        return ClaimThenRename(temporary, final);
    }
    return std::make_error_code(std::errc::invalid_argument);
}

} // namespace publish

std::error_code ReplaceInOneStep(const std::filesystem::path& temporary,
                                 const std::filesystem::path& final) {
    if (::rename(temporary.c_str(), final.c_str()) != 0) {
        return LastError();
    }
    return {};
}

} // namespace fmb
