#include "support/WholeCopies.h"

#include "platform/PathText.h"
#include "platform/TemporaryName.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fmb::test {

std::vector<std::string> WholeCopies(const std::string& backup, const std::string& source) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    if (!fs::exists(U8(backup))) {
        return files;
    }
    for (const auto& entry : fs::recursive_directory_iterator(U8(backup))) {
        if (entry.is_directory()) {
            continue;
        }
        const fs::path relative = fs::relative(entry.path(), U8(backup));
        EXPECT_FALSE(IsTemporaryName(FromFsPath(entry.path().filename()))) << relative;
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(U8(source) / relative)) << relative;
        files.push_back(FromFsPath(relative));
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace fmb::test
