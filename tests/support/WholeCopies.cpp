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

std::optional<StoppedCounts> StoppedCopyCounts(const std::string& message) {
    static const std::string kTail = " ファイルをコピーしました。中止しました。";
    const auto isCount = [](const std::string& text) {
        return !text.empty() && text.find_first_not_of("0123456789,") == std::string::npos;
    };
    if (!message.ends_with(kTail))
        return std::nullopt;
    const std::string counts = message.substr(0, message.size() - kTail.size());
    const std::size_t slash = counts.find(" / ");
    if (slash == std::string::npos)
        return std::nullopt;
    StoppedCounts parsed{counts.substr(0, slash), counts.substr(slash + 3)};
    if (!isCount(parsed.copied) || !isCount(parsed.total))
        return std::nullopt;
    return parsed;
}

} // namespace fmb::test
