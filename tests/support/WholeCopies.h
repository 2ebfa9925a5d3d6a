#pragma once

#include <string>
#include <vector>

namespace fmb::test {

// The files below backup (UTF-8 path texts), relative to it and sorted, each checked to be a
// whole copy of the file of the same relative path below source: the same bytes, and no
// temporary left by an unfinished copy. A file that fails the check fails the test.
std::vector<std::string> WholeCopies(const std::string& backup, const std::string& source);

} // namespace fmb::test
