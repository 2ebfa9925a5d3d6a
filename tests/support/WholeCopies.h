#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fmb::test {

// The files below backup (UTF-8 path texts), relative to it and sorted, each checked to be a
// whole copy of the file of the same relative path below source: the same bytes, and no
// temporary left by an unfinished copy. A file that fails the check fails the test.
std::vector<std::string> WholeCopies(const std::string& backup, const std::string& source);

// The two counts of the message of a stopped copy, "1,234 / 5,678 ファイルをコピーしました。
// 中止しました。", as written ("1,234" and "5,678"); nothing when message has another form.
struct StoppedCounts {
    std::string copied;
    std::string total;
};
std::optional<StoppedCounts> StoppedCopyCounts(const std::string& message);

} // namespace fmb::test
