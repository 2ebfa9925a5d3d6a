#include "platform/ReadOnlyMark.h"

namespace fmb {

bool IsReadOnlyFile(const std::filesystem::file_status& status) {
    namespace fs = std::filesystem;
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return fs::is_regular_file(status) && (status.permissions() & kAnyWrite) == fs::perms::none;
}

} // namespace fmb
