#include "filing/ExclusiveFileCopy.h"

#include "platform/FileCopy.h"
#include "platform/Sha256.h"

namespace fmb {
namespace {

std::error_code CopyOpenedFile(const SourceFile& source, const std::filesystem::path& destination,
                               const PublishCheck& check) {
    std::error_code error;
    TemporaryFile copy(destination.parent_path(), error);
    if (error) {
        return error;
    }
    namespace fs = std::filesystem;
    constexpr fs::perms kReadOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    if (!check) {
        if ((error = CopyContents(source, copy, kReadOnly))) {
            return error;
        }
        return copy.PublishAs(destination);
    }
    Sha256 hash;
    error = CopyContents(source, copy, kReadOnly, {},
                         [&hash](const char* data, std::size_t size) { hash.Update(data, size); });
    if (error) {
        return error;
    }
    if (!check({source.Size(), hash.HexDigest()})) {
        return std::make_error_code(std::errc::operation_canceled);
    }
    return copy.PublishAs(destination);
}

} // namespace

std::error_code CopyFileExclusive(const std::filesystem::path& source,
                                  const std::filesystem::path& destination,
                                  const PublishCheck& check) {
    std::error_code error;
    const SourceFile opened(source, error);
    if (error) {
        return error;
    }
    return CopyOpenedFile(opened, destination, check);
}

} // namespace fmb
