#include "filing/ExclusiveFileCopy.h"

#include "platform/FileCopy.h"

namespace fmb {
namespace {

std::error_code CopyOpenedFile(const SourceFile& source, const std::filesystem::path& destination) {
    std::error_code error;
    TemporaryFile copy(destination.parent_path(), error);
    if (error) {
        return error;
    }
    namespace fs = std::filesystem;
    constexpr fs::perms kReadOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    error = CopyContents(source, copy, kReadOnly);
    if (error) {
        return error;
    }
    return copy.PublishAs(destination);
}

} // namespace

std::error_code CopyFileExclusive(const std::filesystem::path& source,
                                  const std::filesystem::path& destination) {
    std::error_code error;
    const SourceFile opened(source, error);
    if (error) {
        return error;
    }
    return CopyOpenedFile(opened, destination);
}

} // namespace fmb
